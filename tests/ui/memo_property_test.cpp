// The Memo Property dialog through the real program, on a picture from an
// album: what OK applies, what Escape leaves, and the on-screen keyboard that
// follows the memo edit (the font list is the core tests' MemoProperty).
#include "lumo_run.h"

#include <gtest/gtest.h>

namespace {

const char* const kAlbumMemo = "font=DejaVu Sans;size=12;bold=1;italic=0;align=Bottom Right;color=#00FF00;content=Hi";

// Runs the script on an album of one blue picture with that memo.
LumoResult RunOnAlbum(const LumoRun& run, const QString& script, const char* memo = kAlbumMemo)
{
    WriteBmp(run.Path(QStringLiteral("blue.bmp")), 240, 320, QColor(0, 0, 200));
    WriteAlbum(run.Path(QStringLiteral("memo.lab")), {{QStringLiteral("\\blue.bmp"), QLatin1String(memo)}});
    return run.Run(script, {run.Path(QStringLiteral("memo.lab"))});
}

QJsonObject MemoJson(const char* font, const char* size, int bold, int italic, const char* align, const char* content)
{
    return QJsonObject {{"font", font},   {"size", size},       {"bold", bold},      {"italic", italic},
                        {"align", align}, {"color", "#00FF00"}, {"content", content}};
}

}  // namespace

TEST(MemoProperty, OkAppliesTheDialogsValues)
{
    struct Case {
        const char* memo;
        const char* lines;  // inside the dialog
        QJsonObject after;
    };
    const Case cases[] = {
        // A font this system lacks is kept, not emptied.
        {"font=Tahoma;size=12;bold=1;italic=0;align=Top Left;color=#00FF00;content=Hi", "check 1024 0\nclick 1",
         MemoJson("Tahoma", "12", 0, 0, "Top Left", "Hi")},
        // Line breaks typed on a handheld stay as they were when only bold changes.
        {"font=DejaVu Sans;size=12;bold=1;italic=0;align=Top Left;color=#00FF00;content=a\r\nb",
         "check 1024 0\nclick 1", MemoJson("DejaVu Sans", "12", 0, 0, "Top Left", "a\r\nb")},
        // 13 begins no size: the list keeps the first entry the empty start chose.
        {"font=DejaVu Sans;size=13;bold=1;italic=0;align=Top Left;color=#00FF00;content=Hi", "click 1",
         MemoJson("DejaVu Sans", "6", 1, 0, "Top Left", "Hi")},
        // Typed with Return in the edit (tapped below its text: the caret goes to the end).
        {kAlbumMemo, "tap 120 280\nkey Return\nkey b\nselect 1026 \"DejaVu Serif\"\nclick 1",
         MemoJson("DejaVu Serif", "12", 1, 0, "Bottom Right", "Hi\nb")},
    };
    for (const Case& c : cases) {
        LumoRun run;
        const LumoResult r
            = RunOnAlbum(run, QStringLiteral("idle\ncommand 32840\n%1\ndump -\n").arg(QLatin1String(c.lines)), c.memo);
        EXPECT_EQ(Entry(r.dump)["memo"].toObject(), c.after) << c.lines;
        EXPECT_TRUE(r.dump["dialogs"].toArray().isEmpty()) << c.lines;
    }
}

// One run, each step's lines followed by a dump.
TEST(MemoProperty, KeyboardFollowsTheMemoEditAndTheInputPanelButtonAndEscapeLeavesTheMemo)
{
    const struct {
        const char* lines;
        bool shown;
    } steps[] = {
        {"command 32840\ntap 120 280", true},  // the memo edit takes the focus
        {"tap 85 178", false},                 // the bold check box takes it
        {"tap 120 280", true},
        {"click 1", false},
        {"command 32840\nclick 1028", true},  // the dialog's own input-panel button
        {"click 1028", false},
        // Escape leaves the memo as it was; the command bar's input-panel button.
        {"settext 1018 one\\ntwo\ncheck 1025 1\nselect 1022 40\nkey Escape\ntap 230 307", true},
        {"tap 230 307", false},
    };
    QString script = QStringLiteral("idle\n");
    for (const auto& step : steps)
        script += QStringLiteral("%1\ndump %2.json\n").arg(QLatin1String(step.lines)).arg(&step - steps);
    LumoRun run;
    const LumoResult r = RunOnAlbum(run, script + QStringLiteral("dump -\n"));
    EXPECT_EQ(Entry(r.dump)["memo"].toObject(),
              MemoJson("DejaVu Sans", "12", 0, 0, "Bottom Right", "Hi"));  // bold tapped off
    for (const auto& step : steps)
        EXPECT_EQ(run.Dump(QStringLiteral("%1.json").arg(&step - steps))["inputPanel"].toBool(), step.shown)
            << step.lines;
}
