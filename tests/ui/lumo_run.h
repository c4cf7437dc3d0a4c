// Runs the lumo program offscreen on a script in a private environment (its
// own HOME, configuration, registry file and device root) and collects what
// it printed, its exit status and its dumps.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

struct LumoResult {
    int exitCode = -1;
    QString out;
    QString err;
    QJsonObject dump;  // the last "dump -" output, when the script printed one
};

class LumoRun {
public:
    LumoRun()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("root"));
        QDir(m_dir.path()).mkpath(QStringLiteral("home"));
    }
    QString Dir() const { return m_dir.path(); }
    QString Root() const { return m_dir.path() + QStringLiteral("/root"); }
    QString Registry() const { return m_dir.path() + QStringLiteral("/registry.reg"); }

    // Runs lumo with the script text and extra arguments after the options.
    LumoResult Run(const QString& script, const QStringList& pathWords = {}, const QStringList& options = {}) const
    {
        const QString scriptPath = m_dir.path() + QStringLiteral("/script.lumo");
        QFile f(scriptPath);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(script.toUtf8());
        f.close();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_dir.path() + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path() + QStringLiteral("/config"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir.path());
        QStringList args = {QStringLiteral("--offscreen"),
                            QStringLiteral("--device-root"),
                            Root(),
                            QStringLiteral("--registry"),
                            Registry(),
                            QStringLiteral("--script"),
                            scriptPath};
        args << options;
        if (!pathWords.isEmpty())
            args << QStringLiteral("--") << pathWords;
        p.start(QStringLiteral(LUMO_EXE), args);
        p.waitForFinished(60000);
        LumoResult r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        const int start = int(r.out.lastIndexOf(QStringLiteral("\n{")));
        const QString json = start >= 0 ? r.out.mid(start + 1) : (r.out.startsWith('{') ? r.out : QString());
        r.dump = QJsonDocument::fromJson(json.toUtf8()).object();
        return r;
    }

private:
    QTemporaryDir m_dir;
};
