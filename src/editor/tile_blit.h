#pragma once
// Row-wise kernels that draw one 8 x 8 tile lying wholly inside a surface. A tile is first decoded
// through its palette bank into 64 words (decodeTile): the colour in the low 24 bits, and a top
// byte of 0xFF for a pixel whose index is not 0 (so that keyed drawing knows the holes). The
// kernels then copy or blend whole rows, mirrored as asked, with no palette look-ups and no
// bounds checks: the caller clips once per tile.
#include <cstddef>
#include <cstdint>

namespace ts {

constexpr int kDecodedTileWords = 64;      // one decoded 8 x 8 tile
constexpr uint32_t kDecodedSolid = 0xFF000000u;  // top byte of a pixel whose index is not 0

// Decodes the 64 indexes of `tile` through `palette` (index & mask, colour words with a clear
// top byte) into `out`.
void decodeTile(uint32_t* out, const uint32_t* tile, const uint32_t* palette, uint32_t mask);

// Instruction sets the kernels come in, from the plainest.
enum class BlitLevel { Portable, Sse2, Avx2, Avx512 };
// The best level this processor runs (the one the kernels below use).
BlitLevel bestBlitLevel();

// Draws a decoded tile at `dst` (its top-left pixel; `stride` words from one row to the next).
// `alpha` 0..255 blends with the primitives' rule, 256 copies. Keyed drawing leaves the pixels
// of index 0 as they are. Every level gives the same pixels.
using DecodedTileBlit = void (*)(uint32_t* dst, size_t stride, const uint32_t* decoded, bool vMirror,
                                 uint32_t alpha);
DecodedTileBlit decodedTileBlit(bool keyed, bool blend, bool hMirror);
// The kernel of a given level; nullptr when this processor cannot run it.
DecodedTileBlit decodedTileBlit(BlitLevel level, bool keyed, bool blend, bool hMirror);

// Kernels that read a tile's indexes directly and look the colours up in registers, for palette
// banks of at most 16 colours (index masks up to 15, as 4-bit and 2-bit tiles have):
// `bankPalette` holds at least 16 readable words. nullptr when this processor has none (they
// exist from the AVX2 level up).
using SmallBankTileBlit = void (*)(uint32_t* dst, size_t stride, const uint32_t* tile, const uint32_t* bankPalette,
                                   uint32_t mask, bool vMirror, uint32_t alpha);
SmallBankTileBlit smallBankTileBlit(bool keyed, bool blend, bool hMirror);
SmallBankTileBlit smallBankTileBlit(BlitLevel level, bool keyed, bool blend, bool hMirror);

}  // namespace ts
