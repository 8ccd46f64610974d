#pragma once
// The map view as the console shows it: one map entry as one block of 8 x 8 tiles (mirror bits,
// palette banks, the plane's value-to-tile rules), a whole plane with its parallax rate and grid,
// object lists, the hex-digit view, the timed messages, and the composition of one frame.
// Only the cells inside the view are visited.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "editor/editor_document.h"
#include "editor/surface.h"
#include "editor/view_tile_cache.h"
#include "formats/platform_types.h"

namespace ts {

constexpr int kHexDigitWidth = 3;    // the hex font's glyphs
constexpr int kHexDigitHeight = 5;
constexpr uint32_t kHexBlockSize = 16;  // block size of the active plane in hex mode
constexpr uint32_t kMessageFill = 0x603000;   // window colour order
constexpr uint32_t kMessageFrame = 0x00C0FF;  // window colour order
constexpr int kMessageFillAlpha = 128;
constexpr int kMessageFrameAlpha = 192;

// Palette words as drawn (top byte cleared), followed by 256 black words so that a palette bank
// plus its index mask never leaves the table.
using FramePalette = std::array<uint32_t, 512>;
void makeFramePalette(const PlaneRecord& plane, FramePalette& out);

// The entry a value draws through the plane's tile offset, rules and display mask, or -1 when the
// value draws nothing (negative, or its tile beyond the plane's tile count).
int64_t tileOfValue(const PlaneRecord& plane, uint32_t value);

// One map entry as one block of blockWidth x blockHeight pixels at (x, y). `a` is the opacity,
// 0 meaning opaque.
// With `directColour` the tiles hold pixel words (depths without a palette) and are copied as
// they are.
void drawCell(Surface& target, int x, int y, const PlaneRecord& plane, const FramePalette& palette,
              uint32_t entry, int a, bool directColour = false);

// True when the plane's depth has no palette on this platform, so that its tiles hold colours.
bool tilesHoldColours(const PlaneRecord& plane, const PlatformRecord* platform);

// The hex digits of one cell whose block is at (x, y): black digits on white 3 x 5 boxes. Two
// digits for 8-bit entries, up to four otherwise (all four with fillZeros or a high byte).
void drawHexValue(Surface& target, int x, int y, int blockWidth, int blockHeight, uint32_t value,
                  bool eightBitEntries, bool fillZeros);

// Effective parallax rate of a plane: its rate over the active plane's.
double effectiveRateX(const EditorDocument& doc, int slot);
double effectiveRateY(const EditorDocument& doc, int slot);

// The visible part of the map plane in `slot` with the editor's scroll position; in hex mode,
// unless `graphics` is set, its values as hex digits. The grid follows for the active plane.
void drawPlane(Surface& target, const EditorDocument& doc, int slot, const FramePalette& palette, int a,
               bool graphics, bool directColour = false);

// Objects of a list plane whose selection the tools keep: selected objects (or the current one
// when none is selected) are framed and get a pulsing fill.
struct ObjectHighlight {
    const std::vector<int>* selected = nullptr;
    int current = -1;
    uint64_t nowMs = 0;  // drives the pulse
};
void drawObjects(Surface& target, const EditorDocument& doc, int slot, const FramePalette& palette, int a,
                 const ObjectHighlight& highlight, bool directColour = false);

// The timed messages at the bottom left, oldest on top.
void drawMessages(Surface& target, const EditorDocument& doc);

// What the tools draw over the active plane (cursor, selection, popup); may be empty.
using OverlayPainter = std::function<void(Surface&)>;

// One frame of the editor's view into `target` (sized by the caller: view area / zoom), in the
// editor's order: background, the other visible planes, the active plane, the tools' overlay,
// the messages. `multiPalettes` is "One palette for each BG". The platform (when given) tells
// which planes' tiles hold colours instead of palette indexes.
void composeView(Surface& target, const EditorDocument& doc, bool multiPalettes, const OverlayPainter& overlay,
                 const ObjectHighlight& highlight, const PlatformRecord* platform = nullptr);
// The same frame with the memory of `cache` (kept by the caller from frame to frame), so that
// drawing a frame allocates nothing once the view has been drawn.
void composeView(Surface& target, const EditorDocument& doc, bool multiPalettes, const OverlayPainter& overlay,
                 const ObjectHighlight& highlight, const PlatformRecord* platform, ViewTileCache& cache);

// Drives the frames of a window: ages the messages by the time between frames (from the clock
// the caller passes) and tells whether a new frame would differ from the last one drawn, so that
// an idle editor draws nothing.
class ViewClock {
public:
    // Ages the messages by the time since the last call and composes a frame.
    void compose(Surface& target, EditorDocument& doc, bool multiPalettes, const OverlayPainter& overlay,
                 const ObjectHighlight& highlight, uint64_t nowMs, uint64_t overlayState = 0,
                 const PlatformRecord* platform = nullptr);
    // True when a frame composed at `nowMs` could differ from the last one: anything drawn
    // changed (the cells in view, the planes' settings, the options, the scroll position, the
    // tools' state summarised in `overlayState`), a message would expire, or something pulses
    // (`animating`: the panel's opacity, a pulsing highlight, the popup timer). A view size of -1
    // means the size of the last frame.
    bool frameDiffers(const EditorDocument& doc, uint64_t nowMs, bool animating, uint64_t overlayState = 0,
                      int viewWidth = -1, int viewHeight = -1) const;

private:
    bool drawn_ = false;
    uint64_t lastMs_ = 0;
    uint64_t lastSignature_ = 0;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
    ViewTileCache tiles_;
};

// A digest of everything a frame of this size shows (for ViewClock).
uint64_t frameSignature(const EditorDocument& doc, int viewWidth, int viewHeight, uint64_t overlayState);

}  // namespace ts
