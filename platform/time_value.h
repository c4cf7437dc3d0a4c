// CTime: seconds since 1970 with local-time fields, made from a file's
// last-write time. An unset value is distinguishable from the epoch.
#pragma once

#include <cstdint>

class QString;

class CTime {
public:
    CTime() = default;
    explicit CTime(int64_t secondsSinceEpoch)
        : m_seconds(secondsSinceEpoch)
        , m_set(true)
    {
    }
    // The last-write time of a host file; unset when the file cannot be read.
    static CTime FromFileModified(const QString& hostPath);

    bool IsSet() const { return m_set; }
    int64_t GetTime() const { return m_seconds; }
    struct Fields {
        int year, month, day, hour, minute, second;
    };
    // Local-time fields (TZ applies): all six from one conversion.
    Fields Local() const;
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;

private:
    int64_t m_seconds = 0;
    bool m_set = false;
};
