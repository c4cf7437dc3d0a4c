// The effect window through the real program: the picture follows the
// slider while the pen drags it, the chooser and "Cancel" give back what the
// window was shown with, and the layout it replaced comes back, also when the
// program ends with the window once shown.
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace UiPictures;

namespace {

const QColor kGrey(100, 100, 100);

class EffectWindowTest : public ::testing::Test {
protected:
    void SetUp() override { WriteBmp(m_run.Root() + QStringLiteral("/grey.bmp"), 100, 80, kGrey); }
    QString Out(const QString& name) const { return m_run.Dir() + QLatin1Char('/') + name; }
    LumoResult Run(const QString& script)
    {
        const LumoResult r = m_run.Run(script, {m_run.Root() + QStringLiteral("/grey.bmp")});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r;
    }
    static QJsonObject Entry(const QJsonObject& dump) { return dump["entries"].toArray()[0].toObject(); }
    LumoRun m_run;
};

}  // namespace

TEST_F(EffectWindowTest, PictureFollowsTheSliderAtEachStep)
{
    const int stops[] = {20, 45, -60};
    QString script = QStringLiteral("idle\ncommand 32815\n");
    for (int i = 0; i < 3; ++i)
        script += QStringLiteral("slide 7371 %1\nshot \"%2\"\ndump \"%3\"\n")
                      .arg(stops[i])
                      .arg(Out(QStringLiteral("step%1.png").arg(i)), Out(QStringLiteral("step%1.json").arg(i)));
    script += QStringLiteral("click 7375\nshot \"%1\"\ndump -\n").arg(Out("cancelled.png"));
    const LumoResult r = Run(script);

    for (int i = 0; i < 3; ++i) {
        const QJsonObject dump = ReadDump(Out(QStringLiteral("step%1.json").arg(i)));
        EXPECT_EQ(dump["mode"].toInt(), -1);
        EXPECT_EQ(Entry(dump)["brightness"].toInt(), stops[i]);
        const QJsonObject window = dump["dialogs"].toArray().last().toObject();
        EXPECT_EQ(window["class"].toString(), QStringLiteral("CEffectWnd"));
        EXPECT_EQ(window["rect"].toArray(), (QJsonArray {0, 268, 240, 320}));
        EXPECT_EQ(window["controls"].toArray()[2].toObject()["text"].toString(), QString::number(stops[i]));
        // The 240 x 240 view of the editing layout, its centre in the picture.
        const QImage shot(Out(QStringLiteral("step%1.png").arg(i)));
        const int v = kGrey.red() + stops[i];
        EXPECT_EQ(shot.pixelColor(120, 26 + 120), QColor(v, v, v)) << "step " << i;
    }
    EXPECT_EQ(Entry(r.dump)["brightness"].toInt(), 0);
    EXPECT_EQ(r.dump["mode"].toInt(), 1);
    EXPECT_TRUE(r.dump["dialogs"].toArray().isEmpty());
    EXPECT_EQ(QImage(Out("cancelled.png")).pixelColor(120, 26 + 105), kGrey);
}

TEST_F(EffectWindowTest, PictureFollowsThePenWhileItDragsTheKnob)
{
    // The knob stands at 0, in the middle of the slider's 120 pixels.
    QString script = QStringLiteral("idle\ncommand 32815\ndown 61 302\n");
    for (int i = 0; i < 3; ++i)
        script += QStringLiteral("move %1 302\nshot \"%2\"\ndump \"%3\"\n")
                      .arg(70 + 12 * i)
                      .arg(Out(QStringLiteral("pen%1.png").arg(i)), Out(QStringLiteral("pen%1.json").arg(i)));
    Run(script + QStringLiteral("up 94 302\n"));
    int before = 0;
    for (int i = 0; i < 3; ++i) {
        const int brightness = Entry(ReadDump(Out(QStringLiteral("pen%1.json").arg(i))))["brightness"].toInt();
        EXPECT_GT(brightness, before) << "step " << i;
        before = brightness;
        const int v = kGrey.red() + brightness;
        EXPECT_EQ(QImage(Out(QStringLiteral("pen%1.png").arg(i))).pixelColor(120, 146), QColor(v, v, v)) << i;
    }
}

TEST_F(EffectWindowTest, CancelKeepsWhatWasChangedAfterSwitchingTheChooser)
{
    const LumoResult r = Run(QStringLiteral("idle\n"
                                            "command 32815\n"
                                            "drag 61 302 90 302\n"
                                            "select 7370 Contrast\n"
                                            "drag 61 302 30 302\n"
                                            "dump \"%1\"\n"
                                            "click 7375\n"
                                            "dump -\n")
                                 .arg(Out("before.json")));
    const QJsonObject before = Entry(ReadDump(Out("before.json")));
    EXPECT_GT(before["brightness"].toInt(), 0);
    EXPECT_LT(before["contrast"].toInt(), 0);
    EXPECT_EQ(Entry(r.dump)["brightness"].toInt(), 0);
    EXPECT_EQ(Entry(r.dump)["contrast"].toInt(), before["contrast"].toInt());
}

TEST_F(EffectWindowTest, EndOfRunWritesTheModeBackThatTheWindowWasShownFrom)
{
    // Shown from the strip and closed with OK; then full screen. At the end
    // the window's destruction stores the strip again.
    const LumoResult r = Run(QStringLiteral("idle\ncommand 32816\nclick 7374\ncommand 32841\ndump -\n"));
    EXPECT_EQ(r.dump["mode"].toInt(), 2);
    QFile registry(m_run.Registry());
    ASSERT_TRUE(registry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(registry.readAll().contains("\"ThumbnailView Mode\"=dword:00000001"));
}
