// The rules of the two save commands: the name Save As proposes for an
// entry, the writer a chosen name calls for, the filter lists of the
// save-file dialog and the texts the user sees when nothing was written.
#pragma once

#include <QString>

class CImageItem;

namespace SaveAs {

extern const char kPictureFilter[];   // "jpeg Files (*.jpg)|*.jpg|bmp Files (*.bmp)|*.bmp|All Files (*.*)|*.*||"
extern const char kAlbumFilter[];     // "Lumo Album Files (*.lab)|*.lab||"
extern const char kAlbumExtension[];  // "lab", added to an album name without an extension
extern const char kCouldNotCreate[];  // "Could not create the file!"

// A plain file proposes its own path; a member of an archive proposes the
// archive's folder and the member's own name (without the folders it has
// inside the archive, which need not exist beside it).
QString ProposedName(const CImageItem& item);

enum class Writer { None, Bmp, Jpeg };
// By the picture type of the path (res/file_types.txt): BMP or JPEG.
Writer WriterFor(const QString& path);

// What the user reads when a chosen name ends in neither.
QString UnsupportedNameMessage(const QString& path);

}  // namespace SaveAs
