/* Shows one converted picture: the test writes "case.h" with what the conversion produced.
 * Packed data are unpacked by the BIOS: tiles and bitmaps straight into video memory with the
 * 16-bit VRAM functions, maps into work RAM first (their rows are narrower than the screen's).
 *
 * case.h defines: PACKING (0 raw, 1 LZ77, 2 run-length), PALETTE and PAL_COUNT, and either
 * TILES, TILE_BYTES, BPP (4 or 8), MAP, MAP_W, MAP_H, or BITMAP, BITMAP_BYTES, MODE (3 or 4). */
#include "case.h"

typedef unsigned short u16;
typedef unsigned int u32;

void biosLz77Wram(const void* src, void* dst);
void biosLz77Vram(const void* src, void* dst);
void biosRleWram(const void* src, void* dst);
void biosRleVram(const void* src, void* dst);

#define REG_DISPCNT (*(volatile u16*)0x04000000)
#define REG_BG0CNT (*(volatile u16*)0x04000008)
#define BG_PALETTE ((volatile u16*)0x05000000)
#define VRAM ((volatile u16*)0x06000000)
#define SCREEN_BLOCK 31
#define SCREEN ((volatile u16*)(0x06000000 + SCREEN_BLOCK * 0x800))

#if PAL_COUNT > 0
extern const u16 PALETTE[];
#endif

/* Raw byte arrays are copied 16 bits at a time: video memory takes no 8-bit writes. */
static void copyBytes(volatile u16* dst, const unsigned char* src, u32 bytes) {
    for (u32 i = 0; i < bytes / 2; ++i) dst[i] = (u16)(src[2 * i] | src[2 * i + 1] << 8);
}

static void unpackToVram(const void* src, volatile u16* dst) {
    if (PACKING == 1) biosLz77Vram(src, (void*)dst);
    else biosRleVram(src, (void*)dst);
}

#ifdef TILES
extern const unsigned char TILES[];
extern const u16 MAP[];
static u16 mapBuffer[MAP_W * MAP_H];
#else
extern const unsigned char BITMAP[];
#endif

int main(void) {
    REG_DISPCNT = 0x0080; /* blank while the picture is set up */
#if PAL_COUNT > 0
    for (u32 i = 0; i < PAL_COUNT; ++i) BG_PALETTE[i] = PALETTE[i];
#endif
#ifdef TILES
    const u16* map = MAP;
    if (PACKING) {
        unpackToVram(TILES, VRAM);
        if (PACKING == 1) biosLz77Wram(MAP, mapBuffer);
        else biosRleWram(MAP, mapBuffer);
        map = mapBuffer;
    } else {
        copyBytes(VRAM, TILES, TILE_BYTES);
    }
    for (u32 y = 0; y < MAP_H; ++y)
        for (u32 x = 0; x < MAP_W; ++x) SCREEN[y * 32 + x] = map[y * MAP_W + x];
    REG_BG0CNT = (u16)(SCREEN_BLOCK << 8 | (BPP == 8 ? 0x80 : 0));
    REG_DISPCNT = 0x0100; /* mode 0, background 0 */
#else
    if (PACKING) unpackToVram(BITMAP, VRAM);
    else copyBytes(VRAM, BITMAP, BITMAP_BYTES);
    REG_DISPCNT = (u16)(0x0400 | MODE); /* mode 3 or 4, background 2 */
#endif
    for (;;) {
    }
    return 0;
}
