// Album files: the catalog's pictures with their memos as UTF-16LE records.
//
// The file holds no byte-order mark and no terminating zero. It opens with the
// record mark U+0008; every record is the picture's path, the path mark U+001B,
// the memo text, and a closing U+0008. An empty catalog is an empty file.
// A member of a ZIP archive is written as the archive's path, "" and the
// member name, so it can be found again; a bare member name, as older albums
// hold it, still reads as a plain path.
// The catalog's SaveAlbum and LoadAlbum (album_file.cpp) build on these helpers.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class CImageItem;

namespace AlbumFile {

constexpr char16_t kRecordMark = u'\x0008';
constexpr char16_t kPathMark = u'\x001B';

// Where the save dialog proposes to put albums, and the name it proposes.
QString DefaultFolder();
QString DefaultName();
// Creates DefaultFolder() when it does not exist; returns false when it is
// still missing afterwards (the caller goes on regardless).
bool EnsureDefaultFolder();

// The memo text written for an entry: its memo with the colour always "#FFFFFF".
QString RecordMemoText(const CImageItem& item);
// The path a record gives an entry: its own path, or for an archive member
// the archive's path, "\" and the member name.
QString RecordPath(const CImageItem& item);
// Whether a record's path names a member of an archive: the archive is the
// path up to the first ".zip" (letter case ignored) followed by "\" that is
// not a folder, the member the rest. False for a plain path.
bool SplitArchiveMember(const QString& path, QString* archive, QString* member);

// Whether an entry can be written without breaking the record structure: its
// record path must not hold a mark or a zero, which would end the record early.
bool CanWrite(const CImageItem& item);

// The bytes of an album of the given entries, in order. Entries that cannot be
// written are left out; no entry gives an empty array.
QByteArray Encode(const std::vector<CImageItem*>& items);

// One record read back: the path and the memo text between the marks.
struct CRecord {
    QString path;
    QString memoText;
};

// Splits album bytes into records. A lone last byte is ignored and the text
// ends at the first U+0000. Records are cut at U+0008 first, so a record that
// lacks its path mark is skipped without disturbing its neighbours, and a
// last record without its closing mark runs to the end of the text. A record
// whose path is empty is skipped as well.
std::vector<CRecord> Decode(const QByteArray& bytes);

}  // namespace AlbumFile
