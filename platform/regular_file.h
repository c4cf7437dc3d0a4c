// Opening the files that users and archives name, for reading: only regular
// files. A named pipe, a device, a socket or a folder named like a picture
// (z.png, f.zip, y.jpg), or a link to one, is refused without blocking: the
// kind is checked before the open, the open never waits (O_NONBLOCK), and the
// kind is checked again on what was opened, so a file swapped in between is
// refused too. Failures set errno (EINVAL for a file of another kind).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

class QFile;

namespace RegularFile {

// What hostPath names (links followed).
enum class Kind { Missing, Regular, Folder, Other };
Kind KindOf(const QString& hostPath);
// Whether hostPath names a regular file (links followed).
bool Is(const QString& hostPath);
// Whether hostPath names something that is not a regular file: a folder, a
// pipe, a device.
bool IsOtherKind(const QString& hostPath);
// A read-only descriptor of the regular file hostPath, or -1.
int OpenForRead(const QByteArray& hostPath);
// The same as a stdio stream in "rb" mode, or nullptr.
FILE* OpenStream(const QByteArray& hostPath);
// Opens file (not yet open) on the regular file hostPath; false when refused.
bool Open(QFile& file, const QString& hostPath);

}  // namespace RegularFile
