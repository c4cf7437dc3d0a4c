// CImageLoader: turns one catalog entry into pixels. It picks the decoder by
// the name's extension (BMP reader, libjpeg, the image decoder for GIF, PNG and
// grayscale JPEG), decodes at a reduction chosen from the picture's size and
// the purpose of the load, and records the picture's kind, size, depth, file
// size and time in the item. Archive members are decoded from their bytes in
// memory: no file is written for them.
//
// Thread contract: the loader keeps no state; the load mode travels with each
// call, so loads may run on several threads at once as long as no item is
// loaded on two threads at the same time. Paths in items are device paths.
#pragma once

#include "app/image_item.h"

#include <QString>
#include <vector>

class CImageLoader {
public:
    // Load modes: decode for the single-picture view, or for a thumbnail.
    static constexpr int kModeView = 1;
    static constexpr int kModeThumbnail = 8;

    // Picture kinds (the decoder to use) from the picture type of a name.
    static constexpr int kKindNone = 0;
    static constexpr int kKindBmp = 1;
    static constexpr int kKindJpeg = 2;
    static constexpr int kKindGif = 3;
    static constexpr int kKindPng = 4;
    static int ClassifyExtension(const QString& name);

    // A plain file (item path). With infoOnly, only the file facts are read.
    // A failed decode is shown ("Cannot load %s", or "Can't open file '%s'"
    // for a JPEG that cannot be opened), except that with noMemory given a
    // failure for lack of memory only sets *noMemory: the caller may free
    // other pictures and try again.
    int LoadPicture(CImageItem& item, int mode, bool infoOnly, bool* noMemory = nullptr) const;
    // A member (item path) of the archive named by the item's source.
    int LoadZipMember(CImageItem& item, int mode, bool infoOnly) const;
    // Decodes in thumbnail mode into the item's 42 x 30 thumbnail; the item's
    // decoded picture, if any, is left as it was.
    int LoadThumbnail(CImageItem& item) const;
    // File size and modification time of a plain file; 0 when it can't be opened.
    static int ReadFileInfo(CImageItem& item);

    // How one decoder ended. kReported: failed, and the decoder said why.
    enum class Outcome { kLoaded, kFailed, kNoMemory, kReported };
    // The bytes of one picture: a host file, or (data not null) bytes in memory.
    struct PictureSource {
        QString hostPath;
        const uint8_t* data = nullptr;
        size_t size = 0;
    };
    // The single decoders; shownPath is the name used in messages, typeName
    // the picture type the picture records (res/file_types.txt).
    Outcome LoadBmp(CImageItem& item, const PictureSource& source, const QString& typeName, bool archiveMember) const;
    Outcome LoadJpeg(CImageItem& item, const PictureSource& source, const QString& shownPath, const QString& typeName,
                     int mode, bool archiveMember) const;
    Outcome LoadWithImageDecoder(CImageItem& item, const PictureSource& source, int mode,
                                 const QString& typeName) const;
    // Decodes source by the kind of shownPath's extension; a kind-0 name
    // decodes nothing and counts as loaded.
    Outcome Decode(CImageItem& item, const PictureSource& source, const QString& shownPath, int mode,
                   bool archiveMember) const;

    // The DCT scale denominator for a JPEG of the given size in a load mode.
    static int JpegScaleDenominator(int mode, int width, int height);
    // The shrunken 24-bit copy of a large BMP made in the item's shrink copy
    // holder, or null when the picture is small enough as it is.
    static HBITMAP ShrinkLargeBmp(CImageItem& item, HBITMAP bitmap);
    // Makes the item's full bitmap a 24-bit one; 0 when it has none (or the
    // copy could not be made: then *noMemory is set).
    static int ExpandTo24Bit(CImageItem& item, bool* noMemory = nullptr);

    // True when the item is a member of a ZIP archive (its source names one).
    static bool IsArchiveMember(const CImageItem& item);
};

// The cache policy of showing an item: with Quick View on, decoded pictures
// stay in their items; with it off (or when the first decode failed for lack
// of memory) every item's full and display bitmaps are freed before the item
// is decoded. Archive members are decoded alone. One load shows one message
// at most (a CMessageBatch).
int LoadCurrentPicture(const CImageLoader& loader, const std::vector<CImageItem*>& items, CImageItem& item,
                       bool quickView);
