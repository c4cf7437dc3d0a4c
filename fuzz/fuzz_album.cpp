// Album reader: any bytes split into records without reading outside them, and
// the records written back out read again as the same pictures.
#include "app/album_file.h"
#include "app/image_item.h"
#include "image/memo_text.h"

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<AlbumFile::CRecord> records = AlbumFile::Decode(bytes);

    std::vector<std::unique_ptr<CImageItem>> owned;
    std::vector<CImageItem*> items;
    for (const AlbumFile::CRecord& record : records) {
        if (record.path.isEmpty())
            __builtin_trap();
        owned.push_back(std::make_unique<CImageItem>());
        owned.back()->m_path = record.path;
        ParseMemoText(record.memoText, &owned.back()->m_memo);
        items.push_back(owned.back().get());
    }

    const std::vector<AlbumFile::CRecord> again = AlbumFile::Decode(AlbumFile::Encode(items));
    if (again.size() != records.size())
        __builtin_trap();
    for (size_t i = 0; i < again.size(); ++i)
        if (again[i].path != records[i].path)
            __builtin_trap();
    return 0;
}
