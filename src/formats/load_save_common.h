#pragma once
// Steps shared by every load and save operation: reading a data file whole, writing it through
// a temporary file, the element texts, the counter rule of `every_x`, and the look-up of linked
// palettes and tilesets in the project.
#include <cstdint>
#include <string>
#include <vector>

#include "formats/format_state.h"
#include "formats/template_writer.h"
#include "resources/texts.h"

namespace ts {

struct App;
struct ElementRecord;

// Largest data file a load accepts. Larger files are refused with a message, never cut.
constexpr int64_t kDataFileLimit = int64_t(256) << 20;
// Largest number of cells of a map or pixels of a bitmap a load accepts (64 MB of cells).
constexpr int64_t kCellLimit = int64_t(16) << 20;
// Largest number of 8x8 blocks a tileset may hold (block indices 0 to 8192).
constexpr int64_t kTileBlockLimit = 8193;

// A data file about to be saved: the content goes to a temporary file beside the target, which
// replaces the target only once everything has been written (writeFileAtomically).
class SaveTarget {
public:
    ~SaveTarget();
    // Checks that the target may be replaced. False (nothing created) when the file is read-only
    // or no regular file, or its folder cannot be written; reason() then says why.
    bool open(const std::string& path);
    // Writes the bytes and replaces the target. False on any error (the target then keeps its
    // old content; reason() says why).
    bool commit(const std::string& bytes);
    void abandon();
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

// Save step 1: opens the target, or shows `failText` (caption = the path, error icon) and gives
// false.
bool openSaveTarget(App& app, SaveTarget& target, const std::string& path, T failText);
// Final step of a save: writes the output; a failure is reported and gives false.
bool commitSave(App& app, SaveTarget& target, const std::string& path, const TemplateOutput& out);

// Load step 1: chooses the format by extension (when automatic selection is on) and reads the
// file whole. A missing file shows `missingText`, a file over the limit a refusal (caption = the
// path, error icon); both give false.
bool readDataFile(App& app, const std::string& path, std::string& data, T missingText);

// A data file read whole for a load, its section's declaration matched.
struct OpenedDataFile {
    std::string path;
    std::string data;
    FormatSection section;  // a copy: a linked file loaded on the way may select another format
    size_t position = 0;    // just after the declaration
};

// Load steps 1 and 2: reads the element's file (see readDataFile), resets the template variables
// with `link`, `name`, `type` and `packing` empty, reads the element's record and matches the
// declaration of section `sectionIndex`. False when the file cannot be read or the declaration
// does not match.
bool openDataFile(App& app, const ElementRecord& element, int sectionIndex, T missingText, OpenedDataFile& file);

// Reads the data of a bitmap or map after its declaration: `height` rows of `width` numbers of
// format `field` into `cells`, with the section's `everyX` at each everyBoundary (counted within
// the row when the section has a `line`, else over all the data) and its `line` after each row.
// Stops where the data ends or differs; gives the number of cells read (they stay). No cells
// (a width or height of 0 or less) read nothing.
int64_t readRows(App& app, const OpenedDataFile& file, const std::string& field, int32_t width, int32_t height,
                 uint32_t* cells);

// Checks a tileset header: tiles of 8 to 1024 pixels each way, `size` not negative and at most
// kTileBlockLimit 8x8 blocks in all. 1 with `blocks` set when it passes; otherwise reports it
// (caption = `path`) and gives 0 for a bad size, or -1 (with `pixels` cleared) for too many blocks.
int checkTilesetHeader(App& app, const std::string& path, int32_t tileX, int32_t tileY, int32_t size,
                       std::vector<uint32_t>& pixels, int64_t& blocks);

// An error box with the data file's path as caption.
void fileError(App& app, const std::string& path, const std::string& text);

// `file` and `name` of an element (the conversion's name replaces the element's when set).
void setElementTexts(App& app, const ElementRecord& element);

// Whether `every_x` comes before the element whose counter is `counter`.
inline bool everyBoundary(int32_t nEvery, int64_t counter) {
    return nEvery >= 1 && counter >= 1 && counter % nEvery == 0;
}

// Room to reserve for a data file's text: `values` numbers of about `perValue` bytes, the
// section's everyX at its boundaries, its line text `lines` times, its declaration and end.
size_t textSizeEstimate(const FormatSection& section, int64_t values, size_t perValue, int64_t lines);

// Index of the first project element of that type whose data file equals `file`, or -1.
int findProjectElement(const App& app, uint32_t type, const std::string& file);

// The depth index a tileset or bitmap header's `depth` chooses on the GBA (32 -> 3, 15 -> 2,
// 4 -> 0, anything else -> 1).
int gbaDepthFromBits(int32_t bits);

// Restores the user buffers when it goes away (loads must not change them).
class UserBufferGuard {
public:
    explicit UserBufferGuard(App& app);
    ~UserBufferGuard();

private:
    App& app_;
    std::array<std::string, kUserTextCount> saved_;
};

}  // namespace ts
