#pragma once
// Tileset, map and bitmap data written packed (LZ77 or run-length, as the GBA BIOS unpacks them)
// and read back. The bytes packed are the data as they lie in the console's memory: tileset
// pixels as 4-bit pairs, bytes, 16-bit colours or 32-bit values; map entries of 1, 2 or 4 bytes;
// bitmap pixels of 1, 2 or 4 bytes; all little-endian.
//
// A file of packed data holds its section's declaration, written with %packing% (the method),
// %unpacked% (bytes once unpacked), %packed% (32-bit words of the stream) and %memory% (bytes of
// the stream, padded to 4), then the stream as 32-bit words with the section's `element3`, with
// `every_x` at each `n_every` boundary of their running count (no `line`), then the `end`.
#include <cstdint>
#include <string>
#include <vector>

#include "formats/compression.h"
#include "formats/format_state.h"
#include "formats/template_writer.h"

namespace ts {

struct App;
struct OpenedDataFile;

// The stream padded with zeros to a whole number of 32-bit words.
struct PackedStream {
    Packing packing = Packing::None;
    std::vector<uint8_t> bytes;
    size_t unpackedSize = 0;
};

// Appends a value's low `width` bytes, little-endian.
inline void appendLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
}

// Save: packs `raw` and sets the variables packing, unpacked, packed, memory and type (the
// format's type32 text). False, after a message whose caption is `path`, when the section cannot
// hold packed data (no %packing% in its declaration, or no `element3`) or the data are larger
// than a packed header can say.
bool preparePackedData(App& app, const FormatSection& section, Packing packing, const std::vector<uint8_t>& raw,
                       const std::string& path, PackedStream& stream);

// Save: the stream's words with the section's `element3` and `every_x`.
void writePackedWords(App& app, TemplateOutput& out, const FormatSection& section, const PackedStream& stream);

// Load: the method the matched declaration named in %packing% (None when it named none); false,
// after a message, when it names an unknown one.
bool packingOfHeader(App& app, const std::string& path, Packing& packing);

// Load: reads the words after the declaration (at most `wordCount` when it is above 0) and
// unpacks them. The result must be `expectedSize` bytes, or, with expectedSize = kAnySize, any
// size the stream's header gives. False, after a message, for a damaged stream.
constexpr size_t kAnySize = ~size_t(0);
bool readPackedData(App& app, const OpenedDataFile& file, Packing packing, int32_t wordCount, size_t expectedSize,
                    std::vector<uint8_t>& out);

// Reads a value of `width` bytes, little-endian.
inline uint32_t littleEndianAt(const uint8_t* bytes, int width) {
    uint32_t v = 0;
    for (int i = 0; i < width; ++i) v |= uint32_t(bytes[i]) << (8 * i);
    return v;
}

}  // namespace ts
