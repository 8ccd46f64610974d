#include "convert/image_file.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "convert/colour_effects.h"
#include "convert/image_file_codecs.h"
#include "convert/quantize_halftone.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "host/host_services.h"
#include "resources/texts.h"

namespace ts {

namespace {

bool startsWith(const uint8_t* data, size_t size, const char* magic, size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

constexpr int64_t kMaxImageFileBytes = int64_t(512) << 20;

uint32_t readLe32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint32_t readBe32(const uint8_t* p) { return uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[0]) << 24; }

// The size that a PNG or BMP header announces, so that oversized files are refused with their
// size before a decoder starts on them.
bool peekDeclaredSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height) {
    if (startsWith(data, size, "\x89PNG\r\n\x1a\n", 8) && size >= 24 &&
        std::memcmp(data + 12, "IHDR", 4) == 0) {
        width = readBe32(data + 16);
        height = readBe32(data + 20);
        return true;
    }
    if (startsWith(data, size, "BM", 2) && size >= 26) {
        const uint32_t headerSize = readLe32(data + 14);
        if (headerSize == 12) {
            width = data[18] | data[19] << 8;
            height = data[20] | data[21] << 8;
            return true;
        }
        if (headerSize >= 40) {
            width = int32_t(readLe32(data + 18));
            height = int32_t(readLe32(data + 22));
            if (height < 0) height = -height;  // top-down bitmaps
            return true;
        }
    }
    return false;
}

}  // namespace

DecodeResult decodeImage(const uint8_t* data, size_t size, DecodedImage& out) {
    // out.surface is kept: decoders that write every pixel reuse its memory when the size matches.
    out.colourTable.clear();
    out.declaredWidth = out.declaredHeight = 0;
    if (!data || size == 0) {
        destroySurface(out.surface);
        return DecodeResult::Undecodable;
    }
    DecodeResult result;
    int64_t declaredWidth = 0, declaredHeight = 0;
    if (peekDeclaredSize(data, size, declaredWidth, declaredHeight) && declaredWidth > 0 &&
        declaredHeight > 0 && !surfaceSizeAllowed(declaredWidth, declaredHeight)) {
        out.declaredWidth = declaredWidth;
        out.declaredHeight = declaredHeight;
        destroySurface(out.surface);
        return DecodeResult::TooLarge;
    }
    if (startsWith(data, size, "GIF87a", 6) || startsWith(data, size, "GIF89a", 6))
        result = decodeGif(data, size, out);
    else if (startsWith(data, size, "II*\0", 4) || startsWith(data, size, "MM\0*", 4) ||
             startsWith(data, size, "II+\0", 4) || startsWith(data, size, "MM\0+", 4))
        result = decodeTiff(data, size, out);
    else if (startsWith(data, size, "\x89PNG\r\n\x1a\n", 8))
        result = decodePng(data, size, out);
    else if (startsWith(data, size, "\xFF\xD8\xFF", 3))
        result = decodeJpeg(data, size, out);
    else if (startsWith(data, size, "BM", 2))
        result = decodeBmp(data, size, out);
    else
        result = DecodeResult::Undecodable;
    if (result != DecodeResult::Ok) {
        destroySurface(out.surface);
        out.colourTable.clear();
    } else if (out.colourTable.size() > 256) {
        out.colourTable.resize(256);  // no supported format has more; never trust a file on it
    }
    return result;
}

DecodeResult decodeImageFile(const std::string& path, DecodedImage& out) {
    std::string bytes;
    if (!readWholeFile(path, bytes, kMaxImageFileBytes)) {
        destroySurface(out.surface);
        out.colourTable.clear();
        return fileSize(path) > kMaxImageFileBytes ? DecodeResult::TooLarge : DecodeResult::Undecodable;
    }
    return decodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

int countUsedEntries(const Surface& surface, const SourceWindow& window,
                     const std::vector<uint32_t>& table) {
    if (table.empty() || surface.empty()) return 0;
    // First entry of every distinct colour (red, green, blue; alpha ignored).
    std::unordered_map<uint32_t, int> firstEntry;
    firstEntry.reserve(table.size() * 2);
    for (size_t i = 0; i < table.size(); ++i) firstEntry.emplace(table[i] & 0xFFFFFFu, int(i));
    std::vector<char> marked(table.size(), 0);
    const int x0 = std::max(window.x0, 0), y0 = std::max(window.y0, 0);
    const int x1 = std::min(window.x1, surface.width), y1 = std::min(window.y1, surface.height);
    uint32_t last = 0xFFFFFFFFu;
    for (int y = y0; y < y1; ++y) {
        const uint32_t* row = surface.row(y);
        for (int x = x0; x < x1; ++x) {
            const uint32_t c = row[x] & 0xFFFFFFu;
            if (c == last) continue;
            last = c;
            auto it = firstEntry.find(c);
            if (it != firstEntry.end()) marked[size_t(it->second)] = 1;
        }
    }
    for (int i = int(table.size()) - 1; i >= 0; --i)
        if (marked[size_t(i)]) return i + 1;
    return 0;
}

void applyMaskColour(Surface& surface, uint8_t red, uint8_t green, uint8_t blue,
                     bool honourTransparency) {
    if (!honourTransparency || surface.empty()) return;
    const uint32_t mask = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
    // Four pixels at a time: rows are stored in multiples of four pixels, and what the padding
    // holds is never read as a pixel.
    typedef uint32_t Lanes __attribute__((vector_size(16)));
    const Lanes colourBits = {0xFFFFFFu, 0xFFFFFFu, 0xFFFFFFu, 0xFFFFFFu};
    const Lanes opaque = {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
    const Lanes masked = {mask, mask, mask, mask};
    const size_t count = size_t(surface.stride) * size_t(surface.height);
    uint32_t* pixels = surface.pixels.data();
    for (size_t i = 0; i + 4 <= count; i += 4) {
        Lanes p;
        std::memcpy(&p, pixels + i, sizeof p);
        const Lanes isMask = (Lanes)((p & colourBits) == masked);
        p = (p | opaque) & ~isMask;
        std::memcpy(pixels + i, &p, sizeof p);
    }
    for (size_t i = count & ~size_t(3); i < count; ++i) {
        const uint32_t p = pixels[i];
        pixels[i] = (p & 0xFFFFFFu) == mask ? 0u : (p | 0xFF000000u);
    }
}

void selectPixelSource(App& app, PixelSourceKind kind) {
    ConvertSettings& c = convertSettings(app);
    c.pixelSource = kind;
    const Surface* s = currentPixelSource(app);
    c.window = SourceWindow{0, 0, s ? s->width : 0, s ? s->height : 0};
}

const Surface* currentPixelSource(const App& app) {
    switch (convertSettings(app).pixelSource) {
        case PixelSourceKind::Decode: return &convertSettings(app).decodeSurface;
        case PixelSourceKind::Conversion:
            return convertSettings(app).conversionSharesDecode ? &convertSettings(app).decodeSurface : &convertSettings(app).conversionSurface;
        default: return nullptr;
    }
}

bool sourcePixel(const App& app, int x, int y, uint32_t& pixel) {
    const Surface* s = currentPixelSource(app);
    if (!s || s->empty()) return false;
    const SourceWindow& w = convertSettings(app).window;
    const int64_t sx = int64_t(w.x0) + x, sy = int64_t(w.y0) + y;
    if (sx < 0 || sy < 0 || sx >= w.x1 || sy >= w.y1 || sx >= s->width || sy >= s->height) return false;
    pixel = s->at(int(sx), int(sy));
    return true;
}

SourceRow sourceRow(const App& app, int y, int width) {
    SourceRow r;
    const Surface* s = currentPixelSource(app);
    if (!s || s->empty() || width <= 0) return r;
    const SourceWindow& w = convertSettings(app).window;
    const int64_t sy = int64_t(w.y0) + y;
    if (sy < 0 || sy >= w.y1 || sy >= s->height) return r;
    // sx = x0 + x must satisfy 0 <= sx < min(x1, surface width).
    const int64_t limit = std::min<int64_t>(w.x1, s->width);
    const int64_t begin = std::max<int64_t>(0, -int64_t(w.x0));
    const int64_t end = std::min<int64_t>(width, limit - int64_t(w.x0));
    if (begin >= end) return r;
    r.pixels = s->row(int(sy));
    r.offset = w.x0;
    r.begin = int(begin);
    r.end = int(end);
    return r;
}

bool separateConversionSurface(App& app) {
    ConvertSettings& c = convertSettings(app);
    if (!c.conversionSharesDecode) return true;
    c.conversionSharesDecode = false;
    return copySurface(c.conversionSurface, c.decodeSurface);
}

bool loadImageFile(App& app, const std::string& path, int& width, int& height) {
    ConvertSettings& c = convertSettings(app);
    DecodedImage image;
    if (c.conversionSharesDecode) {
        // The conversion surface keeps the image it is a copy of.
        c.conversionSurface = std::move(c.decodeSurface);
        c.conversionSharesDecode = false;
    } else {
        // The previous decode surface lends its memory to the decoder.
        image.surface = std::move(c.decodeSurface);
    }
    destroySurface(c.decodeSurface);  // a failed load leaves it empty
    const DecodeResult result = decodeImageFile(path, image);
    if (result == DecodeResult::TooLarge) {
        showBox(hostServices(app), tr(T::CaptionError),
                formatText(tr(T::ImgTooLarge), path.c_str(), (long long)image.declaredWidth,
                           (long long)image.declaredHeight, int(kMaxSurfacePixels >> 20),
                           kMaxSurfaceSide),
                Icon::Error);
        return false;
    }
    if (result != DecodeResult::Ok) return false;
    c.decodeSurface = std::move(image.surface);
    width = c.decodeSurface.width;
    height = c.decodeSurface.height;
    if (!image.colourTable.empty()) c.sourceColourTable = std::move(image.colourTable);
    else c.sourceColourTable.clear();
    selectPixelSource(app, PixelSourceKind::Decode);
    c.usedEntries = countUsedEntries(c.decodeSurface, c.window, c.sourceColourTable);
    applyMaskColour(c.decodeSurface, c.maskRed, c.maskGreen, c.maskBlue,
                    currentDepthTraits(app).transparentColour);
    return true;
}

bool loadSourceImage(App& app, const std::string& path, int& width, int& height,
                     bool forConversion) {
    if (!loadImageFile(app, path, width, height)) return false;
    ConvertSettings& c = convertSettings(app);
    if (forConversion && c.quantization == 1 && currentDepthTraits(app).hasPalette) {
        // The halftone method reads the decode surface itself; it stays the pixel source so that
        // the window matches the image just loaded.
        destroySurface(c.conversionSurface);
        return true;
    }
    // Most conversions change neither surface before they have read it: the copy waits until
    // something does.
    destroySurface(c.conversionSurface);
    c.conversionSharesDecode = true;
    selectPixelSource(app, PixelSourceKind::Conversion);
    return true;
}

std::string pathExtension(const std::string& path) {
    const size_t sep = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return std::string();
    return path.substr(dot + 1);
}

namespace {

// Encoder kind of an extension (case-sensitive), or null.
const char* encoderFor(const std::string& extension) {
    if (extension == "png") return "png";
    if (extension == "jpg" || extension == "jpeg") return "jpeg";
    if (extension == "bmp") return "bmp";
    if (extension == "gif") return "gif";
    if (extension == "tiff") return "tiff";
    return nullptr;
}

}  // namespace

namespace {

// The surface's distinct colours in order of appearance when there are at most 256.
bool exactColourTable(const Surface& surface, std::vector<uint32_t>& table,
                      std::vector<uint8_t>& indices) {
    std::unordered_map<uint32_t, uint8_t> index;
    table.clear();
    indices.resize(size_t(surface.width) * size_t(surface.height));
    for (int y = 0; y < surface.height; ++y) {
        const uint32_t* row = surface.row(y);
        for (int x = 0; x < surface.width; ++x) {
            const uint32_t c = row[x] & 0xFFFFFFu;
            auto it = index.find(c);
            if (it == index.end()) {
                if (table.size() == 256) {
                    table.clear();
                    indices.clear();
                    return false;
                }
                it = index.emplace(c, uint8_t(table.size())).first;
                table.push_back(c);
            }
            indices[size_t(y) * size_t(surface.width) + size_t(x)] = it->second;
        }
    }
    return true;
}

}  // namespace

std::string imageSaveName(const std::string& path) {
    return encoderFor(pathExtension(path)) ? path : path + ".bmp";
}

bool saveImageFile(const Surface& surface, const std::vector<uint32_t>& colourTable,
                   const std::string& path) {
    if (surface.empty()) return false;
    const std::string name = imageSaveName(path);
    const std::string kind = encoderFor(pathExtension(name));
    EncodeInput in;
    in.surface = &surface;
    // Indexed output when the surface's colours all stand in its colour table.
    if (!colourTable.empty() && colourTable.size() <= 256 && kind != "jpeg") {
        std::unordered_map<uint32_t, uint8_t> index;
        for (size_t i = colourTable.size(); i-- > 0;) index[colourTable[i] & 0xFFFFFFu] = uint8_t(i);
        in.indices.resize(size_t(surface.width) * size_t(surface.height));
        bool all = true;
        for (int y = 0; all && y < surface.height; ++y) {
            const uint32_t* row = surface.row(y);
            for (int x = 0; x < surface.width; ++x) {
                auto it = index.find(row[x] & 0xFFFFFFu);
                if (it == index.end()) {
                    all = false;
                    break;
                }
                in.indices[size_t(y) * size_t(surface.width) + size_t(x)] = it->second;
            }
        }
        if (all) {
            for (uint32_t c : colourTable) in.table.push_back(c & 0xFFFFFFu);
        } else {
            in.indices.clear();
        }
    }
    if (kind == "gif" && in.table.empty()) {
        // GIF holds at most 256 colours: the surface's own when it has no more, else the
        // halftone palette with an ordered dither.
        if (!exactColourTable(surface, in.table, in.indices)) {
            const auto& halftone = halftonePalette();
            in.table.assign(halftone.begin(), halftone.end());
            in.indices.resize(size_t(surface.width) * size_t(surface.height));
            for (int y = 0; y < surface.height; ++y) {
                const uint32_t* row = surface.row(y);
                for (int x = 0; x < surface.width; ++x)
                    in.indices[size_t(y) * size_t(surface.width) + size_t(x)] =
                        halftoneIndex(row[x], x, y);
            }
        }
    }
    std::string bytes;
    bool ok;
    if (kind == "gif") ok = encodeGif(in, bytes);
    else if (kind == "tiff") ok = encodeTiff(in, bytes);
    else if (kind == "png") ok = encodePng(in, bytes);
    else if (kind == "jpeg") ok = encodeJpeg(in, bytes);
    else ok = encodeBmp(in, bytes);
    return ok && writeFileAtomically(name, bytes);
}

}  // namespace ts
