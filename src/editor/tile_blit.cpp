#include "editor/tile_blit.h"

#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define TS_TILE_BLIT_AVX2 1
#endif

namespace ts {

namespace {

constexpr int kSide = 8;                 // pixels of one tile side
constexpr uint32_t kColourBits = 0x00FFFFFFu;

[[maybe_unused]] void decodeTileScalar(uint32_t* out, const uint32_t* tile, const uint32_t* palette, uint32_t mask) {
    for (int i = 0; i < kDecodedTileWords; ++i) {
        const uint32_t index = tile[i] & mask;
        out[i] = (palette[index] & kColourBits) | (index != 0 ? kDecodedSolid : 0u);
    }
}

// Portable kernels: one pixel at a time, the same rule as blendPixel except that the fourth byte
// of the destination is blended too (with a source byte of 0), as the vector kernels do.
inline uint32_t blendWord(uint32_t s, uint32_t d, uint32_t a) {
    const uint32_t na = 255 - a;
    const uint32_t rb = (((s & 0xFF00FFu) * a + (d & 0xFF00FFu) * na) >> 8) & 0xFF00FFu;
    const uint32_t gx = (((s >> 8) & 0xFFu) * a + ((d >> 8) & 0xFF00FFu) * na) & 0xFF00FF00u;
    return rb | gx;
}

template <bool Keyed, bool Blend, bool H>
void blitScalar(uint32_t* dst, size_t stride, const uint32_t* decoded, bool vMirror, uint32_t alpha) {
    for (int r = 0; r < kSide; ++r) {
        const uint32_t* src = decoded + (vMirror ? kSide - 1 - r : r) * kSide;
        uint32_t* out = dst + size_t(r) * stride;
        for (int c = 0; c < kSide; ++c) {
            const uint32_t s = src[H ? kSide - 1 - c : c];
            if (Keyed && !(s & kDecodedSolid)) continue;
            out[c] = Blend ? blendWord(s, out[c], alpha) : (s & kColourBits);
        }
    }
}

#if defined(__SSE2__)
// Four pixels: red and blue in one pair of 16-bit lanes, green (and the destination's fourth
// byte) in the other, so that the blend needs no unpacking.
inline __m128i blend4(__m128i s, __m128i d, __m128i a, __m128i na) {
    const __m128i rbMask = _mm_set1_epi32(0x00FF00FF), gMask = _mm_set1_epi32(0xFF);
    const __m128i rb = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(s, rbMask), a),
                                                    _mm_mullo_epi16(_mm_and_si128(d, rbMask), na)), 8);
    const __m128i gx = _mm_and_si128(_mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi32(s, 8), gMask), a),
                                                   _mm_mullo_epi16(_mm_and_si128(_mm_srli_epi32(d, 8), rbMask), na)),
                                     _mm_set1_epi32(int(0xFF00FF00u)));
    return _mm_or_si128(rb, gx);
}

template <bool Keyed, bool Blend>
inline void put4(uint32_t* out, __m128i s, __m128i a, __m128i na) {
    __m128i* p = reinterpret_cast<__m128i*>(out);
    __m128i colour = _mm_and_si128(s, _mm_set1_epi32(int(kColourBits)));
    if (!Keyed && !Blend) {
        _mm_storeu_si128(p, colour);
        return;
    }
    const __m128i under = _mm_loadu_si128(p);
    if (Blend) colour = blend4(s, under, a, na);
    if (Keyed) {
        const __m128i solid = _mm_srai_epi32(s, 31);
        colour = _mm_or_si128(_mm_and_si128(solid, colour), _mm_andnot_si128(solid, under));
    }
    _mm_storeu_si128(p, colour);
}

template <bool Keyed, bool Blend, bool H>
void blitSse2(uint32_t* dst, size_t stride, const uint32_t* decoded, bool vMirror, uint32_t alpha) {
    const __m128i a = _mm_set1_epi16(short(alpha)), na = _mm_set1_epi16(short(255 - alpha));
    for (int r = 0; r < kSide; ++r) {
        const uint32_t* src = decoded + (vMirror ? kSide - 1 - r : r) * kSide;
        __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4));
        if (H) {
            const __m128i t = _mm_shuffle_epi32(right, 0x1B);
            right = _mm_shuffle_epi32(left, 0x1B);
            left = t;
        }
        uint32_t* out = dst + size_t(r) * stride;
        put4<Keyed, Blend>(out, left, a, na);
        put4<Keyed, Blend>(out + 4, right, a, na);
    }
}

void decodeTileSse2(uint32_t* out, const uint32_t* tile, const uint32_t* palette, uint32_t mask) {
    const __m128i m = _mm_set1_epi32(int(mask)), zero = _mm_setzero_si128();
    const __m128i solidBits = _mm_set1_epi32(int(kDecodedSolid));
    for (int i = 0; i < kDecodedTileWords; i += 4) {
        const __m128i index = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tile + i)), m);
        alignas(16) uint32_t k[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(k), index);
        const __m128i colour = _mm_set_epi32(int(palette[k[3]]), int(palette[k[2]]), int(palette[k[1]]), int(palette[k[0]]));
        const __m128i solid = _mm_andnot_si128(_mm_cmpeq_epi32(index, zero), solidBits);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_and_si128(colour, _mm_set1_epi32(int(kColourBits))), solid));
    }
}
#endif

#if TS_TILE_BLIT_AVX2
// A whole tile row (eight pixels) per register.
__attribute__((target("avx2"))) inline __m256i blend8(__m256i s, __m256i d, __m256i a, __m256i na) {
    const __m256i rbMask = _mm256_set1_epi32(0x00FF00FF), gMask = _mm256_set1_epi32(0xFF);
    const __m256i rb = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(s, rbMask), a),
                                                          _mm256_mullo_epi16(_mm256_and_si256(d, rbMask), na)), 8);
    const __m256i gx = _mm256_and_si256(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(s, 8), gMask), a),
                         _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(d, 8), rbMask), na)),
        _mm256_set1_epi32(int(0xFF00FF00u)));
    return _mm256_or_si256(rb, gx);
}

template <bool Keyed, bool Blend, bool H>
__attribute__((target("avx2"))) void blitAvx2(uint32_t* dst, size_t stride, const uint32_t* decoded, bool vMirror,
                                              uint32_t alpha) {
    const __m256i a = _mm256_set1_epi16(short(alpha)), na = _mm256_set1_epi16(short(255 - alpha));
    const __m256i reverse = _mm256_set_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i colourBits = _mm256_set1_epi32(int(kColourBits));
    for (int r = 0; r < kSide; ++r) {
        const uint32_t* src = decoded + (vMirror ? kSide - 1 - r : r) * kSide;
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src));
        if (H) s = _mm256_permutevar8x32_epi32(s, reverse);
        __m256i* out = reinterpret_cast<__m256i*>(dst + size_t(r) * stride);
        __m256i colour = _mm256_and_si256(s, colourBits);
        if (Keyed || Blend) {
            const __m256i under = _mm256_loadu_si256(out);
            if (Blend) colour = blend8(s, under, a, na);
            if (Keyed) colour = _mm256_blendv_epi8(under, colour, _mm256_srai_epi32(s, 31));
        }
        _mm256_storeu_si256(out, colour);
    }
}
#endif

#if TS_TILE_BLIT_AVX2
template <bool Keyed, bool Blend, bool H>
__attribute__((target("avx2"))) void blitSmallBankAvx2(uint32_t* dst, size_t stride, const uint32_t* tile,
                                                       const uint32_t* bankPalette, uint32_t mask, bool vMirror,
                                                       uint32_t alpha) {
    const __m256i a = _mm256_set1_epi16(short(alpha)), na = _mm256_set1_epi16(short(255 - alpha));
    const __m256i reverse = _mm256_set_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i m = _mm256_set1_epi32(int(mask)), zero = _mm256_setzero_si256();
    const __m256i colourBits = _mm256_set1_epi32(int(kColourBits));
    const __m256i low = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bankPalette)), colourBits);
    const __m256i high = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bankPalette + 8)), colourBits);
    for (int r = 0; r < kSide; ++r) {
        const uint32_t* src = tile + (vMirror ? kSide - 1 - r : r) * kSide;
        __m256i index = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)), m);
        if (H) index = _mm256_permutevar8x32_epi32(index, reverse);
        // Colours 0-7 and 8-15 looked up by the low three bits, chosen by bit 3.
        __m256i colour = _mm256_castps_si256(_mm256_blendv_ps(
            _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(low, index)),
            _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(high, index)),
            _mm256_castsi256_ps(_mm256_slli_epi32(index, 28))));
        __m256i* out = reinterpret_cast<__m256i*>(dst + size_t(r) * stride);
        if (Keyed || Blend) {
            const __m256i under = _mm256_loadu_si256(out);
            if (Blend) colour = blend8(colour, under, a, na);
            if (Keyed) colour = _mm256_blendv_epi8(colour, under, _mm256_cmpeq_epi32(index, zero));
        }
        _mm256_storeu_si256(out, colour);
    }
}

#endif

#if TS_TILE_BLIT_AVX2
#define TS_AVX512 __attribute__((target("avx2,avx512f,avx512vl,avx512bw")))
// With AVX-512 (on 256-bit registers): one two-table permute looks a row's 16-colour indexes up,
// the source side of the blend (colour x alpha) is worked out once per tile for the bank's 16
// colours, and keyed rows are written through a mask.
template <bool Keyed, bool Blend, bool H>
TS_AVX512 void blitSmallBankAvx512(uint32_t* dst, size_t stride, const uint32_t* tile, const uint32_t* bankPalette,
                                   uint32_t mask, bool vMirror, uint32_t alpha) {
    const __m256i rbMask = _mm256_set1_epi32(0x00FF00FF), gMask = _mm256_set1_epi32(0xFF);
    const __m256i gxMask = _mm256_set1_epi32(int(0xFF00FF00u));
    const __m256i colourBits = _mm256_set1_epi32(int(kColourBits));
    const __m256i reverse = _mm256_set_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i m = _mm256_set1_epi32(int(mask));
    const __m256i a = _mm256_set1_epi16(short(alpha)), na = _mm256_set1_epi16(short(255 - alpha));
    const __m256i low = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bankPalette)), colourBits);
    const __m256i high = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bankPalette + 8)), colourBits);
    // Red and blue times alpha, green times alpha, for colours 0-7 and 8-15.
    const __m256i rbLow = _mm256_mullo_epi16(_mm256_and_si256(low, rbMask), a);
    const __m256i rbHigh = _mm256_mullo_epi16(_mm256_and_si256(high, rbMask), a);
    const __m256i gLow = _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(low, 8), gMask), a);
    const __m256i gHigh = _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(high, 8), gMask), a);
    for (int r = 0; r < kSide; ++r) {
        const uint32_t* src = tile + (vMirror ? kSide - 1 - r : r) * kSide;
        __m256i index = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src)), m);
        if (H) index = _mm256_permutexvar_epi32(reverse, index);
        uint32_t* out = dst + size_t(r) * stride;
        __m256i colour;
        if (Blend) {
            const __m256i under = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out));
            const __m256i rb = _mm256_srli_epi16(
                _mm256_add_epi16(_mm256_permutex2var_epi32(rbLow, index, rbHigh),
                                 _mm256_mullo_epi16(_mm256_and_si256(under, rbMask), na)), 8);
            const __m256i g = _mm256_add_epi16(_mm256_permutex2var_epi32(gLow, index, gHigh),
                                               _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(under, 8), rbMask), na));
            colour = _mm256_ternarylogic_epi32(g, gxMask, rb, 0xEA);  // (g & gxMask) | rb
        } else {
            colour = _mm256_permutex2var_epi32(low, index, high);
        }
        if (Keyed) _mm256_mask_storeu_epi32(out, _mm256_test_epi32_mask(index, index), colour);
        else _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), colour);
    }
}

#endif

// Kernels of one instruction set, [keyed][blend][hMirror].
template <template <bool, bool, bool> class Kernel, typename Fn>
constexpr std::array<Fn, 8> tableOf() {
    return {&Kernel<false, false, false>::run, &Kernel<false, false, true>::run, &Kernel<false, true, false>::run,
            &Kernel<false, true, true>::run,   &Kernel<true, false, false>::run, &Kernel<true, false, true>::run,
            &Kernel<true, true, false>::run,   &Kernel<true, true, true>::run};
}
constexpr size_t slotOf(bool keyed, bool blend, bool hMirror) { return size_t(keyed) * 4 + size_t(blend) * 2 + size_t(hMirror); }

template <bool K, bool B, bool H>
struct ScalarKernel {
    static void run(uint32_t* d, size_t s, const uint32_t* t, bool v, uint32_t a) { blitScalar<K, B, H>(d, s, t, v, a); }
};
#if defined(__SSE2__)
template <bool K, bool B, bool H>
struct Sse2Kernel {
    static void run(uint32_t* d, size_t s, const uint32_t* t, bool v, uint32_t a) { blitSse2<K, B, H>(d, s, t, v, a); }
};
#endif
#if TS_TILE_BLIT_AVX2
template <bool K, bool B, bool H>
struct Avx2Kernel {
    static void run(uint32_t* d, size_t s, const uint32_t* t, bool v, uint32_t a) { blitAvx2<K, B, H>(d, s, t, v, a); }
};
template <bool K, bool B, bool H>
struct SmallAvx2Kernel {
    static void run(uint32_t* d, size_t s, const uint32_t* t, const uint32_t* p, uint32_t m, bool v, uint32_t a) {
        blitSmallBankAvx2<K, B, H>(d, s, t, p, m, v, a);
    }
};
template <bool K, bool B, bool H>
struct SmallAvx512Kernel {
    static void run(uint32_t* d, size_t s, const uint32_t* t, const uint32_t* p, uint32_t m, bool v, uint32_t a) {
        blitSmallBankAvx512<K, B, H>(d, s, t, p, m, v, a);
    }
};
#endif

// The best level this processor runs, found once.
BlitLevel processorLevel() {
    static const BlitLevel level = [] {
#if TS_TILE_BLIT_AVX2
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw"))
            return BlitLevel::Avx512;
        if (__builtin_cpu_supports("avx2")) return BlitLevel::Avx2;
#endif
#if defined(__SSE2__)
        return BlitLevel::Sse2;
#else
        return BlitLevel::Portable;
#endif
    }();
    return level;
}

}  // namespace

void decodeTile(uint32_t* out, const uint32_t* tile, const uint32_t* palette, uint32_t mask) {
#if defined(__SSE2__)
    decodeTileSse2(out, tile, palette, mask);
#else
    decodeTileScalar(out, tile, palette, mask);
#endif
}

BlitLevel bestBlitLevel() { return processorLevel(); }

DecodedTileBlit decodedTileBlit(BlitLevel level, bool keyed, bool blend, bool hMirror) {
    if (level > processorLevel()) return nullptr;
    const size_t slot = slotOf(keyed, blend, hMirror);
    switch (level) {
#if TS_TILE_BLIT_AVX2
    case BlitLevel::Avx512:
    case BlitLevel::Avx2: {
        static constexpr auto table = tableOf<Avx2Kernel, DecodedTileBlit>();
        return table[slot];
    }
#endif
#if defined(__SSE2__)
    case BlitLevel::Sse2: {
        static constexpr auto table = tableOf<Sse2Kernel, DecodedTileBlit>();
        return table[slot];
    }
#endif
    case BlitLevel::Portable: {
        static constexpr auto table = tableOf<ScalarKernel, DecodedTileBlit>();
        return table[slot];
    }
    default:
        return nullptr;
    }
}

DecodedTileBlit decodedTileBlit(bool keyed, bool blend, bool hMirror) {
    return decodedTileBlit(processorLevel(), keyed, blend, hMirror);
}

SmallBankTileBlit smallBankTileBlit(BlitLevel level, bool keyed, bool blend, bool hMirror) {
    if (level > processorLevel()) return nullptr;
    const size_t slot = slotOf(keyed, blend, hMirror);
    switch (level) {
#if TS_TILE_BLIT_AVX2
    case BlitLevel::Avx512: {
        static constexpr auto table = tableOf<SmallAvx512Kernel, SmallBankTileBlit>();
        return table[slot];
    }
    case BlitLevel::Avx2: {
        static constexpr auto table = tableOf<SmallAvx2Kernel, SmallBankTileBlit>();
        return table[slot];
    }
#endif
    default:
        return nullptr;
    }
}

SmallBankTileBlit smallBankTileBlit(bool keyed, bool blend, bool hMirror) {
    return smallBankTileBlit(processorLevel(), keyed, blend, hMirror);
}

}  // namespace ts
