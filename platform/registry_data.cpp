#include "platform/registry_data.h"

#include <QList>
#include <QStringDecoder>

namespace {

const char kHeader4[] = "REGEDIT4";
const char kHeader5[] = "Windows Registry Editor Version 5.00";

// UTF-8 to text keeping a leading U+FEFF: QString::fromUtf8 drops it as a
// byte order mark, so a key or name that begins with one would read back as
// another key or name after a write.
QString FromUtf8(const QByteArray& bytes)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decode(bytes);
}

QString Fold(const QString& s)
{
    return s.toCaseFolded();
}

bool IsPlainText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (c < 0x20)
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !QChar::isLowSurrogate(text[i + 1].unicode()))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

QByteArray Quote(const QString& text)
{
    QByteArray out = "\"";
    for (char c : text.toUtf8()) {
        if (c == '"' || c == '\\')
            out.append('\\');
        out.append(c);
    }
    out.append('"');
    return out;
}

QByteArray HexBytes(const QByteArray& data)
{
    QByteArray out;
    out.reserve(data.size() * 3);
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i)
            out.append(',');
        out.append(QByteArray::number(uint8_t(data[i]), 16).rightJustified(2, '0'));
    }
    return out;
}

// A REG_SZ shows as a quoted text only when that text reads back to the very
// same bytes; anything else (a newline, odd lengths, data after the null) is
// kept exactly as hex(1).
bool HasPlainStringForm(const RegValue& value)
{
    if (value.type != kRegSz)
        return false;
    QString text = value.ToText();
    return IsPlainText(text) && RegValue::String(text).data == value.data;
}

QByteArray ValueText(const RegValue& value)
{
    if (value.IsDword())
        return "dword:" + QByteArray::number(value.ToDword(), 16).rightJustified(8, '0');
    if (HasPlainStringForm(value))
        return Quote(value.ToText());
    if (value.type == kRegBinary)
        return "hex:" + HexBytes(value.data);
    return "hex(" + QByteArray::number(value.type, 16) + "):" + HexBytes(value.data);
}

// Reads the lines of a text one at a time, joining hex lines continued with "\".
class LineReader {
public:
    explicit LineReader(const QByteArray& text)
        : m_lines(text.split('\n'))
    {
    }
    bool AtEnd() const { return m_next >= m_lines.size(); }
    int LineNumber() const { return int(m_next); }
    QByteArray Next()
    {
        QByteArray line = m_lines[m_next++];
        if (line.endsWith('\r'))
            line.chop(1);
        return line.trimmed();
    }

private:
    QList<QByteArray> m_lines;
    qsizetype m_next = 0;
};

// Parses a quoted text starting at pos (at the opening quote); pos ends after
// the closing quote.
bool ParseQuoted(const QByteArray& line, qsizetype* pos, QString* out)
{
    QByteArray bytes;
    qsizetype i = *pos + 1;
    for (; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"')
            break;
        if (c == '\\') {
            if (++i >= line.size() || (line[i] != '\\' && line[i] != '"'))
                return false;
            c = line[i];
        }
        bytes.append(c);
    }
    if (i >= line.size())
        return false;
    *pos = i + 1;
    *out = FromUtf8(bytes);
    return true;
}

bool ParseHexDigits(const QByteArray& digits, int maxDigits, uint32_t* value)
{
    if (digits.isEmpty() || digits.size() > maxDigits)
        return false;
    uint32_t v = 0;
    for (char c : digits) {
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = uint32_t(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = uint32_t(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = uint32_t(c - 'A' + 10);
        else
            return false;
        v = (v << 4) | d;
    }
    *value = v;
    return true;
}

bool ParseHexList(QByteArray list, RegValue* value)
{
    list = list.trimmed();
    if (list.isEmpty())
        return true;
    for (const QByteArray& item : list.split(',')) {
        uint32_t byte = 0;
        if (!ParseHexDigits(item.trimmed(), 2, &byte))
            return false;
        value->data.append(char(byte));
    }
    return true;
}

// The data part of a value line (after "="); hex lists may continue on the
// following lines.
bool ParseData(QByteArray data, LineReader* reader, RegValue* value)
{
    if (data.startsWith('"')) {
        qsizetype pos = 0;
        QString text;
        if (!ParseQuoted(data, &pos, &text) || !data.mid(pos).trimmed().isEmpty())
            return false;
        *value = RegValue::String(text);
        return true;
    }
    if (data.startsWith("dword:")) {
        uint32_t number = 0;
        if (!ParseHexDigits(data.mid(6).trimmed(), 8, &number))
            return false;
        *value = RegValue::Dword(number);
        return true;
    }
    uint32_t type = kRegBinary;
    qsizetype colon = data.indexOf(':');
    if (data.startsWith("hex(")) {
        qsizetype close = data.indexOf(')');
        if (close < 0 || colon != close + 1 || !ParseHexDigits(data.mid(4, close - 4), 8, &type))
            return false;
    } else if (!data.startsWith("hex:")) {
        return false;
    }
    QByteArray list = data.mid(colon + 1);
    while (list.endsWith('\\')) {
        list.chop(1);
        if (reader->AtEnd())
            return false;
        list += reader->Next();
    }
    *value = RegValue::Raw(type, {});
    return ParseHexList(list, value);
}

bool ParseValueLine(const QByteArray& line, LineReader* reader, QString* name, RegValue* value)
{
    qsizetype pos = 0;
    if (line.startsWith('@')) {
        name->clear();
        pos = 1;
    } else if (!line.startsWith('"') || !ParseQuoted(line, &pos, name)) {
        return false;
    }
    qsizetype eq = line.indexOf('=', pos);
    if (eq < 0 || !line.mid(pos, eq - pos).trimmed().isEmpty())
        return false;
    return ParseData(line.mid(eq + 1).trimmed(), reader, value);
}

}  // namespace

QString CRegistryData::NormalizeKey(const QString& key)
{
    // Settings are read often (views read the stored mode at every list
    // notification): a key already without empty parts is returned as it is.
    if (!key.startsWith(QLatin1Char('\\')) && !key.endsWith(QLatin1Char('\\')) && !key.contains(QLatin1String("\\\\")))
        return key;
    QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

bool CRegistryData::IsStorableName(const QString& name)
{
    return IsPlainText(name);
}

bool CRegistryData::HasKey(const QString& key) const
{
    return m_keys.count(Fold(NormalizeKey(key))) != 0;
}

const RegValue* CRegistryData::Find(const QString& key, const QString& name) const
{
    auto k = m_keys.find(Fold(NormalizeKey(key)));
    if (k == m_keys.end())
        return nullptr;
    auto v = k->second.values.find(Fold(name));
    return v == k->second.values.end() ? nullptr : &v->second.value;
}

bool CRegistryData::CreateKey(const QString& key)
{
    // "[-KEY]" means deleting a key in this format, so no key may begin with "-".
    QString path = NormalizeKey(key);
    if (path.isEmpty() || path.startsWith(QLatin1Char('-')) || !IsStorableName(path))
        return false;
    Key& k = m_keys[Fold(path)];
    if (k.path.isEmpty())
        k.path = path;
    return true;
}

bool CRegistryData::Set(const QString& key, const QString& name, const RegValue& value)
{
    if (!IsStorableName(name) || !CreateKey(key))
        return false;
    Entry& e = m_keys[Fold(NormalizeKey(key))].values[Fold(name)];
    if (e.name.isEmpty())
        e.name = name;
    e.value = value;
    return true;
}

bool CRegistryData::Remove(const QString& key, const QString& name)
{
    auto k = m_keys.find(Fold(NormalizeKey(key)));
    return k != m_keys.end() && k->second.values.erase(Fold(name)) != 0;
}

QStringList CRegistryData::Keys() const
{
    QStringList keys;
    for (const auto& [folded, key] : m_keys)
        keys.append(key.path);
    return keys;
}

QStringList CRegistryData::ValueNames(const QString& key) const
{
    QStringList names;
    auto k = m_keys.find(Fold(NormalizeKey(key)));
    if (k != m_keys.end())
        for (const auto& [folded, entry] : k->second.values)
            names.append(entry.name);
    return names;
}

QByteArray CRegistryData::ToText() const
{
    QByteArray out = QByteArray(kHeader4) + "\n";
    for (const auto& [folded, key] : m_keys) {
        out += "\n[" + key.path.toUtf8() + "]\n";
        for (const auto& [vfolded, entry] : key.values)
            out += (entry.name.isEmpty() ? QByteArray("@") : Quote(entry.name)) + "=" + ValueText(entry.value) + "\n";
    }
    return out;
}

bool CRegistryData::FromText(const QByteArray& text, CRegistryData* data, QStringList* problems)
{
    *data = CRegistryData();
    bool clean = true;
    auto problem = [&](int line, const QString& what) {
        clean = false;
        if (problems)
            problems->append(QStringLiteral("line %1: %2").arg(line).arg(what));
    };
    LineReader reader(text.startsWith("\xEF\xBB\xBF") ? text.mid(3) : text);
    bool header = false;
    QString currentKey;
    while (!reader.AtEnd()) {
        QByteArray line = reader.Next();
        int number = reader.LineNumber();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (!header) {
            header = true;
            if (line == kHeader4 || line == kHeader5)
                continue;
            problem(number, QStringLiteral("no REGEDIT4 header"));
        }
        if (line.startsWith('[')) {
            qsizetype close = line.lastIndexOf(']');
            currentKey = close > 0 ? NormalizeKey(FromUtf8(line.mid(1, close - 1))) : QString();
            if (!data->CreateKey(currentKey)) {
                currentKey.clear();
                problem(number, QStringLiteral("bad key"));
            }
            continue;
        }
        QString name;
        RegValue value;
        if (currentKey.isEmpty() || !ParseValueLine(line, &reader, &name, &value)
            || !data->Set(currentKey, name, value))
            problem(number, QStringLiteral("bad value"));
    }
    return clean;
}

bool CRegistryData::operator==(const CRegistryData& other) const
{
    return m_keys == other.m_keys;
}

bool CRegistryData::HasHeader(const QByteArray& text)
{
    LineReader reader(text.startsWith("\xEF\xBB\xBF") ? text.mid(3) : text);
    while (!reader.AtEnd()) {
        const QByteArray line = reader.Next();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        return line == kHeader4 || line == kHeader5;
    }
    return true;
}
