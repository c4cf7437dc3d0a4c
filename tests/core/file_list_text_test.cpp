// Size, date and name texts of the file list's rows.
#include "app/file_list_text.h"

#include <gtest/gtest.h>

#include <QDateTime>

namespace {

TEST(FileListText, SizeSwitchesUnitsAtKibAndMib)
{
    EXPECT_EQ(FileListText::SizeText(0), QStringLiteral("0 Bytes"));
    EXPECT_EQ(FileListText::SizeText(1023), QStringLiteral("1023 Bytes"));
    EXPECT_EQ(FileListText::SizeText(1024), QStringLiteral("1.00 KB"));
    EXPECT_EQ(FileListText::SizeText(1048575), QStringLiteral("1024.00 KB"));
    EXPECT_EQ(FileListText::SizeText(1048576), QStringLiteral("1.00 MB"));
    EXPECT_EQ(FileListText::SizeText(1536000), QStringLiteral("1.46 MB"));
    // Large sizes pass through a 32-bit float: 4294967295 becomes 2^32.
    EXPECT_EQ(FileListText::SizeText(4294967295u), QStringLiteral("4096.00 MB"));
}

TEST(FileListText, DateHasNoZeroPadding)
{
    const QDateTime local(QDate(2004, 3, 5), QTime(9, 7, 3), Qt::LocalTime);
    EXPECT_EQ(FileListText::DateText(CTime(local.toSecsSinceEpoch())), QStringLiteral("2004-3-5 9:7:3"));
    const QDateTime late(QDate(2019, 12, 31), QTime(23, 59, 58), Qt::LocalTime);
    EXPECT_EQ(FileListText::DateText(CTime(late.toSecsSinceEpoch())), QStringLiteral("2019-12-31 23:59:58"));
}

TEST(FileListText, NameIsTextAfterLastBackslash)
{
    EXPECT_EQ(FileListText::NameOf(QStringLiteral("\\My Documents\\a\\cat.jpg")), QStringLiteral("cat.jpg"));
    EXPECT_EQ(FileListText::NameOf(QStringLiteral("cat.jpg")), QStringLiteral("cat.jpg"));
    EXPECT_EQ(FileListText::NameOf(QStringLiteral("dir\\")), QString());
}
}  // namespace
