// The effect window through the real program: the picture follows the
// slider while the pen drags it, "Cancel" gives back what the window was
// shown with (which value is the core tests' EffectEditorTest), and the
// layout it replaced comes back, also when the program ends with the window
// once shown.
#include "lumo_run.h"

#include <gtest/gtest.h>

namespace {

const QColor kGrey(100, 100, 100);

}  // namespace

// The pen drags the knob from 0, in the middle of the slider's 120 pixels,
// then the slider is set to each stop; the centre of the 240 x 240 view of
// the editing layout shows each step, and Cancel brings back the picture.
TEST(EffectWindow, PictureFollowsThePenAndTheSliderAtEachStepAndTheEndOfRunWritesBackTheMode)
{
    LumoRun run;
    const int stops[] = {0, 0, 0, 20, 45, -60};
    WriteBmp(run.Path(QStringLiteral("grey.bmp")), 100, 80, kGrey);
    QString script = QStringLiteral("idle\ncommand 32815\ndown 61 302\n");
    for (int i = 0; i < 6; ++i)
        script += (i < 3 ? QStringLiteral("move %1 302\n").arg(70 + 12 * i)
                         : QStringLiteral("slide 7371 %1\n").arg(stops[i]))
                  + QStringLiteral("shot step%1.png\ndump step%1.json\n").arg(i) + (i == 2 ? "up 94 302\n" : "");
    // Then shown from the strip and closed with OK; then full screen. At the
    // end the window's destruction stores the strip again.
    const LumoResult r = run.Run(script
                                     + QStringLiteral("click 7375\nshot cancelled.png\ndump cancelled.json\n"
                                                      "command 32816\nclick 7374\ncommand 32841\ndump -\n"),
                                 {run.Path(QStringLiteral("grey.bmp"))});
    int before = 0;
    for (int i = 0; i < 6; ++i) {
        const QJsonObject dump = run.Dump(QStringLiteral("step%1.json").arg(i));
        const int brightness = Entry(dump)["brightness"].toInt();
        EXPECT_TRUE(i < 3 ? brightness > before : brightness == stops[i]) << "step " << i;
        before = brightness;
        EXPECT_EQ(dump["mode"].toInt(), -1);
        const QJsonObject window = Top(dump);
        ExpectFields(window, {{"class", "CEffectWnd"}, {"rect", QJsonArray {0, 268, 240, 320}}});
        EXPECT_EQ(window["controls"][2]["text"].toString(), QString::number(brightness));
        const int v = kGrey.red() + brightness;
        EXPECT_EQ(QImage(run.Out(QStringLiteral("step%1.png").arg(i))).pixelColor(120, 146), QColor(v, v, v)) << i;
    }
    const QJsonObject cancelled = run.Dump(QStringLiteral("cancelled.json"));
    EXPECT_EQ(Entry(cancelled)["brightness"].toInt(), 0);
    ExpectFields(cancelled, {{"mode", 1}, {"dialogs", QJsonArray()}});
    EXPECT_EQ(QImage(run.Out(QStringLiteral("cancelled.png"))).pixelColor(120, 26 + 105), kGrey);
    EXPECT_EQ(r.dump["mode"].toInt(), 2);
    QFile registry(run.Registry());
    ASSERT_TRUE(registry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(registry.readAll().contains("\"ThumbnailView Mode\"=dword:00000001"));
}
