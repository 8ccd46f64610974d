#pragma once
// Run-length streams as the GBA BIOS unpacks them (header 0x30). After the header, blocks that
// start with a flag byte: bit 7 set, a run of (flag & 0x7F) + 3 copies of the next byte; bit 7
// clear, (flag & 0x7F) + 1 literal bytes follow.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ts {

constexpr int kRleMinRun = 3;        // shortest run a block can hold
constexpr int kRleMaxRun = 130;      // longest run (7 bits of length - 3)
constexpr int kRleMaxLiterals = 128; // longest literal block (7 bits of length - 1)

// The shortest stream for the data (runs and literal blocks chosen by dynamic programming),
// header included.
std::vector<uint8_t> packRle(const uint8_t* data, size_t size);

}  // namespace ts
