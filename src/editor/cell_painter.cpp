#include "editor/cell_painter.h"

#include <algorithm>
#include <span>

#include "editor/surface_primitives.h"

namespace ts {

namespace {

constexpr int kSide = kViewTileSide;

}  // namespace

void drawIndexedTile(Surface& t, int x, int y, const uint32_t* tile, const uint32_t* pal, uint32_t mask, bool h,
                     bool v, bool keyed, int a) {
    if (x >= 0 && y >= 0 && x + kSide <= t.width && y + kSide <= t.height) {
        uint32_t decoded[kDecodedTileWords];
        decodeTile(decoded, tile, pal, mask);
        decodedTileBlit(keyed, a < 256, h)(t.row(y) + x, size_t(t.stride), decoded, v, uint32_t(a));
        return;
    }
    if (x >= t.width || y >= t.height || x + kSide <= 0 || y + kSide <= 0) return;
    const std::span<const uint32_t> palette(pal, size_t(mask) + 1);
    if (keyed) blendIndexedKeyed(t, x, y, kSide, kSide, tile, palette, h, v, mask, a);
    else blendIndexed(t, x, y, kSide, kSide, tile, palette, h, v, mask, a);
}

CellPainter::CellPainter(const PlaneRecord& plane, const FramePalette& palette, int a, PlaneTileCache* cache,
                         uint64_t frame)
    : plane_(plane), palette_(palette) {
    tileCount_ = uint32_t(std::max(plane.tileCount, 0));
    blockWidth_ = std::clamp(plane.blockWidth, kSide, 64);
    blockHeight_ = std::clamp(plane.blockHeight, kSide, 64);
    across_ = blockWidth_ / kSide;
    down_ = blockHeight_ / kSide;
    perBlock_ = uint32_t(across_ * down_);
    tileBlocks_ = plane.tiles.size() / kTileWords;
    emulate_ = plane.emulGba != 0;
    banks_ = plane.paletteBanks && emulate_;
    perBank_ = uint32_t(std::clamp(plane.colorsPerBank, 1, kPaletteEntries));
    mask_ = plane.paletteBanks ? perBank_ - 1 : kPaletteEntries - 1;
    lastBank_ = (kPaletteEntries + perBank_ - 1) / perBank_;  // this bank and those above start at 256
    keyed_ = plane.index0Transparent;
    alpha_ = primitiveAlpha(a);
    for (int h = 0; h < 2; ++h) {
        kernels_[h] = decodedTileBlit(keyed_, alpha_ < 256, h != 0);
        smallKernels_[h] = mask_ <= 15 ? smallBankTileBlit(keyed_, alpha_ < 256, h != 0) : nullptr;
    }
    // Small banks look their colours up while drawing; larger palettes decode each tile once.
    small_ = smallKernels_[0] && smallKernels_[1];
    if (cache && !small_ && cache->prepare(frame, plane.tiles, palette.data(), mask_, banks_ ? lastBank_ + 1 : 1))
        cache_ = cache;
}

inline void CellPainter::queue(Surface& target, int px, int py, uint32_t tile, uint32_t bank, const uint32_t* pal,
                               bool h, bool v, bool whole) {
    const uint32_t* indexes = plane_.tiles.data() + size_t(tile) * kTileWords;
    const uint32_t* source = nullptr;
    if (whole) source = small_ ? indexes : cache_ ? cache_->tile(tile, bank, pal) : nullptr;
    if (!source) {
        drawIndexedTile(target, px, py, indexes, pal, mask_, h, v, keyed_, alpha_);
        return;
    }
    batch_[waiting_++] = Waiting{target.row(py) + px, source, pal, h, v};
    if (waiting_ == kBatch) flush(size_t(target.stride));
}

void CellPainter::draw(Surface& target, int x, int y, uint32_t entry) {
    uint32_t tileNumber = entry, bank = 0;
    bool h = false, v = false;
    if (emulate_) {
        const MapEntryLayout& layout = plane_.layout;
        tileNumber = layout.tile(entry);
        h = layout.hMirror(entry) != 0;
        v = layout.vMirror(entry) != 0;
        if (banks_) bank = std::min(layout.palette(entry), lastBank_);
    }
    if (tileNumber >= tileCount_) return;
    const uint32_t first = (perBlock_ * tileNumber) & 0xFFFFu;
    // A block whose tiles run past the tile data draws nothing.
    if (size_t(first) + perBlock_ > tileBlocks_) return;
    const uint32_t* pal = palette_.data() + std::min(bank * perBank_, uint32_t(kPaletteEntries));
    const bool inside = x >= 0 && y >= 0 && x + blockWidth_ <= target.width && y + blockHeight_ <= target.height;
    for (int row = 0; row < down_; ++row) {
        const int py = v ? y + blockHeight_ - kSide - row * kSide : y + row * kSide;
        for (int col = 0; col < across_; ++col) {
            const int px = h ? x + blockWidth_ - kSide - col * kSide : x + col * kSide;
            const bool whole =
                inside || (px >= 0 && py >= 0 && px + kSide <= target.width && py + kSide <= target.height);
            queue(target, px, py, first + uint32_t(row * across_ + col), bank, pal, h, v, whole);
        }
    }
}

void CellPainter::drawRow(Surface& target, int y, const uint32_t* cells, int64_t c0, int64_t c1, bool rules,
                          uint32_t tileLimit, uint32_t valueMask) {
    const MapEntryLayout& layout = plane_.layout;
    // The entry's fields as plain masks (a field is set when any of its bits is).
    const uint32_t tileMask = emulate_ ? layout.tileMask : 0xFFFFFFFFu;
    const uint32_t hBits = emulate_ && layout.hMirrorShift < 32 ? layout.hMirrorMask & (~0u << layout.hMirrorShift) : 0;
    const uint32_t vBits = emulate_ && layout.vMirrorShift < 32 ? layout.vMirrorMask & (~0u << layout.vMirrorShift) : 0;
    const bool banks = banks_ && layout.paletteShift < 32;
    const int64_t lastWhole = (int64_t(target.width) - kSide) / kSide;  // last column drawn whole
    for (int64_t c = c0; c < c1; ++c) {
        uint32_t entry = cells[c];
        if (rules) {
            const int64_t e = tileOfValue(plane_, entry);
            if (e < 0) continue;
            entry = uint32_t(e);
        } else if (int32_t(entry) < 0 || (entry & valueMask) >= tileLimit) {
            continue;
        }
        if (c > lastWhole) {
            draw(target, int(c * kSide), y, entry);
            continue;
        }
        const uint32_t tile = entry & tileMask;
        if (tile >= tileCount_ || (tile & 0xFFFFu) >= tileBlocks_) continue;
        const uint32_t bank = banks ? std::min((entry & layout.paletteMask) >> layout.paletteShift, lastBank_) : 0;
        const uint32_t* pal = palette_.data() + std::min(bank * perBank_, uint32_t(kPaletteEntries));
        queue(target, int(c * kSide), y, tile & 0xFFFFu, bank, pal, (entry & hBits) != 0, (entry & vBits) != 0, true);
    }
    flush(size_t(target.stride));
}

void CellPainter::flush(size_t stride) {
    constexpr int kAhead = 3;  // tiles fetched ahead of their drawing
    for (int i = 0; i < waiting_; ++i) {
        if (i + kAhead < waiting_) {
            const uint32_t* next = batch_[i + kAhead].source;
            for (int line = 0; line < kDecodedTileWords; line += 16) __builtin_prefetch(next + line);
        }
        const Waiting& w = batch_[i];
        if (small_) smallKernels_[w.h](w.dst, stride, w.source, w.palette, mask_, w.v, uint32_t(alpha_));
        else kernels_[w.h](w.dst, stride, w.source, w.v, uint32_t(alpha_));
    }
    waiting_ = 0;
}

}  // namespace ts
