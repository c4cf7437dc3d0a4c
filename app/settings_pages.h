// The settings sheet's rules apart from its widgets (shell/settings_*_page.*):
// how the View page's choices map to the document's full-screen values both
// ways, what the View page's clicks change at once, and how the Slideshow
// page shows and reads its texts.
#pragma once

#include <QString>
#include <QStringList>

class CLumoDoc;

namespace SettingsPages {

// Resize choice 0 "100%", 1 "Fit", 2 "Fill" <-> zoom code 100, 0, -1; angle
// choice 0..3 <-> 0, 90, 180, 270 degrees. Anything else maps to 0 either way.
int ResizeChoiceOfZoom(int zoom);
int ZoomOfResizeChoice(int choice);
int AngleChoiceOfDegrees(int degrees);
int DegreesOfAngleChoice(int choice);

// The Slideshow page's boxes and the longest text they hold.
constexpr int kTextLimit = 271;
const QStringList& IntervalEntries();   // "1" ... "60"
const QStringList& DirectionEntries();  // "Forward", "Backward", "Random"

// What a box shows for a stored value: the list's own search selects the
// first entry that begins with the value (letter case aside; -1 for none),
// and the box's text is the value itself (cut to kTextLimit), so that OK
// stores what was stored, whether an entry matched it or not.
struct ComboStart {
    int selected;
    QString text;
};
ComboStart StartCombo(const QStringList& entries, const QString& stored);

// The seconds an interval text stands for: the text cut to kTextLimit
// characters, then read as atoi reads it (blanks, a sign, decimal digits;
// 0 without digits), held within the range of int.
int IntervalOfText(const QString& text);

}  // namespace SettingsPages

// CViewPageState: the View page's values and which of its full-screen
// controls are enabled, with what each click changes in the document at once.
class CViewPageState {
public:
    // The page's start: the stored mode; the document's flags and its
    // full-screen values as choices; full-screen controls only in mode 2.
    void Start(int storedMode, const CLumoDoc& doc);
    // "Auto Rotation" and "Auto Resize": the value turns over, the buttons
    // under the box follow it, and so does the document's flag.
    void ClickAutoRotation(CLumoDoc* doc);
    void ClickAutoResize(CLumoDoc* doc);
    // "File List" (0), "Image Icon" (1), "None (Full Screen)" (2).
    void ClickMode(int mode, CLumoDoc* doc);

    int mode = 1;
    int autoResize = 0;
    int autoRotation = 0;
    int resizeChoice = -1;
    int angleChoice = -1;
    // The two boxes, the three resize buttons and the four angle buttons.
    bool boxesEnabled = true;
    bool resizeEnabled = true;
    bool angleEnabled = true;

private:
    void EnableFullScreenControls(bool enable);
};
