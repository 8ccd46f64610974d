// BMP files, read by hand: Windows headers (3.x, V2 to V5 and OS/2 2.x) and OS/2 1.x headers;
// 1, 4 and 8 bits with their colour table (in file order), RLE4 and RLE8, 16 and 32 bits with or
// without bit fields, 24 bits; bottom-up and top-down rows. Every read is checked against the
// end of the data, and a file whose pixels stop early is refused.
#include <algorithm>
#include <cstring>
#include <vector>

#include "convert/image_file_codecs.h"

namespace ts {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kOs2V1HeaderSize = 12;  // OS/2 1.x: 16-bit sizes, 3-byte table entries
constexpr uint32_t kWindowsHeaderSize = 40;
constexpr uint32_t kV2HeaderSize = 52;     // adds the red, green and blue masks
constexpr uint32_t kV3HeaderSize = 56;     // adds the alpha mask
enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

struct BmpHeader {
    uint32_t headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;  // negative for top-down rows
    uint32_t planes = 0;
    uint32_t bits = 0;
    uint32_t compression = kRgb;
    uint32_t coloursUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool masksInHeader = false;
};

// One colour channel of a bit-field pixel: (value & mask) >> shift, then brought to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t scale = 1;  // 8 bits or fewer: value * scale, as the files' writers expect
    int drop = 0;        // more than 8 bits: the top 8 are kept

    explicit Channel(uint32_t m = 0) : mask(m) {
        while (m && !(m & 1)) {
            m >>= 1;
            ++shift;
        }
        if (m > 255) {
            while ((m >> drop) > 255) ++drop;
            scale = 1;
        } else {
            scale = 256 / (m + 1);
        }
    }
    uint32_t operator()(uint32_t c) const { return ((((c & mask) >> shift) >> drop) * scale) & 0xFF; }
};

bool readHeader(const uint8_t* data, size_t size, BmpHeader& h) {
    if (size < kFileHeaderSize + 4) return false;
    const uint8_t* p = data + kFileHeaderSize;
    h.headerSize = le32(p);
    if (h.headerSize == kOs2V1HeaderSize) {
        if (size < kFileHeaderSize + 12) return false;
        h.width = int16_t(le16(p + 4));
        h.height = int16_t(le16(p + 6));
        h.planes = le16(p + 8);
        h.bits = le16(p + 10);
        return true;
    }
    if (h.headerSize < kWindowsHeaderSize || size < kFileHeaderSize + h.headerSize) return false;
    h.width = int32_t(le32(p + 4));
    h.height = int32_t(le32(p + 8));
    h.planes = le16(p + 12);
    h.bits = le16(p + 14);
    h.compression = le32(p + 16);
    h.coloursUsed = le32(p + 32);
    if (h.headerSize >= kV2HeaderSize) {
        h.masksInHeader = true;
        for (int i = 0; i < 3; ++i) h.masks[i] = le32(p + 40 + 4 * i);
        if (h.headerSize >= kV3HeaderSize) h.masks[3] = le32(p + 52);
    }
    return true;
}

bool headerSupported(const BmpHeader& h) {
    const uint32_t b = h.bits;
    if (!(b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32) || h.planes != 1) return false;
    switch (h.compression) {
        case kRgb: return true;
        case kRle8: return b == 8;
        case kRle4: return b == 4;
        case kBitFields: return b == 16 || b == 32;
        default: return false;
    }
}

// Bounded reading of the pixel data.
struct Cursor {
    const uint8_t* data;
    size_t size;
    size_t pos;
    bool byte(uint8_t& b) {
        if (pos >= size) return false;
        b = data[pos++];
        return true;
    }
};

// RLE4 and RLE8 into `indices` (rows in file order, width bytes each). False when the data
// stops before the end of the picture.
bool decodeRle(Cursor& in, const BmpHeader& h, int width, int height, std::vector<uint8_t>& indices) {
    const bool four = h.compression == kRle4;
    int x = 0, y = 0;
    const auto put = [&](uint8_t index) {
        if (x < width && y < height) indices[size_t(y) * size_t(width) + size_t(x)] = index;
        ++x;
    };
    while (y < height) {
        uint8_t count = 0, value = 0;
        if (!in.byte(count) || !in.byte(value)) return false;
        if (count > 0) {  // a run of one value (two alternating nibbles in RLE4)
            for (int i = 0; i < count; ++i) put(four ? uint8_t(i & 1 ? value & 15 : value >> 4) : value);
            continue;
        }
        switch (value) {
            case 0: x = 0; ++y; break;     // end of line
            case 1: return true;           // end of picture
            case 2: {                      // move right and down
                uint8_t dx = 0, dy = 0;
                if (!in.byte(dx) || !in.byte(dy)) return false;
                x = std::min(x + dx, width - 1);
                y = std::min(y + dy, height - 1);
                break;
            }
            default: {                     // `value` literal pixels, padded to a 16-bit boundary
                const int bytes = four ? (value + 1) / 2 : value;
                for (int i = 0; i < bytes; ++i) {
                    uint8_t b = 0;
                    if (!in.byte(b)) return false;
                    if (four) {
                        put(b >> 4);
                        if (i * 2 + 1 < value) put(b & 15);
                    } else {
                        put(b);
                    }
                }
                uint8_t pad = 0;
                if ((bytes & 1) && !in.byte(pad)) return false;
            }
        }
    }
    return true;
}

}  // namespace

DecodeResult decodeBmp(const uint8_t* data, size_t size, DecodedImage& out) {
    out.colourTable.clear();
    BmpHeader h;
    if (!readHeader(data, size, h)) return DecodeResult::Damaged;
    out.declaredWidth = h.width;
    out.declaredHeight = h.height < 0 ? -h.height : h.height;
    if (!headerSupported(h) || h.width < 0) return DecodeResult::Damaged;
    if (h.width == 0 || h.height == 0) return DecodeResult::Empty;
    if (!surfaceSizeAllowed(out.declaredWidth, out.declaredHeight)) return DecodeResult::TooLarge;
    const int width = int(h.width), height = int(out.declaredHeight);
    const bool topDown = h.height < 0;

    size_t pos = kFileHeaderSize + h.headerSize;
    // Bit fields of a 3.x header follow it.
    if (h.compression == kBitFields && !h.masksInHeader) {
        if (size < pos + 12) return DecodeResult::Damaged;
        for (int i = 0; i < 3; ++i) h.masks[i] = le32(data + pos + 4 * size_t(i));
        pos += 12;
    }

    // The colour table (images of 8 bits or fewer), in file order.
    uint32_t lookup[256] = {};  // index -> pixel; indices beyond the table give transparent black
    const bool indexed = h.bits <= 8;
    if (indexed) {
        const uint32_t count = h.coloursUsed ? h.coloursUsed : 1u << h.bits;
        if (count > 256) return DecodeResult::Damaged;
        const size_t entry = h.headerSize == kOs2V1HeaderSize ? 3 : 4;
        if (size <= pos + entry * count) return DecodeResult::Damaged;  // no room left for pixels
        out.colourTable.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* c = data + pos + entry * i;
            out.colourTable[i] = 0xFF000000u | uint32_t(c[2]) << 16 | uint32_t(c[1]) << 8 | c[0];
            lookup[i] = out.colourTable[i];
        }
        // A 1-bit image with a single colour shows its other pixels white.
        if (h.bits == 1 && count == 1) lookup[1] = 0xFFFFFFFFu;
        pos += entry * count;
    }

    // The pixels start at the offset the file header gives, unless that lies inside the headers.
    const size_t offset = le32(data + 10);
    if (offset > pos) pos = offset;
    if (pos >= size) return DecodeResult::Damaged;

    if (!prepareSurface(out.surface, width, height)) return DecodeResult::TooLarge;
    const auto imageRow = [&](int fileRow) { return out.surface.row(topDown ? fileRow : height - 1 - fileRow); };

    if (h.compression == kRle4 || h.compression == kRle8) {
        std::vector<uint8_t> indices(size_t(width) * size_t(height), 0);
        Cursor in{data, size, pos};
        if (!decodeRle(in, h, width, height, indices)) return DecodeResult::Damaged;
        for (int r = 0; r < height; ++r) {
            uint32_t* row = imageRow(r);
            const uint8_t* src = indices.data() + size_t(r) * size_t(width);
            for (int x = 0; x < width; ++x) row[x] = lookup[src[x]];
        }
        return DecodeResult::Ok;
    }

    const size_t stride = (size_t(width) * h.bits + 31) / 32 * 4;
    const size_t used = (size_t(width) * h.bits + 7) / 8;  // the last row may lack its padding
    if ((size - pos) < stride * size_t(height - 1) + used) return DecodeResult::Damaged;

    Channel red, green, blue, alpha;
    if (h.compression == kBitFields) {
        red = Channel(h.masks[0]);
        green = Channel(h.masks[1]);
        blue = Channel(h.masks[2]);
        alpha = Channel(h.masks[3]);
    } else if (h.bits == 16) {  // 5 bits per channel, bit 15 unused
        red = Channel(0x7C00);
        green = Channel(0x03E0);
        blue = Channel(0x001F);
    } else {
        red = Channel(0xFF0000);
        green = Channel(0x00FF00);
        blue = Channel(0x0000FF);
    }
    const bool hasAlpha = h.compression == kBitFields && h.masks[3] != 0;

    for (int r = 0; r < height; ++r) {
        const uint8_t* src = data + pos + stride * size_t(r);
        uint32_t* row = imageRow(r);
        switch (h.bits) {
            case 1:
                for (int x = 0; x < width; ++x) row[x] = lookup[(src[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < width; ++x) row[x] = lookup[x & 1 ? src[x >> 1] & 15 : src[x >> 1] >> 4];
                break;
            case 8:
                for (int x = 0; x < width; ++x) row[x] = lookup[src[x]];
                break;
            case 24:
                for (int x = 0; x < width; ++x, src += 3)
                    row[x] = 0xFF000000u | uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | src[0];
                break;
            default: {
                const size_t step = h.bits / 8;
                for (int x = 0; x < width; ++x, src += step) {
                    const uint32_t c = step == 2 ? le16(src) : le32(src);
                    const uint32_t a = hasAlpha ? alpha(c) : 0xFFu;
                    row[x] = a << 24 | red(c) << 16 | green(c) << 8 | blue(c);
                }
            }
        }
    }
    return DecodeResult::Ok;
}

namespace {

void putLe16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void putLe32(std::string& s, uint32_t v) {
    putLe16(s, v & 0xFFFF);
    putLe16(s, v >> 16);
}

constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

}  // namespace

bool encodeBmp(const EncodeInput& in, std::string& bytes) {
    if (!in.surface || in.surface->empty() || in.table.size() > 256) return false;
    const Surface& s = *in.surface;
    const bool indexed = !in.table.empty();
    const uint32_t bits = indexed ? 8 : 24;
    const size_t stride = (size_t(s.width) * bits + 31) / 32 * 4;
    const size_t tableBytes = in.table.size() * 4;
    const size_t offset = kFileHeaderSize + kWindowsHeaderSize + tableBytes;
    const size_t total = offset + stride * size_t(s.height);
    if (total > 0xFFFFFFFFu) return false;
    std::string b;
    b.reserve(total);
    b += "BM";
    putLe32(b, uint32_t(total));
    putLe32(b, 0);
    putLe32(b, uint32_t(offset));
    putLe32(b, kWindowsHeaderSize);
    putLe32(b, uint32_t(s.width));
    putLe32(b, uint32_t(s.height));  // bottom-up
    putLe16(b, 1);
    putLe16(b, bits);
    putLe32(b, kRgb);
    putLe32(b, uint32_t(stride * size_t(s.height)));
    putLe32(b, kPixelsPerMetre);
    putLe32(b, kPixelsPerMetre);
    putLe32(b, uint32_t(in.table.size()));
    putLe32(b, 0);
    for (uint32_t c : in.table) putLe32(b, c & 0xFFFFFFu);
    std::string row(stride, '\0');
    for (int y = s.height - 1; y >= 0; --y) {
        if (indexed) {
            std::memcpy(row.data(), in.indices.data() + size_t(y) * size_t(s.width), size_t(s.width));
        } else {
            const uint32_t* src = s.row(y);
            for (int x = 0; x < s.width; ++x) {
                row[size_t(x) * 3] = char(src[x] & 0xFF);
                row[size_t(x) * 3 + 1] = char((src[x] >> 8) & 0xFF);
                row[size_t(x) * 3 + 2] = char((src[x] >> 16) & 0xFF);
            }
        }
        b += row;
    }
    bytes = std::move(b);
    return true;
}

}  // namespace ts
