// A confined device for catalog tests (a temporary root, the hints sent, small
// valid pictures and archives), a registry file of the test's own, and a
// document with stand-ins for the main view and the frame.
#pragma once

#include "app/image_catalog.h"
#include "app/lumo_doc.h"
#include "app/picture_jobs.h"
#include "app/settings.h"
#include "app/view_hooks.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/registry_store.h"
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
#include <memory>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace catalog_fixture {

// The stored thumbnail view modes the builds are run in.
constexpr int kListMode = 0;
constexpr int kStripMode = 1;

// Makes item current and has its picture decoded as the main view does, on
// a worker; 1 when it landed.
inline int ShowDecoded(CImageCatalog& catalog, CImageItem* item, bool quickView)
{
    catalog.SetCurrent(item);
    CPictureJobs jobs(catalog, 1);
    jobs.Finish(item, quickView);
    return item && item->m_picture.m_fullBitmap ? 1 : 0;
}

// A small valid picture of the kind a name's extension says (BMP for any other).
inline QByteArray PictureFor(const QString& name)
{
    const QString ext = name.right(4).toLower();
    if (ext == QLatin1String(".jpg"))
        return ToByteArray(RgbJpeg(8, 8));
    if (ext == QLatin1String(".png"))
        return ToByteArray(RgbPng(2, 2));
    if (ext == QLatin1String(".gif")) {
        GifLayout gif;
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

// Stored settings go to a registry file in dir while this lives.
struct ScratchRegistry {
    explicit ScratchRegistry(const QTemporaryDir& dir)
        : m_dir(dir)
    {
        CRegistryStore::Instance().SetFile(dir.filePath(u"registry.reg"_s));
        Profile::SetRegistryKey(u"FARHAVEN"_s);
        Profile::SetAppName(u"lumo_doc_test"_s);
    }
    ~ScratchRegistry() { CRegistryStore::Instance().SetFile(m_dir.filePath(u"unused.reg"_s)); }
    const QTemporaryDir& m_dir;
};

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
        ASSERT_TRUE(WriteTestFile(Host(devicePath), bytes));
    }
    // Makes item current and has its picture decoded as the main view does, on
    // a worker; 1 when it landed.
    inline int ShowDecoded(CImageCatalog& catalog, CImageItem* item, bool quickView)
    {
        catalog.SetCurrent(item);
        CPictureJobs jobs(catalog, 1);
        jobs.Finish(item, quickView);
        return item && item->m_picture.m_fullBitmap ? 1 : 0;
    }

    // A small valid picture of the kind the name's extension says.
    void WritePicture(const QString& devicePath) { WriteBytes(devicePath, PictureFor(devicePath)); }
    // An archive holding a small valid picture under each member name.
    void MakeZip(const QString& devicePath, const QStringList& members)
    {
        std::vector<std::pair<QString, QByteArray>> content;
        for (const QString& name : members)
            content.emplace_back(name, PictureFor(name));
        QDir().mkpath(QFileInfo(Host(devicePath)).absolutePath());
        ASSERT_TRUE(WriteZip(Host(devicePath), content));
    }
    QByteArray ReadBytes(const QString& devicePath) const
    {
        QFile file(Host(devicePath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_root;
    CImageCatalog m_catalog;
    std::vector<int> m_hints;
};

}  // namespace catalog_fixture

// Stands in for the main view: counts repaints and keeps the full-screen state.
class FakeImageView : public CView, public CImageViewHooks {
public:
    void OnUpdate(CView*, int) override { }
    void InvalidatePicture() override { ++repaints; }
    void SetFullScreenOptions(int o) override { options = o; }
    int GetFullScreen() const override { return fullScreen; }
    void ToggleFullScreen() override { fullScreen = fullScreen == 0 ? 1 : 0; }
    bool IsFolderBrowserVisible() const override { return browserVisible; }
    // A show that starts only when canStart says so, as a real one needs pictures.
    void StartSlideshow() override
    {
        showRunning = !showRunning && canStart;
        ++showToggles;
    }
    bool IsSlideshowRunning() const override { return showRunning; }
    int repaints = 0, showToggles = 0, options = 0, fullScreen = 0;
    bool canStart = true, showRunning = false, browserVisible = false;
};

class FakeFrame : public CFrameHooks {
public:
    void ApplyViewMode() override { modes.push_back(Settings::ThumbnailViewMode()); }
    std::vector<int> modes;  // the stored mode at each re-layout
};

class DocFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc = std::make_unique<CLumoDoc>();
        m_doc->AddView(&m_view);
        m_doc->SetFrameHooks(&m_frame);
    }
    void TearDown() override { m_doc.reset(); }

    CImageItem* Add(int width, int height, int zoom = -1, double scale = 1.0, bool current = false)
    {
        auto* item = new CImageItem;
        item->m_picture.m_width = width;
        item->m_picture.m_height = height;
        item->m_zoom = zoom;
        item->m_picture.m_displayScale = scale;
        m_doc->Catalog().Append(item);
        if (current)
            m_doc->Catalog().SetCurrent(item);
        return item;
    }
    CImageItem* AddCurrent(int width, int height, int zoom = -1, double scale = 1.0)
    {
        return Add(width, height, zoom, scale, true);
    }
    void Run(int id) { ASSERT_TRUE(m_doc->HandleCommand(id)) << id; }
    CCmdUI Query(int id)
    {
        CCmdUI ui {id};
        m_doc->HandleUpdate(ui);
        return ui;
    }
    bool Enabled(int id) { return Query(id).enabled; }
    std::vector<int> CheckedAmong(int first, int last)
    {
        std::vector<int> ids;
        for (int id = first; id <= last; ++id)
            if (Query(id).checked)
                ids.push_back(id);
        return ids;
    }

    QTemporaryDir m_dir;
    catalog_fixture::ScratchRegistry m_registry {m_dir};
    FakeImageView m_view;
    FakeFrame m_frame;
    std::unique_ptr<CLumoDoc> m_doc;
};
