// CEffectEditor: the effect window's behaviour, apart from its controls. The
// window edits the current picture's brightness or contrast with a slider;
// while it is shown the main window uses the editing layout (the stored
// "ThumbnailView Mode" -1), and every way of hiding or destroying it after a
// proper show puts the earlier mode back. The window in the user interface
// (CEffectWnd) derives from this class and supplies its controls through the
// protected hooks, so core tests drive the same code with stand-ins.
#pragma once

#include <QString>
#include <functional>
#include <vector>

class CImageItem;
class CLumoDoc;

// One control of the effect window: identifier, rectangle in the window, and
// the message shown when it cannot be made.
struct CEffectControlDef {
    int id;
    int left, top, right, bottom;
    const char* failure;
};

// Where the window lies on the device screen: a band of 52 rows at the
// bottom, full width (0, 268, 240, 320 on a 240 x 320 screen).
struct CEffectPlacement {
    int left, top, right, bottom;
};

class CEffectEditor {
public:
    enum Mode { kModeNone = 0, kModeBrightness = 1, kModeContrast = 2 };
    enum ControlId {
        kWindowId = 7369,
        kChooserId = 7370,
        kSliderId = 7371,
        kValueId = 7372,
        kDefaultId = 7373,
        kOkId = 7374,
        kCancelId = 7375
    };
    static constexpr int kNothingSaved = -255;
    static constexpr int kMinValue = -127;
    static constexpr int kMaxValue = 127;
    static constexpr int kBandHeight = 52;
    // The slider's position and the value label at creation (they disagree).
    static constexpr int kInitialPosition = 100;
    static constexpr const char* kInitialValueText = "10";

    explicit CEffectEditor(CLumoDoc* doc);
    virtual ~CEffectEditor();
    CEffectEditor(const CEffectEditor&) = delete;
    CEffectEditor& operator=(const CEffectEditor&) = delete;

    // The six controls in creation order, and the chooser's two entries.
    static const std::vector<CEffectControlDef>& Controls();
    static QString ChooserText(int index);
    static CEffectPlacement Placement(int screenWidth, int screenHeight);
    // Makes the controls in order with create; at the first that cannot be
    // made its message is shown and false returned (the window then fails).
    static bool CreateControls(const std::function<bool(const CEffectControlDef&)>& create);

    // The commands "Brightness" (mode 1) and "Contrast" (mode 2): with a
    // current picture, the mode is set and a hidden window is shown.
    void OpenFor(int mode);
    // Stores mode and selects its entry in the chooser; 0 shows "Ooops".
    void SetMode(int mode);
    int GetMode() const { return m_mode; }
    // Clamps value to -127..127 and shows it on the slider and the label.
    void SetSlider(int value);
    // Shows the window for the current picture: keeps its value for
    // "Cancel" and switches to the editing layout.
    void Show();
    // Hides the window, giving back the layout it was shown from.
    void Hide();

    // Notifications of the controls.
    void OnSliderMoved(int position);
    void OnChooserChanged(int index);
    void OnDefault();
    void OnOk();
    void OnCancel();
    // The window is being destroyed (at the end of the run).
    void OnDestroy();

    int SavedBrightness() const { return m_savedBrightness; }
    int SavedContrast() const { return m_savedContrast; }
    int SavedViewMode() const { return m_savedViewMode; }

protected:
    // The controls as the editor drives them.
    virtual void SelectChooser(int index) = 0;
    virtual void SetSliderPosition(int position) = 0;
    virtual void SetValueText(const QString& text) = 0;
    virtual bool IsWindowVisible() const = 0;
    virtual void ShowWindow(bool show) = 0;

private:
    CImageItem* Current() const;
    // The picture the saved values came from, while it is still listed.
    CImageItem* SavedItem() const;
    bool HasSavedValues() const;
    void RestoreViewMode();

    CLumoDoc* m_doc;
    int m_mode = kModeNone;
    int m_savedBrightness = kNothingSaved;
    int m_savedContrast = kNothingSaved;
    int m_savedViewMode = 1;
    const CImageItem* m_savedItem = nullptr;
    QString m_savedPath;
};
