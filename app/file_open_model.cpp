#include "app/file_open_model.h"

#include "platform/date_formatter.h"
#include "platform/device_path.h"
#include "platform/registry_store.h"
#include "platform/time_value.h"

namespace FileOpenModel {

const std::vector<CFilterDef>& Filters()
{
    static const std::vector<CFilterDef> filters = {
        {"album Files(*.lab)", "*.lab"}, {"all Files(*.*)", "*.*"},      {"bmp Files(*.bmp)", "*.bmp"},
        {"gif Files(*.gif)", "*.gif"},   {"jpeg Files(*.jpg)", "*.jpg"}, {"png Files(*.png)", "*.png"},
    };
    return filters;
}

QString FilterTextFromPattern(const QString& pattern)
{
    for (const CFilterDef& f : Filters())
        if (pattern == QLatin1String(f.pattern))
            return QLatin1String(f.text);
    return QStringLiteral("all Files(*.*)");
}

QString PatternFromFilterText(const QString& text)
{
    for (const CFilterDef& f : Filters())
        if (text == QLatin1String(f.text))
            return QLatin1String(f.pattern);
    return QStringLiteral("*.*");
}

QString FormatFileSize(uint32_t bytes)
{
    if (bytes > 1048576)
        return QString::number(bytes / 1048576) + QLatin1Char('M');
    if (bytes > 1024)
        return QString::number(bytes / 1024) + QLatin1Char('K');
    return QString::number(bytes);
}

namespace {

bool Match(QStringView name, QStringView pattern)
{
    // Iterative wildcard match: on a mismatch, the last "*" takes one more character.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size()
            && (pattern[p] == QLatin1Char('?') || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesPattern(const QString& name, const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return true;
    return Match(name, pattern);
}

bool ListFiles(const QString& folder, const QString& pattern, CDateFormatter* formatter, const QString& picture,
               std::vector<CFileRow>* rows)
{
    rows->clear();
    std::vector<CFindData> entries;
    if (!EnumerateDirectory(folder, &entries))
        return false;
    rows->reserve(entries.size());
    for (const CFindData& entry : entries) {
        if (entry.isDirectory || !MatchesPattern(entry.name, pattern))
            continue;
        formatter->SetValue(COleDateTime::FromTime(CTime(entry.accessed)));
        formatter->Format(picture);
        rows->push_back({entry.name, FormatFileSize(uint32_t(entry.size)), formatter->Output().toString()});
    }
    return true;
}

QString GetDeviceName()
{
    RegValue value;
    if (!CRegistryStore::Instance().Read(QLatin1String(CRegistryStore::kIdentKey), QStringLiteral("Name"), &value)
        || !value.IsText())
        return QStringLiteral("My Device");
    return value.ToText().left(31);
}

}  // namespace FileOpenModel
