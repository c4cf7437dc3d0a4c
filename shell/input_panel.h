// The on-screen keyboard (the handheld's soft input panel). It is the
// platform's input method panel: Qt Virtual Keyboard where it is loaded
// (SelectInputMethod does so on device screens), nothing visible elsewhere.
// The panel's state is kept here as the program asked for it, so scripts and
// `dump` see it on every platform.
#pragma once

#include <functional>

class QObject;
class QToolButton;
class QWidget;

namespace InputPanel {

// Before the application object is made: on a device's own screen (linuxfb,
// eglfs) the virtual keyboard is chosen unless another input method was;
// offscreen runs never load one, so scripted runs stay alike everywhere.
void SelectInputMethod(bool offscreen);
// After it is made: the panel opens only when the program asks, not on every
// tap into a text field.
void Install();

// Shows or hides the panel (the platform's SipShowIM).
void SipShowIM(bool on);
bool IsShown();
// The command bar's input-panel button: shows a hidden panel, hides a shown one.
void Toggle();
// An input-panel button (a small keyboard) that toggles the panel; with an
// edit, the edit takes the focus when the panel opens, so it types there.
QToolButton* MakeButton(QWidget* parent, QWidget* edit = nullptr);
// True when a hardware keyboard is attached.
bool DeviceHasKeyboard();
// While edit has the focus the panel is shown, on a device without a
// keyboard; it is hidden when the focus leaves.
void FollowFocus(QWidget* edit);
// Calls onChange, while context lives, with the height of the screen's
// bottom band the panel covers (0 when it is hidden or has no known size).
void OnHeightChanged(QObject* context, std::function<void(int)> onChange);

}  // namespace InputPanel
