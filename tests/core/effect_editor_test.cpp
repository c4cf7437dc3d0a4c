// The effect window's behaviour with a stand-in for its controls: what
// "Cancel" gives back, the view mode it keeps and restores, the slider's
// clamp, and the messages when a control cannot be made.
#include "app/effect_editor.h"
#include "doc_fixture.h"
#include "platform/message_box.h"
#include "res/resource.h"

using namespace Qt::StringLiterals;

using namespace Res;

namespace {

// The window's controls as plain values.
class FakeEffectWnd : public CEffectEditor {
public:
    using CEffectEditor::CEffectEditor;
    // The pen drags the slider to position.
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
    FakeEffectWnd& Wnd() { return *m_wnd; }
    std::unique_ptr<FakeEffectWnd> m_wnd;
};

}  // namespace

TEST_F(EffectEditorTest, CancelGivesBackTheValueOfTheModeItWasShownIn)
{
    CImageItem* item = Picture(5, 0);
    Run(ID_BRIGHTNESS);
    EXPECT_TRUE(Wnd().visible);
    EXPECT_EQ(Wnd().position, 5);
    EXPECT_EQ(Wnd().text, u"5"_s);
    EXPECT_EQ(Settings::ThumbnailViewMode(), -1);

    Wnd().Drag(40);
    EXPECT_EQ(item->m_brightness, 40);
    EXPECT_EQ(Wnd().text, u"40"_s);
    EXPECT_EQ(m_view.repaints, 1);
    Wnd().OnChooserChanged(1);
    EXPECT_EQ(Wnd().GetMode(), CEffectEditor::kModeContrast);
    EXPECT_EQ(Wnd().position, 0);
    EXPECT_EQ(m_view.repaints, 1);  // switching changes no value
    Wnd().Drag(-30);
    Wnd().OnCancel();

    EXPECT_EQ(item->m_brightness, 5);
    EXPECT_EQ(item->m_contrast, -30);
    EXPECT_FALSE(Wnd().visible);
    EXPECT_EQ(m_frame.modes, (std::vector<int> {-1, 1}));
}

TEST_F(EffectEditorTest, DestroyWritesTheRememberedModeBackEvenAfterOk)
{
    Picture(0, 0);
    Wnd().OnDestroy();  // never shown: the mode is left alone
    EXPECT_EQ(m_frame.modes, std::vector<int> {});

    Run(ID_CONTRAST);
    EXPECT_EQ(Wnd().chooser, 1);
    Wnd().OnOk();
    EXPECT_EQ(Settings::ThumbnailViewMode(), 1);
    Settings::SetThumbnailViewMode(2);
    Wnd().OnDestroy();
    EXPECT_EQ(Settings::ThumbnailViewMode(), 1);
    EXPECT_EQ(m_frame.modes, (std::vector<int> {-1, 1, 1}));
}

TEST_F(EffectEditorTest, CommandWhileShownOnlySwitchesTheMode)
{
    CImageItem* item = Picture(7, 3);
    Run(ID_BRIGHTNESS);
    Wnd().Drag(20);
    Run(ID_CONTRAST);
    EXPECT_EQ(Wnd().chooser, 1);
    EXPECT_EQ(Wnd().position, 20);
    EXPECT_EQ(Wnd().SavedContrast(), CEffectEditor::kNothingSaved);
    Wnd().Drag(-9);
    Wnd().OnCancel();
    EXPECT_EQ(item->m_brightness, 7);
    EXPECT_EQ(item->m_contrast, -9);
}

TEST_F(EffectEditorTest, SliderIsClampedToItsRange)
{
    const struct {
        int value;
        int shown;
    } cases[] = {{200, 127}, {128, 127}, {127, 127}, {-127, -127}, {-128, -127}, {-5, -5}};
    for (const auto& c : cases) {
        Wnd().SetSlider(c.value);
        EXPECT_EQ(Wnd().position, c.shown) << c.value;
        EXPECT_EQ(Wnd().text, QString::number(c.shown)) << c.value;
    }
}

TEST_F(EffectEditorTest, DefaultZeroesBothValuesAndRepaints)
{
    CImageItem* item = Picture(30, -40);
    Run(ID_CONTRAST);
    Wnd().OnDefault();
    EXPECT_EQ(item->m_brightness, 0);
    EXPECT_EQ(item->m_contrast, 0);
    EXPECT_EQ(Wnd().position, 0);
    EXPECT_EQ(m_view.repaints, 1);
    Wnd().OnCancel();  // contrast was kept when shown, brightness was not
    EXPECT_EQ(item->m_contrast, -40);
    EXPECT_EQ(item->m_brightness, 0);
}

TEST_F(EffectEditorTest, WithoutPictureNothingChanges)
{
    EXPECT_FALSE(Enabled(ID_BRIGHTNESS));
    Run(ID_BRIGHTNESS);
    EXPECT_FALSE(Wnd().visible);
    EXPECT_EQ(Wnd().GetMode(), CEffectEditor::kModeNone);
    Wnd().OnDefault();
    Wnd().OnCancel();
    EXPECT_EQ(Settings::ThumbnailViewMode(), 1);
    EXPECT_TRUE(MessageBoxService::Messages().isEmpty());
    Picture(0, 0);
    EXPECT_TRUE(Enabled(ID_BRIGHTNESS));
    m_view.browserVisible = true;
    EXPECT_FALSE(Enabled(ID_CONTRAST));
}

TEST_F(EffectEditorTest, CancelAfterMovingOnGivesTheValueBackToItsOwnPicture)
{
    CImageItem* first = Picture(3, 0);
    Run(ID_BRIGHTNESS);
    Wnd().Drag(50);
    CImageItem* second = Picture(-8, 0);
    Wnd().OnCancel();
    EXPECT_EQ(first->m_brightness, 3);
    EXPECT_EQ(second->m_brightness, -8);
}

TEST_F(EffectEditorTest, ModeNoneSaysOoops)
{
    Picture(0, 0);
    Run(ID_BRIGHTNESS);
    Wnd().SetMode(CEffectEditor::kModeNone);
    Wnd().Drag(4);
    EXPECT_EQ(MessageBoxService::Messages(), (QStringList {"Ooops", "Ooops"}));
}

TEST(EffectControls, FirstControlThatCannotBeMadeNamesItsNumber)
{
    for (int failing = 1; failing <= 7; ++failing) {
        MessageBoxService::ClearMessages();
        int made = 0;
        const bool ok = CEffectEditor::CreateControls([&](const CEffectControlDef&) { return ++made != failing; });
        EXPECT_EQ(ok, failing == 7);
        EXPECT_EQ(made, std::min(failing, 6));
        const QStringList expected
            = failing == 7 ? QStringList {} : QStringList {u"Cannot create Effect Window Component %1"_s.arg(failing)};
        EXPECT_EQ(MessageBoxService::Messages(), expected);
    }
}
