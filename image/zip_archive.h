// ZIP archive access for catalog building and the image loader: listing the
// picture members of an archive, and finding one member again, optionally
// with its bytes read into memory for decoding (no file is ever written).
//
// Archives are named by their device path ("\My Documents\pics.zip"), as an
// item's source holds it; it is mapped to the host here and shown as given in
// messages. Device paths longer than 255 characters are refused like an
// archive that cannot be opened. Member names are the decoded texts of
// zip_name.h; a name the listing yields finds its member again (letter case
// aside). Members whose stored name is longer than 255 bytes are neither
// listed nor found; the listing says "Cannot load " + name for such a picture.
//
// Every failure the user must see is shown here with ShowFailure; the caller
// adds none of its own for these. Safe to call from any thread: each call
// opens its own handle (a find made inside a listing's callback shares the
// listing's, on that thread). Nothing is ever written into an archive.
#pragma once

#include "image/zip_reader.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>

// Calls onPicture for every picture member in archive order, until it returns
// false (a stopped build). The archive is walked once. A member whose name
// (letter case aside) came before is handed on with the facts and position
// of the first member of that name, which finding the name gives. A picture
// whose name is too long to be found again is not handed on: onUnlisted is
// told its name when given (a build that shows it in its entries' order),
// else "Cannot load " + name is shown. Returns 1 when the archive was opened
// (also when it holds no picture); 0 after showing "Can't open ZIP file for
// thumbnail: " + archivePath.
int ListZipPictures(const QString& archivePath, const std::function<bool(const CZipMemberInfo&)>& onPicture,
                    const std::function<void(const QString& name)>& onUnlisted = {});
// What ListZipPictures shows for a picture it does not list.
void ShowUnlistedZipPicture(const QString& name);

// The key of a member name in an index: the name folded to one letter case.
QString ZipNameKey(const QString& name);

// Adds where each picture member of the archive lies to *index, by ZipNameKey
// (the first member of a name), in one walk; nothing is shown. False when the
// archive cannot be opened. Members named by something other than a listing
// (an album's records) are reached by these positions.
bool IndexZipPictures(const QString& archivePath, QHash<QString, CZipMemberPos>* index);

enum class ZipFindResult {
    Found,     // *info describes the member; *bytes holds its data when asked
    NotFound,  // no picture member of that name could be opened; nothing else shown
    Failed,    // the archive or the member's data failed; shown
};

// Finds the first picture member whose name equals memberName letter case
// aside. When position (from the listing) still holds that member it is read
// from there directly: no other member is touched, and when called from
// ListZipPictures's onPicture for the same archive on the same thread, the
// listing's open archive is used instead of opening it again. Otherwise the archive is walked from its first member,
// every member met on the way is opened, and one that cannot be (encrypted, a method other than stored or deflated,
// damaged) is reported with "Can't open file: " + its name, the walk going on; the wanted member itself is reported the
// same way and then counts as not found.
//
// With bytes null only the directory entry is wanted: *info is filled and the
// member's data is not read. Otherwise the member is read into *bytes to its
// end under kZipMemberByteCap and checked against its CRC-32; nothing is
// written anywhere, so nothing is left behind however the load ends.
//
// Messages: "Can't open ZIP file: " + archivePath when the archive cannot be
// opened; "Cannot load " + member name when the member's data cannot be read,
// fails its checksum or exceeds the cap.
ZipFindResult FindZipMember(const QString& archivePath, const QString& memberName, CZipMemberInfo* info,
                            QByteArray* bytes, const CZipMemberPos& position = {});

// A member found and read on one thread (the one listing its archive) to be
// decoded on another: the constructor finds it as FindZipMember does, bytes
// and all, showing what that shows. While a CZipLentMember scope of it stands
// on a thread, FindZipMember there answers for that archive and member name
// from what was read, and shows nothing.
struct CZipReadMember {
    CZipReadMember(const QString& archivePath, const QString& memberName, const CZipMemberPos& position);

    QString archivePath;
    QString memberName;
    CZipMemberInfo info;
    QByteArray bytes;
    ZipFindResult result;  // after info and bytes, which the find fills
};

class CZipLentMember {
public:
    explicit CZipLentMember(const CZipReadMember& read);
    ~CZipLentMember();
    CZipLentMember(const CZipLentMember&) = delete;
    CZipLentMember& operator=(const CZipLentMember&) = delete;

private:
    const CZipReadMember* m_outer;
};
