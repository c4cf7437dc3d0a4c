// The kinds of file Lumo opens: picture types, ZIP archives and albums, each
// with its extension, MIME type and short name. The table is made at
// configure time from res/file_types.txt, the one list that also feeds the
// desktop entry, the installed MIME definition and the metainfo.
#pragma once

#include <QString>
#include <span>

enum class FileKind { Picture, Archive, Album };

struct FileTypeDef {
    const char* extension;  // ".jpg": four characters, the dot included
    const char* mimeType;   // "image/jpeg"
    FileKind kind;
    const char* name;         // "jpeg": the File Association page's "jpeg files"
    const char* description;  // set for the types Lumo itself defines
};

namespace FileTypes {

std::span<const FileTypeDef> All();
// The picture types in the File Association page's order: bmp, gif, jpeg, png.
std::span<const FileTypeDef> Pictures();
// The picture type whose extension is the last four characters of name
// (letter case aside); null for none.
const FileTypeDef* PictureOf(QStringView name);
inline bool IsPictureName(QStringView name)
{
    return PictureOf(name) != nullptr;
}

}  // namespace FileTypes
