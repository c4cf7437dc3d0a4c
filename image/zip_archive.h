// ZIP archive access for catalog building and the image loader: listing the
// picture members of an archive, and finding one member again, optionally
// copied out to a temporary file for decoding.
//
// Archives are named by their device path ("\My Documents\pics.zip"), as an
// item's source holds it; it is mapped to the host here and shown as given in
// messages. Device paths longer than 255 characters are refused like an
// archive that cannot be opened. Member names are the decoded texts of
// zip_name.h; a name the listing yields finds its member again (letter case
// aside). Members whose stored name is longer than 255 bytes are neither
// listed nor found; the listing says "Cannot load " + name for such a picture.
//
// Every failure the user must see is shown here with ShowMessage; the caller
// adds none of its own for these. Safe to call from any thread: each call
// opens its own handle. Nothing is ever written into an archive.
#pragma once

#include "image/zip_reader.h"
#include "image/zip_temp_copy.h"

#include <QString>
#include <functional>

// True when the last four characters of name are ".bmp", ".jpg", ".gif" or
// ".png", letter case aside.
bool IsZipPictureName(const QString& name);

// Calls onPicture for every picture member in archive order, until it returns
// false (a stopped build). Returns 1 when the archive was opened (also when it
// holds no picture); 0 after showing "Can't open ZIP file for thumbnail: " +
// archivePath.
int ListZipPictures(const QString& archivePath, const std::function<bool(const CZipMemberInfo&)>& onPicture);

enum class ZipFindResult {
    Found, // *info describes the member; *copy holds its bytes when asked
    NotFound, // no picture member has that name; nothing shown
    Failed, // the archive, the temporary file or the member's data failed; shown
};

// Walks the archive for the first picture member whose name equals memberName
// letter case aside. Every member met on the way is opened, and one that
// cannot be (encrypted, a method other than stored or deflated, damaged) is
// reported with "Can't open file: " + its name, the walk going on.
//
// With copy null only the directory entry is wanted: *info is filled and the
// member's data is not read. Otherwise the member is copied into a new
// temporary file held by *copy (see CZipTempCopy), read to its end under
// kZipMemberByteCap and checked against its CRC-32; the caller decodes
// copy->HostPath() and lets *copy go, which deletes the file.
//
// Messages: "Can't open ZIP file: " + archivePath when the archive cannot be
// opened; "Can't open file: " + path when no temporary file can be created
// (the walk goes on, the result is Failed); "Cannot load " + member name when
// the member's data cannot be read, fails its checksum or exceeds the cap.
ZipFindResult FindZipMember(
    const QString& archivePath, const QString& memberName, CZipMemberInfo* info, CZipTempCopy* copy);
