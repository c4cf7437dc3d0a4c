#include "app/album_file.h"

#include "app/entry_pool.h"
#include "app/image_catalog.h"
#include "app/image_item.h"
#include "app/save_as.h"
#include "image/image_loader.h"
#include "image/memo_text.h"
#include "image/zip_archive.h"
#include "platform/device_path.h"
#include "platform/file_replacement.h"
#include "platform/message_box.h"
#include "platform/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace AlbumFile {

namespace {

bool IsMark(QChar c)
{
    return c.unicode() == kRecordMark || c.unicode() == kPathMark || c.unicode() == 0;
}

QString WithoutMarks(QString text)
{
    text.removeIf(IsMark);
    return text;
}

void AppendUtf16Le(QByteArray* bytes, const QString& text)
{
    const qsizetype start = bytes->size();
    bytes->resize(start + 2 * text.size());
    char* out = bytes->data() + start;
    for (QChar c : text) {
        *out++ = char(c.unicode() & 0xFF);
        *out++ = char(c.unicode() >> 8);
    }
}

}  // namespace

QString DefaultFolder()
{
    return QStringLiteral("\\My Documents\\Lumo Albums");
}

QString DefaultName()
{
    return DefaultFolder() + QStringLiteral("\\My Album");
}

bool EnsureDefaultFolder()
{
    const QString host = DevicePath::ToHost(DefaultFolder());
    if (QFileInfo(host).isDir())
        return true;
    return QDir().mkpath(host);
}

QString RecordMemoText(const CImageItem& item)
{
    // The writer keeps the record structure intact whatever the user typed:
    // a mark or a zero inside a memo would end the record or the whole text.
    CMemoRecord memo = item.m_memo;
    memo.color = QStringLiteral("#FFFFFF");
    return WithoutMarks(FormatMemoText(memo));
}

QString RecordPath(const CImageItem& item)
{
    if (CImageLoader::IsArchiveMember(item.File()))
        return item.m_source + QLatin1Char('\\') + item.m_path;
    return item.m_path;
}

bool SplitArchiveMember(const QString& path, QString* archive, QString* member)
{
    static const QLatin1StringView kArchiveEnd(".zip\\");
    for (qsizetype at = path.indexOf(kArchiveEnd, 0, Qt::CaseInsensitive); at >= 0;
         at = path.indexOf(kArchiveEnd, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + kArchiveEnd.size();
        const QString prefix = path.left(end - 1);
        // An archive's name is longer than its ending, and a folder named
        // like an archive is part of a plain path.
        if (at == 0 || end == path.size()
            || RegularFile::KindOf(DevicePath::ToHost(prefix)) == RegularFile::Kind::Folder)
            continue;
        *archive = prefix;
        *member = path.mid(end);
        return true;
    }
    return false;
}

bool CanWrite(const CImageItem& item)
{
    if (item.m_path.isEmpty())
        return false;
    const QString path = RecordPath(item);
    return !std::any_of(path.begin(), path.end(), IsMark);
}

QByteArray Encode(const std::vector<CImageItem*>& items)
{
    QByteArray bytes;
    QString text;
    for (const CImageItem* item : items) {
        if (!item || !CanWrite(*item))
            continue;
        if (text.isEmpty())
            text += QChar(kRecordMark);
        text += RecordPath(*item);
        text += QChar(kPathMark);
        text += RecordMemoText(*item);
        text += QChar(kRecordMark);
    }
    AppendUtf16Le(&bytes, text);
    return bytes;
}

std::vector<CRecord> Decode(const QByteArray& bytes)
{
    const qsizetype units = bytes.size() / 2;
    QString text(units, Qt::Uninitialized);
    const auto* in = reinterpret_cast<const uchar*>(bytes.constData());
    for (qsizetype i = 0; i < units; ++i)
        text[i] = QChar(char16_t(in[2 * i] | (in[2 * i + 1] << 8)));
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);

    std::vector<CRecord> records;
    qsizetype pos = text.startsWith(QChar(kRecordMark)) ? 1 : 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf(QChar(kRecordMark), pos);
        if (end < 0)
            end = text.size();
        const qsizetype mark = text.indexOf(QChar(kPathMark), pos);
        // A record without a path names no picture: it is passed by like
        // any other damaged record, and the records after it still count.
        if (mark > pos && mark < end)
            records.push_back({text.mid(pos, mark - pos), text.mid(mark + 1, end - mark - 1)});
        pos = end + 1;
    }
    return records;
}

}  // namespace AlbumFile

int CImageCatalog::SaveAlbum(const QString& path) const
{
    CFileReplacement file(DevicePath::ToHost(path));
    if (!file.Write(AlbumFile::Encode(GetList())) || !file.Commit()) {
        ShowMessage(QLatin1String(SaveAs::kCouldNotCreate));
        return 0;
    }
    return 1;
}

namespace {

// An album's records take a few hundred bytes each: this holds far more than
// a million of them, and no more is ever read into memory.
constexpr qint64 kMaxAlbumBytes = qint64(256) << 20;

// Reads a whole album; shows why and returns false when it cannot.
bool ReadAlbum(const QString& path, QByteArray* bytes)
{
    const QString host = DevicePath::ToHost(path);
    QFile file;
    QString reason;
    // Only a regular file has an end: a device or pipe named *.lab is refused,
    // and never opened (an open would wait for a writer).
    if (RegularFile::IsOtherKind(host))
        reason = QStringLiteral("not a file");
    else if (!RegularFile::Open(file, host))
        reason = QString::fromLocal8Bit(std::strerror(errno));
    else if (file.size() > kMaxAlbumBytes)
        reason = QStringLiteral("larger than %1 MB, far beyond any album").arg(kMaxAlbumBytes >> 20);
    else {
        *bytes = file.read(kMaxAlbumBytes + 1);
        if (file.error() == QFileDevice::NoError && bytes->size() <= kMaxAlbumBytes)
            return true;
        reason = bytes->size() > kMaxAlbumBytes ? QStringLiteral("it grew while it was read") : file.errorString();
        bytes->clear();
    }
    ShowMessage(QStringLiteral("Cannot read the file %1: %2").arg(path, reason));
    return false;
}

}  // namespace

int CImageCatalog::LoadAlbum(const QString& path, int mode)
{
    QByteArray bytes;
    if (!ReadAlbum(path, &bytes))
        return 0;
    // Each archive the records name is walked once; its members are then
    // reached directly instead of each walking the archive again.
    QHash<QString, QHash<QString, CZipMemberPos>> archives;
    // In thumbnail mode the pictures are decoded ahead on every core.
    CEntryPool pool(*this, mode);
    for (const AlbumFile::CRecord& record : AlbumFile::Decode(bytes)) {
        if (StopRequested())
            return 0;
        auto item = std::make_unique<CImageItem>();
        ParseMemoText(record.memoText, &item->m_memo);
        QString archive, member;
        const bool isMember = AlbumFile::SplitArchiveMember(record.path, &archive, &member);
        if (isMember) {
            item->m_source = archive;
            item->m_album = path;
            auto index = archives.constFind(archive);
            if (index == archives.cend()) {
                QHash<QString, CZipMemberPos> positions;
                IndexZipPictures(archive, &positions);
                index = archives.insert(archive, positions);
            }
            item->m_memberPosition = index->value(ZipNameKey(member));
        }
        // A picture that no longer exists still keeps its place and its memo.
        pool.Add(std::move(item), isMember ? member : record.path, isMember, true);
    }
    pool.Flush();
    return StopRequested() ? 0 : 1;
}
