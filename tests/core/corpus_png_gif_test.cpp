// The third-party PNG and GIF corpus: every file its manifest calls valid
// decodes at 100 % to the listed size, every invalid one is refused, and the
// questionable ones are decoded or refused without a crash.
#include "image/image_decoder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <cstdio>
#include <map>

namespace {

struct Tally {
    int accepted = 0, acceptTotal = 0;
    int refused = 0, rejectTotal = 0;
    int eitherDecoded = 0, eitherTotal = 0;
};

TEST(CorpusPngGif, ManifestVerdictsHold)
{
    const QString root = QStringLiteral(LUMO_CORPUS_DIR);
    QFile manifest(QDir(root).filePath(QStringLiteral("manifest.tsv")));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text))
        GTEST_SKIP() << "third-party corpus not found at " << root.toStdString();

    std::map<QString, Tally> tallies;
    QTextStream in(&manifest);
    in.readLine();  // column names
    while (!in.atEnd()) {
        const QStringList cols = in.readLine().split(QLatin1Char('\t'));
        if (cols.size() < 5 || (cols[1] != QLatin1String("png") && cols[1] != QLatin1String("gif")))
            continue;
        const QString& path = cols[0];
        const QString& expect = cols[2];
        HBITMAP bitmap = nullptr;
        DecompressImageInfo info;
        info.path = QDir(root).filePath(path);
        info.iScale = 100;
        info.iMaxWidth = 0;  // the listed size exactly, whatever it is
        info.iMaxHeight = 0;
        info.phBM = &bitmap;
        const bool decoded = DecompressImageIndirect(&info) == 0;
        Tally& t = tallies[cols[1]];
        if (decoded) {
            EXPECT_NE(bitmap, nullptr) << path.toStdString();
        } else {
            EXPECT_EQ(bitmap, nullptr) << path.toStdString();
        }
        if (expect == QLatin1String("accept")) {
            ++t.acceptTotal;
            EXPECT_TRUE(decoded) << path.toStdString() << ": " << DecodeStatusText(info.status);
            if (decoded) {
                EXPECT_EQ(bitmap->Width(), cols[3].toInt()) << path.toStdString();
                EXPECT_EQ(bitmap->Height(), cols[4].toInt()) << path.toStdString();
                if (bitmap->Width() == cols[3].toInt() && bitmap->Height() == cols[4].toInt())
                    ++t.accepted;
            }
        } else if (expect == QLatin1String("reject")) {
            ++t.rejectTotal;
            EXPECT_FALSE(decoded) << path.toStdString() << " should be refused";
            t.refused += decoded ? 0 : 1;
        } else {
            ++t.eitherTotal;
            t.eitherDecoded += decoded ? 1 : 0;
            if (decoded && !cols[3].isEmpty()) {
                EXPECT_EQ(bitmap->Width(), cols[3].toInt()) << path.toStdString();
                EXPECT_EQ(bitmap->Height(), cols[4].toInt()) << path.toStdString();
            }
        }
        DeleteObject(bitmap);
    }
    for (const auto& [format, t] : tallies) {
        std::printf("%s: accept %d/%d decoded to size, reject %d/%d refused, either %d/%d decoded\n",
                    format.toStdString().c_str(), t.accepted, t.acceptTotal, t.refused, t.rejectTotal, t.eitherDecoded,
                    t.eitherTotal);
    }
    EXPECT_EQ(tallies.size(), 2u);
}

}  // namespace
