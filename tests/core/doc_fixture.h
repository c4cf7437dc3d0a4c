// A document with stand-ins for the main view and the frame, for tests of the
// document's commands: the stand-ins count repaints and re-layouts and keep
// the full-screen switch and the slideshow state.
#pragma once

#include "app/lumo_doc.h"
#include "app/settings.h"
#include "app/view_hooks.h"
#include "platform/profile.h"
#include "platform/registry_store.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

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
    int repaints = 0;
    bool canStart = true;
    bool showRunning = false;
    int showToggles = 0;
    int options = 0;
    int fullScreen = 0;
    bool browserVisible = false;
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
        ASSERT_TRUE(m_dir.isValid());
        CRegistryStore::Instance().SetFile(m_dir.filePath(u"registry.reg"_s));
        Profile::SetRegistryKey(u"FARHAVEN"_s);
        Profile::SetAppName(u"lumo_doc_test"_s);
        m_doc = std::make_unique<CLumoDoc>();
        m_doc->AddView(&m_view);
        m_doc->SetFrameHooks(&m_frame);
    }
    void TearDown() override
    {
        m_doc.reset();
        CRegistryStore::Instance().SetFile(m_dir.filePath(u"unused.reg"_s));
    }

    CImageItem* Add(int width, int height, int zoom = -1, double scale = 1.0)
    {
        auto* item = new CImageItem;
        item->m_picture.m_width = width;
        item->m_picture.m_height = height;
        item->m_zoom = zoom;
        item->m_picture.m_displayScale = scale;
        m_doc->Catalog().Append(item);
        return item;
    }
    CImageItem* AddCurrent(int width, int height, int zoom = -1, double scale = 1.0)
    {
        CImageItem* item = Add(width, height, zoom, scale);
        m_doc->Catalog().SetCurrent(item);
        return item;
    }
    void Run(int id) { ASSERT_TRUE(m_doc->HandleCommand(id)) << id; }
    CCmdUI Query(int id)
    {
        CCmdUI ui;
        ui.id = id;
        m_doc->HandleUpdate(ui);
        return ui;
    }
    bool Enabled(int id) { return Query(id).enabled; }
    bool Checked(int id) { return Query(id).checked; }
    std::vector<int> CheckedAmong(int first, int last)
    {
        std::vector<int> ids;
        for (int id = first; id <= last; ++id)
            if (Checked(id))
                ids.push_back(id);
        return ids;
    }

    QTemporaryDir m_dir;
    FakeImageView m_view;
    FakeFrame m_frame;
    std::unique_ptr<CLumoDoc> m_doc;
};
