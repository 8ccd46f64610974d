#include "formats/compression.h"

#include <algorithm>
#include <cstring>

#include "formats/compression_lz77.h"
#include "formats/compression_rle.h"

namespace ts {

namespace {

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

UnpackStatus unpackLz77(const uint8_t* s, size_t n, size_t pos, uint8_t* out, size_t size) {
    size_t o = 0;
    while (o < size) {
        if (pos >= n) return UnpackStatus::Truncated;
        uint8_t flags = s[pos++];
        for (int bit = 0; bit < 8 && o < size; ++bit, flags = uint8_t(flags << 1)) {
            if (flags & 0x80) {
                if (n - pos < 2) return UnpackStatus::Truncated;
                const size_t length = size_t(s[pos] >> 4) + kLz77MinLength;
                const size_t distance = (size_t(s[pos] & 0x0F) << 8 | s[pos + 1]) + 1;
                pos += 2;
                if (distance > o) return UnpackStatus::BeforeStart;
                // A reference that runs past the promised size stops there, as the BIOS does.
                const size_t end = std::min(size, o + length);
                for (; o < end; ++o) out[o] = out[o - distance];
            } else {
                if (pos >= n) return UnpackStatus::Truncated;
                out[o++] = s[pos++];
            }
        }
    }
    return UnpackStatus::Ok;
}

UnpackStatus unpackRle(const uint8_t* s, size_t n, size_t pos, uint8_t* out, size_t size) {
    size_t o = 0;
    while (o < size) {
        if (pos >= n) return UnpackStatus::Truncated;
        const uint8_t flag = s[pos++];
        if (flag & 0x80) {
            if (pos >= n) return UnpackStatus::Truncated;
            const size_t length = std::min<size_t>(size_t(flag & 0x7F) + kRleMinRun, size - o);
            std::memset(out + o, s[pos++], length);
            o += length;
        } else {
            const size_t length = std::min<size_t>(size_t(flag & 0x7F) + 1, size - o);
            if (n - pos < length) return UnpackStatus::Truncated;
            std::memcpy(out + o, s + pos, length);
            pos += length;
            o += length;
        }
    }
    return UnpackStatus::Ok;
}

}  // namespace

const char* packingName(Packing packing) {
    switch (packing) {
        case Packing::Lz77: return "LZ77";
        case Packing::Rle: return "RLE";
        default: return "";
    }
}

bool packingFromName(std::string_view text, Packing& packing) {
    text = trimmed(text);
    if (sameNoCase(text, "lz77")) packing = Packing::Lz77;
    else if (sameNoCase(text, "rle")) packing = Packing::Rle;
    else return false;
    return true;
}

bool packingFromCode(int32_t code, Packing& packing) {
    if (code < 0 || code > 2) return false;
    packing = Packing(code);
    return true;
}

std::vector<uint8_t> packData(Packing packing, const uint8_t* data, size_t size) {
    if (size > kPackedSizeLimit) size = kPackedSizeLimit;
    switch (packing) {
        case Packing::Lz77: return packLz77(data, size);
        case Packing::Rle: return packRle(data, size);
        default: return std::vector<uint8_t>(data, data + size);
    }
}

bool readPackedHeader(const uint8_t* stream, size_t size, uint8_t& method, size_t& unpackedSize) {
    if (!stream || size < 4) return false;
    method = stream[0];
    unpackedSize = size_t(stream[1]) | size_t(stream[2]) << 8 | size_t(stream[3]) << 16;
    return true;
}

UnpackStatus unpackData(const uint8_t* stream, size_t size, size_t expectedSize, std::vector<uint8_t>& out) {
    out.clear();
    uint8_t method = 0;
    size_t promised = 0;
    if (!readPackedHeader(stream, size, method, promised)) return UnpackStatus::Truncated;
    if (method != kLz77Header && method != kRleHeader) return UnpackStatus::UnknownMethod;
    if (promised != expectedSize) return UnpackStatus::SizeMismatch;
    out.resize(promised);
    const UnpackStatus status = method == kLz77Header ? unpackLz77(stream, size, 4, out.data(), promised)
                                                      : unpackRle(stream, size, 4, out.data(), promised);
    if (status != UnpackStatus::Ok) out.clear();
    return status;
}

}  // namespace ts
