// The Settings command through the real program: the sheet and its pages as
// the pen drives them, what OK stores, and what the command applies after it.
#include "app/settings.h"

#include "lumo_run.h"

#include <gtest/gtest.h>

namespace {

class SettingsSheetTest : public ::testing::Test {
protected:
    void TearDown() override { CRegistryStore::Instance().SetFile(QString()); }
    // Opens the sheet on a folder of pictures, runs the script inside it,
    // and reads what the run stored as the program reads it.
    LumoResult RunSheet(const QString& script)
    {
        WriteBmp(m_run.Path(QStringLiteral("pics/a.bmp")), 640, 480, Qt::blue);
        WriteBmp(m_run.Path(QStringLiteral("pics/b.bmp")), 60, 40, Qt::red);
        const LumoResult r
            = m_run.Run(QStringLiteral("idle\ncommand 32791\n") + script, {m_run.Path(QStringLiteral("pics"))});
        m_run.ReadStoredSettings();
        return r;
    }
    // The visible control with that identifier: the pages share some.
    static QJsonObject Control(const QJsonObject& dump, int id)
    {
        for (const QJsonValue& c : Top(dump)["controls"].toArray())
            if (c["id"].toInt() == id && c["visible"].toBool())
                return c.toObject();
        return {};
    }

    LumoRun m_run;
};

}  // namespace

// The sheet over the screen below the task bar. After "None (Full Screen)"
// the boxes show the values it sets, so a click on a box leaves box and
// document flag alike; "List" then Cancel leaves the document's flags cleared.
TEST_F(SettingsSheetTest, SheetFillsTheScreenAndItsFullScreenChoiceShowsTheBoxesItSets)
{
    const LumoResult r = RunSheet(QStringLiteral("dump sheet.json\nclick 1005\nclick 1030\nclick 1004\nclick 1005\n"
                                                 "dump chosen.json\nclick 1030\ndump box.json\nclick 1000\nclick 2\n"
                                                 "dump -\n"));
    const QJsonObject sheet = m_run.Dump(QStringLiteral("sheet.json"));
    EXPECT_EQ(Top(sheet)["rect"].toArray(), (QJsonArray {0, 26, 240, 320}));
    // Strip mode: the full-screen controls wait for "None (Full Screen)".
    EXPECT_TRUE(Control(sheet, 1004)["checked"].toBool());
    for (int id : {1029, 1030, 1032, 1035, 1036, 1038})
        EXPECT_FALSE(Control(sheet, id)["enabled"].toBool()) << id;
    const QJsonObject chosen = m_run.Dump(QStringLiteral("chosen.json"));
    EXPECT_TRUE(Control(chosen, 1030)["checked"].toBool() && Control(chosen, 1029)["checked"].toBool());
    EXPECT_EQ(m_run.Dump(QStringLiteral("box.json"))["fullScreenDefaults"].toArray(), (QJsonArray {1, 0, 270, 0}));
    ExpectFields(r.dump, {{"fullScreenDefaults", QJsonArray {0, 0, 270, 0}}, {"mode", 1}});
}

// A stored value the boxes' lists do not hold is shown and kept by OK; typed
// text is stored as the page reads it (how is the core tests' SettingsPages).
TEST_F(SettingsSheetTest, SlideshowPageShowsStoredValuesAndStoresTypedText)
{
    const struct {
        int interval;
        const char* direction;
        const char* typing;
        int selected;
        int storedInterval;
        const char* storedDirection;
    } cases[] = {
        {7, "forward", "", -1, 7, "forward"},
        {1, "Forward", "settext 1037 15s\nsettext 1041 forward\n", 0, 15, "forward"},
    };
    for (const auto& c : cases) {
        m_run.Store(QString(), QStringLiteral("\"Interval\"=dword:%1\n\"Direction\"=\"%2\"")
                                   .arg(c.interval, 8, 16, QLatin1Char('0'))
                                   .arg(QLatin1String(c.direction)));
        const LumoResult r
            = RunSheet(QStringLiteral("select 12320 Slideshow\ndump -\n%1click 1\n").arg(QLatin1String(c.typing)));
        EXPECT_EQ(Control(r.dump, 1037)["text"].toString(), QString::number(c.interval));
        EXPECT_EQ(Control(r.dump, 1037)["selected"].toInt(), c.selected) << c.interval;
        EXPECT_EQ(Control(r.dump, 1041)["text"].toString(), QLatin1String(c.direction));
        EXPECT_EQ(Settings::SlideshowInterval(), c.storedInterval);
        EXPECT_EQ(Settings::SlideshowDirection(), QLatin1String(c.storedDirection));
    }
}

TEST_F(SettingsSheetTest, QuickViewActsAtOnceAndIsStoredOnlyByOk)
{
    m_run.Store(QStringLiteral("\"Quick View\"=dword:00000001"));
    const LumoResult cancelled = RunSheet(QStringLiteral("select 12320 Display\nclick 1040\nclick 2\n"
                                                         "tap 78 255\nidle\ndump -\n"));
    // Only the picture shown stays decoded.
    EXPECT_EQ(cancelled.dump["quickView"], 0);
    EXPECT_EQ(Entry(cancelled.dump)["hasPicture"], false);
    EXPECT_EQ(Settings::QuickView(), 1);
    RunSheet(QStringLiteral("select 12320 Display\nclick 1040\nclick 1\n"));
    EXPECT_EQ(Settings::QuickView(), 0);
}

TEST_F(SettingsSheetTest, TickedTypesAreReadBackTheNextTime)
{
    RunSheet(QStringLiteral("select 12320 \"File Association\"\ncheck 1052 1\ncheck 1054 1\nclick 1\n"));
    const LumoResult r = RunSheet(QStringLiteral("select 12320 \"File Association\"\ndump -\nclick 2\n"));
    const bool expected[] = {false, true, false, true};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Control(r.dump, 1051 + i)["checked"].toBool(), expected[i]) << 1051 + i;
    EXPECT_TRUE(r.dump["messages"].toArray().isEmpty());
}

// The choices' boxes as the pen sets them (the rest of applying is the core
// tests' SettingsTest).
TEST_F(SettingsSheetTest, ListToStripRebuildsWithThumbnailsAndStripToFullScreenAppliesTheChoices)
{
    m_run.StoreMode(0);
    const LumoResult strip = RunSheet(QStringLiteral("click 1004\nclick 1\nidle\ndump -\n"));
    EXPECT_EQ(strip.dump["mode"], 1);
    for (const QJsonValue& e : strip.dump["entries"].toArray())
        EXPECT_EQ(e["hasThumbnail"], true);
    const LumoResult r = RunSheet(QStringLiteral("click 1005\nclick 1038\nclick 1033\nclick 1\nidle\ndump -\n"));
    ExpectFields(r.dump, {{"mode", 2}, {"fullScreen", 1}, {"fullScreenDefaults", QJsonArray {1, 1, 90, -1}}});
    ExpectFields(Entry(r.dump, r.dump["current"].toInt()), {{"zoom", -1}, {"rotation", 90}});
}
