// Writes the program's icon for a desktop's icon theme: PNG pictures at the
// usual sizes and the scalable SVG, all drawn from the one icon design
// (res/program_icon.h), under OUTDIR/hicolor/<size>/apps/<name>.<ext>.
#include "res/program_icon.h"
#include "views/program_art.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: lumo_make_icons OUTDIR NAME\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor/");
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = out + QStringLiteral("%1x%1/apps").arg(size);
        if (!QDir().mkpath(folder)
            || !ProgramArt::Icon(size).save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "lumo_make_icons: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    const QString scalable = out + QStringLiteral("scalable/apps");
    QFile svg(scalable + QLatin1Char('/') + name + QStringLiteral(".svg"));
    if (!QDir().mkpath(scalable) || !svg.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || svg.write(Resources::ProgramIconSvg().toUtf8()) < 0 || !svg.flush()) {
        std::fprintf(stderr, "lumo_make_icons: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}
