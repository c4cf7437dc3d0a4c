// CEffectWnd: the effect window, a slim top-most band over the bottom of the
// device screen where the user edits the current picture's brightness or
// contrast: a chooser, a slider with its value, "Default", "OK" and
// "Cancel". The main frame makes it with its views and keeps it hidden until
// the "Brightness" or "Contrast" command; what it does lives in CEffectEditor
// (app/effect_editor.h), this class supplies the controls.
#pragma once

#include "app/effect_editor.h"

#include <QSlider>
#include <QWidget>

class CLumoDoc;
class QComboBox;
class QLabel;

// The slider of the effect window: it reports its position while the pen
// presses it and while the pen moves it (and for any other move the user
// makes), never when the program sets it.
class CEffectSlider : public QSlider {
    Q_OBJECT
public:
    explicit CEffectSlider(QWidget* parent);
Q_SIGNALS:
    void PositionReported(int position);
};

class CEffectWnd : public QWidget, public CEffectEditor {
    Q_OBJECT
public:
    // Makes the window over screen for doc's current picture, hidden; null
    // (after the message naming the control) when a control cannot be made.
    static CEffectWnd* Create(CLumoDoc* doc, QWidget* screen);
    ~CEffectWnd() override;

    QComboBox* Chooser() const { return m_chooser; }
    CEffectSlider* Slider() const { return m_slider; }

protected:
    void SelectChooser(int index) override;
    void SetSliderPosition(int position) override;
    void SetValueText(const QString& text) override;
    bool IsWindowVisible() const override { return isVisible(); }
    void ShowWindow(bool show) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CEffectWnd(CLumoDoc* doc, QWidget* screen);
    bool OnCreate();
    QWidget* MakeControl(const CEffectControlDef& def);

    CLumoDoc* m_doc;
    QComboBox* m_chooser = nullptr;
    CEffectSlider* m_slider = nullptr;
    QLabel* m_value = nullptr;
};
