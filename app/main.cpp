// lumo [OPTIONS] [--] [PATH...]: the picture viewer.
#include "app/command_line.h"
#include "app/lumo_app.h"
#include "automation/script_runner.h"
#include "automation/script_text.h"
#include "platform/device_path.h"
#include "platform/host_bytes.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/registry_store.h"
#include "platform/regular_file.h"
#include "shell/input_panel.h"
#include "shell/message_presenter.h"
#include "views/device_screen.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

bool HasDisplay()
{
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

// Offscreen runs get a screen of exactly the device's size, described in a
// file that Qt reads while the application is made. The file lives in a new
// private folder (no other user can plant or read anything there) and the
// folder is removed as soon as the application exists.
std::unique_ptr<QTemporaryDir> PrepareOffscreen(const CLumoOptions& o)
{
    const int w = o.screenWidth * o.scale;
    const int h = o.screenHeight * o.scale;
    QString base = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (base.isEmpty() || !QFileInfo(base).isDir() || !QFileInfo(base).isWritable())
        base = QDir::tempPath();
    auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/lumo-screen-XXXXXX"));
    if (!dir->isValid())
        dir = std::make_unique<QTemporaryDir>();
    const QString path = dir->filePath(QStringLiteral("screen.json"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        f.write(QStringLiteral("{\"synchronousWindowSystemEvents\":false,\"windowFrameMargins\":false,"
                               "\"screens\":[{\"name\":\"lcd\",\"x\":0,\"y\":0,\"width\":%1,\"height\":%2,"
                               "\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}")
                    .arg(w)
                    .arg(h)
                    .toUtf8());
        f.close();
    }
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toLocal8Bit());
    return dir;
}

// On a desktop with room for it, the device screen opens enlarged by a whole
// factor (Qt's own scale factor, so our pixels are never resampled). The
// screen's size is only known to a running application: a short-lived one asks.
int ChooseDesktopScale(int argc, char** argv, const CLumoOptions& o)
{
    int probeArgc = argc;
    QGuiApplication probe(probeArgc, argv);
    const QScreen* screen = probe.primaryScreen();
    if (!screen)
        return 1;
    const QSize area = screen->availableGeometry().size();
    return DesktopScale(area.width(), area.height(), o.screenWidth, o.screenHeight);
}

}  // namespace

int main(int argc, char** argv)
{
    // Words are host names: a path that is not UTF-8 still names its file.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << HostBytes::Decode(QByteArray(argv[i]));
    CLumoOptions options = ParseCommandLine(args);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "lumo: %s\n%s", options.error.toLocal8Bit().constData(),
                     UsageText().toLocal8Bit().constData());
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("lumo %s\n", LUMO_VERSION);
        return 0;
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool offscreen
        = options.offscreen || platform.startsWith("offscreen") || (platform.isEmpty() && !HasDisplay());
    std::unique_ptr<QTemporaryDir> screenFile;
    if (offscreen)
        screenFile = PrepareOffscreen(options);
    if (!offscreen && !options.scaleGiven && qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        options.scale = ChooseDesktopScale(argc, argv, options);
    if (options.scale > 1)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(options.scale));
    if (options.deviceRoot.isEmpty())
        options.deviceRoot = HostBytes::Decode(qgetenv("LUMO_DEVICE_ROOT"));
    if (options.registry.isEmpty())
        options.registry = HostBytes::Decode(qgetenv("LUMO_REGISTRY"));
    if (!options.deviceRoot.isEmpty()) {
        if (RegularFile::KindOf(options.deviceRoot) != RegularFile::Kind::Folder) {
            std::fprintf(stderr, "lumo: the device root %s is not a folder\n",
                         HostBytes::Encode(options.deviceRoot).constData());
            return 2;
        }
        DevicePath::SetDeviceRoot(QFileInfo(options.deviceRoot).absoluteFilePath());
    }
    if (!options.registry.isEmpty())
        CRegistryStore::Instance().SetFile(QFileInfo(options.registry).absoluteFilePath());
    Profile::SetAppName(QFileInfo(QString::fromLocal8Bit(argv[0])).baseName());

    InputPanel::SelectInputMethod(offscreen);
    QApplication qapp(argc, argv);
    screenFile.reset();  // read by now; nothing of it outlives the start
    InputPanel::Install();
    QStringList script;
    const bool scripted = !options.script.isEmpty();
    if (scripted) {
        QString error;
        if (!ScriptText::Read(options.script, &script, &error)) {
            std::fprintf(stderr, "lumo: %s\n", error.toLocal8Bit().constData());
            return 2;
        }
        if (options.clock.isEmpty())
            options.clock = QStringLiteral("12:00");
    }
    // Scripted runs record messages and answer them at once; others show them.
    MessageBoxService::SetEcho(scripted || offscreen);
    CLumoApp app(options);
    if (!scripted && !offscreen)
        InstallMessagePresenter(nullptr);
    if (!app.InitInstance())
        return app.StartFailureStatus();
    if (!scripted && !offscreen)
        InstallMessagePresenter(app.Screen());
    if (!scripted && offscreen)
        return 0;  // nothing would ever end an unscripted run without a display
    CScriptRunner runner(&app, script);
    if (scripted)
        runner.Start();
    return qapp.exec();
}
