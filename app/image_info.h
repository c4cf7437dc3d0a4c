// The facts the Image Info dialog shows about one catalog entry, each as the
// text of its field. Pure rules: the dialog only puts them in its controls.
#pragma once

#include <QString>

class CImageItem;
class CTime;

struct CImageInfoTexts {
    QString fileName;
    QString location;
    QString time;
    QString fileSize;
    QString colors;
    QString dimensions;
    QString rotation;
    QString zoom;
    QString brightness;
    QString contrast;
};

namespace ImageInfo {

// Longest location on one line; a longer one breaks after this many characters.
constexpr int kLocationLineLength = 18;

// Every field for the entry. The file name reads as in the file list; the
// size is worked out from the exact byte count, where the list's passes
// through a float.
CImageInfoTexts TextsOf(const CImageItem& item);
// Where the picture comes from: a picture's folder, or the archive, album or
// folder it was gathered from as the source names it; broken into two lines
// when longer than kLocationLineLength.
QString Location(const QString& path, const QString& source);
// As the file list shows it ("2004-3-5 9:7:2"); empty when unknown.
QString Time(const CTime& time);
// "+0", "+90", "+180", "+270"; empty for any other angle.
QString Rotation(int degrees);
// "150 %", "Shrink To Fit" (0), "Shrink To Fill" (below 0).
QString Zoom(int zoom);

}  // namespace ImageInfo
