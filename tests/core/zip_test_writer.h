// A small ZIP writer for tests: every field of every member can be set, so
// tests can build damaged and hostile archives as well as plain ones.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>
#include <zlib.h>

struct TestZipMember {
    TestZipMember(QByteArray n, QByteArray d, uint16_t m = 8, uint16_t f = 0)
        : name(std::move(n))
        , data(std::move(d))
        , method(m)
        , flags(f)
    {
    }

    QByteArray name;
    QByteArray data;
    uint16_t method = 8;  // 0 stored, 8 deflated; anything else is written stored but labelled so
    uint16_t flags = 0;
    uint16_t dosTime = (5 << 11) | (6 << 5) | (8 / 2);       // 05:06:08
    uint16_t dosDate = ((2021 - 1980) << 9) | (3 << 5) | 4;  // 2021-03-04
    std::optional<uint32_t> crc;                             // the real CRC-32 when not set
    std::optional<uint32_t> statedSize;                      // the real size when not set
    std::optional<QByteArray> compressed;                    // the bytes written instead of the packed data
};

inline QByteArray RawDeflate(const QByteArray& data, int flushAt = -1)
{
    z_stream z {};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&z, data.size()) + 64), '\0');
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    auto feed = [&](qsizetype from, qsizetype to, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData() + from));
        z.avail_in = static_cast<uInt>(to - from);
        deflate(&z, flush);
    };
    if (flushAt >= 0) {
        // Ends at a byte boundary after the first part, so a test can append its own block.
        feed(0, flushAt, Z_FULL_FLUSH);
    } else {
        feed(0, data.size(), Z_FINISH);
    }
    out.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    return out;
}

// A deflated member of size zero bytes (a zip bomb: megabytes inflating to
// gigabytes), packed piece by piece so the zeros are never held whole.
inline TestZipMember ZeroBomb(const QByteArray& name, uint32_t size)
{
    TestZipMember bomb(name, QByteArray());
    z_stream z {};
    deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_RLE);
    const QByteArray zeros(1 << 20, '\0');
    QByteArray packed;
    QByteArray out(1 << 16, '\0');
    uLong crc = crc32(0, Z_NULL, 0);
    for (uint32_t left = size; left > 0 || z.avail_in > 0;) {
        if (z.avail_in == 0) {
            const uint32_t step = left < uint32_t(zeros.size()) ? left : uint32_t(zeros.size());
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
            z.avail_in = step;
            crc = crc32(crc, z.next_in, step);
            left -= step;
        }
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        deflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
        packed.append(out.constData(), out.size() - qsizetype(z.avail_out));
    }
    for (int status = Z_OK; status != Z_STREAM_END;) {
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = uInt(out.size());
        status = deflate(&z, Z_FINISH);
        packed.append(out.constData(), out.size() - qsizetype(z.avail_out));
    }
    deflateEnd(&z);
    bomb.compressed = packed;
    bomb.crc = uint32_t(crc);
    bomb.statedSize = size;
    return bomb;
}

inline QByteArray BuildTestZip(const std::vector<TestZipMember>& members, const QByteArray& comment = QByteArray())
{
    QByteArray zip;
    QByteArray directory;
    auto put16 = [](QByteArray& b, uint32_t v) {
        b.append(char(v & 0xFF));
        b.append(char((v >> 8) & 0xFF));
    };
    auto put32 = [&](QByteArray& b, uint32_t v) {
        put16(b, v & 0xFFFF);
        put16(b, v >> 16);
    };
    for (const TestZipMember& m : members) {
        const QByteArray packed = m.compressed ? *m.compressed : (m.method == 8 ? RawDeflate(m.data) : m.data);
        const uint32_t crc = m.crc ? *m.crc
                                   : static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(m.data.constData()),
                                                                 static_cast<uInt>(m.data.size())));
        const uint32_t size = m.statedSize ? *m.statedSize : static_cast<uint32_t>(m.data.size());
        const auto offset = static_cast<uint32_t>(zip.size());
        auto common = [&](QByteArray& b) {
            put16(b, 20);
            put16(b, m.flags);
            put16(b, m.method);
            put16(b, m.dosTime);
            put16(b, m.dosDate);
            put32(b, crc);
            put32(b, static_cast<uint32_t>(packed.size()));
            put32(b, size);
            put16(b, static_cast<uint32_t>(m.name.size()));
            put16(b, 0);
        };
        put32(zip, 0x04034b50);
        common(zip);
        zip.append(m.name);
        zip.append(packed);

        put32(directory, 0x02014b50);
        put16(directory, 20);
        common(directory);
        put16(directory, 0);  // comment
        put16(directory, 0);  // disk
        put16(directory, 0);  // internal attributes
        put32(directory, 0);  // external attributes
        put32(directory, offset);
        directory.append(m.name);
    }
    const auto directoryOffset = static_cast<uint32_t>(zip.size());
    zip.append(directory);
    put32(zip, 0x06054b50);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, static_cast<uint32_t>(members.size()));
    put16(zip, static_cast<uint32_t>(members.size()));
    put32(zip, static_cast<uint32_t>(directory.size()));
    put32(zip, directoryOffset);
    put16(zip, static_cast<uint32_t>(comment.size()));
    zip.append(comment);
    return zip;
}

inline bool WriteTestFile(const QString& hostPath, const QByteArray& bytes)
{
    QFile file(hostPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Bytes that do not compress to nothing, the same in every run.
inline QByteArray TestPayload(int size, uint32_t seed = 1)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = char("abcdefghij \n"[(seed >> 16) % 12]);
    }
    return bytes;
}
