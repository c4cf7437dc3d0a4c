#include "platform/xdg_mime_apps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

namespace {

const QByteArray kDefaultSection = "[Default Applications]";

// An XDG base folder: the variable when it holds an absolute path, else fallback.
QString BaseFolder(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : fallback;
}

bool IsSectionHeader(const QByteArray& line)
{
    return line.trimmed().startsWith('[');
}

// The key of a "key=value" line (blanks around "=" do not count); empty otherwise.
QByteArray KeyOf(const QByteArray& line)
{
    const qsizetype eq = line.indexOf('=');
    return eq > 0 && !line.trimmed().startsWith('#') ? line.left(eq).trimmed() : QByteArray();
}

QByteArray ValueOf(const QByteArray& line)
{
    return line.mid(line.indexOf('=') + 1).trimmed();
}

}  // namespace

namespace XdgMimeApps {

QString UserListFile()
{
    const QString config = BaseFolder("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
    return QDir::cleanPath(config + QStringLiteral("/mimeapps.list"));
}

QString DefaultsIn(const QByteArray& text, const QString& mimeType)
{
    const QByteArray key = mimeType.toUtf8();
    bool inSection = false;
    for (const QByteArray& line : text.split('\n')) {
        if (IsSectionHeader(line))
            inSection = line.trimmed() == kDefaultSection;
        else if (inSection && KeyOf(line) == key)
            return QString::fromUtf8(ValueOf(line));
    }
    return QString();
}

QByteArray WithDefaults(const QByteArray& text, const QString& mimeType, const QString& ids)
{
    const QByteArray key = mimeType.toUtf8();
    const QByteArray newLine = key + '=' + ids.toUtf8();
    QList<QByteArray> lines = text.split('\n');
    const bool endsWithNewline = text.isEmpty() || text.endsWith('\n');
    if (endsWithNewline)
        lines.removeLast();
    bool inSection = false;
    bool written = ids.isEmpty();  // a removal never adds a line
    qsizetype sectionEnd = -1;     // after the last line of the section that is not blank
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (IsSectionHeader(line)) {
            inSection = line.trimmed() == kDefaultSection;
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (KeyOf(line) == key) {
            if (written) {
                lines.removeAt(i--);
                continue;
            }
            lines[i] = newLine;
            written = true;
        }
        if (!line.trimmed().isEmpty())
            sectionEnd = i + 1;
    }
    const bool adding = !written;
    if (adding) {
        if (sectionEnd >= 0) {
            lines.insert(sectionEnd, newLine);
        } else {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines.append(QByteArray());
            lines.append(kDefaultSection);
            lines.append(newLine);
        }
    }
    QByteArray out = lines.join('\n');
    if (!lines.isEmpty() && (endsWithNewline || adding))
        out += '\n';
    return out;
}

QString UserDefaults(const QString& mimeType)
{
    QFile file(UserListFile());
    return file.open(QIODevice::ReadOnly) ? DefaultsIn(file.readAll(), mimeType) : QString();
}

bool SetUserDefaults(const QString& mimeType, const QString& ids)
{
    const QString path = UserListFile();
    QFile current(path);
    QByteArray text;
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly))
            return false;
        text = current.readAll();
    }
    const QByteArray changed = WithDefaults(text, mimeType, ids);
    if (current.exists() && changed == text)
        return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(changed) == changed.size() && out.commit();
}

bool IsDesktopEntryInstalled(const QString& desktopId)
{
    QStringList folders {BaseFolder("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"))};
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            folders << dir;
    for (const QString& folder : folders)
        if (QFileInfo(folder + QStringLiteral("/applications/") + desktopId).isFile())
            return true;
    return false;
}

}  // namespace XdgMimeApps
