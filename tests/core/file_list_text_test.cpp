// Size, date and name texts of the file list's rows.
#include "app/file_list_text.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

TEST(FileListText, SizeSwitchesUnitsAtKibAndMib)
{
    EXPECT_EQ(FileListText::SizeText(0), u"0 Bytes"_s);
    EXPECT_EQ(FileListText::SizeText(1023), u"1023 Bytes"_s);
    EXPECT_EQ(FileListText::SizeText(1024), u"1.00 KB"_s);
    EXPECT_EQ(FileListText::SizeText(1048575), u"1024.00 KB"_s);
    EXPECT_EQ(FileListText::SizeText(1048576), u"1.00 MB"_s);
    EXPECT_EQ(FileListText::SizeText(1536000), u"1.46 MB"_s);
    // Large sizes pass through a 32-bit float: 4294967295 becomes 2^32.
    EXPECT_EQ(FileListText::SizeText(4294967295u), u"4096.00 MB"_s);
}

TEST(FileListText, DateHasNoZeroPadding)
{
    const QDateTime local(QDate(2004, 3, 5), QTime(9, 7, 3), Qt::LocalTime);
    EXPECT_EQ(FileListText::DateText(CTime(local.toSecsSinceEpoch())), u"2004-3-5 9:7:3"_s);
    const QDateTime late(QDate(2019, 12, 31), QTime(23, 59, 58), Qt::LocalTime);
    EXPECT_EQ(FileListText::DateText(CTime(late.toSecsSinceEpoch())), u"2019-12-31 23:59:58"_s);
}

TEST(FileListText, NameIsTextAfterLastBackslash)
{
    EXPECT_EQ(FileListText::NameOf(u"\\My Documents\\a\\cat.jpg"_s), u"cat.jpg"_s);
    EXPECT_EQ(FileListText::NameOf(u"cat.jpg"_s), u"cat.jpg"_s);
    EXPECT_EQ(FileListText::NameOf(u"dir\\"_s), QString());
}
}  // namespace
