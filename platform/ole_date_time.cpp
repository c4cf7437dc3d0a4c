#include "platform/ole_date_time.h"

#include "platform/time_value.h"

#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 1 January 1970 back to 30 December 1899.
constexpr int64_t kEpochOffsetDays = 25569;

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's rule).
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int* year, int* month, int* day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    *day = int(doy - (153 * mp + 2) / 5 + 1);
    *month = int(mp < 10 ? mp + 3 : mp - 9);
    *year = int(yoe + era * 400 + (*month <= 2));
}

bool IsLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

}  // namespace

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0
        || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        m_status = invalid;
        return;
    }
    const int64_t days = DaysFromCivil(year, month, day) + kEpochOffsetDays;
    const double fraction = double(hour * 3600 + minute * 60 + second) / double(kSecondsPerDay);
    m_dt = days >= 0 ? double(days) + fraction : double(days) - fraction;
}

COleDateTime COleDateTime::FromTime(const CTime& time)
{
    COleDateTime value;
    if (!time.IsSet()) {
        value.m_status = invalid;
        return value;
    }
    // One conversion to local fields for all six.
    const std::time_t t = std::time_t(time.GetTime());
    std::tm tm {};
    if (!localtime_r(&t, &tm)) {
        value.m_status = invalid;
        return value;
    }
    return COleDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

COleDateTime::CFields COleDateTime::Fields() const
{
    // Whole days, and the time of day in seconds rounded to the nearest.
    double whole = std::trunc(m_dt);
    int64_t seconds = int64_t(std::llround(std::fabs(m_dt - whole) * double(kSecondsPerDay)));
    int64_t days = int64_t(whole);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        days += m_dt >= 0 ? 1 : -1;
    }
    CFields f {};
    const int64_t sinceEpoch = days - kEpochOffsetDays;
    CivilFromDays(sinceEpoch, &f.year, &f.month, &f.day);
    f.hour = int(seconds / 3600);
    f.minute = int(seconds / 60 % 60);
    f.second = int(seconds % 60);
    // 1 January 1970 was a Thursday (5 when Sunday is 1).
    f.dayOfWeek = int(((sinceEpoch + 4) % 7 + 7) % 7) + 1;
    f.dayOfYear = int(sinceEpoch - DaysFromCivil(f.year, 1, 1)) + 1;
    return f;
}
