#include "platform/time_value.h"

#include "platform/host_bytes.h"

#include <QFileInfo>
#include <QString>
#include <ctime>
#include <sys/stat.h>

CTime CTime::FromFileModified(const QString& hostPath)
{
    struct stat st { };
    if (::stat(HostBytes::Encode(hostPath).constData(), &st) != 0)
        return CTime();
    return CTime(int64_t(st.st_mtim.tv_sec));
}

CTime::Fields CTime::Local() const
{
    std::time_t t = std::time_t(m_seconds);
    std::tm tm {};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

int CTime::GetYear() const
{
    return Local().year;
}
int CTime::GetMonth() const
{
    return Local().month;
}
int CTime::GetDay() const
{
    return Local().day;
}
int CTime::GetHour() const
{
    return Local().hour;
}
int CTime::GetMinute() const
{
    return Local().minute;
}
int CTime::GetSecond() const
{
    return Local().second;
}
