// Locale date pictures: fields, quoting, unsupported counts, the 12-hour
// clock, designators, and the date-time form the values come in.
#include "platform/date_formatter.h"
#include "platform/time_value.h"

#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString Formatted(const COleDateTime& value, const char16_t* picture)
{
    CDateFormatter formatter(QLocale(QLocale::English, QLocale::UnitedStates));
    formatter.SetValue(value);
    formatter.Format(QStringView(picture));
    return formatter.Output().toString();
}

// Friday 5 March 2004 unless a row names another day; the week counts from
// the weekday of 1 January (a Friday in 2010).
TEST(DateFormatter, PicturesOfFridayFifthOfMarch2004)
{
    const struct {
        int hour, minute;
        const char16_t* picture;
        const char* expected;
        int year = 2004, month = 3, day = 5;
    } cases[] = {
        // clang-format off
        {0, 0, u"d/M/yyyy", "5/3/2004"},           {0, 0, u"dd.MM.yy", "05.03.04"},
        {0, 0, u"yyy ddddd", "??? ???"},           {0, 0, u"'d' ''d'' 'It''s'", "d 5 Its"},
        {0, 0, u"dddd, MMMM d", "Friday, March 5"}, {0, 0, u"ddd MMM gg", "Fri Mar "},
        {0, 0, u"q qq w", "1 ??? 11"},             {0, 5, u"h:mm tt", "0:05 AM"},
        {12, 0, u"h t", "12 P"},                   {13, 7, u"hh HH mmm h", "01 13 ??? 1"},
        {9, 8, u"HH:mm:ss s", "09:08:00 0"},       {23, 59, u"ttt", "???"},
        {0, 0, u"ww", "02", 2010, 1, 3},           {0, 0, u"w", "1", 2006, 1, 1},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(Formatted(COleDateTime(c.year, c.month, c.day, c.hour, c.minute, 0), c.picture),
                  QString::fromUtf8(c.expected))
            << QString::fromUtf16(c.picture).toStdString();
}

TEST(DateFormatter, InvalidValueKeepsThePreviousOneAndOutputStopsAt255Characters)
{
    CDateFormatter formatter(QLocale(QLocale::English, QLocale::UnitedStates));
    formatter.Format(u"d/M/yyyy");
    EXPECT_EQ(formatter.Output(), u"30/12/1899");
    formatter.SetValue(COleDateTime(2004, 3, 5, 0, 0, 0));
    formatter.SetValue(COleDateTime(2004, 2, 30, 0, 0, 0));
    EXPECT_FALSE(formatter.IsValid());
    formatter.Format(u"d/M/yyyy");
    EXPECT_EQ(formatter.Output(), u"5/3/2004");
    // The output stops at 255 characters.
    const QString picture(300, QLatin1Char('x'));
    formatter.Format(QString(60, QLatin1Char('-')) + u"yyyy"_s + picture + u"yyyy"_s + picture + u"yyyy"_s);
    EXPECT_EQ(formatter.Output().size(), 255);
    // Literal text between two fields holds at most 127 characters.
    EXPECT_EQ(formatter.Output().mid(64, 127), QString(127, QLatin1Char('x')));
    EXPECT_EQ(formatter.Output().mid(191, 4), u"2004");
}

TEST(DateFormatter, DateTimeFormAgreesWithTheCalendar)
{
    for (const QDate date :
         {QDate(100, 1, 1), QDate(1899, 12, 29), QDate(1900, 3, 1), QDate(2000, 2, 29), QDate(9999, 12, 31)}) {
        const COleDateTime value(date.year(), date.month(), date.day(), 6, 30, 59);
        ASSERT_EQ(value.GetStatus(), COleDateTime::valid);
        EXPECT_EQ(value.Days(),
                  double(QDate(1899, 12, 30).daysTo(date)) + (value.Days() < 0 ? -1 : 1) * 23459.0 / 86400)
            << date.toString().toStdString();
        const COleDateTime::CFields f = value.Fields();
        EXPECT_EQ(QDate(f.year, f.month, f.day), date);
        EXPECT_EQ(f.dayOfWeek, date.dayOfWeek() % 7 + 1);
        EXPECT_EQ(f.dayOfYear, date.dayOfYear());
        EXPECT_EQ(f.hour * 3600 + f.minute * 60 + f.second, 23459);
    }
    EXPECT_EQ(COleDateTime(99, 12, 31, 0, 0, 0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime::FromTime(CTime()).GetStatus(), COleDateTime::invalid);
    const QDateTime local(QDate(2004, 3, 5), QTime(9, 7, 3), Qt::LocalTime);
    EXPECT_EQ(Formatted(COleDateTime::FromTime(CTime(local.toSecsSinceEpoch())), u"yyyy-MM-dd HH:mm:ss"),
              u"2004-03-05 09:07:03"_s);
}

}  // namespace
