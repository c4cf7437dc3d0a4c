#include "image/zip_name.h"

#include <cstdint>

namespace {

// Code page 437, bytes 0x80 to 0xFF.
// clang-format off
constexpr char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};
// clang-format on

bool IsContinuation(uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed sequence starting at s[0], or 0.
size_t SequenceLength(const uint8_t* s, size_t left)
{
    const uint8_t lead = s[0];
    if (lead < 0x80)
        return 1;
    size_t length;
    uint32_t min;
    uint32_t cp;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, min = 0x80, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, min = 0x800, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if (!IsContinuation(s[i]))
            return 0;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

bool IsValidUtf8(const char* bytes, size_t length)
{
    const auto* s = reinterpret_cast<const uint8_t*>(bytes);
    size_t i = 0;
    while (i < length) {
        const size_t n = SequenceLength(s + i, length - i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

QString DecodeCp437(const char* bytes, size_t length)
{
    QString text;
    text.reserve(static_cast<qsizetype>(length));
    for (size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<uint8_t>(bytes[i]);
        text.append(QChar(byte < 0x80 ? char16_t(byte) : kCp437High[byte - 0x80]));
    }
    return text;
}

QString DecodeZipName(const char* bytes, size_t length)
{
    // Reading ill-formed UTF-8 would put replacement characters in the text and
    // could make two names equal; code page 437 maps every byte to its own character.
    if (IsValidUtf8(bytes, length))
        return QString::fromUtf8(bytes, static_cast<qsizetype>(length));
    return DecodeCp437(bytes, length);
}
