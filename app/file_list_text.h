// The size and date texts of a file-list row: a file size in MB, KB or
// bytes with two decimals, and a modification time as local calendar fields
// without zero padding ("2004-3-5 9:7:3").
#pragma once

#include "platform/time_value.h"

#include <QString>
#include <cstdint>

namespace FileListText {

// "%.2f MB" from 1 MiB up, "%.2f KB" from 1 KiB up, else "%d Bytes".
QString ByteSizeText(double bytes);
// The list's size column: ByteSizeText of the size passed through a 32-bit
// float first, as the list always showed it.
QString SizeText(uint32_t bytes);
// "%d-%d-%d %d:%d:%d": year, month, day, hour, minute, second.
QString DateText(const CTime& time);
// The name column: the text after the last "\" (the whole path without one).
QString NameOf(const QString& path);

}  // namespace FileListText
