// Small icons of files by their names, from the system's icon theme (by the
// file type the name's ending says), else the style's plain file icon. Each
// ending is looked up once.
#pragma once

#include <QIcon>
#include <QString>

namespace FileIcons {

QIcon ForName(const QString& name);

}  // namespace FileIcons
