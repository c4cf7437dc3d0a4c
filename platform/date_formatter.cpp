#include "platform/date_formatter.h"

#include <algorithm>

namespace {

constexpr char16_t kFieldLetters[] = u"dMywqghHmst";
constexpr char16_t kUnsupported[] = u"???";

template <int N> void CopyName(char16_t (&to)[N], const QString& name)
{
    const int n = std::min(int(name.size()), N - 1);
    std::copy_n(reinterpret_cast<const char16_t*>(name.utf16()), n, to);
    to[n] = 0;
}

}  // namespace

CDateFormatter::CDateFormatter()
    : CDateFormatter(QLocale::system())
{
}

CDateFormatter::CDateFormatter(const QLocale& locale)
{
    ReadNames(locale);
}

void CDateFormatter::ReadNames(const QLocale& locale)
{
    // QLocale counts Monday as 1 and Sunday as 7.
    for (int i = 0; i < 7; ++i) {
        const int qtDay = i == 0 ? 7 : i;
        CopyName(m_dayNames[i], locale.standaloneDayName(qtDay, QLocale::LongFormat));
        CopyName(m_shortDayNames[i], locale.standaloneDayName(qtDay, QLocale::ShortFormat));
    }
    for (int i = 0; i < 12; ++i) {
        CopyName(m_monthNames[i], locale.standaloneMonthName(i + 1, QLocale::LongFormat));
        CopyName(m_shortMonthNames[i], locale.standaloneMonthName(i + 1, QLocale::ShortFormat));
    }
    CopyName(m_am, locale.amText());
    CopyName(m_pm, locale.pmText());
}

QString CDateFormatter::UserShortDatePicture()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat).left(63);
}

void CDateFormatter::SetValue(const COleDateTime& value)
{
    if (value.GetStatus() != COleDateTime::valid) {
        m_valid = 0;
        return;
    }
    m_value = value;
    m_valid = 1;
}

int CDateFormatter::FieldOf(char16_t c)
{
    for (int i = 0; i < kFields; ++i)
        if (kFieldLetters[i] == c)
            return i;
    return -1;
}

void CDateFormatter::Append(const char16_t* text, int length)
{
    const int n = std::min(length, kOutputSize - 1 - m_length);
    std::copy_n(text, n, m_output + m_length);
    m_length += n;
    m_output[m_length] = 0;
}

void CDateFormatter::Append(const char16_t* zeroTerminated)
{
    int n = 0;
    while (zeroTerminated[n])
        ++n;
    Append(zeroTerminated, n);
}

void CDateFormatter::AppendNumber(int value, int minDigits)
{
    char16_t digits[16];
    int n = 0;
    unsigned v = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        digits[n++] = char16_t(u'0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n < minDigits)
        digits[n++] = u'0';
    if (value < 0)
        digits[n++] = u'-';
    std::reverse(digits, digits + n);
    Append(digits, n);
}

void CDateFormatter::AppendLiteral(char16_t c)
{
    if (m_literalLength < kLiteralSize - 1)
        m_literal[m_literalLength++] = c;
}

void CDateFormatter::FlushLiteral()
{
    Append(m_literal, m_literalLength);
    m_literalLength = 0;
}

void CDateFormatter::WriteField(int field, int count, const COleDateTime::CFields& f)
{
    FlushLiteral();
    // Week of the year: day of the year plus the weekday of 1 January
    // (Sunday = 1), over 7, plus 1.
    const auto week = [&f] {
        const int jan1 = ((f.dayOfWeek - 1 - (f.dayOfYear - 1)) % 7 + 7) % 7 + 1;
        return (f.dayOfYear + jan1) / 7 + 1;
    };
    const auto number = [&](int value) {
        if (count == 1)
            AppendNumber(value, 1);
        else if (count == 2)
            AppendNumber(value, 2);
        else
            Append(kUnsupported);
    };
    switch (field) {
    case kDay:
    case kMonth: {
        const bool day = field == kDay;
        const int value = day ? f.day : f.month;
        if (count <= 2)
            number(value);
        else if (count == 3)
            Append(day ? m_shortDayNames[f.dayOfWeek - 1] : m_shortMonthNames[f.month - 1]);
        else if (count == 4)
            Append(day ? m_dayNames[f.dayOfWeek - 1] : m_monthNames[f.month - 1]);
        else
            Append(kUnsupported);
        break;
    }
    case kYear:
        if (count == 1)
            AppendNumber(f.year, 1);
        else if (count == 2)
            AppendNumber(f.year % 100, 2);
        else if (count == 4)
            AppendNumber(f.year, 4);
        else
            Append(kUnsupported);
        break;
    case kQuarter:
        if (count == 1)
            AppendNumber((f.month - 1) / 3 + 1, 1);
        else
            Append(kUnsupported);
        break;
    case kWeek:
        number(week());
        break;
    case kEra:
        break;
    case kHour12:
        number(f.hour > 12 ? f.hour - 12 : f.hour);
        break;
    case kHour24:
        number(f.hour);
        break;
    case kMinute:
        number(f.minute);
        break;
    case kSecond:
        number(f.second);
        break;
    case kMarker: {
        const char16_t* marker = f.hour < 12 ? m_am : m_pm;
        if (count == 1)
            Append(marker, marker[0] ? 1 : 0);
        else if (count == 2)
            Append(marker);
        else
            Append(kUnsupported);
        break;
    }
    default:
        break;
    }
    std::fill(std::begin(m_counts), std::end(m_counts), 0);
}

void CDateFormatter::Format(QStringView picture)
{
    m_length = 0;
    m_output[0] = 0;
    m_literalLength = 0;
    std::fill(std::begin(m_counts), std::end(m_counts), 0);
    const COleDateTime::CFields f = m_value.Fields();
    int field = -1;  // the field whose run is being read
    bool quoted = false;
    for (const QChar qc : picture) {
        const char16_t c = qc.unicode();
        if (quoted) {
            if (c == u'\'') {
                quoted = false;
                FlushLiteral();
            } else {
                AppendLiteral(c);
            }
            continue;
        }
        if (field >= 0) {
            if (c == kFieldLetters[field]) {
                ++m_counts[field];
                continue;
            }
            WriteField(field, m_counts[field], f);
            field = -1;
        }
        if (c == u'\'') {
            quoted = true;
        } else if (const int next = FieldOf(c); next >= 0) {
            field = next;
            m_counts[field] = 1;
        } else {
            AppendLiteral(c);
        }
    }
    if (field >= 0)
        WriteField(field, m_counts[field], f);
    FlushLiteral();
}
