#pragma once
// LZ77 streams as the GBA BIOS unpacks them (header 0x10). After the header, groups of one flag
// byte and eight items, the flag's bit 7 for the first item: a clear bit is one literal byte, a
// set bit a back-reference of two bytes, (length - 3) << 4 | (distance - 1) >> 8 and
// (distance - 1) & 0xFF, that copies `length` bytes from `distance` bytes back.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ts {

constexpr int kLz77MinLength = 3;      // shortest back-reference
constexpr int kLz77MaxLength = 18;     // longest back-reference (4 bits of length - 3)
constexpr int kLz77MaxDistance = 4096; // farthest back-reference (12 bits of distance - 1)
// Nearest back-reference the packer writes: the BIOS's VRAM function writes 16 bits at a time,
// so the byte just before the one it is copying to has not reached memory yet.
constexpr int kLz77MinDistance = 2;

// The shortest stream for the data (an optimal parse over the longest match at each position),
// header included. At most kPackedSizeLimit bytes.
std::vector<uint8_t> packLz77(const uint8_t* data, size_t size);

// A plain greedy packer (the longest match at each position, taken at once) with the same match
// search: the measure the optimal parse is compared with.
std::vector<uint8_t> packLz77Greedy(const uint8_t* data, size_t size);

}  // namespace ts
