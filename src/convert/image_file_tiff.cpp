// TIFF files through libtiff: pixels by the RGBA interface (every photometric kind libtiff knows),
// and for palette images the colour map as the file's colour table.
#include <algorithm>
#include <cstring>
#include <vector>

#include "convert/image_file_codecs.h"
#include "convert/tiff_library.h"

namespace ts {

namespace {

// An in-memory file for libtiff, readable and (for the encoder) growable.
struct MemoryFile {
    std::string data;             // writer
    const uint8_t* in = nullptr;  // reader
    size_t size = 0;
    size_t pos = 0;
    bool writing = false;
};

tmsize_t memRead(thandle_t h, void* buf, tmsize_t n) {
    auto* f = static_cast<MemoryFile*>(h);
    const size_t total = f->writing ? f->data.size() : f->size;
    if (n <= 0 || f->pos >= total) return 0;
    const size_t count = std::min(size_t(n), total - f->pos);
    std::memcpy(buf, (f->writing ? reinterpret_cast<const uint8_t*>(f->data.data()) : f->in) + f->pos, count);
    f->pos += count;
    return tmsize_t(count);
}

tmsize_t memWrite(thandle_t h, void* buf, tmsize_t n) {
    auto* f = static_cast<MemoryFile*>(h);
    if (!f->writing || n < 0) return 0;
    if (f->pos + size_t(n) > f->data.size()) f->data.resize(f->pos + size_t(n));
    std::memcpy(f->data.data() + f->pos, buf, size_t(n));
    f->pos += size_t(n);
    return n;
}

toff_t memSeek(thandle_t h, toff_t off, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    const size_t total = f->writing ? f->data.size() : f->size;
    int64_t base = whence == SEEK_CUR ? int64_t(f->pos) : whence == SEEK_END ? int64_t(total) : 0;
    const int64_t target = base + int64_t(off);
    if (target < 0 || target > (int64_t(1) << 40)) return toff_t(-1);
    f->pos = size_t(target);
    if (f->writing && f->pos > f->data.size()) f->data.resize(f->pos);
    return toff_t(f->pos);
}

int memClose(thandle_t) { return 0; }
toff_t memSize(thandle_t h) {
    auto* f = static_cast<MemoryFile*>(h);
    return toff_t(f->writing ? f->data.size() : f->size);
}
int memMap(thandle_t h, void** base, toff_t* size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (f->writing) return 0;
    *base = const_cast<uint8_t*>(f->in);
    *size = toff_t(f->size);
    return 1;
}
void memUnmap(thandle_t, void*, toff_t) {}

struct TiffCloser {
    const TiffLibrary& lib;
    TIFF* tif;
    ~TiffCloser() {
        if (tif) lib.close(tif);
    }
};

}  // namespace

DecodeResult decodeTiff(const uint8_t* data, size_t size, DecodedImage& out) {
    const TiffLibrary* library = tiffLibrary();
    if (!library) return DecodeResult::Undecodable;
    const TiffLibrary& lib = *library;
    MemoryFile file;
    file.in = data;
    file.size = size;
    TIFF* tif = lib.clientOpen("image.tif", "r", &file, memRead, memWrite, memSeek, memClose, memSize,
                               memMap, memUnmap);
    if (!tif) return DecodeResult::Undecodable;
    TiffCloser closer{lib, tif};

    uint32_t width = 0, height = 0;
    lib.getField(tif, TIFFTAG_IMAGEWIDTH, &width);
    lib.getField(tif, TIFFTAG_IMAGELENGTH, &height);
    out.declaredWidth = width;
    out.declaredHeight = height;
    if (width == 0 || height == 0) return DecodeResult::Empty;
    if (!surfaceSizeAllowed(width, height)) return DecodeResult::TooLarge;

    char message[1024] = {};
    if (!lib.rgbaImageOK(tif, message)) return DecodeResult::Undecodable;

    std::vector<uint32_t> table;
    uint16_t photometric = 0, bitsPerSample = 1;
    lib.getFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    if (lib.getField(tif, TIFFTAG_PHOTOMETRIC, &photometric) && photometric == PHOTOMETRIC_PALETTE &&
        bitsPerSample >= 1 && bitsPerSample <= 8) {
        uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        if (lib.getField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) && red && green && blue) {
            const size_t count = size_t(1) << bitsPerSample;
            // Old writers stored 8-bit values; like libtiff's own reader, treat a map without any
            // value above 255 as 8-bit.
            bool sixteen = false;
            for (size_t i = 0; i < count; ++i)
                if (red[i] >= 256 || green[i] >= 256 || blue[i] >= 256) sixteen = true;
            table.resize(count);
            for (size_t i = 0; i < count; ++i) {
                const uint32_t r = sixteen ? red[i] >> 8 : red[i];
                const uint32_t g = sixteen ? green[i] >> 8 : green[i];
                const uint32_t b = sixteen ? blue[i] >> 8 : blue[i];
                table[i] = 0xFF000000u | r << 16 | g << 8 | b;
            }
        }
    }

    std::vector<uint32_t> raster;
    try {
        raster.resize(size_t(width) * size_t(height));
    } catch (const std::bad_alloc&) {
        return DecodeResult::TooLarge;
    }
    if (!lib.readRGBAImageOriented(tif, width, height, raster.data(), ORIENTATION_TOPLEFT, 0))
        return DecodeResult::Undecodable;
    if (!prepareSurface(out.surface, int(width), int(height))) return DecodeResult::TooLarge;
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* src = raster.data() + size_t(y) * width;
        uint32_t* dst = out.surface.row(int(y));
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = src[x];  // ABGR as libtiff packs it
            dst[x] = (p & 0xFF00FF00u) | (p & 0xFF) << 16 | ((p >> 16) & 0xFF);
        }
    }
    out.colourTable = std::move(table);
    return DecodeResult::Ok;
}

bool encodeTiff(const EncodeInput& in, std::string& bytes) {
    const TiffLibrary* library = tiffLibrary();
    if (!library) return false;
    const TiffLibrary& lib = *library;
    const Surface& s = *in.surface;
    MemoryFile file;
    file.writing = true;
    TIFF* tif = lib.clientOpen("image.tif", "w", &file, memRead, memWrite, memSeek, memClose, memSize,
                               memMap, memUnmap);
    if (!tif) return false;
    const bool indexed = !in.table.empty();
    lib.setField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(s.width));
    lib.setField(tif, TIFFTAG_IMAGELENGTH, uint32_t(s.height));
    lib.setField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(8));
    lib.setField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(indexed ? 1 : 3));
    lib.setField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    lib.setField(tif, TIFFTAG_PHOTOMETRIC, indexed ? PHOTOMETRIC_PALETTE : PHOTOMETRIC_RGB);
    lib.setField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    lib.setField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    lib.setField(tif, TIFFTAG_ROWSPERSTRIP, lib.defaultStripSize(tif, 0));
    std::vector<uint16_t> red(256), green(256), blue(256);
    if (indexed) {
        for (size_t i = 0; i < in.table.size(); ++i) {
            red[i] = uint16_t(((in.table[i] >> 16) & 0xFF) * 257);
            green[i] = uint16_t(((in.table[i] >> 8) & 0xFF) * 257);
            blue[i] = uint16_t((in.table[i] & 0xFF) * 257);
        }
        lib.setField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
    std::vector<uint8_t> line(size_t(s.width) * (indexed ? 1 : 3));
    bool ok = true;
    for (int y = 0; ok && y < s.height; ++y) {
        if (indexed) {
            std::memcpy(line.data(), in.indices.data() + size_t(y) * size_t(s.width), size_t(s.width));
        } else {
            const uint32_t* src = s.row(y);
            for (int x = 0; x < s.width; ++x) {
                line[size_t(x) * 3] = uint8_t(src[x] >> 16);
                line[size_t(x) * 3 + 1] = uint8_t(src[x] >> 8);
                line[size_t(x) * 3 + 2] = uint8_t(src[x]);
            }
        }
        ok = lib.writeScanline(tif, line.data(), uint32_t(y), 0) >= 0;
    }
    lib.close(tif);
    if (ok) bytes = std::move(file.data);
    return ok;
}

}  // namespace ts
