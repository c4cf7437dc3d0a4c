#include "app/image_info.h"

#include "app/file_list_text.h"
#include "app/image_item.h"
#include "platform/time_value.h"
#include "res/file_types.h"

namespace ImageInfo {

QString Location(const QString& path, const QString& source)
{
    QString location = source;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('\\'));
    const qsizetype dot = source.lastIndexOf(QLatin1Char('.'));
    // A source with an extension names the picture itself unless it is an
    // archive or an album: then the picture's folder is shown.
    if (dot >= 1 && dot > slash) {
        if (!FileTypes::IsOfKind(source, FileKind::Archive) && !FileTypes::IsOfKind(source, FileKind::Album))
            location = slash < 0 ? QString() : source.left(slash);
    }
    if (location.size() > kLocationLineLength)
        location.insert(kLocationLineLength, QLatin1Char('\n'));
    return location;
}

QString Time(const CTime& time)
{
    return time.IsSet() ? FileListText::DateText(time) : QString();
}

QString Rotation(int degrees)
{
    switch (degrees) {
    case 0:
    case 90:
    case 180:
    case 270:
        return QStringLiteral("+%1").arg(degrees);
    default:
        return QString();
    }
}

QString Zoom(int zoom)
{
    if (zoom >= 1)
        return QStringLiteral("%1 %").arg(zoom);
    return zoom == 0 ? QStringLiteral("Shrink To Fit") : QStringLiteral("Shrink To Fill");
}

CImageInfoTexts TextsOf(const CImageItem& item)
{
    return CImageInfoTexts {FileListText::NameOf(item.m_path),
                            Location(item.m_path, item.m_source),
                            Time(item.m_picture.m_modified),
                            FileListText::ByteSizeText(double(item.m_picture.m_fileSize)),
                            QStringLiteral("%1 Bits").arg(item.m_picture.m_bitsPerPixel),
                            QStringLiteral("%1 x %2").arg(item.m_picture.m_width).arg(item.m_picture.m_height),
                            Rotation(item.m_rotation),
                            Zoom(item.m_zoom),
                            QString::number(item.m_brightness),
                            QString::number(item.m_contrast)};
}

}  // namespace ImageInfo
