// The kinds of file Lumo opens: picture types, ZIP archives and albums, each
// with its extension, MIME type, short name and, for a picture, the type a
// decoded picture records. The table is made at
// configure time from res/file_types.txt, the one list that also feeds the
// desktop entry, the installed MIME definition and the metainfo.
#pragma once

#include <QString>
#include <span>

enum class FileKind { Picture, Archive, Album };

// Each type of the list by its short name: Bmp, Gif, Jpeg, Png, Zip, Album.
enum class FileType {
#include "res/file_types_enum.inc"
};

struct FileTypeDef {
    const char* extension;  // ".jpg": four characters, the dot included
    const char* mimeType;   // "image/jpeg"
    FileKind kind;
    FileType type;
    const char* name;         // "jpeg": the File Association page's "jpeg files"
    const char* pictureType;  // "JPEG Image": what a decoded picture of the type records; "" for others
    const char* description;  // set for the types Lumo itself defines
};

namespace FileTypes {

std::span<const FileTypeDef> All();
// The picture types in the File Association page's order: bmp, gif, jpeg, png.
std::span<const FileTypeDef> Pictures();
// The type whose extension is the last four characters of name (letter case
// aside); null for none.
const FileTypeDef* Of(QStringView name);
// The picture type whose extension is the last four characters of name
// (letter case aside); null for none.
const FileTypeDef* PictureOf(QStringView name);
inline bool IsOfKind(QStringView name, FileKind kind)
{
    const FileTypeDef* type = Of(name);
    return type && type->kind == kind;
}
inline bool IsPictureName(QStringView name)
{
    return IsOfKind(name, FileKind::Picture);
}

}  // namespace FileTypes
