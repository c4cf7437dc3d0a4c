#include "test_pictures.h"

#include <QFile>
#include <cstdlib>
#include <cstring>
#include <gif_lib.h>
#include <map>
#include <spng.h>
#include <zlib.h>

static void PutLe(Bytes& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

Bytes BuildBmp(const TestBmp& b)
{
    const int entry = b.headerSize == 12 ? 3 : 4;
    const uint32_t offset = 14 + b.headerSize + uint32_t(b.masks.size()) * 4 + uint32_t(b.palette.size()) * entry;
    Bytes out = {'B', 'M'};
    for (uint32_t v : {offset + uint32_t(b.pixels.size()), 0u, offset, uint32_t(b.headerSize)})
        PutLe(out, v, 4);
    const int side = b.headerSize == 12 ? 2 : 4;
    PutLe(out, uint32_t(b.width), side);
    PutLe(out, uint32_t(b.height), side);
    PutLe(out, b.planes, 2);
    PutLe(out, b.bpp, 2);
    if (b.headerSize != 12) {
        for (uint32_t v : {b.compression, uint32_t(b.pixels.size()), 2835u, 2835u, b.colorsUsed, 0u})
            PutLe(out, v, 4);
        out.resize(out.size() + size_t(b.headerSize - 40), 0);
    }
    for (uint32_t m : b.masks)
        PutLe(out, m, 4);
    for (uint32_t c : b.palette)
        PutLe(out, c & 0xFFFFFF, entry);
    out.insert(out.end(), b.pixels.begin(), b.pixels.end());
    return out;
}

TestBmp Gray8Bmp(int width, int height)
{
    TestBmp b;
    b.width = width;
    b.height = height;
    b.bpp = 8;
    for (uint32_t i = 0; i < 256; ++i)
        b.palette.push_back(i * 0x010101);
    const int stride = BmpStride(width, 8);
    b.pixels.assign(size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.pixels[size_t(y) * stride + x] = uint8_t(x + y);
    return b;
}

TestBmp SolidBmp(int width, int height, int bpp, uint8_t red, uint8_t green, uint8_t blue)
{
    TestBmp b;
    b.width = width;
    b.height = height;
    b.bpp = bpp;
    const int stride = BmpStride(width, bpp);
    const uint8_t colour[3] = {blue, green, red};
    b.pixels.assign(size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::memcpy(&b.pixels[size_t(y) * stride + size_t(x) * (bpp / 8)], colour, 3);
    return b;
}

Bytes MakePng(const PngSpec& layout)
{
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr = {};
    ihdr.width = uint32_t(layout.width);
    ihdr.height = uint32_t(layout.height);
    ihdr.bit_depth = uint8_t(layout.bitDepth);
    ihdr.color_type = uint8_t(layout.colorType);
    ihdr.interlace_method = layout.interlaced ? SPNG_INTERLACE_ADAM7 : SPNG_INTERLACE_NONE;
    spng_set_ihdr(ctx, &ihdr);
    if (!layout.palette.empty()) {
        spng_plte plte = {};
        plte.n_entries = uint32_t(layout.palette.size() / 3);
        for (uint32_t i = 0; i < plte.n_entries; ++i)
            plte.entries[i] = {layout.palette[i * 3], layout.palette[i * 3 + 1], layout.palette[i * 3 + 2], 0};
        spng_set_plte(ctx, &plte);
    }
    spng_trns trns = {};
    trns.n_type3_entries = uint32_t(layout.paletteAlpha.size());
    if (!layout.paletteAlpha.empty())
        std::memcpy(trns.type3_alpha, layout.paletteAlpha.data(), layout.paletteAlpha.size());
    trns.gray = uint16_t(layout.transparentGray);
    trns.red = uint16_t(layout.transparentRgb[0]);
    trns.green = uint16_t(layout.transparentRgb[1]);
    trns.blue = uint16_t(layout.transparentRgb[2]);
    if (!layout.paletteAlpha.empty() || layout.transparentGray >= 0 || layout.transparentRgb[0] >= 0)
        spng_set_trns(ctx, &trns);
    Bytes out;
    if (spng_encode_image(ctx, layout.samples.data(), layout.samples.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) == 0) {
        size_t size = 0;
        int error = 0;
        auto* buffer = static_cast<uint8_t*>(spng_get_png_buffer(ctx, &size, &error));
        if (buffer)
            out.assign(buffer, buffer + size);
        std::free(buffer);
    }
    spng_ctx_free(ctx);
    return out;
}

Bytes RgbPng(int width, int height)
{
    return MakeRgbPng(width, height, false,
                      [](int x, int y) { return uint32_t(x) * 0x10305u + uint32_t(y) * 0x70503u; });
}

static int AppendGifBytes(GifFileType* gif, const GifByteType* data, int n)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

static int InterlacedSourceRow(int i, int height)
{
    static const int start[4] = {0, 4, 2, 1};
    static const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass])
            if (i-- == 0)
                return y;
    return 0;
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

static Bytes HandWrittenGif(const GifSpec& layout)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe(out, uint32_t(layout.screenWidth), 2);
    PutLe(out, uint32_t(layout.screenHeight), 2);
    out.insert(out.end(), {uint8_t(layout.noColourTable ? 0x70 : 0xF7), 0, 0});
    if (!layout.noColourTable) {
        Bytes palette = layout.palette;
        palette.resize(256 * 3, 0);
        out.insert(out.end(), palette.begin(), palette.end());
    }
    out.push_back(0x2C);
    for (int v : {layout.left, layout.top, layout.width, layout.height})
        PutLe(out, uint32_t(v), 2);
    out.push_back(0);
    std::vector<uint16_t> pixels = layout.wideIndices;
    if (pixels.empty())
        pixels.assign(layout.indices.begin(), layout.indices.end());
    PutLzw(out, layout.codeSize, pixels);
    out.push_back(0x3B);
    return out;
}

Bytes MakeGif(const GifSpec& layout)
{
    if (layout.codeSize)
        return HandWrittenGif(layout);
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGifBytes, &error);
    int colours = 2;
    while (colours * 3 < int(layout.palette.size()))
        colours *= 2;
    std::vector<GifColorType> entries(size_t(colours), GifColorType {0, 0, 0});
    for (size_t i = 0; i < layout.palette.size() / 3; ++i)
        entries[i] = GifColorType {layout.palette[i * 3], layout.palette[i * 3 + 1], layout.palette[i * 3 + 2]};
    ColorMapObject* map = GifMakeMapObject(colours, entries.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, layout.screenWidth, layout.screenHeight, 8, 0, layout.localPalette ? nullptr : map);
    for (int frame = 0; frame <= layout.extraFrames; ++frame) {
        if (layout.transparentIndex >= 0) {
            GraphicsControlBlock gcb = {};
            gcb.TransparentColor = layout.transparentIndex;
            GifByteType extension[4];
            const size_t n = EGifGCBToExtension(&gcb, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(n), extension);
        }
        EGifPutImageDesc(gif, layout.left, layout.top, layout.width, layout.height, layout.interlaced,
                         layout.localPalette ? map : nullptr);
        Bytes row(size_t(layout.width), 0);
        for (int i = 0; i < layout.height; ++i) {
            const int y = layout.interlaced ? InterlacedSourceRow(i, layout.height) : i;
            if (frame == 0)
                std::memcpy(row.data(), layout.indices.data() + size_t(y) * layout.width, row.size());
            EGifPutLine(gif, row.data(), layout.width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
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
    TestJpeg layout;
    layout.width = width;
    layout.height = height;
    return EncodeJpeg(layout);
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

TestZipMember ZeroBomb(const QByteArray& name, uint32_t size)
{
    TestZipMember bomb(name, QByteArray());
    z_stream z {};
    deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_RLE);
    const QByteArray zeros(1 << 20, '\0');
    QByteArray packed, out(1 << 16, '\0');
    uLong crc = crc32(0, Z_NULL, 0);
    for (uint32_t left = size; left > 0;) {
        const uint32_t step = std::min(left, uint32_t(zeros.size()));
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
        z.avail_in = step;
        crc = crc32(crc, z.next_in, step);
        left -= step;
        do {  // until the output is not full
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            deflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
            packed.append(out.constData(), out.size() - qsizetype(z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    bomb.compressed = packed;
    bomb.crc = uint32_t(crc);
    bomb.statedSize = size;
    return bomb;
}

QByteArray BuildTestZip(const std::vector<TestZipMember>& members, const QByteArray& comment)
{
    QByteArray zip, directory;
    auto put = [](QByteArray& b, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.append(char(v >> (8 * i)));
    };
    for (const TestZipMember& m : members) {
        const QByteArray packed = m.compressed ? *m.compressed : (m.method == 8 ? RawDeflate(m.data) : m.data);
        const uint32_t crc
            = m.crc ? *m.crc
                    : uint32_t(crc32(0, reinterpret_cast<const Bytef*>(m.data.constData()), uInt(m.data.size())));
        const uint32_t size = m.statedSize ? *m.statedSize : uint32_t(m.data.size());
        const auto offset = uint32_t(zip.size());
        auto common = [&](QByteArray& b) {
            for (uint32_t v : {20u, uint32_t(m.flags), uint32_t(m.method), uint32_t(m.dosTime), uint32_t(m.dosDate)})
                put(b, v, 2);
            for (uint32_t v : {crc, uint32_t(packed.size()), size})
                put(b, v, 4);
            put(b, uint32_t(m.name.size()), 2);
            put(b, 0, 2);
        };
        put(zip, 0x04034b50, 4);
        common(zip);
        zip.append(m.name + packed);
        put(directory, 0x02014b50, 4);
        put(directory, 20, 2);
        common(directory);
        directory.append(QByteArray(10, '\0'));  // comment, disk, internal and external attributes
        put(directory, offset, 4);
        directory.append(m.name);
    }
    const auto directoryOffset = uint32_t(zip.size());
    zip.append(directory);
    put(zip, 0x06054b50, 4);
    put(zip, 0, 4);
    put(zip, uint32_t(members.size()), 2);
    put(zip, uint32_t(members.size()), 2);
    put(zip, uint32_t(directory.size()), 4);
    put(zip, directoryOffset, 4);
    put(zip, uint32_t(comment.size()), 2);
    return zip + comment;
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

Decoded::~Decoded()
{
    DeleteObject(bitmap);
}

uint32_t Decoded::Pixel(int x, int y) const
{
    const uint8_t* p = bitmap->RowFromTop(y) + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

Decoded::Decoded(const Bytes& bytes, int scale, int maxWidth, int maxHeight, bool headerOnly)
{
    info.data = bytes.data();
    info.size = bytes.size();
    info.iScale = scale;
    info.iMaxWidth = maxWidth;
    info.iMaxHeight = maxHeight;
    info.headerOnly = headerOnly;
    info.phBM = &bitmap;
    result = DecompressImageIndirect(&info);
}
