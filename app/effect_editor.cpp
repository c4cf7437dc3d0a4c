#include "app/effect_editor.h"

#include "app/lumo_doc.h"
#include "app/settings.h"
#include "platform/message_box.h"

#include <algorithm>

namespace {

const QString kOoops = QStringLiteral("Ooops");

}  // namespace

CEffectEditor::CEffectEditor(CLumoDoc* doc)
    : m_doc(doc)
{
}

CEffectEditor::~CEffectEditor() = default;

const std::vector<CEffectControlDef>& CEffectEditor::Controls()
{
    static const std::vector<CEffectControlDef> controls = {
        {kChooserId, 2, 2, 118, 122, "Cannot create Effect Window Component 1"},
        {kSliderId, 0, 24, 120, 42, "Cannot create Effect Window Component 2"},
        {kValueId, 124, 24, 160, 42, "Cannot create Effect Window Component 3"},
        {kDefaultId, 122, 2, 178, 18, "Cannot create Effect Window Component 4"},
        {kOkId, 180, 2, 236, 18, "Cannot create Effect Window Component 5"},
        {kCancelId, 180, 20, 236, 38, "Cannot create Effect Window Component 6"},
    };
    return controls;
}

QString CEffectEditor::ChooserText(int index)
{
    return index == 0 ? QStringLiteral("Brightness") : index == 1 ? QStringLiteral("Contrast") : QString();
}

CEffectPlacement CEffectEditor::Placement(int screenWidth, int screenHeight)
{
    return {0, screenHeight - kBandHeight, screenWidth, screenHeight};
}

bool CEffectEditor::CreateControls(const std::function<bool(const CEffectControlDef&)>& create)
{
    for (const CEffectControlDef& control : Controls()) {
        if (!create(control)) {
            ShowMessage(QString::fromLatin1(control.failure));
            return false;
        }
    }
    return true;
}

CImageItem* CEffectEditor::Current() const
{
    return m_doc ? m_doc->Catalog().GetCurrent() : nullptr;
}

CImageItem* CEffectEditor::SavedItem() const
{
    if (!m_doc || !m_savedItem)
        return nullptr;
    CImageCatalog& catalog = m_doc->Catalog();
    const int index = catalog.IndexOf(m_savedItem);
    CImageItem* item = index >= 0 ? catalog.GetAt(index) : nullptr;
    // Another picture made at the same address after a rebuild is not it.
    return item && item->m_path == m_savedPath ? item : nullptr;
}

bool CEffectEditor::HasSavedValues() const
{
    return m_savedBrightness != kNothingSaved || m_savedContrast != kNothingSaved;
}

void CEffectEditor::OpenFor(int mode)
{
    if (!Current())
        return;
    SetMode(mode);
    // Already shown: only the mode changes; the slider stays where it is and
    // nothing new is kept for "Cancel".
    if (!IsWindowVisible())
        Show();
}

void CEffectEditor::SetMode(int mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    if (mode == kModeBrightness)
        SelectChooser(0);
    else if (mode == kModeContrast)
        SelectChooser(1);
    else if (mode == kModeNone)
        ShowMessage(kOoops);
}

void CEffectEditor::SetSlider(int value)
{
    const int position = std::clamp(value, kMinValue, kMaxValue);
    SetSliderPosition(position);
    SetValueText(QString::number(position));
}

void CEffectEditor::Show()
{
    m_savedBrightness = kNothingSaved;
    m_savedContrast = kNothingSaved;
    m_savedItem = nullptr;
    CImageItem* item = Current();
    if (!item) {
        ShowWindow(true);
        return;
    }
    m_savedItem = item;
    m_savedPath = item->m_path;
    if (m_mode == kModeBrightness) {
        m_savedBrightness = item->m_brightness;
        SetSlider(item->m_brightness);
    } else if (m_mode == kModeContrast) {
        m_savedContrast = item->m_contrast;
        SetSlider(item->m_contrast);
    } else {
        ShowMessage(kOoops);
    }
    m_savedViewMode = Settings::ThumbnailViewMode();
    Settings::SetThumbnailViewMode(Settings::kModeEffect);
    m_doc->ApplyViewMode();
    ShowWindow(true);
}

void CEffectEditor::RestoreViewMode()
{
    Settings::SetThumbnailViewMode(m_savedViewMode);
    if (m_doc)
        m_doc->ApplyViewMode();
}

void CEffectEditor::Hide()
{
    // Only a show for a picture switched the layout. The saved values stay,
    // so destroying the window later gives this mode back once more.
    if (HasSavedValues())
        RestoreViewMode();
    ShowWindow(false);
}

void CEffectEditor::OnSliderMoved(int position)
{
    SetValueText(QString::number(position));
    if (CImageItem* item = Current()) {
        if (m_mode == kModeBrightness)
            item->m_brightness = position;
        else if (m_mode == kModeContrast)
            item->m_contrast = position;
        else if (m_mode == kModeNone)
            ShowMessage(kOoops);
    }
    // The picture follows the pen at once.
    if (m_doc)
        m_doc->InvalidatePicture();
}

void CEffectEditor::OnChooserChanged(int index)
{
    if (index != 0 && index != 1)
        return;
    SetMode(index == 0 ? kModeBrightness : kModeContrast);
    if (const CImageItem* item = Current())
        SetSlider(index == 0 ? item->m_brightness : item->m_contrast);
}

void CEffectEditor::OnDefault()
{
    CImageItem* item = Current();
    if (!item)
        return;
    item->m_contrast = 0;
    item->m_brightness = 0;
    if (m_mode == kModeBrightness || m_mode == kModeContrast)
        SetSlider(0);
    // The picture shows the values the slider now shows.
    if (m_doc)
        m_doc->InvalidatePicture();
}

void CEffectEditor::OnOk()
{
    if (IsWindowVisible())
        Hide();
}

void CEffectEditor::OnCancel()
{
    // The values go back to the picture they were taken from, also when
    // another one became current meanwhile.
    if (CImageItem* item = SavedItem()) {
        if (m_savedBrightness != kNothingSaved)
            item->m_brightness = m_savedBrightness;
        if (m_savedContrast != kNothingSaved)
            item->m_contrast = m_savedContrast;
    }
    if (IsWindowVisible())
        Hide();
}

void CEffectEditor::OnDestroy()
{
    if (HasSavedValues())
        RestoreViewMode();
}
