#pragma once
// One plane of the map editor (a map or an object list opened from the project), its link list
// and its undo history.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "formats/object_list.h"
#include "formats/platform_types.h"
#include "project/element_record.h"

namespace ts {

constexpr int MaxPlanes = 20;                 // slots of the editor's plane table
constexpr int kMaxPlaneRules = 20;            // value-to-tile rules per plane
constexpr int kEntryBits = 32;                // bits of one map entry shown by the bits display
constexpr size_t kBitTextMax = 30;            // characters of one bit label
constexpr uint8_t kLinkEnd = 255;             // ends a link list
constexpr int32_t kMaxHistoryCopies = 100000; // copies one undo history may hold
constexpr uint32_t kDefaultBitFlags = 0xFC00; // bits 10-15 shown in the bits display
constexpr int kTileWords = 64;                // words of one 8x8 tile (one palette index per pixel)

enum PlaneKind : int32_t { PlaneNone = 0, PlaneMap = 1, PlaneList = 7 };

// A value-to-tile rule: values low..high draw (value - offset), or (low - offset) for an exact
// rule. The target written in scripts and dialogs is low - offset.
struct ValueRule {
    uint32_t low = 0;
    uint32_t high = 0;
    int32_t offset = 0;
    bool exact = false;

    uint32_t target() const { return low - uint32_t(offset); }
    bool operator==(const ValueRule&) const = default;
};

// The planes that act together with one slot, in order (slot numbers, 0-based).
struct LinkList {
    std::array<uint8_t, MaxPlanes> members;

    LinkList() { members.fill(kLinkEnd); }
    explicit LinkList(int slot) : LinkList() { members[0] = uint8_t(slot); }
    int size() const {
        int n = 0;
        while (n < MaxPlanes && members[n] != kLinkEnd) ++n;
        return n;
    }
    int operator[](int i) const { return members[i]; }
    bool contains(int slot) const {
        for (int i = 0; i < size(); ++i)
            if (members[i] == slot) return true;
        return false;
    }
    bool operator==(const LinkList&) const = default;
};

// Cells of one piece of a map copy in the undo history.
constexpr size_t kHistoryChunkCells = 16384;  // 64 KB
using HistoryChunk = std::shared_ptr<const std::vector<uint32_t>>;

// One full copy of a plane's contents: the cells of a map, or the entries of an object list. A
// map copy is held in chunks of kHistoryChunkCells cells; a chunk equal to the one of the copy
// before is shared with it, so a snapshot after a small edit stores only the chunks it changed.
struct HistoryCopy {
    std::vector<HistoryChunk> chunks;
    size_t cellCount = 0;  // cells of the whole copy
    std::vector<uint8_t> objects;
    int32_t objectCount = 0;
};

// Per-slot undo history. Copies are kept in separate blocks, so a snapshot never moves the
// older ones; `bytes` is the logical size (copies held x the size of one copy), which is what
// the memory counter and the memory text count, however many chunks the copies share.
struct UndoHistory {
    std::deque<std::unique_ptr<HistoryCopy>> copies;  // copy k is copies[k]; size() == top + 1 or 0
    bool forcedModified = false;  // history was dropped: modified even at the saved index
    int32_t index = -1;           // copy matching the plane now; -1 while empty
    int32_t top = 0;              // highest valid copy (redo limit)
    int64_t bytes = 0;            // bytes held now
    int32_t savedIndex = 0;       // index at the last save
};

struct PlaneRecord {
    ElementRecord element;     // the project element the plane was opened from (a copy)
    int32_t kind = PlaneNone;  // PlaneMap or PlaneList
    int32_t width = 0;         // size in cells
    int32_t height = 0;
    std::vector<uint32_t> cells;  // width * height raw entries, row-major, top row first

    int32_t blockWidth = 8;    // pixel size of one cell as drawn
    int32_t blockHeight = 8;
    int32_t defaultGridX = 8;  // grid when opened (the block size)
    int32_t defaultGridY = 8;
    int32_t gridX = 8;         // grid step (Maps[n].Grid)
    int32_t gridY = 8;
    int32_t scrollStepX = 8;   // smallest block size over the link group
    int32_t scrollStepY = 8;
    double scrollRateX = 1.0;  // parallax factors, 1.0 = 100 %
    double scrollRateY = 1.0;

    int32_t tileCount = 0;
    std::vector<uint32_t> tiles;  // tileCount * kTileWords palette indexes
    PaletteBuffer palette{};      // frame-buffer colour order 0x00RRGGBB
    bool ownPalette = true;       // false: the tiles came without a palette, `palette` is a grey ramp

    // Format used to read the entries (resolved from the platform when the plane is opened).
    int32_t depth = 0;            // depth index of the platform
    int32_t mapType = MapText;
    MapEntryLayout layout{0xFFFFFFFF, 0, 32, 0, 32, 0, 32};
    int32_t colorsPerBank = 256;  // colours of one palette bank (256 when no banks)
    bool paletteBanks = false;    // entries choose a palette bank
    bool index0Transparent = false;
    uint32_t valueMask = 0xFFFF;  // 255 for 8-bit entries, 65535 for 16-bit, all bits for 32-bit

    std::string paletteName;   // names the plane's parts are saved under (at most 259 characters)
    std::string tilesetName;
    std::string mapFileName;

    int32_t emulGba = 0;       // decode entries as the console does
    std::array<ValueRule, kMaxPlaneRules> rules{};
    int32_t ruleCount = 0;
    int32_t tileOffset = 0;          // "Reference tile number", added to every value drawn
    uint32_t displayMask = 0xFFFFFFFF;  // applied to values no rule matches

    std::array<std::string, kEntryBits> bitTexts;  // labels of the bits display
    uint32_t bitFlags = kDefaultBitFlags;          // bits shown in the bits display

    int32_t visible = 1;
    bool skipInSettings = false;  // "Do not open the next time"

    ObjectList objects;        // object-list planes: the entries (x, y in pixels first)

    UndoHistory history;
};

// The standard label of bit b of an entry (bits 10-15 carry the console's flags).
const char* standardBitText(int bit);

// Bytes one history copy of this plane takes.
int64_t planeCopyBytes(const PlaneRecord& plane);

}  // namespace ts
