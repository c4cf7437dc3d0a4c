// The strip under fire: a worker build of a few hundred pictures while taps,
// paging, keys, the hold menu, the slideshow and a second build hit the
// program. The run must end cleanly (under the sanitizer build any memory or
// undefined-behaviour fault ends it with a report) and leave a catalog and
// strip that agree with each other.
#include "lumo_run.h"
#include "ui_pictures.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

constexpr int kPictures = 300;
constexpr int kStripY = 250;

int CellX(int c)
{
    return 15 + 42 * c + 21;
}

class StripStress : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString host = m_run.Root() + QStringLiteral("/pics");
        ASSERT_TRUE(QDir().mkpath(host));
        for (int i = 0; i < kPictures; ++i)
            UiPictures::WriteBmp(host + QStringLiteral("/p%1.bmp").arg(i, 3, 10, QLatin1Char('0')), 160, 120,
                                 QColor::fromRgb(QRgb(0x9E3779 * uint(i + 1))));
        QFile reg(m_run.Registry());
        ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
        reg.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Setting]\n"
                  "\"ThumbnailView Mode\"=dword:00000001\n\n"
                  "[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Settings\\Slideshow]\n"
                  "\"Direction\"=\"Random\"\n\"Interval\"=dword:00000001\n");
    }

    // A burst of pen and key input on the strip, picked by a seeded generator
    // so a failure can be replayed.
    static QString Burst(QRandomGenerator& random, int steps)
    {
        QString s;
        for (int i = 0; i < steps; ++i) {
            switch (random.bounded(7)) {
            case 0:
            case 1:
                s += QStringLiteral("tap %1 %2\n").arg(CellX(random.bounded(5))).arg(kStripY);
                break;
            case 2:
                s += QStringLiteral("tap %1 %2\n").arg(random.bounded(2) ? 232 : 7).arg(kStripY);
                break;
            case 3:
                s += random.bounded(2) ? QStringLiteral("key Right\n") : QStringLiteral("key Left\n");
                break;
            case 4:
                s += random.bounded(2) ? QStringLiteral("key Down\n") : QStringLiteral("key Up\n");
                break;
            case 5:
                s += QStringLiteral("tap 120 100\nkey Right\n");  // the picture pane, then a key there
                break;
            default:
                s += QStringLiteral("tap %1 %2\n").arg(CellX(random.bounded(5))).arg(kStripY);
                s += QStringLiteral("key Right\n");
                break;
            }
            s += QStringLiteral("wait %1\n").arg(random.bounded(1, 8));
        }
        return s;
    }

    LumoRun m_run;
};

}  // namespace

TEST_F(StripStress, InputDuringTwoBuildsLeavesACatalogAndStripThatAgree)
{
    QRandomGenerator random(20261206);
    QString script = QStringLiteral("browse \\pics 0\nwait 20\n");
    script += Burst(random, 40);
    // The hold menu on the first cell, which exists by now: remove it, then
    // shift another picture.
    script += QStringLiteral("down %1 %2\nwait 600\nmenu Remove\nup %1 %2\n").arg(CellX(0)).arg(kStripY);
    script
        += QStringLiteral("tap %1 %2\ndown %1 %2\nwait 600\nmenu \"Shift +1\"\nup %1 %2\n").arg(CellX(0)).arg(kStripY);
    script += QStringLiteral("command 32810\n");  // the slideshow steps while the build runs
    script += Burst(random, 40);
    // A second build replaces the first, running or not, while input goes on.
    script += QStringLiteral("browse \\pics 0\n");
    script += Burst(random, 60);
    script += QStringLiteral("command 32810\nidle\ndump -\n");

    const LumoResult r = m_run.Run(script);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("runtime error"))) << r.err.toStdString();

    // The second build made the whole catalog again, in order, every entry
    // with its thumbnail.
    const QJsonArray entries = r.dump["entries"].toArray();
    ASSERT_EQ(entries.size(), kPictures);
    for (int i = 0; i < kPictures; ++i) {
        const QJsonObject e = entries[i].toObject();
        EXPECT_EQ(e["path"].toString(), QStringLiteral("\\pics\\p%1.bmp").arg(i, 3, 10, QLatin1Char('0')));
        EXPECT_TRUE(e["hasThumbnail"].toBool()) << i;
    }
    EXPECT_FALSE(r.dump["slideshow"].toBool());
    // The strip's selection is the current entry; its page (which the
    // buttons may have moved away from the selection) lies on the strip.
    const int current = r.dump["current"].toInt();
    ASSERT_GE(current, 0);
    ASSERT_LT(current, kPictures);
    const QJsonObject strip = r.dump["strip"].toObject();
    EXPECT_EQ(strip["selected"].toInt(), current);
    EXPECT_EQ(strip["lastPage"].toInt(), (kPictures - 1) / 5 * 5);
    EXPECT_EQ(strip["first"].toInt() % 5, 0);
    EXPECT_GE(strip["first"].toInt(), 0);
    EXPECT_LE(strip["first"].toInt(), strip["lastPage"].toInt());
}
