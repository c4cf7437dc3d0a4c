// CSTFullScreenViewLite: a view that can take over the whole device screen.
// Four option bits choose what full screen hides (command bar, task bar,
// input-panel button, Start icon); the switch turns it on and off. The frame
// is moved over the freed bands (through CFullScreenFrameHooks). The layout
// is applied again whenever the view is activated, because the shell may
// redraw its bars then, and it is put back to normal when the view goes away.
#pragma once

#include "platform/doc_view.h"

#include <QWidget>

class CSTFullScreenViewLite : public QWidget, public CView {
    Q_OBJECT
public:
    explicit CSTFullScreenViewLite(QWidget* parent = nullptr);
    ~CSTFullScreenViewLite() override;

    // Lays out the screen for the options and the switch; 0 without a main frame.
    virtual int ApplyFullScreen();
    // A switch of 0 becomes 1, any other value 0; then the layout is applied.
    void ToggleFullScreen();
    void SetFullScreen(int on) { m_fullScreen = on; }
    int GetFullScreen() const { return m_fullScreen; }
    void SetFullScreenOptions(int options) { m_fullScreenOptions = options; }
    int GetFullScreenOptions() const { return m_fullScreenOptions; }

protected:
    // Asks for ApplyFullScreen once the current event is done (the posted
    // apply message).
    void PostApply();
    void focusInEvent(QFocusEvent* event) override;

    int m_fullScreenOptions = 15;
    int m_fullScreen = 1;
};
