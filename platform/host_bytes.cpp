#include "platform/host_bytes.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool IsContinuation(uchar c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at p (left bytes remain), or 0
// when the byte there starts none: no overlong forms, no surrogates, nothing
// past U+10FFFF.
int SequenceLength(const uchar* p, qsizetype left)
{
    const uchar c = p[0];
    if (c < 0x80)
        return 1;
    int length;
    uchar low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF)
        length = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
    } else
        return 0;
    if (left < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (!IsContinuation(p[i]))
            return 0;
    return length;
}

bool IsEscape(char16_t c)
{
    return c >= kFirstEscape && c <= kLastEscape;
}

}  // namespace

namespace HostBytes {

QString Decode(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    QString text;
    text.reserve(size);
    qsizetype run = 0;  // start of the well-formed run not yet appended
    for (qsizetype i = 0; i < size;) {
        if (const int length = SequenceLength(p + i, size - i)) {
            i += length;
            continue;
        }
        text += QString::fromUtf8(bytes.constData() + run, i - run);
        text += QChar(char16_t(kEscapeBase + p[i]));
        run = ++i;
    }
    text += QString::fromUtf8(bytes.constData() + run, size - run);
    return text;
}

QByteArray Encode(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype run = 0;  // start of the text not yet appended
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;  // a pair stands for one character, whatever its low half
            continue;
        }
        if (!IsEscape(c))
            continue;
        bytes += QStringView(text).mid(run, i - run).toUtf8();
        bytes += char(c - kEscapeBase);
        run = i + 1;
    }
    bytes += QStringView(text).mid(run).toUtf8();
    return bytes;
}

}  // namespace HostBytes
