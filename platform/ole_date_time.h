// COleDateTime: a calendar date and time as the framework's date-time form
// holds it: days since 30 December 1899 (midnight) as a double, the time of
// day as the fraction, and a status. The fraction counts forward from
// midnight also before 1899 (-1.25 is 29 December 1899, 06:00). Values hold
// the years 100 to 9999; anything else is invalid. No allocation anywhere.
#pragma once

class CTime;

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1 };

    // 30 December 1899, 00:00, valid.
    COleDateTime() = default;
    // From calendar fields; invalid when a field is out of its range.
    COleDateTime(int year, int month, int day, int hour, int minute, int second);
    // The local time of a file time; invalid when the time is unset or
    // beyond the years the form holds.
    static COleDateTime FromTime(const CTime& time);

    DateTimeStatus GetStatus() const { return m_status; }
    double Days() const { return m_dt; }

    int GetYear() const { return Fields().year; }
    int GetMonth() const { return Fields().month; }
    int GetDay() const { return Fields().day; }
    int GetHour() const { return Fields().hour; }
    int GetMinute() const { return Fields().minute; }
    int GetSecond() const { return Fields().second; }
    // 1 = Sunday ... 7 = Saturday.
    int GetDayOfWeek() const { return Fields().dayOfWeek; }
    // 1 for 1 January.
    int GetDayOfYear() const { return Fields().dayOfYear; }

    struct CFields {
        int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
    };
    CFields Fields() const;

private:
    double m_dt = 0;
    DateTimeStatus m_status = valid;
};
