// The File Open dialog's data: size texts, the filter table both ways, the
// pattern match, the file list's rows and the device name.
#include "app/file_open_model.h"
#include "platform/date_formatter.h"
#include "platform/device_path.h"
#include "platform/registry_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

using namespace FileOpenModel;

namespace {

TEST(FileOpenModel, SizeTextsSwitchAboveKibAndMib)
{
    const std::pair<uint32_t, const char*> cases[]
        = {{1024, "1024"}, {1025, "1K"}, {1048577, "1M"}, {4294967295u, "4095M"}};
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatFileSize(bytes), QLatin1String(text)) << bytes;
}

TEST(FileOpenModel, FilterTableLooksUpExactlyBothWays)
{
    for (const CFilterDef& f : Filters())
        EXPECT_EQ(PatternFromFilterText(FilterTextFromPattern(QLatin1String(f.pattern))), QLatin1String(f.pattern));
    EXPECT_EQ(FilterTextFromPattern(u"*.jpg"_s), u"jpeg Files(*.jpg)"_s);
    EXPECT_EQ(FilterTextFromPattern(u"*.JPG"_s), u"all Files(*.*)"_s);
    EXPECT_EQ(PatternFromFilterText(u"JPEG Files(*.jpg)"_s), u"*.*"_s);
}

TEST(FileOpenModel, PatternsMatchAsTheFileSearchDoes)
{
    const struct {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"a.JPG", "*.jpg", true},   {"a.jpeg", "*.jpg", false}, {"noext", "*.*", true},   {"a.jpg", "?.jpg", true},
        {"ab.jpg", "?.jpg", false}, {"abcd", "a*c", false},     {"aXbXc", "a*b*c", true}, {"", "*", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesPattern(QLatin1String(c.name), QLatin1String(c.pattern)), c.match)
            << c.name << " " << c.pattern;
}

TEST(FileListRows, FilesOfThePatternWithSizeAndAccessDate)
{
    QTemporaryDir root;
    DevicePath::SetDeviceRoot(root.path());
    const int64_t march5 = QDateTime(QDate(2004, 3, 5), QTime(23, 30), Qt::LocalTime).toSecsSinceEpoch();
    const int64_t newYear = QDateTime(QDate(2021, 1, 1), QTime(0, 0), Qt::LocalTime).toSecsSinceEpoch();
    // Files of the given sizes, last read at the given times.
    for (const auto& [name, size, accessed] : {std::tuple {"a0.jpg", 10, newYear},
                                               {"b.jpg", 1025, march5},
                                               {"C.JPG", 1048577, newYear},
                                               {"d.png", 5, march5}}) {
        QFile f(root.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size));
        f.close();
        const timespec times[2] = {{time_t(accessed), 0}, {0, UTIME_OMIT}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(f.fileName()).constData(), times, 0), 0);
    }
    ASSERT_TRUE(QDir(root.path()).mkdir(u"e.jpg"_s));

    CDateFormatter formatter(QLocale(QLocale::English, QLocale::UnitedStates));
    std::vector<CFileRow> rows;
    ASSERT_TRUE(ListFiles(u"\\"_s, u"*.jpg"_s, &formatter, u"d/M/yyyy"_s, &rows));
    ASSERT_EQ(rows.size(), 3u);
    const QStringList expected[]
        = {{"a0.jpg", "10", "1/1/2021"}, {"b.jpg", "1K", "5/3/2004"}, {"C.JPG", "1M", "1/1/2021"}};
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ((QStringList {rows[i].name, rows[i].size, rows[i].date}), expected[i]);

    EXPECT_FALSE(ListFiles(u"\\missing"_s, u"*.*"_s, &formatter, QString(), &rows));
    EXPECT_TRUE(rows.empty());
    DevicePath::SetDeviceRoot(QString());
}

TEST(FileOpenModel, DeviceNameComesFromIdentWithItsFallback)
{
    QTemporaryDir dir;
    CRegistryStore& store = CRegistryStore::Instance();
    store.SetFile(dir.filePath(u"registry.reg"_s));
    const QString key = QLatin1String(CRegistryStore::kIdentKey);
    ASSERT_TRUE(store.WriteString(key, u"Name"_s, u"Pocket"_s));
    EXPECT_EQ(GetDeviceName(), u"Pocket"_s);
    ASSERT_TRUE(store.WriteString(key, u"Name"_s, QString(40, QLatin1Char('n'))));
    EXPECT_EQ(GetDeviceName(), QString(31, QLatin1Char('n')));
    ASSERT_TRUE(store.DeleteValue(key, u"Name"_s));
    EXPECT_EQ(GetDeviceName(), u"My Device"_s);
    store.SetFile(dir.filePath(u"unused.reg"_s));
}

}  // namespace
