#include "image/image_loader.h"
#include "platform/regular_file.h"

#include "image/bmp_reader.h"
#include "image/dib_bitmap.h"
#include "image/image_decoder.h"
#include "image/jpeg_decoder.h"
#include "image/orientation.h"
#include "image/zip_archive.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "res/file_types.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace {

// Width the image decoder aims at: 320 pixels in view mode, 40 for thumbnails.
constexpr int kDecoderTargetWidth = 320;
constexpr int kDecoderFirstScale = 20;
constexpr int kDecoderMaxWidth = 1600;
constexpr int kDecoderMaxHeight = 1200;

// The full bitmap is replaced only once a new one exists, so a failed load
// leaves it as it was. The display bitmap derives from it and goes with it.
void ReplaceFullBitmap(CPicture& picture, HBITMAP bitmap)
{
    picture.FreePicture();
    picture.m_fullBitmap = bitmap;
}

// A holder about to be refilled must not take the current full bitmap with
// it: that bitmap is handed over to the picture's own slot instead.
void KeepPictureOutOf(CPicture& picture, CDibBitmap* holder)
{
    if (holder && holder->m_handle && holder->m_handle == picture.m_fullBitmap)
        holder->Detach();
}

// Replaces the decoded bitmap by its upright copy and swaps the recorded
// sides for a quarter turn. A picture whose copy cannot be made is not shown
// on its side: the load fails for lack of memory.
CImageLoader::Outcome TurnUpright(CPicture& picture, int orientation)
{
    HBITMAP upright = UprightBitmap(picture.m_fullBitmap, orientation);
    if (!upright)
        return CImageLoader::Outcome::kNoMemory;
    ReplaceFullBitmap(picture, upright);
    if (OrientationSwapsSides(orientation))
        std::swap(picture.m_width, picture.m_height);
    return CImageLoader::Outcome::kLoaded;
}

void RecordBitmapFacts(CPicture& picture, HBITMAP bitmap, const QString& typeName)
{
    BITMAP info;
    GetObject(bitmap, &info);
    picture.m_width = info.bmWidth;
    picture.m_height = info.bmHeight;
    picture.m_bitsPerPixel = info.bmPlanes * info.bmBitsPixel;
    picture.m_typeName = typeName;
}

// Whether a decode succeeded; a failure is shown unless the decoder said why
// already, or it lacked memory and the caller takes that on (noMemory).
bool Succeeded(CImageLoader::Outcome outcome, const QString& shownPath, bool* noMemory)
{
    switch (outcome) {
    case CImageLoader::Outcome::kLoaded:
        return true;
    case CImageLoader::Outcome::kReported:
        return false;
    case CImageLoader::Outcome::kNoMemory:
        if (noMemory) {
            *noMemory = true;
            return false;
        }
        break;
    case CImageLoader::Outcome::kFailed:
        break;
    }
    ShowFailure(QStringLiteral("Cannot load %1"), shownPath);
    return false;
}

// A JPEG from memory or from a host file; *opened (when given) is false when
// the file could not be opened.
JpegStatus DecodeJpegSource(const CImageLoader::PictureSource& source, const JpegRequest& request, JpegImage* image,
                            bool* opened = nullptr)
{
    if (source.data)
        return DecodeJpegMemory(source.data, source.size, request, image);
    QFile file;
    const bool open = RegularFile::Open(file, source.hostPath);
    if (opened)
        *opened = open;
    if (!open)
        return JpegStatus::kFailed;
    // Read whole, never mapped: a file cut short by another program while
    // it is decoded gives a short buffer (libjpeg ends it as a truncated
    // file), not a fault on a page past its end. Very large files stream.
    constexpr qint64 kReadWholeLimit = qint64(64) << 20;
    if (file.size() > 0 && file.size() <= kReadWholeLimit) {
        const QByteArray bytes = file.readAll();
        return DecodeJpegMemory(reinterpret_cast<const uchar*>(bytes.constData()), size_t(bytes.size()), request,
                                image);
    }
    FILE* stream = fdopen(dup(file.handle()), "rb");
    const JpegStatus status = DecodeJpegFile(stream, request, image);
    if (stream)
        std::fclose(stream);
    return status;
}

// The stored part of a BMP, reduced to width x height (24 bits).
HBITMAP BmpRegion(const CImageLoader::PictureSource& source, const CPixelRect& part, int width, int height)
{
    HBITMAP whole = source.data ? DecodeBmp(source.data, source.size) : SHLoadDIBitmap(source.hostPath);
    HBITMAP out = whole ? CreateBitmap(width, height, 1, 24, nullptr) : nullptr;
    const CPixelRect inside = part.ClippedTo(whole ? whole->Width() : 0, whole ? whole->Height() : 0);
    if (out
        && (inside != part || !StretchBlt(out, 0, 0, width, height, whole, part.x, part.y, part.width, part.height))) {
        DeleteObject(out);
        out = nullptr;
    }
    DeleteObject(whole);
    return out;
}

// The stored part of a picture at 1 / scale, as stored; null when it cannot be had.
HBITMAP DecodeStoredRegion(const CImageLoader::PictureSource& source, int kind, const CPixelRect& part, int scale)
{
    const int width = std::max(1, part.width / scale), height = std::max(1, part.height / scale);
    if (kind == CImageLoader::kKindBmp)
        return BmpRegion(source, part, width, height);
    if (kind == CImageLoader::kKindJpeg) {
        JpegRequest request;
        request.chooseScale = [scale](int, int, int) { return scale; };
        request.decodeGrayscale = true;
        request.toBitmap = true;
        request.region = part;
        JpegImage image;
        return DecodeJpegSource(source, request, &image) == JpegStatus::kDecoded ? image.TakeBitmap() : nullptr;
    }
    DecompressImageInfo info;
    info.path = source.hostPath;
    info.data = source.data;
    info.size = source.size;
    info.iScale = 100;
    info.iMaxWidth = width;
    info.iMaxHeight = height;
    info.region = part;
    HBITMAP bitmap = nullptr;
    info.phBM = &bitmap;
    return DecompressImageIndirect(&info) == 0 ? bitmap : nullptr;
}

}  // namespace

HBITMAP CImageLoader::LoadRegion(const CPictureFile& file, const CPictureRegion& region, int orientation, int width,
                                 int height) const
{
    const int kind = ClassifyExtension(file.path);
    const CPixelRect upright = region.rect.ClippedTo(width, height);
    if (kind == kKindNone || upright.Empty()
        || (region.scale != 1 && region.scale != 2 && region.scale != 4 && region.scale != 8))
        return nullptr;
    const bool swapped = OrientationSwapsSides(orientation);
    const CPixelRect part = StoredRect(upright, orientation, swapped ? height : width, swapped ? width : height);
    QByteArray bytes;
    PictureSource source;
    if (IsArchiveMember(file)) {
        CZipMemberInfo member;
        if (FindZipMember(file.source, file.path, &member, &bytes, file.memberPosition) != ZipFindResult::Found)
            return nullptr;
        source.data = reinterpret_cast<const uint8_t*>(bytes.constData());
        source.size = size_t(bytes.size());
    } else {
        source.hostPath = DevicePath::ToHost(file.path);
    }
    HBITMAP stored = DecodeStoredRegion(source, kind, part, region.scale);
    if (!stored || orientation == kOrientationAsStored)
        return stored;
    HBITMAP turned = UprightBitmap(stored, orientation);
    DeleteObject(stored);
    return turned;
}

int CImageLoader::ClassifyExtension(const QString& name)
{
    // The decoder of each picture type of res/file_types.txt.
    const FileTypeDef* type = FileTypes::PictureOf(name);
    if (!type)
        return kKindNone;
    switch (type->type) {
    case FileType::Bmp:
        return kKindBmp;
    case FileType::Jpeg:
        return kKindJpeg;
    case FileType::Gif:
        return kKindGif;
    case FileType::Png:
        return kKindPng;
    default:
        return kKindNone;
    }
}

int CImageLoader::JpegScaleDenominator(int mode, int width, int height)
{
    if (mode == kModeThumbnail) {
        if (width <= 40 || height <= 30)
            return 1;
        if (width <= 80 || height <= 60)
            return 2;
        return (width > 160 && height > 120) ? 8 : 4;
    }
    if (width >= 1280 && height >= 960)
        return 4;
    return (width >= 640 && height >= 480) ? 2 : 1;
}

bool CImageLoader::IsArchiveMember(const CPictureFile& file)
{
    // Plain files carry full device paths; members carry names inside the archive.
    return FileTypes::IsOfKind(file.source, FileKind::Archive) && !file.path.startsWith(QLatin1Char('\\'));
}

int CImageLoader::ReadFileInfo(CPicture& picture, const QString& path)
{
    const QString hostPath = DevicePath::ToHost(path);
    QFile file;
    if (!RegularFile::Open(file, hostPath))
        return 0;
    picture.m_fileSize = uint32_t(uint64_t(file.size()));
    picture.m_modified = CTime::FromFileModified(hostPath);
    return 1;
}

int CImageLoader::LoadPicture(CPicture& picture, const CPictureFile& file, int mode, bool infoOnly,
                              bool* noMemory) const
{
    if (infoOnly) {
        ReadFileInfo(picture, file.path);
        return 1;
    }
    const Outcome outcome = Decode(picture, {DevicePath::ToHost(file.path)}, file.path, mode, false);
    if (!Succeeded(outcome, file.path, noMemory))
        return 0;
    ReadFileInfo(picture, file.path);
    return 1;
}

CImageLoader::Outcome CImageLoader::Decode(CPicture& picture, const PictureSource& source, const QString& shownPath,
                                           int mode, bool archiveMember) const
{
    Outcome outcome = Outcome::kLoaded;
    int orientation = kOrientationAsStored;
    const int kind = ClassifyExtension(shownPath);
    const QString typeName
        = kind == kKindNone ? QString() : QString::fromLatin1(FileTypes::PictureOf(shownPath)->pictureType);
    switch (kind) {
    case kKindBmp:
        outcome = LoadBmp(picture, source, typeName, archiveMember);
        break;
    case kKindJpeg:
        outcome = LoadJpeg(picture, source, shownPath, typeName, mode, archiveMember, &orientation);
        break;
    case kKindGif:
    case kKindPng:
        // Archive members are always decoded as for the view.
        outcome = LoadWithImageDecoder(picture, source, archiveMember ? kModeView : mode, typeName, &orientation);
        break;
    default:
        break;
    }
    // The setting is read only for a picture that is not upright as stored.
    picture.m_orientation = kOrientationAsStored;
    if (outcome == Outcome::kLoaded && orientation != kOrientationAsStored && ExifOrientationEnabled()) {
        outcome = TurnUpright(picture, orientation);
        picture.m_orientation = orientation;
    }
    // A failed decode stays a failure even when the picture still holds an
    // older bitmap; the view shows 24-bit pictures only.
    if (outcome == Outcome::kLoaded && mode == kModeView) {
        bool noMemory = false;
        if (!ExpandTo24Bit(picture, &noMemory))
            outcome = noMemory ? Outcome::kNoMemory : Outcome::kFailed;
    }
    return outcome;
}

CImageLoader::Outcome CImageLoader::LoadBmp(CPicture& picture, const PictureSource& source, const QString& typeName,
                                            bool archiveMember) const
{
    bool noMemory = false;
    HBITMAP bitmap
        = source.data ? DecodeBmp(source.data, source.size, &noMemory) : SHLoadDIBitmap(source.hostPath, &noMemory);
    if (!bitmap)
        return noMemory ? Outcome::kNoMemory : Outcome::kFailed;
    // A member is shown as decoded; a large plain file is shrunk first. The
    // picture keeps the file's own size, the depth it is shown at.
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    if (!archiveMember) {
        KeepPictureOutOf(picture, picture.m_shrinkCopy);
        if (HBITMAP smaller = ShrinkLargeBmp(picture, bitmap)) {
            DeleteObject(bitmap);
            bitmap = smaller;
        }
    }
    RecordBitmapFacts(picture, bitmap, typeName);
    picture.m_width = width;
    picture.m_height = height;
    ReplaceFullBitmap(picture, bitmap);
    return Outcome::kLoaded;
}

HBITMAP CImageLoader::ShrinkLargeBmp(CPicture& picture, HBITMAP bitmap)
{
    BITMAP info;
    if (!GetObject(bitmap, &info))
        return nullptr;
    const int w = info.bmWidth;
    const int h = info.bmHeight;
    if (w <= 240 || h <= 320)
        return nullptr;
    const int divisor = (w >= 1600 && h >= 1200) ? 4 : (w >= 800 && h >= 600) ? 2 : 1;
    picture.m_shrinkCopy->StretchFrom(bitmap, w / divisor, h / divisor);
    return picture.m_shrinkCopy->m_handle;
}

int CImageLoader::ExpandTo24Bit(CPicture& picture, bool* noMemory)
{
    HBITMAP decoded = picture.m_fullBitmap;
    BITMAP info;
    if (!GetObject(decoded, &info))
        return 0;
    // 32-bit pictures are converted too: the canvas reads three bytes a pixel.
    if (info.bmPlanes * info.bmBitsPixel == 24)
        return 1;
    if (!picture.m_converted)
        picture.m_converted = new CDibBitmap;
    picture.m_converted->CopyFrom(decoded);
    if (!picture.m_converted->m_handle) {
        // The decoded bitmap stays the picture's; only the copy's memory was missing.
        if (noMemory)
            *noMemory = true;
        return 0;
    }
    picture.m_fullBitmap = picture.m_converted->m_handle;
    if (picture.m_displayBitmap == decoded)
        picture.m_displayBitmap = nullptr;
    picture.ReleaseBitmap(decoded);
    return picture.m_fullBitmap ? 1 : 0;
}

CImageLoader::Outcome CImageLoader::LoadJpeg(CPicture& picture, const PictureSource& source, const QString& shownPath,
                                             const QString& typeName, int mode, bool archiveMember,
                                             int* orientation) const
{
    // Archive members are always reduced as for the view.
    const int tableMode = archiveMember ? kModeView : mode;
    JpegRequest request;
    // The table is read with the sides the picture is shown with.
    request.chooseScale = [tableMode](int width, int height, int orientation) {
        if (OrientationSwapsSides(orientation) && ExifOrientationEnabled())
            std::swap(width, height);
        return CImageLoader::JpegScaleDenominator(tableMode, width, height);
    };
    request.toBitmap = true;
    JpegImage image;
    bool opened = true;
    const JpegStatus status = DecodeJpegSource(source, request, &image, &opened);
    if (!opened) {
        ShowFailure(QStringLiteral("Can't open file '%1'"), shownPath);
        return Outcome::kReported;
    }
    if (status == JpegStatus::kGrayscale) {
        const Outcome outcome = LoadWithImageDecoder(picture, source, tableMode, typeName, orientation);
        *orientation = image.orientation;
        return outcome;
    }
    if (status == JpegStatus::kNoMemory)
        return Outcome::kNoMemory;
    if (status != JpegStatus::kDecoded || !image.bitmap)
        return Outcome::kFailed;
    // The size of the file's frame, whatever the scale it was decoded at.
    picture.m_width = image.imageWidth;
    picture.m_height = image.imageHeight;
    picture.m_bitsPerPixel = image.outputComponents * 8;
    picture.m_typeName = typeName;
    ReplaceFullBitmap(picture, image.TakeBitmap());
    *orientation = image.orientation;
    return Outcome::kLoaded;
}

CImageLoader::Outcome CImageLoader::LoadWithImageDecoder(CPicture& picture, const PictureSource& source, int mode,
                                                         const QString& typeName, int* orientation) const
{
    const int target = kDecoderTargetWidth / mode;
    DecompressImageInfo info;
    info.path = source.hostPath;
    info.data = source.data;
    info.size = source.size;
    info.iScale = kDecoderFirstScale;
    info.iMaxWidth = kDecoderMaxWidth;
    info.iMaxHeight = kDecoderMaxHeight;
    auto fail = [&] { return info.status == DecodeStatus::OutOfMemory ? Outcome::kNoMemory : Outcome::kFailed; };
    // The first pass only learns the picture's own size from its header.
    info.headerOnly = true;
    if (DecompressImageIndirect(&info) != 0 || info.fullWidth < 1 || info.fullHeight < 1)
        return fail();
    const int fullWidth = info.fullWidth;
    const int fullHeight = info.fullHeight;

    HBITMAP bitmap = nullptr;
    // The reduction aims at the width the picture is shown with.
    const int shownWidth = OrientationSwapsSides(info.orientation) && ExifOrientationEnabled() ? fullHeight : fullWidth;
    info.iScale = shownWidth >= target ? target * 100 / shownWidth : 100;
    info.headerOnly = false;
    info.phBM = &bitmap;
    if (DecompressImageIndirect(&info) != 0 || !bitmap)
        return fail();
    RecordBitmapFacts(picture, bitmap, typeName);
    picture.m_width = fullWidth;
    picture.m_height = fullHeight;
    ReplaceFullBitmap(picture, bitmap);
    *orientation = info.orientation;
    return Outcome::kLoaded;
}

int CImageLoader::LoadZipMember(CPicture& picture, const CPictureFile& file, int mode, bool infoOnly) const
{
    CZipMemberInfo member;
    QByteArray bytes;
    const ZipFindResult found
        = FindZipMember(file.source, file.path, &member, infoOnly ? nullptr : &bytes, file.memberPosition);
    if (found == ZipFindResult::Found) {
        picture.m_fileSize = uint32_t(member.size);
        picture.m_modified = member.modified;
    }
    if (infoOnly)
        return found == ZipFindResult::Failed ? 0 : 1;
    if (found != ZipFindResult::Found)
        return 0;

    const PictureSource source {QString(), reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
    const Outcome outcome = Decode(picture, source, file.path, mode, true);
    return Succeeded(outcome, file.path, nullptr) && picture.m_fullBitmap ? 1 : 0;
}

int CImageLoader::LoadViewAndThumbnail(CPicture& picture, const CPictureFile& file) const
{
    const int result = IsArchiveMember(file) ? LoadZipMember(picture, file, kModeView, false)
                                             : LoadPicture(picture, file, kModeView, false);
    if (result)
        MakeThumbnail(picture, true);
    return result;
}

int CImageLoader::LoadThumbnail(CPicture& picture, const CPictureFile& file) const
{
    // The load runs on a scratch picture, so the picture's own bitmaps and
    // holders are never touched while the thumbnail is made.
    CPicture scratch;
    const int result = IsArchiveMember(file) ? LoadZipMember(scratch, file, kModeThumbnail, false)
                                             : LoadPicture(scratch, file, kModeThumbnail, false);
    if (!result)
        return 0;
    picture.m_width = scratch.m_width;
    picture.m_height = scratch.m_height;
    picture.m_bitsPerPixel = scratch.m_bitsPerPixel;
    picture.m_typeName = scratch.m_typeName;
    picture.m_fileSize = scratch.m_fileSize;
    picture.m_modified = scratch.m_modified;
    if (scratch.m_fullBitmap && MakeThumbnail(scratch)) {
        picture.ReleaseBitmap(picture.m_thumbnail);
        picture.m_thumbnail = scratch.m_thumbnail;
        scratch.m_thumbnail = nullptr;
    }
    return result;
}
