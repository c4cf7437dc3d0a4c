// What the UI tests share: running the lumo program offscreen on a script in
// a private environment (its own HOME, configuration, registry file and
// device root) and reading what it printed and dumped; pictures and albums
// written byte by byte; and the offscreen application of in-process tests.
#pragma once

#include "platform/device_path.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/registry_store.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

struct LumoResult {
    QString err;
    QJsonObject dump;  // the last "dump -" output, when the script printed one
};

class LumoRun {
public:
    LumoRun() { QDir(Dir()).mkpath(QStringLiteral("root")), QDir(Dir()).mkpath(QStringLiteral("home")); }
    QString Dir() const { return m_dir.path(); }
    QString Root() const { return m_dir.path() + QStringLiteral("/root"); }
    QString Registry() const { return m_dir.path() + QStringLiteral("/registry.reg"); }
    QString Out(const QString& name) const { return Dir() + QLatin1Char('/') + name; }    // in the run's folder
    QString Path(const QString& name) const { return Root() + QLatin1Char('/') + name; }  // on the device
    QJsonObject Dump(const QString& name) const  // a dump the script wrote to a file
    {
        QFile f(Out(name));
        return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
    }

    // Values stored before the run: REGEDIT4 lines of the Setting section and
    // of the slideshow's.
    void Store(const QString& setting, const QString& slideshow = QString()) const
    {
        WriteFile(Registry(),
                  QStringLiteral("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Setting]\n%1\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\FARHAVEN\\lumo\\Settings\\Slideshow]\n%2\n")
                      .arg(setting, slideshow)
                      .toUtf8());
    }
    void StoreMode(int mode, const QString& slideshow = QString()) const
    {
        Store(QStringLiteral("\"ThumbnailView Mode\"=dword:%1").arg(mode, 8, 16, QLatin1Char('0')), slideshow);
    }
    // Points this process's settings at what the runs stored.
    void ReadStoredSettings() const
    {
        CRegistryStore::Instance().SetFile(Registry());
        Profile::SetAppName(QStringLiteral("lumo"));
    }

    // Runs lumo on the script with the path words after the options; the
    // run must end with that status.
    LumoResult Run(const QString& script, const QStringList& pathWords = {}, const QStringList& options = {},
                   int status = 0) const
    {
        WriteFile(Out(QStringLiteral("script.lumo")), script.toUtf8());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        env.insert("HOME", Out("home"));
        env.insert("XDG_CONFIG_HOME", Out("config"));
        env.insert("XDG_RUNTIME_DIR", Dir());
        env.insert("TZ", "UTC");
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(Dir());
        p.start(QStringLiteral(LUMO_EXE), QStringList {"--offscreen", "--device-root", Root(), "--registry", Registry(),
                                                       "--script", Out("script.lumo")}
                                              + options
                                              + (pathWords.isEmpty() ? pathWords : QStringList {"--"} + pathWords));
        p.waitForFinished(60000);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const LumoResult r {
            QString::fromUtf8(p.readAllStandardError()),
            QJsonDocument::fromJson(out.mid(out.lastIndexOf(QStringLiteral("\n{")) + 1).toUtf8()).object()};
        EXPECT_EQ(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, status) << r.err.toStdString();
        return r;
    }

private:
    QTemporaryDir m_dir;
};

// Reading dumps: the catalog's entries, the menu's marks, the windows and
// the top-most open dialog with its controls.
// Each field that expected names has its value in object.
inline void ExpectFields(const QJsonObject& object, const QJsonObject& expected)
{
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(object[it.key()], it.value()) << it.key().toStdString();
}

inline void PrintTo(const QJsonValue& value, std::ostream* os)
{
    *os << QJsonDocument(QJsonArray {value}).toJson(QJsonDocument::Compact).toStdString();
}

inline QJsonObject Entry(const QJsonObject& dump, int index = 0)
{
    return dump["entries"].toArray()[index].toObject();
}

inline QStringList Paths(const QJsonObject& dump)
{
    QStringList paths;
    for (const QJsonValue& e : dump["entries"].toArray())
        paths << e["path"].toString();
    return paths;
}

inline bool MenuFlag(const QJsonObject& dump, int id, const char* flag = "checked")
{
    return dump["menu"][QString::number(id)][QLatin1String(flag)].toBool();
}

// The menu items checked among the identifiers first to last.
inline QList<int> CheckedAmong(const QJsonObject& dump, int first, int last)
{
    QList<int> ids;
    for (int id = first; id <= last; ++id)
        if (MenuFlag(dump, id))
            ids << id;
    return ids;
}

// The rectangle of the first visible window of class cls; empty when none is.
inline QJsonArray WindowRect(const QJsonObject& dump, const QString& cls)
{
    for (const QJsonValue& w : dump["windows"].toArray())
        if (w["class"].toString() == cls)
            return w["rect"].toArray();
    return {};
}

inline QJsonObject Top(const QJsonObject& dump)
{
    const QJsonArray dialogs = dump["dialogs"].toArray();
    return dialogs.isEmpty() ? QJsonObject() : dialogs.last().toObject();
}

// The first control of the dialog with that identifier (-1: the labels).
inline QJsonObject Control(const QJsonObject& dialog, int id)
{
    for (const QJsonValue& c : dialog["controls"].toArray())
        if (c["id"].toInt() == id)
            return c.toObject();
    return {};
}

// A 24-bit BMP of w x h pixels in one colour; with a marker colour, the top
// left quarter is painted in it so that moves and turns show.
inline void WriteBmp(const QString& path, int w, int h, QColor color, QColor marker = QColor())
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    if (marker.isValid())
        QPainter(&image).fillRect(0, 0, w / 2, h / 2, marker);
    image.save(path, "BMP");
}

// An album of (device path, memo text) records in UTF-16LE.
inline void WriteAlbum(const QString& path, const QList<QPair<QString, QString>>& records)
{
    QString text = QChar(0x0008);
    for (const auto& [picture, memo] : records)
        text += picture + QChar(0x001B) + memo + QChar(0x0008);
    WriteFile(path, QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
}

inline QString MemoText(const QString& align, const QString& content)
{
    return QStringLiteral("font=Tahoma;size=9;bold=1;italic=0;align=%1;color=#FFFFFF;content=%2").arg(align, content);
}

// Pixels of a colour close to c inside rect of the image.
inline int CountNear(const QImage& image, const QRect& rect, QColor c, int tolerance = 40)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            n += std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue())
                 <= tolerance;
        }
    return n;
}

// The QApplication that in-process UI tests share: offscreen, made once,
// living as long as the test program.
inline void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    if (!qApp && qputenv("QT_QPA_PLATFORM", "offscreen"))
        new QApplication(argc, argv);
}

// An in-process run's own folder, which is its device root and holds its
// registry file, with messages recorded; pointed away from when it ends.
struct ScratchRoot {
    ScratchRoot()
    {
        EnsureApplication();
        CRegistryStore::Instance().SetFile(dir.filePath(QStringLiteral("registry.reg")));
        Profile::SetAppName(QStringLiteral("lumo"));
        MessageBoxService::SetEcho(true);
        DevicePath::SetDeviceRoot(dir.path());
    }
    ~ScratchRoot()
    {
        DevicePath::SetDeviceRoot(QString());
        CRegistryStore::Instance().SetFile(dir.filePath(QStringLiteral("unused.reg")));
    }
    QTemporaryDir dir;
};
