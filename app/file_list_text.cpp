#include "app/file_list_text.h"

namespace FileListText {

QString ByteSizeText(double bytes)
{
    if (bytes / 1048576.0 >= 1.0)
        return QString::asprintf("%.2f MB", bytes / 1048576.0);
    if (bytes / 1024.0 >= 1.0)
        return QString::asprintf("%.2f KB", bytes / 1024.0);
    return QString::asprintf("%d Bytes", int(bytes));
}

QString SizeText(uint32_t bytes)
{
    return ByteSizeText(double(float(bytes)));
}

QString DateText(const CTime& time)
{
    const CTime::Fields t = time.Local();
    return QString::asprintf("%d-%d-%d %d:%d:%d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

QString NameOf(const QString& path)
{
    const int slash = int(path.lastIndexOf(QLatin1Char('\\')));
    return slash < 0 ? path : path.mid(slash + 1);
}

}  // namespace FileListText
