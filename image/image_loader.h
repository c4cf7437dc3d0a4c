// CImageLoader: turns one picture file into pixels. It picks the decoder by
// the name's picture type (BMP reader, libjpeg, the image decoder for GIF, PNG
// and grayscale JPEG), decodes at a reduction chosen from the picture's size
// and the purpose of the load, turns it upright by its Exif orientation
// (orientation.h), and records the picture's type, upright size, depth, file
// size and time in its CPicture. Archive members are decoded from their
// bytes in memory: no file is written for them.
//
// Thread contract: the loader keeps no state; the load mode travels with each
// call, so loads may run on several threads at once as long as no picture is
// loaded on two threads at the same time. Paths are device paths.
#pragma once

#include "image/picture.h"

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

    // A plain file (file.path). With infoOnly, only the file facts are read.
    // A failed decode is shown ("Cannot load %s", or "Can't open file '%s'"
    // for a JPEG that cannot be opened), except that with noMemory given a
    // failure for lack of memory only sets *noMemory: the caller may free
    // other pictures and try again.
    int LoadPicture(CPicture& picture, const CPictureFile& file, int mode, bool infoOnly,
                    bool* noMemory = nullptr) const;
    // A member (file.path) of the archive named by file.source.
    int LoadZipMember(CPicture& picture, const CPictureFile& file, int mode, bool infoOnly) const;
    // Decodes in thumbnail mode into the picture's 42 x 30 thumbnail; its
    // decoded picture, if any, is left as it was.
    int LoadThumbnail(CPicture& picture, const CPictureFile& file) const;
    // Decodes for the view, as LoadCurrentPicture would, and makes the
    // thumbnail from that bitmap: the picture keeps both (one decode for a
    // picture about to be shown).
    int LoadViewAndThumbnail(CPicture& picture, const CPictureFile& file) const;
    // Only a region of a picture (its upright pixels) at 1 / region.scale
    // (1, 2, 4 or 8), for a picture of width x height upright pixels turned
    // upright by orientation: a 24-bit upright bitmap of the region clipped
    // to the picture, or null. A failure shows nothing: the caller still has
    // the picture as it was decoded.
    HBITMAP LoadRegion(const CPictureFile& file, const CPictureRegion& region, int orientation, int width,
                       int height) const;
    // File size and modification time of a plain file; 0 when it can't be opened.
    static int ReadFileInfo(CPicture& picture, const QString& path);

    // How one decoder ended. kReported: failed, and the decoder said why.
    enum class Outcome { kLoaded, kFailed, kNoMemory, kReported };
    // The bytes of one picture: a host file, or (data not null) bytes in memory.
    struct PictureSource {
        QString hostPath;
        const uint8_t* data = nullptr;
        size_t size = 0;
    };
    // The single decoders; shownPath is the name used in messages, typeName
    // the picture type the picture records (res/file_types.txt). The JPEG and
    // image decoder ones leave the bitmap as stored and set *orientation to
    // the Exif orientation the file records.
    Outcome LoadBmp(CPicture& picture, const PictureSource& source, const QString& typeName, bool archiveMember) const;
    Outcome LoadJpeg(CPicture& picture, const PictureSource& source, const QString& shownPath, const QString& typeName,
                     int mode, bool archiveMember, int* orientation) const;
    Outcome LoadWithImageDecoder(CPicture& picture, const PictureSource& source, int mode, const QString& typeName,
                                 int* orientation) const;
    // Decodes source by the kind of shownPath's extension; a kind-0 name
    // decodes nothing and counts as loaded. Every decode ends here: the
    // bitmap is turned upright by its Exif orientation (unless the setting
    // "Exif Orientation" is 0) and the recorded width and height are the
    // upright ones.
    Outcome Decode(CPicture& picture, const PictureSource& source, const QString& shownPath, int mode,
                   bool archiveMember) const;

    // The DCT scale denominator for a JPEG of the given size in a load mode.
    static int JpegScaleDenominator(int mode, int width, int height);
    // The shrunken 24-bit copy of a large BMP made in the picture's shrink
    // copy holder, or null when the picture is small enough as it is.
    static HBITMAP ShrinkLargeBmp(CPicture& picture, HBITMAP bitmap);
    // Makes the picture's full bitmap a 24-bit one; 0 when it has none (or the
    // copy could not be made: then *noMemory is set).
    static int ExpandTo24Bit(CPicture& picture, bool* noMemory = nullptr);

    // True when the file is a member of a ZIP archive (its source names one).
    static bool IsArchiveMember(const CPictureFile& file);
};
