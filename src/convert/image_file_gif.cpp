// GIF files through giflib, reading only up to the first image (as the image library did) and
// keeping its colour table: the image's local table, else the global one.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "convert/image_file_codecs.h"

namespace ts {

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    if (length <= 0) return 0;
    const size_t n = std::min(size_t(length), r->size - r->pos);
    std::memcpy(buffer, r->data + r->pos, n);
    r->pos += n;
    return int(n);
}

struct GifCloser {
    GifFileType* gif;
    ~GifCloser() {
        if (gif) {
            int error = 0;
            DGifCloseFile(gif, &error);
        }
    }
};

}  // namespace

DecodeResult decodeGif(const uint8_t* data, size_t size, DecodedImage& out) {
    MemoryReader reader{data, size, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readFromMemory, &error);
    if (!gif) return DecodeResult::Undecodable;
    GifCloser closer{gif};

    int transparentIndex = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return DecodeResult::Undecodable;
        if (type == TERMINATE_RECORD_TYPE) return DecodeResult::Undecodable;  // no image
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return DecodeResult::Undecodable;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                GraphicsControlBlock gcb;
                if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                    transparentIndex = gcb.TransparentColor;
            }
            while (block) {
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return DecodeResult::Undecodable;
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return DecodeResult::Undecodable;
        break;
    }

    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    // A GIF without any colour table has no defined colours: it cannot be converted.
    if (!map || map->ColorCount <= 0 || !map->Colors) return DecodeResult::Undecodable;

    // The canvas is the logical screen; files that declare an empty screen use the image's extent.
    int64_t width = gif->SWidth, height = gif->SHeight;
    if (width == 0 || height == 0) {
        width = int64_t(desc.Left) + desc.Width;
        height = int64_t(desc.Top) + desc.Height;
    }
    out.declaredWidth = width;
    out.declaredHeight = height;
    if (width == 0 || height == 0 || desc.Width <= 0 || desc.Height <= 0) return DecodeResult::Empty;
    if (!surfaceSizeAllowed(width, height)) return DecodeResult::TooLarge;
    if (!surfaceSizeAllowed(desc.Width, desc.Height)) {
        // The frame, not the screen, is what is too large: its size is the one to report.
        out.declaredWidth = desc.Width;
        out.declaredHeight = desc.Height;
        return DecodeResult::TooLarge;
    }

    const int count = std::min(map->ColorCount, 256);
    std::vector<uint32_t> table(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const GifColorType& c = map->Colors[i];
        const uint32_t alpha = i == transparentIndex ? 0u : 0xFF000000u;
        table[size_t(i)] = alpha | uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
    }

    if (!createSurface(out.surface, int(width), int(height))) return DecodeResult::TooLarge;
    std::vector<GifPixelType> line(size_t(desc.Width));
    static const int kPassStart[4] = {0, 4, 2, 1};
    static const int kPassStep[4] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = desc.Interlace ? kPassStart[pass] : 0;
        const int step = desc.Interlace ? kPassStep[pass] : 1;
        for (int y = start; y < desc.Height; y += step) {
            // A truncated or damaged file is not converted into a partly blank picture.
            if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) return DecodeResult::Undecodable;
            const int64_t sy = int64_t(desc.Top) + y;
            if (sy >= height) continue;
            uint32_t* row = out.surface.row(int(sy));
            for (int x = 0; x < desc.Width; ++x) {
                const int64_t sx = int64_t(desc.Left) + x;
                if (sx >= width) break;
                const int index = line[size_t(x)];
                if (index == transparentIndex) continue;  // left as drawn: 0
                row[sx] = index < count ? (table[size_t(index)] | 0xFF000000u) : 0xFF000000u;
            }
        }
    }
    out.colourTable = std::move(table);
    return DecodeResult::Ok;
}

namespace {

int writeToString(GifFileType* gif, const GifByteType* buffer, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(buffer), size_t(length));
    return length;
}

}  // namespace

bool encodeGif(const EncodeInput& in, std::string& bytes) {
    const Surface& s = *in.surface;
    if (in.table.empty() || in.table.size() > 256 || s.width > 65535 || s.height > 65535) return false;
    int bits = 1;
    while ((1u << bits) < in.table.size()) ++bits;
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (!map) return false;
    for (int i = 0; i < map->ColorCount; ++i) {
        const uint32_t c = size_t(i) < in.table.size() ? in.table[size_t(i)] : 0u;
        map->Colors[i].Red = GifByteType((c >> 16) & 0xFF);
        map->Colors[i].Green = GifByteType((c >> 8) & 0xFF);
        map->Colors[i].Blue = GifByteType(c & 0xFF);
    }
    int error = 0;
    std::string data;
    GifFileType* gif = EGifOpen(&data, writeToString, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return false;
    }
    bool ok = EGifPutScreenDesc(gif, s.width, s.height, bits, 0, map) != GIF_ERROR &&
              EGifPutImageDesc(gif, 0, 0, s.width, s.height, false, nullptr) != GIF_ERROR;
    std::vector<GifPixelType> line(size_t(s.width));
    for (int y = 0; ok && y < s.height; ++y) {
        std::memcpy(line.data(), in.indices.data() + size_t(y) * size_t(s.width), size_t(s.width));
        ok = EGifPutLine(gif, line.data(), s.width) != GIF_ERROR;
    }
    if (EGifCloseFile(gif, &error) == GIF_ERROR) ok = false;
    GifFreeMapObject(map);
    if (ok) bytes = std::move(data);
    return ok;
}

}  // namespace ts
