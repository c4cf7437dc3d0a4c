// Host names and text: every byte string survives the way to text and back,
// and what is not UTF-8 becomes U+DC80..U+DCFF one byte at a time.
#include "platform/host_bytes.h"

#include <gtest/gtest.h>

TEST(HostBytes, NamesRoundTripAndOnlyUndecodableBytesAreEscaped)
{
    const auto escaped = [](uchar byte) { return QChar(char16_t(0xDC00 + byte)); };
    const struct {
        const char* what;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"UTF-8", "caf\xc3\xa9.png", QStringLiteral("café.png")},
        {"a pair whose low half lies in the escape range", "\xf0\x90\x82\x80", QString::fromUcs4(U"\U00010080")},
        {"Latin-1", "caf\xe9.png", QStringLiteral("caf") + escaped(0xE9) + QStringLiteral(".png")},
        {"lone continuation", "\x80", QString(escaped(0x80))},
        {"cut sequence", "\xe2\x82", QString(escaped(0xE2)) + escaped(0x82)},
        {"overlong slash", "\xc0\xaf", QString(escaped(0xC0)) + escaped(0xAF)},
        {"encoded surrogate", "\xed\xb2\x80", QString(escaped(0xED)) + escaped(0xB2) + escaped(0x80)},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", QString(escaped(0xF4)) + escaped(0x90) + escaped(0x80) + escaped(0x80)},
        {"valid after invalid", "\xff\xc3\xa9", QString(escaped(0xFF)) + QStringLiteral("é")},
        {"empty", "", QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HostBytes::Decode(c.bytes), c.text) << c.what;
        EXPECT_EQ(HostBytes::Encode(c.text), c.bytes) << c.what;
    }
    // Every single byte and every pair of bytes comes back as it was.
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            const char raw[] = {char(a), char(b), 'x'};
            const QByteArray bytes(raw, 3);
            ASSERT_EQ(HostBytes::Encode(HostBytes::Decode(bytes)), bytes) << a << " " << b;
        }
}
