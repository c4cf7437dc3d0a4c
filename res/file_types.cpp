#include "res/file_types.h"

#include <iterator>

namespace {

constexpr FileTypeDef kTypes[] = {
#include "res/file_types_table.inc"
};

// The list keeps the pictures first.
constexpr size_t PictureCount()
{
    size_t n = 0;
    while (n < std::size(kTypes) && kTypes[n].kind == FileKind::Picture)
        ++n;
    return n;
}

}  // namespace

namespace FileTypes {

std::span<const FileTypeDef> All()
{
    return kTypes;
}

std::span<const FileTypeDef> Pictures()
{
    return std::span(kTypes, PictureCount());
}

const FileTypeDef* Of(QStringView name)
{
    for (const FileTypeDef& type : All()) {
        if (name.endsWith(QLatin1StringView(type.extension), Qt::CaseInsensitive))
            return &type;
    }
    return nullptr;
}

const FileTypeDef* PictureOf(QStringView name)
{
    const FileTypeDef* type = Of(name);
    return type && type->kind == FileKind::Picture ? type : nullptr;
}

}  // namespace FileTypes
