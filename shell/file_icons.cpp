#include "shell/file_icons.h"

#include <QApplication>
#include <QHash>
#include <QMimeDatabase>
#include <QStyle>

namespace FileIcons {

QIcon ForName(const QString& name)
{
    static QHash<QString, QIcon> byEnding;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ending = dot < 0 ? QString() : name.mid(dot).toLower();
    const auto known = byEnding.constFind(ending);
    if (known != byEnding.constEnd())
        return *known;
    static const QMimeDatabase mimes;
    const QMimeType type = mimes.mimeTypeForFile(QStringLiteral("file") + ending, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    byEnding.insert(ending, icon);
    return icon;
}

}  // namespace FileIcons
