// CDateFormatter: one date and time as text, laid out by a picture in the
// style of the locale's date pictures ("d/M/yyyy", "dddd, MMMM d", "h:mm tt").
//
// The picture is read character by character (case counts): a run of one of
// the letters d M y w q g h H m s t is a field whose length is its count;
// text between single quotes is literal, the quotes themselves are not
// output; every other character is literal. Counts a field does not support
// give "???". Names of days and months and the AM/PM designators come from a
// locale, read once when the formatter is made; formatting itself uses fixed
// arrays only and never allocates. The result holds at most 255 characters;
// anything beyond is dropped.
#pragma once

#include "platform/ole_date_time.h"

#include <QLocale>
#include <QString>
#include <QStringView>

class CDateFormatter {
public:
    static constexpr int kOutputSize = 256;
    static constexpr int kLiteralSize = 128;
    static constexpr int kDayNameSize = 128;
    static constexpr int kMonthNameSize = 127;

    // Names from the system's locale.
    CDateFormatter();
    // Names from the given locale.
    explicit CDateFormatter(const QLocale& locale);
    virtual ~CDateFormatter() = default;

    // Takes a valid value; an invalid one leaves the value as it was.
    void SetValue(const COleDateTime& value);
    const COleDateTime& Value() const { return m_value; }
    bool IsValid() const { return m_valid != 0; }

    // Replaces the output with the value laid out by picture.
    void Format(QStringView picture);
    QStringView Output() const { return QStringView(m_output, m_length); }

    // The user's short date picture (at most 63 characters), as the file
    // list's Date column uses it.
    static QString UserShortDatePicture();

private:
    enum Field { kDay, kMonth, kYear, kWeek, kQuarter, kEra, kHour12, kHour24, kMinute, kSecond, kMarker, kFields };
    static int FieldOf(char16_t c);

    void Append(const char16_t* text, int length);
    void Append(const char16_t* zeroTerminated);
    void AppendNumber(int value, int minDigits);
    void AppendLiteral(char16_t c);
    void FlushLiteral();
    void WriteField(int field, int count, const COleDateTime::CFields& f);
    void ReadNames(const QLocale& locale);

    COleDateTime m_value;
    int m_valid = 0;
    int m_counts[kFields] = {};
    char16_t m_output[kOutputSize] = {};
    int m_length = 0;
    char16_t m_literal[kLiteralSize] = {};
    int m_literalLength = 0;
    // Sunday first; each zero-terminated.
    char16_t m_dayNames[7][kDayNameSize] = {};
    char16_t m_shortDayNames[7][kDayNameSize] = {};
    char16_t m_monthNames[12][kMonthNameSize] = {};
    char16_t m_shortMonthNames[12][kMonthNameSize] = {};
    char16_t m_am[kMonthNameSize] = {};
    char16_t m_pm[kMonthNameSize] = {};
};
