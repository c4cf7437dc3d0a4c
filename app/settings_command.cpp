// The Settings command (32791): the settings sheet, then what its View page
// chose applied to the stored mode, the panes, full screen and the catalog.
#include "app/lumo_doc.h"

#include "app/settings.h"
#include "app/settings_pages.h"
#include "app/view_hooks.h"
#include "res/resource.h"

void CLumoDoc::RegisterSettingsCommand()
{
    OnCommand(Res::ID_SETTINGS, [this] {
        CViewPageChoice choice;
        if (m_settingsSheet && m_settingsSheet->RunSettingsSheet(&choice))
            ApplySettings(choice);
    });
}

void CLumoDoc::ApplySettings(const CViewPageChoice& choice)
{
    const int old = Settings::ThumbnailViewMode();
    if (choice.mode == old)
        return;
    m_savedThumbnailMode = old;
    Settings::SetThumbnailViewMode(choice.mode);
    ApplyViewMode();
    CImageViewHooks* view = ImageView();
    if (view && view->IsFolderBrowserVisible())
        view->PlaceFolderBrowser();

    const bool inFullScreen = view && view->GetFullScreen() == 1;
    if (choice.mode == Settings::kModeFullScreen) {
        m_autoResizeZoom = SettingsPages::ZoomOfResizeChoice(choice.resizeChoice);
        m_autoRotationAngle = SettingsPages::DegreesOfAngleChoice(choice.angleChoice);
        ApplyFullScreenViewState(m_catalog.GetCurrent());
        if (view && !inFullScreen) {
            view->SetFullScreenOptions(15);
            view->ToggleFullScreen();
        }
        InvalidatePicture();
        return;
    }
    if (old == Settings::kModeFullScreen && inFullScreen) {
        view->SetFullScreenOptions(0);
        view->ToggleFullScreen();
        ReturnFullScreenViewState();
    }
    RebuildOrRefresh();
}

// The strip needs thumbnails: a catalog built without them (in list mode) is
// built again on the loader thread. The list rebuilds any catalog it is given.
void CLumoDoc::RebuildOrRefresh()
{
    const std::vector<CImageItem*> entries = m_catalog.GetList();
    const bool rebuild = Settings::ThumbnailViewMode() == Settings::kModeList
                             ? !entries.empty()
                             : !entries.empty() && entries.front()->m_picture.m_thumbnail == nullptr;
    if (!rebuild) {
        m_catalog.Notify(CImageCatalog::kHintListChanged);
        return;
    }
    m_loader.StopThread();
    m_loader.StartLoad(m_catalog.GetSourcePath(), Settings::IncludeSubfolders(), Settings::ThumbnailViewMode());
}
