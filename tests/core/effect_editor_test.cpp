// The effect window's behaviour with a stand-in for its controls: what
// "Cancel" gives back, the view mode it keeps and restores, the slider's
// clamp, and the messages when a control cannot be made.
#include "app/effect_editor.h"
#include "catalog_fixture.h"
#include "platform/message_box.h"
#include "res/resource.h"

using namespace Res;

namespace {

// The window's controls as plain values; Drag is the pen moving the slider.
class FakeEffectWnd : public CEffectEditor {
public:
    using CEffectEditor::CEffectEditor;
    void Drag(int to)
    {
        position = to;
        OnSliderMoved(to);
    }
    int chooser = 0;
    int position = kInitialPosition;
    QString text = QString::fromLatin1(kInitialValueText);
    bool visible = false;

protected:
    void SelectChooser(int index) override { chooser = index; }
    void SetSliderPosition(int p) override { position = p; }
    void SetValueText(const QString& t) override { text = t; }
    bool IsWindowVisible() const override { return visible; }
    void ShowWindow(bool show) override { visible = show; }
};

class EffectEditorTest : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        m_wnd = std::make_unique<FakeEffectWnd>(m_doc.get());
        m_doc->m_effectWnd = m_wnd.get();
        Settings::SetThumbnailViewMode(1);
        MessageBoxService::ClearMessages();
    }
    CImageItem* Picture(int brightness, int contrast)
    {
        CImageItem* item = AddCurrent(100, 80);
        item->m_path = u"\\p%1.bmp"_s.arg(m_doc->Catalog().GetCount());
        item->m_brightness = brightness;
        item->m_contrast = contrast;
        return item;
    }
    std::unique_ptr<FakeEffectWnd> m_wnd;
};

}  // namespace

TEST_F(EffectEditorTest, CancelGivesBackOnlyTheValueOfTheModeItWasShownIn)
{
    CImageItem* item = Picture(5, 3);
    Run(ID_BRIGHTNESS);
    EXPECT_TRUE(m_wnd->visible && m_wnd->text == u"5"_s);
    EXPECT_EQ(Settings::ThumbnailViewMode(), -1);
    m_wnd->Drag(40);
    EXPECT_EQ((std::vector<int> {item->m_brightness, m_wnd->text.toInt(), m_view.repaints}),
              (std::vector<int> {40, 40, 1}));
    Run(ID_CONTRAST);
    EXPECT_EQ((std::vector<int> {m_wnd->chooser, m_wnd->position, m_wnd->SavedContrast()}),
              (std::vector<int> {1, 40, CEffectEditor::kNothingSaved}));
    m_wnd->OnChooserChanged(1);
    EXPECT_EQ((std::vector<int> {m_wnd->GetMode(), m_wnd->position, m_view.repaints}),
              (std::vector<int> {CEffectEditor::kModeContrast, 3, 1}));
    m_wnd->Drag(-30);
    m_wnd->OnCancel();
    EXPECT_EQ((std::vector<int> {item->m_brightness, item->m_contrast}), (std::vector<int> {5, -30}));
    EXPECT_FALSE(m_wnd->visible);
    EXPECT_EQ(m_frame.modes, (std::vector<int> {-1, 1}));
}

// Default zeroes both values; Cancel, after moving on, gives only the saved
// value back, and to its own picture.
TEST_F(EffectEditorTest, DefaultZeroesBothValuesAndCancelRestoresOnlyTheSavedOneToItsPicture)
{
    CImageItem* first = Picture(30, -40);
    Run(ID_CONTRAST);
    m_wnd->OnDefault();
    EXPECT_EQ((std::vector<int> {first->m_brightness, first->m_contrast, m_wnd->position, m_view.repaints}),
              (std::vector<int> {0, 0, 0, 1}));
    CImageItem* second = Picture(-8, 5);
    m_wnd->OnCancel();
    EXPECT_EQ((std::vector<int> {first->m_brightness, first->m_contrast, second->m_brightness, second->m_contrast}),
              (std::vector<int> {0, -40, -8, 5}));
}

TEST_F(EffectEditorTest, WithoutPictureNothingChangesModeNoneSaysOoopsAndTheSliderIsClamped)
{
    Run(ID_BRIGHTNESS);
    EXPECT_FALSE(m_wnd->visible);
    m_wnd->OnDefault();
    m_wnd->OnCancel();
    m_wnd->OnDestroy();  // never shown: the mode is left alone
    EXPECT_EQ(Settings::ThumbnailViewMode(), 1);
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
    Picture(0, 0);
    Run(ID_BRIGHTNESS);
    m_wnd->SetMode(CEffectEditor::kModeNone);
    m_wnd->Drag(4);
    EXPECT_EQ(MessageBoxService::Messages(), (QStringList {"Ooops", "Ooops"}));
    // The slider is clamped to its range.
    for (const auto& [value, shown] : {std::pair {200, 127}, {128, 127}, {127, 127}, {-128, -127}, {-5, -5}}) {
        m_wnd->SetSlider(value);
        EXPECT_EQ(m_wnd->position, shown) << value;
        EXPECT_EQ(m_wnd->text, QString::number(shown)) << value;
    }
}

TEST(EffectControls, FirstControlThatCannotBeMadeNamesItsNumber)
{
    for (int failing = 1; failing <= 7; ++failing) {
        MessageBoxService::ClearMessages();
        int made = 0;
        EXPECT_EQ(CEffectEditor::CreateControls([&](const CEffectControlDef&) { return ++made != failing; }),
                  failing == 7);
        EXPECT_EQ(made, std::min(failing, 6));
        EXPECT_EQ(MessageBoxService::Messages(),
                  failing == 7 ? QStringList {}
                               : QStringList {u"Cannot create Effect Window Component %1"_s.arg(failing)});
    }
}
