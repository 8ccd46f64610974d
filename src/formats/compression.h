#pragma once
// The two packing methods of the GBA BIOS that tileset, map and bitmap data may be written with,
// and the unpacking of such a stream. A packed stream starts with a 32-bit header: the method in
// its low byte (0x10 LZ77, 0x30 run-length) and the unpacked size in bytes in its upper 24 bits.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace ts {

enum class Packing : int { None = 0, Lz77 = 1, Rle = 2 };

// Header byte of an LZ77 stream (BIOS functions LZ77UnCompWram and LZ77UnCompVram).
constexpr uint8_t kLz77Header = 0x10;
// Header byte of a run-length stream (BIOS functions RLUnCompWram and RLUnCompVram).
constexpr uint8_t kRleHeader = 0x30;
// The header keeps the unpacked size in 24 bits.
constexpr size_t kPackedSizeLimit = (size_t(1) << 24) - 1;

// "LZ77", "RLE" ("" for None): the text of %packing% in data files.
const char* packingName(Packing packing);
// The method a %packing% text names (case and surrounding blanks ignored); false when it names
// none.
bool packingFromName(std::string_view text, Packing& packing);
// The method of a `convert.compression` value or a save's flags (0 none, 1 LZ77, 2 RLE).
bool packingFromCode(int32_t code, Packing& packing);

// Save operations receive the packing of the data in bits 4 and 5 of their flags.
constexpr int kSavePackingShift = 4;
constexpr int kSavePackingMask = 3 << kSavePackingShift;
inline int savePackingFlags(Packing packing) { return int(packing) << kSavePackingShift; }
inline Packing packingFromSaveFlags(int flags) {
    int code = (flags & kSavePackingMask) >> kSavePackingShift;
    return code == 1 ? Packing::Lz77 : code == 2 ? Packing::Rle : Packing::None;
}

// Packs `size` bytes with the method (header included, not padded). `size` must be at most
// kPackedSizeLimit.
std::vector<uint8_t> packData(Packing packing, const uint8_t* data, size_t size);

enum class UnpackStatus {
    Ok,
    UnknownMethod,  // the header's low byte is neither 0x10 nor 0x30
    SizeMismatch,   // the header promises another size than the caller expects
    Truncated,      // the stream ends before the size its header promises
    BeforeStart,    // an LZ77 back-reference points before the start of the data
};

// Unpacks a stream (header first) into `out`. The header's size must equal `expectedSize`.
// Never reads past `size` bytes nor writes past the promised size; on failure `out` is empty.
// Bytes after the end of the stream (padding) are ignored.
UnpackStatus unpackData(const uint8_t* stream, size_t size, size_t expectedSize, std::vector<uint8_t>& out);

// Reads a stream's header. False when fewer than 4 bytes.
bool readPackedHeader(const uint8_t* stream, size_t size, uint8_t& method, size_t& unpackedSize);

}  // namespace ts
