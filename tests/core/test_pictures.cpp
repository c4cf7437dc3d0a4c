#include "test_pictures.h"

#include "platform/message_box.h"

#include <QFile>
#include <cstdlib>
#include <cstring>
#include <map>
#include <spng.h>
#include <zlib.h>

// Little-endian fields of the given sizes in bytes.
template <typename Out> static void PutFields(Out& out, std::initializer_list<std::pair<uint32_t, int>> fields)
{
    for (const auto& [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i)
            out.push_back(typename Out::value_type(value >> (8 * i)));
}

Bytes BuildBmp(const TestBmp& b)
{
    const int entry = b.headerSize == 12 ? 3 : 4;
    const uint32_t offset = 14 + b.headerSize + uint32_t(b.masks.size()) * 4 + uint32_t(b.palette.size()) * entry;
    const auto size = uint32_t(b.pixels.size());
    const int side = b.headerSize == 12 ? 2 : 4;
    Bytes out = {'B', 'M'};
    PutFields(out, {{offset + size, 4}, {0, 4}, {offset, 4}, {uint32_t(b.headerSize), 4}});
    PutFields(out,
              {{uint32_t(b.width), side}, {uint32_t(b.height), side}, {uint32_t(b.planes), 2}, {uint32_t(b.bpp), 2}});
    if (b.headerSize != 12) {
        PutFields(out, {{b.compression, 4}, {size, 4}, {2835, 4}, {2835, 4}, {b.colorsUsed, 4}, {0, 4}});
        out.resize(out.size() + size_t(b.headerSize - 40), 0);
    }
    for (uint32_t m : b.masks)
        PutFields(out, {{m, 4}});
    for (uint32_t c : b.palette)
        PutFields(out, {{c & 0xFFFFFF, entry}});
    out.insert(out.end(), b.pixels.begin(), b.pixels.end());
    return out;
}

TestBmp SolidBmp(int width, int height, int bpp, uint8_t red, uint8_t green, uint8_t blue)
{
    TestBmp b {width, height, bpp};
    const int stride = (width * bpp + 31) / 32 * 4;
    b.pixels.assign(size_t(stride) * height, 0);
    if (bpp == 8)
        b.palette = {uint32_t(red) << 16 | uint32_t(green) << 8 | blue};
    b.colorsUsed = uint32_t(b.palette.size());
    for (int i = 0; bpp > 8 && i < width * height; ++i) {
        uint8_t* p = &b.pixels[size_t(i / width) * stride + size_t(i % width) * (bpp / 8)];
        p[0] = blue, p[1] = green, p[2] = red;
    }
    return b;
}

Bytes MakePng(const PngLayout& layout)
{
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr = {
        uint32_t(layout.width),    uint32_t(layout.height), uint8_t(layout.bitDepth), uint8_t(layout.colorType), 0, 0,
        uint8_t(layout.interlaced)};
    spng_set_ihdr(ctx, &ihdr);
    if (!layout.palette.empty()) {
        spng_plte plte = {};
        plte.n_entries = uint32_t(layout.palette.size() / 3);
        for (uint32_t i = 0; i < plte.n_entries; ++i)
            plte.entries[i] = {layout.palette[i * 3], layout.palette[i * 3 + 1], layout.palette[i * 3 + 2], 0};
        spng_set_plte(ctx, &plte);
    }
    spng_trns trns
        = {uint16_t(layout.transparentGray),   uint16_t(layout.transparentRgb[0]),   uint16_t(layout.transparentRgb[1]),
           uint16_t(layout.transparentRgb[2]), uint32_t(layout.paletteAlpha.size()), {}};
    std::copy(layout.paletteAlpha.begin(), layout.paletteAlpha.end(), trns.type3_alpha);
    if (!layout.paletteAlpha.empty() || layout.transparentGray >= 0 || layout.transparentRgb[0] >= 0)
        spng_set_trns(ctx, &trns);
    spng_exif exif = {layout.exif.size(), const_cast<char*>(layout.exif.data())};
    if (!layout.exif.empty())
        spng_set_exif(ctx, &exif);
    spng_encode_image(ctx, layout.samples.data(), layout.samples.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    size_t size = 0;
    int error = 0;
    auto* buffer = static_cast<uint8_t*>(spng_get_png_buffer(ctx, &size, &error));
    Bytes out(buffer, buffer ? buffer + size : buffer);
    std::free(buffer);
    spng_ctx_free(ctx);
    return out;
}

Bytes RgbPng(int width, int height)
{
    return MakeRgbPng(width, height, false,
                      [](int x, int y) { return uint32_t(x) * 0x10305u + uint32_t(y) * 0x70503u; });
}

// LZW codes of the given minimum code size, in sub-blocks, as GIF encoders
// write them: a clear code first, entries up to 4095, the end code last.
static void PutLzw(Bytes& out, int codeSize, const std::vector<uint16_t>& pixels)
{
    Bytes packed;
    uint32_t bits = 0;
    int count = 0;
    int width = codeSize + 1;
    auto emit = [&](int code) {
        bits |= uint32_t(code) << count;
        for (count += width; count >= 8; count -= 8, bits >>= 8)
            packed.push_back(uint8_t(bits));
    };
    const int clear = 1 << codeSize;
    int next = clear + 2;
    std::map<std::pair<int, int>, int> table;
    emit(clear);
    int w = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const auto found = table.find({w, pixels[i]});
        if (found != table.end()) {
            w = found->second;
            continue;
        }
        emit(w);
        if (next < 4096) {
            table[{w, pixels[i]}] = next++;
            if (next > (1 << width) && width < 12)
                ++width;
        }
        w = pixels[i];
    }
    emit(w);
    if (next == (1 << width) && width < 12)
        ++width;
    emit(clear + 1);
    if (count > 0)
        packed.push_back(uint8_t(bits));
    out.push_back(uint8_t(codeSize));
    for (size_t at = 0; at < packed.size(); at += 255) {
        const size_t n = std::min<size_t>(255, packed.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), packed.begin() + long(at), packed.begin() + long(at + n));
    }
    out.push_back(0);
}

Bytes MakeGif(const GifLayout& layout)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutFields(out, {{uint32_t(layout.screenWidth), 2}, {uint32_t(layout.screenHeight), 2}});
    const bool global = !layout.noColourTable && !layout.localPalette;
    out.insert(out.end(), {uint8_t(global ? 0xF7 : 0x70), 0, 0});
    Bytes palette = layout.palette;
    palette.resize(256 * 3, 0);
    if (global)
        out.insert(out.end(), palette.begin(), palette.end());
    const std::vector<uint16_t> indices = layout.wideIndices.empty()
                                              ? std::vector<uint16_t>(layout.indices.begin(), layout.indices.end())
                                              : layout.wideIndices;
    std::vector<uint16_t> stored;  // interlaced: rows 0, 8, 16 ..., then 4, 12 ..., 2, 6 ... and 1, 3 ...
    const int passes[5][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}, {0, 1}};
    for (int pass = layout.interlaced ? 0 : 4; pass < (layout.interlaced ? 4 : 5); ++pass)
        for (int y = passes[pass][0]; y < layout.height; y += passes[pass][1])
            stored.insert(stored.end(), indices.begin() + long(y) * layout.width,
                          indices.begin() + long(y + 1) * layout.width);
    for (int frame = 0; frame <= layout.extraFrames; ++frame) {
        if (layout.transparentIndex >= 0)  // a graphic control extension
            out.insert(out.end(), {0x21, 0xF9, 4, 1, 0, 0, uint8_t(layout.transparentIndex), 0});
        out.push_back(0x2C);
        PutFields(out, {{uint32_t(layout.left), 2}, {uint32_t(layout.top), 2}});
        PutFields(out, {{uint32_t(layout.width), 2}, {uint32_t(layout.height), 2}});
        out.push_back(uint8_t((layout.localPalette ? 0x87 : 0) | (layout.interlaced ? 0x40 : 0)));
        if (layout.localPalette)
            out.insert(out.end(), palette.begin(), palette.end());
        PutLzw(out, layout.codeSize, frame == 0 ? stored : std::vector<uint16_t>(stored.size(), 0));
    }
    out.push_back(0x3B);
    return out;
}

Bytes EncodeJpeg(const TestJpeg& layout)
{
    jpeg_compress_struct c {};
    jpeg_error_mgr err {};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(layout.width);
    c.image_height = JDIMENSION(layout.height);
    c.input_components = layout.space == JCS_GRAYSCALE ? 1 : layout.space == JCS_CMYK ? 4 : 3;
    c.in_color_space = layout.space;
    jpeg_set_defaults(&c);
    if (layout.space == JCS_CMYK) {
        jpeg_set_colorspace(&c, JCS_CMYK);
        c.write_Adobe_marker = layout.adobeMarker;
    }
    jpeg_set_quality(&c, 90, TRUE);
    if (layout.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    Bytes row(size_t(layout.width) * c.input_components);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < layout.width; ++x) {
            uint8_t* p = &row[size_t(x) * c.input_components];
            if (layout.fill)
                layout.fill(x, int(c.next_scanline), p);
            else
                std::memset(p, uint8_t((x * 7 + c.next_scanline * 3) & 0xFF), c.input_components);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Bytes RgbJpeg(int width, int height)
{
    return EncodeJpeg({width, height});
}

QByteArray RawDeflate(const QByteArray& data, int flushAt)
{
    z_stream z {};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size())) + 64), '\0');
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(flushAt >= 0 ? flushAt : data.size());
    deflate(&z, flushAt >= 0 ? Z_FULL_FLUSH : Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

QByteArray BuildTestZip(const std::vector<TestZipMember>& members, const QByteArray& comment)
{
    QByteArray zip, directory;
    for (const TestZipMember& m : members) {
        const QByteArray packed = m.compressed ? *m.compressed : (m.method == 8 ? RawDeflate(m.data) : m.data);
        const uint32_t crc
            = m.crc ? *m.crc
                    : uint32_t(crc32(0, reinterpret_cast<const Bytef*>(m.data.constData()), uInt(m.data.size())));
        const auto offset = uint32_t(zip.size());
        QByteArray common;  // of the local header and the directory entry
        PutFields(common, {{20, 2}, {m.flags, 2}, {m.method, 2}, {m.dosTime, 2}, {m.dosDate, 2}, {crc, 4}});
        PutFields(common, {{uint32_t(packed.size()), 4}, {m.statedSize ? *m.statedSize : uint32_t(m.data.size()), 4}});
        PutFields(common, {{uint32_t(m.name.size()), 2}, {0, 2}});
        PutFields(zip, {{0x04034b50, 4}});
        zip.append(common + m.name + packed);
        PutFields(directory, {{0x02014b50, 4}, {20, 2}});
        directory.append(common);
        // Comment, disk, internal and external attributes, then the offset.
        PutFields(directory, {{0, 2}, {0, 2}, {0, 2}, {0, 4}, {offset, 4}});
        directory.append(m.name);
    }
    const auto count = uint32_t(members.size());
    PutFields(directory, {{0x06054b50, 4}, {0, 4}, {count, 2}, {count, 2}, {uint32_t(directory.size()), 4}});
    PutFields(directory, {{uint32_t(zip.size()), 4}, {uint32_t(comment.size()), 2}});
    return zip + directory + comment;
}

QByteArray TestPayload(int size, uint32_t seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = "abcdefghij \n"[(seed >> 16) % 12];
    }
    return bytes;
}

bool WriteTestFile(const QString& hostPath, const QByteArray& bytes)
{
    QFile file(hostPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray ToByteArray(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

int LoadCurrentPicture(const CImageLoader& loader, const std::vector<CPicture*>& others, CPicture& picture,
                       const CPictureFile& file, bool quickView, int64_t budget)
{
    CMessageBatch oneLoad;
    CViewDecode decode(file, quickView);
    decode.Begin(others, picture);
    for (;;) {
        decode.Run(loader);
        switch (decode.Land(others, picture, {}, budget)) {
        case CViewDecode::Landing::kLanded:
            return 1;
        case CViewDecode::Landing::kFailed:
            return 0;
        case CViewDecode::Landing::kRetry:
            break;
        }
    }
}
