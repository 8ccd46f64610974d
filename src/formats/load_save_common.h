#pragma once
// Steps shared by every load and save operation: reading a data file whole, writing it through
// a temporary file, the element texts, the counter rule of `every_x`, and the look-up of linked
// palettes and tilesets in the project.
#include <cstdint>
#include <string>

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

// A data file opened for a save: the content goes to a temporary file beside the target, which
// replaces the target only once everything has been written.
class SaveTarget {
public:
    ~SaveTarget();
    // Creates the temporary file. False (nothing created) when the folder cannot be written.
    bool open(const std::string& path);
    // Writes the bytes and renames the temporary file over the target. False on any error (the
    // target then keeps its old content).
    bool commit(const std::string& bytes);
    void abandon();

private:
    std::string path_;
    std::string tempPath_;
    void* file_ = nullptr;  // FILE*
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

// An error box with the data file's path as caption.
void fileError(App& app, const std::string& path, const std::string& text);

// `file` and `name` of an element (the conversion's name replaces the element's when set).
void setElementTexts(App& app, const ElementRecord& element);

// Whether `every_x` comes before the element whose counter is `counter`.
inline bool everyBoundary(int32_t nEvery, int64_t counter) {
    return nEvery >= 1 && counter >= 1 && counter % nEvery == 0;
}

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
