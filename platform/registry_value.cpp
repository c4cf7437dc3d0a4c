#include "platform/registry_value.h"

namespace {

QByteArray Utf16LeWithNull(const QString& text)
{
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    bytes.append('\0');
    bytes.append('\0');
    return bytes;
}

}  // namespace

RegValue RegValue::Dword(uint32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xff);
    return {kRegDword, bytes};
}

RegValue RegValue::String(const QString& text)
{
    return {kRegSz, Utf16LeWithNull(text)};
}

RegValue RegValue::ExpandString(const QString& text)
{
    return {kRegExpandSz, Utf16LeWithNull(text)};
}

RegValue RegValue::Raw(uint32_t type, const QByteArray& data)
{
    return {type, data};
}

uint32_t RegValue::ToDword() const
{
    if (!IsDword())
        return 0;
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | uint8_t(data[i]);
    return value;
}

QString RegValue::ToText() const
{
    QString text;
    text.reserve(data.size() / 2);
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        char16_t c = char16_t(uint8_t(data[i]) | (uint8_t(data[i + 1]) << 8));
        if (c == 0)
            break;
        text.append(QChar(c));
    }
    return text;
}
