#include "app/command_line.h"

#include <algorithm>

#include <QRegularExpression>

namespace {

bool ParseSize(const QString& text, int* w, int* h)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    *w = m.captured(1).toInt();
    *h = m.captured(2).toInt();
    return *w >= 100 && *h >= 100 && *w <= 10000 && *h <= 10000;
}

}  // namespace

CLumoOptions ParseCommandLine(const QStringList& args)
{
    CLumoOptions o;
    int i = 0;
    auto value = [&](const QString& name) -> QString {
        if (i + 1 >= args.size()) {
            o.error = QStringLiteral("option %1 needs a value").arg(name);
            return QString();
        }
        return args[++i];
    };
    for (; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--")) {
            ++i;
            break;
        }
        if (!a.startsWith(QLatin1String("--")))
            break;
        if (a == QLatin1String("--script"))
            o.script = value(a);
        else if (a == QLatin1String("--device-root"))
            o.deviceRoot = value(a);
        else if (a == QLatin1String("--registry"))
            o.registry = value(a);
        else if (a == QLatin1String("--screen")) {
            const QString v = value(a);
            if (o.error.isEmpty() && !ParseSize(v, &o.screenWidth, &o.screenHeight))
                o.error = QStringLiteral("--screen wants WIDTHxHEIGHT, not \"%1\"").arg(v);
        } else if (a == QLatin1String("--scale")) {
            const QString v = value(a);
            bool ok = false;
            o.scale = v.toInt(&ok);
            o.scaleGiven = true;
            if (o.error.isEmpty() && (!ok || o.scale < 1 || o.scale > 8))
                o.error = QStringLiteral("--scale wants a whole number from 1 to 8, not \"%1\"").arg(v);
        } else if (a == QLatin1String("--clock"))
            o.clock = value(a);
        else if (a == QLatin1String("--offscreen"))
            o.offscreen = true;
        else if (a == QLatin1String("--splash"))
            o.splash = true;
        else if (a == QLatin1String("--help"))
            o.help = true;
        else if (a == QLatin1String("--version"))
            o.version = true;
        else
            o.error = QStringLiteral("unknown option %1").arg(a);
    }
    if (o.error.isEmpty() && i < args.size())
        o.rawPath = args.mid(i).join(QLatin1Char(' '));
    return o;
}

QString UsageText()
{
    return QStringLiteral("Usage: lumo [OPTIONS] [--] [PATH...]\n"
                          "Shows the pictures of PATH: a picture, a folder, a ZIP archive or an album (.lab).\n"
                          "The words of PATH are joined with single blanks into one path.\n"
                          "\n"
                          "  --script FILE       run the automation script FILE (\"-\" reads standard input)\n"
                          "  --device-root DIR   confine the device's file system to DIR\n"
                          "  --registry FILE     keep settings in FILE instead of the default registry file\n"
                          "  --screen WxH        device screen size in pixels (default 240x320)\n"
                          "  --scale N           enlarge the window N times (desktop)\n"
                          "  --offscreen         run without a display (chosen by itself when none is available)\n"
                          "  --clock HH:MM       fix the task bar's clock (scripts use 12:00)\n"
                          "  --splash            show the splash window in scripted runs\n"
                          "  --help              show this text\n"
                          "  --version           show the version\n");
}

int DesktopScale(int availableWidth, int availableHeight, int deviceWidth, int deviceHeight)
{
    constexpr int kTitleBarAllowance = 64;  // window decorations and panels the area may not count
    if (deviceWidth <= 0 || deviceHeight <= 0 || availableWidth < 3 * deviceWidth || availableHeight < 3 * deviceHeight)
        return 1;
    const int fit = std::min(availableWidth / deviceWidth, (availableHeight - kTitleBarAllowance) / deviceHeight);
    return std::clamp(fit, 1, 8);
}
