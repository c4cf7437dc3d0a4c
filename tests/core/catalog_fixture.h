// A confined device for catalog-building and album tests: a temporary device
// root, a record of the hints the catalog sends and of the messages shown, and
// small valid pictures and archives made on the spot.
#pragma once

#include "app/image_catalog.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "test_pictures.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace catalog_fixture {

// The stored thumbnail view modes the builds are run in.
constexpr int kListMode = 0;
constexpr int kStripMode = 1;

// A small valid picture of the kind a name's extension says (BMP for any other).
inline QByteArray PictureFor(const QString& name)
{
    const QString ext = name.right(4).toLower();
    if (ext == QLatin1String(".jpg"))
        return ToByteArray(RgbJpeg(8, 8));
    if (ext == QLatin1String(".png"))
        return ToByteArray(RgbPng(2, 2));
    if (ext == QLatin1String(".gif")) {
        GifSpec gif;
        gif.palette = {255, 255, 255, 0, 0, 0};
        gif.indices = {1};
        return ToByteArray(MakeGif(gif));
    }
    return ToByteArray(BuildBmp(SolidBmp(2, 2, 24, 10, 20, 30)));
}

// Writes a ZIP archive at a host path holding the given members in order.
inline bool WriteZip(const QString& hostPath, const std::vector<std::pair<QString, QByteArray>>& members)
{
    std::vector<TestZipMember> content;
    for (const auto& [name, data] : members)
        content.emplace_back(name.toUtf8(), data);
    return WriteTestFile(hostPath, BuildTestZip(content));
}

// Paths of the entries, in catalog order.
inline QStringList Paths(const CImageCatalog& catalog)
{
    QStringList paths;
    for (const CImageItem* item : catalog.GetList())
        paths << item->m_path;
    return paths;
}

// Hints queued from the loader thread need an application object on this thread.
inline void EnsureApp()
{
    static int argc = 1;
    static char name[] = "core_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

class CatalogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        DevicePath::SetDeviceRoot(m_root.path());
        MessageBoxService::SetEcho(false);
        MessageBoxService::ClearMessages();
        m_catalog.SetNotifier([this](int hint) { m_hints.push_back(hint); });
    }
    void TearDown() override
    {
        DevicePath::SetDeviceRoot(QString());
        MessageBoxService::ClearMessages();
    }

    QString Host(const QString& devicePath) const { return DevicePath::ToHost(devicePath); }
    void MakeFolder(const QString& devicePath) { ASSERT_TRUE(QDir().mkpath(Host(devicePath))); }
    void WriteBytes(const QString& devicePath, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(Host(devicePath)).absolutePath());
        QFile file(Host(devicePath));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    // A small valid picture of the kind the name's extension says.
    void WritePicture(const QString& devicePath) { WriteBytes(devicePath, PictureFor(devicePath)); }
    QByteArray ReadBytes(const QString& devicePath) const
    {
        QFile file(Host(devicePath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int HintCount(int hint) const { return int(std::count(m_hints.begin(), m_hints.end(), hint)); }

    QTemporaryDir m_root;
    CImageCatalog m_catalog;
    std::vector<int> m_hints;
};

}  // namespace catalog_fixture
