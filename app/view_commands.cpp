// The document's commands that change how the current picture is shown:
// rotation, zoom, the "All to" modes, full screen, the slideshow switch and
// the effect window's two modes, with their radio marks and enable rules. They change the entry's view state and
// repaint the main view; they never reload the picture nor send an update hint.
#include "app/lumo_doc.h"

#include "app/effect_editor.h"
#include "app/settings.h"
#include "app/view_hooks.h"
#include "app/view_state.h"
#include "image/canvas_engine.h"
#include "res/resource.h"

using namespace Res;

namespace {

const QStringList kRotatePopup = {QStringLiteral("View"), QStringLiteral("Rotate")};
const QStringList kZoomPopup = {QStringLiteral("View"), QStringLiteral("Zoom")};

}  // namespace

CImageViewHooks* CLumoDoc::ImageView() const
{
    const std::vector<CView*>& views = GetViews();
    return views.empty() ? nullptr : dynamic_cast<CImageViewHooks*>(views.front());
}

void CLumoDoc::RegisterViewCommands()
{
    OnCommandRange({ID_ROTATE_0, ID_ROTATE_90, ID_ROTATE_180, ID_ROTATE_270},
                   [this](int id) { RotateTo(ViewState::RotationOfCommand(id)); });
    OnCommand(ID_ROTATE_RIGHT, [this] { RotateStep(+1); });
    OnCommand(ID_ROTATE_LEFT, [this] { RotateStep(-1); });
    OnCommandRange({ID_ZOOM_50, ID_ZOOM_100, ID_ZOOM_150, ID_ZOOM_200, ID_ZOOM_FIT, ID_ZOOM_FILL}, [this](int id) {
        bool ok = false;
        const int zoom = ViewState::ZoomOfCommand(id, &ok);
        if (ok)
            ZoomTo(zoom, id);
    });
    OnCommand(ID_ZOOM_IN, [this] { ZoomStep(+ViewState::kZoomStep); });
    OnCommand(ID_ZOOM_OUT, [this] { ZoomStep(-ViewState::kZoomStep); });
    OnCommandRange({ID_ALL_FIT, ID_ALL_FILL, ID_ALL_ORIGINAL}, [this](int id) {
        bool ok = false;
        const int zoom = ViewState::ZoomOfCommand(id, &ok);
        if (ok && m_catalog.GetCount() > 0) {
            AllTo(zoom);
            m_menuChecks.CheckRadio(kZoomPopup, ID_ALL_FIT, ID_ALL_ORIGINAL, id);
        }
    });
    OnCommand(ID_FULL_SCREEN, [this] { EnterFullScreen(); });
    OnCommand(ID_BRIGHTNESS, [this] { OpenEffect(CEffectEditor::kModeBrightness); });
    OnCommand(ID_CONTRAST, [this] { OpenEffect(CEffectEditor::kModeContrast); });
    // Whichever pane has the focus, the show runs in the main view. The mark
    // follows the show, also when it could not start or ended by itself
    // since the last pick.
    OnCommand(ID_SLIDE_SHOW, [this] {
        if (CImageViewHooks* view = ImageView()) {
            view->StartSlideshow();
            m_menuChecks.SetCheck(ID_SLIDE_SHOW, view->IsSlideshowRunning());
        }
    });

    // Enable rules; the radio and check items report their marks.
    const auto picture = [this](CCmdUI& ui) {
        ui.Enable(CanActOnPicture());
        ui.SetCheck(m_menuChecks.IsChecked(ui.id));
    };
    OnUpdateRange({ID_ROTATE_RIGHT, ID_ROTATE_LEFT, ID_IMAGE_INFO, ID_BRIGHTNESS, ID_CONTRAST, ID_MEMO, ID_FULL_SCREEN,
                   ID_SLIDE_SHOW},
                  picture);
    OnUpdate(ID_ZOOM_IN, [this](CCmdUI& ui) {
        const CImageItem* item = m_catalog.GetCurrent();
        ui.Enable(CanActOnPicture() && item && item->m_zoom < ViewState::kZoomInLimit);
    });
    OnUpdate(ID_ZOOM_OUT, [this](CCmdUI& ui) {
        const CImageItem* item = m_catalog.GetCurrent();
        ui.Enable(CanActOnPicture() && item
                  && EffectiveZoom(item->m_zoom, item->m_picture.m_displayScale) > ViewState::kZoomOutLimit);
    });
    for (int id : CMenuChecks::CheckableIds())
        if (id != ID_SLIDE_SHOW)
            OnUpdate(id, [this](CCmdUI& ui) { ui.SetCheck(m_menuChecks.IsChecked(ui.id)); });
}

bool CLumoDoc::CanActOnPicture() const
{
    const CImageViewHooks* view = ImageView();
    return m_catalog.GetCurrent() != nullptr && !(view && view->IsFolderBrowserVisible());
}

void CLumoDoc::InvalidatePicture()
{
    if (CImageViewHooks* view = ImageView())
        view->InvalidatePicture();
}

void CLumoDoc::ApplyViewMode()
{
    if (m_frameHooks)
        m_frameHooks->ApplyViewMode();
}

void CLumoDoc::OpenEffect(int mode)
{
    if (m_effectWnd)
        m_effectWnd->OpenFor(mode);
}

void CLumoDoc::RotateTo(int degrees)
{
    CImageItem* item = m_catalog.GetCurrent();
    if (!item || degrees < 0)
        return;
    item->m_rotation = degrees;
    m_menuChecks.CheckRadio(kRotatePopup, ID_ROTATE_90, ID_ROTATE_0, ViewState::CommandOfRotation(degrees));
    InvalidatePicture();
}

void CLumoDoc::RotateStep(int step)
{
    CImageItem* item = m_catalog.GetCurrent();
    if (!item)
        return;
    item->m_rotation = ViewState::RotateStep(item->m_rotation, step);
    if (const int id = ViewState::CommandOfRotation(item->m_rotation))
        m_menuChecks.CheckRadio(kRotatePopup, ID_ROTATE_90, ID_ROTATE_0, id);
    InvalidatePicture();
}

void CLumoDoc::ZoomTo(int zoom, int id)
{
    CImageItem* item = m_catalog.GetCurrent();
    if (!item)
        return;
    item->m_zoom = zoom;
    m_menuChecks.CheckRadio(kZoomPopup, ID_ZOOM_50, ID_ZOOM_FILL, id);
    InvalidatePicture();
}

void CLumoDoc::ZoomStep(int delta)
{
    CImageItem* item = m_catalog.GetCurrent();
    if (!item)
        return;
    m_menuChecks.ClearRange(kZoomPopup, ID_ZOOM_50, ID_ZOOM_FILL);
    item->m_zoom
        = ViewState::ZoomStep(item->m_zoom, EffectiveZoom(item->m_zoom, item->m_picture.m_displayScale), delta);
    InvalidatePicture();
}

void CLumoDoc::AllTo(int zoom)
{
    for (CImageItem* item : m_catalog.GetList())
        item->m_zoom = zoom;
    InvalidatePicture();
}

void CLumoDoc::ApplyFullScreenViewState(CImageItem* item)
{
    if (!item)
        return;
    item->LendZoom(CImageItem::kLentByFullScreen, m_autoResizeZoom);
    if (ViewState::IsLargeLandscape(item->m_picture.m_width, item->m_picture.m_height))
        item->LendRotation(CImageItem::kLentByFullScreen, m_autoRotationAngle);
}

void CLumoDoc::ReturnFullScreenViewState()
{
    // Every picture full screen changed gets its own values back, not only
    // the one shown last.
    for (CImageItem* item : m_catalog.GetList())
        item->ReturnViewState(CImageItem::kLentByFullScreen);
}

void CLumoDoc::EnterFullScreen()
{
    CImageItem* item = m_catalog.GetCurrent();
    CImageViewHooks* view = ImageView();
    // Entering twice would save full screen's own values over the ones to
    // return to, and toggle the switch off again.
    if (!item || (view && view->GetFullScreen() == 1))
        return;
    m_savedThumbnailMode = Settings::ThumbnailViewMode();
    Settings::SetThumbnailViewMode(Settings::kModeFullScreen);
    ApplyViewMode();
    ApplyFullScreenViewState(item);
    if (view) {
        view->SetFullScreenOptions(15);
        view->ToggleFullScreen();
    }
    InvalidatePicture();
}

void CLumoDoc::LeaveFullScreen()
{
    CImageViewHooks* view = ImageView();
    if (view && view->GetFullScreen() != 1)
        return;
    Settings::SetThumbnailViewMode(m_savedThumbnailMode);
    ApplyViewMode();
    ReturnFullScreenViewState();
    if (view) {
        view->SetFullScreenOptions(0);
        view->ToggleFullScreen();
    }
    InvalidatePicture();
    // The strip or list was hidden while full screen changed the current
    // picture: it frames the picture shown again.
    UpdateAllViews(nullptr, CImageCatalog::kHintListChanged);
}
