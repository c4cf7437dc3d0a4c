// The settings sheet's rules: the View page's choices both ways, its clicks
// on the document, and how the Slideshow page shows and reads its texts.
#include "app/settings_pages.h"
#include "doc_fixture.h"

#include <climits>

using namespace Qt::StringLiterals;

using namespace SettingsPages;

TEST(SettingsPages, StoredValuesAreShownAsStoredAndSelectTheFirstEntryTheyBegin)
{
    struct Case {
        const char* stored;
        const QStringList& entries;
        int selected;
    };
    const Case cases[] = {
        {"1", IntervalEntries(), 0},   // "1" comes before "10"
        {"7", IntervalEntries(), -1},  // no entry: the box still shows 7
        {"6", IntervalEntries(), 7},   // "60" begins with 6; the box keeps 6
        {"Backward", DirectionEntries(), 1},
        {"forward", DirectionEntries(), 0},  // found aside from case; kept as typed
        {"sideways", DirectionEntries(), -1},
    };
    for (const Case& c : cases) {
        const ComboStart start = StartCombo(c.entries, QString::fromLatin1(c.stored));
        EXPECT_EQ(start.selected, c.selected) << c.stored;
        EXPECT_EQ(start.text, QString::fromLatin1(c.stored));
    }
    EXPECT_EQ(StartCombo(DirectionEntries(), QString(300, u'x')).text.size(), kTextLimit);
}

TEST(SettingsPages, IntervalTextReadsLikeAtoiWithinLimits)
{
    const QString longNumber = QString(kTextLimit, u'0') + u"5"_s;
    const struct {
        QString text;
        int seconds;
    } cases[] = {
        {u"15s"_s, 15},
        {u"7"_s, 7},
        {QString(), 0},
        {u"sec"_s, 0},
        {u"  +30"_s, 30},
        {u"-4"_s, -4},
        {u"99999999999"_s, INT_MAX},
        {u"-99999999999"_s, INT_MIN},
        {u"\u0661\u0662"_s, 0},
        {longNumber, 0},  // the 5 lies past the 271 characters read
    };
    for (const auto& c : cases)
        EXPECT_EQ(IntervalOfText(c.text), c.seconds) << c.text.left(20).toStdString();
}

namespace {

class ViewPageTest : public DocFixture {
protected:
    void ExpectEnabled(bool boxes, bool resize, bool angle) const
    {
        EXPECT_EQ(m_page.boxesEnabled, boxes);
        EXPECT_EQ(m_page.resizeEnabled, resize);
        EXPECT_EQ(m_page.angleEnabled, angle);
    }

    CViewPageState m_page;
};

}  // namespace

TEST_F(ViewPageTest, StartTakesTheDocumentsValuesAndEnablesFullScreenControlsOnlyInFullScreen)
{
    m_doc->m_autoResize = 0;
    m_doc->m_autoResizeZoom = -1;
    m_doc->m_autoRotationAngle = 45;
    m_page.Start(Settings::kModeFullScreen, *m_doc);
    EXPECT_EQ(m_page.autoResize, 0);
    EXPECT_EQ(m_page.autoRotation, 1);
    EXPECT_EQ(m_page.resizeChoice, 2);
    EXPECT_EQ(m_page.angleChoice, 0);
    ExpectEnabled(true, true, true);
    m_page.Start(Settings::kModeStrip, *m_doc);
    ExpectEnabled(false, false, false);
}

TEST_F(ViewPageTest, BoxClicksTurnValueButtonsAndDocumentFlagTogether)
{
    m_page.Start(Settings::kModeFullScreen, *m_doc);
    m_page.ClickAutoRotation(m_doc.get());
    EXPECT_EQ(m_page.autoRotation, 0);
    EXPECT_EQ(m_doc->m_autoRotation, 0);
    ExpectEnabled(true, true, false);
    m_page.ClickAutoResize(m_doc.get());
    m_page.ClickAutoResize(m_doc.get());
    EXPECT_EQ(m_page.autoResize, 1);
    EXPECT_EQ(m_doc->m_autoResize, 1);
    ExpectEnabled(true, true, false);
}

// Choosing full screen sets both values to 1; the document's flags follow, so
// the next click on a box turns value, box and flag over together.
TEST_F(ViewPageTest, FullScreenChoiceSetsValuesAndFlagsAlike)
{
    m_doc->m_autoResize = 0;
    m_page.Start(Settings::kModeFullScreen, *m_doc);
    m_page.ClickMode(Settings::kModeStrip, m_doc.get());
    m_page.ClickMode(Settings::kModeFullScreen, m_doc.get());
    EXPECT_EQ(m_page.autoResize, 1);
    EXPECT_EQ(m_doc->m_autoResize, 1);
    EXPECT_EQ(m_doc->m_autoRotation, 1);
    ExpectEnabled(true, true, true);
    m_page.ClickAutoResize(m_doc.get());
    EXPECT_EQ(m_page.autoResize, 0);
    EXPECT_EQ(m_doc->m_autoResize, 0);
}
