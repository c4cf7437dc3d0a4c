// What the File Open dialog shows, apart from its windows: the filter table
// of its combo, the size texts, the pattern match of its file list, the
// list's rows, and the device's name for the root of its folder tree.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class CDateFormatter;

namespace FileOpenModel {

// One entry of the filter combo: its text and the pattern it stands for.
struct CFilterDef {
    const char* text;
    const char* pattern;
};
// The six entries, in the combo's (sorted) order.
const std::vector<CFilterDef>& Filters();
// Exact, case-sensitive lookups both ways: a pattern outside the table gives
// "all Files(*.*)", a text outside it gives "*.*".
QString FilterTextFromPattern(const QString& pattern);
QString PatternFromFilterText(const QString& text);

// Over 1048576 bytes: whole MiB and "M"; over 1024: whole KiB and "K"; else
// the byte count. So 1024 gives "1024", 1025 "1K", 1048576 "1024K", 1048577 "1M".
QString FormatFileSize(uint32_t bytes);

// Whether a file name matches a pattern as the device's file search does:
// "*" any run of characters, "?" one, letter case ignored; "*" and "*.*"
// match every name.
bool MatchesPattern(const QString& name, const QString& pattern);

// One row of the file list: name, size text, last-access date text.
struct CFileRow {
    QString name;
    QString size;
    QString date;
};
// The files (not folders) of a device folder that match pattern, in listing
// order. Sizes are the low 32 bits of the size; dates are the local
// last-access time laid out by picture, a time the date form cannot hold
// showing the date of the row before it. False when the folder cannot be read.
bool ListFiles(const QString& folder, const QString& pattern, CDateFormatter* formatter, const QString& picture,
               std::vector<CFileRow>* rows);

// The device's name (HKEY_LOCAL_MACHINE\Ident, "Name", at most 31
// characters); "My Device" when it cannot be read.
QString GetDeviceName();

}  // namespace FileOpenModel
