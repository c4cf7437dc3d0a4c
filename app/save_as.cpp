#include "app/save_as.h"

#include "app/image_item.h"
#include "image/image_loader.h"
#include "res/file_types.h"

namespace SaveAs {

const char kPictureFilter[] = "jpeg Files (*.jpg)|*.jpg|bmp Files (*.bmp)|*.bmp|All Files (*.*)|*.*||";
const char kAlbumFilter[] = "Lumo Album Files (*.lab)|*.lab||";
const char kAlbumExtension[] = "lab";
const char kCouldNotCreate[] = "Could not create the file!";

QString ProposedName(const CImageItem& item)
{
    if (!CImageLoader::IsArchiveMember(item.File()))
        return item.m_path;
    const QString archiveFolder = item.m_source.left(item.m_source.lastIndexOf(QLatin1Char('\\')));
    QString member = item.m_path;
    member.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return archiveFolder + QLatin1Char('\\') + member.mid(member.lastIndexOf(QLatin1Char('\\')) + 1);
}

Writer WriterFor(const QString& path)
{
    const FileTypeDef* type = FileTypes::PictureOf(path);
    if (type && type->type == FileType::Bmp)
        return Writer::Bmp;
    if (type && type->type == FileType::Jpeg)
        return Writer::Jpeg;
    return Writer::None;
}

QString UnsupportedNameMessage(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    return QStringLiteral("%1 was not saved. Pictures are saved as BMP files (ending in .bmp) or JPEG files "
                          "(ending in .jpg).")
        .arg(name);
}

}  // namespace SaveAs
