#pragma once
// Everything that reaches outside the process or asks the user goes through HostServices:
// message boxes, starting programs, opening files, the trash and the clipboard. The window
// front end, the batch modes and the tests each provide their own implementation.
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct MessageBoxRequest {
    std::string caption;   // Windows-1252 bytes
    std::string text;      // Windows-1252 bytes, printf already applied
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;  // what a batch run answers
    bool owned = true;                  // owned by the main window (false: no owner)
};

// One block of a conversion's tile column as the progress display shows it.
struct ProgressBlock {
    int index = 0;              // place in the column, from the top
    int count = 0;              // blocks in the column; 0 ends the display
    int width = 0, height = 0;  // pixels
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, row by row
};

class HostServices {
public:
    virtual ~HostServices() = default;
    virtual Answer messageBox(const MessageBoxRequest& request) = 0;
    // Starts a program from a command line and does not wait for it. False when it cannot start.
    virtual bool startProgram(const std::string& commandLine) = 0;
    // Opens a file with the program associated with it.
    virtual bool openFile(const std::string& path) = 0;
    // Moves a file to the trash (recycle bin). False when it cannot.
    virtual bool moveToTrash(const std::string& path) = 0;
    // Shows or hides the main window (the `visible` command); batch and tests ignore it.
    virtual void setMainWindowVisible(bool) {}
    // Optional progress report of long operations (fraction 0..1).
    virtual void progress(const std::string& /*what*/, double /*fraction*/) {}
    // The palettes a multi-palette conversion is building, one row of colours (0x00RRGGBB) per
    // sub-palette, shown with its progress; an empty list ends the display.
    virtual void progressPalettes(const std::vector<std::vector<uint32_t>>& /*rows*/) {}
    // One block of the tile column a multi-palette conversion is mapping, shown with its
    // progress; a block with no pixels (count 0) ends the display.
    virtual void progressBlock(const ProgressBlock& /*block*/) {}
    // True when the host shows progress at all: the work of making what it would show is skipped
    // otherwise (batch runs).
    virtual bool showsProgress() const { return false; }
    // A long operation begins or ends (the window shows "Please wait..." meanwhile). Nested
    // calls count; use BusyScope.
    virtual void setBusy(bool /*busy*/) {}
    // Puts a picture on the clipboard: width x height pixels 0x00RRGGBB, top row first. False
    // when there is no clipboard (batch runs).
    virtual bool copyImageToClipboard(int /*width*/, int /*height*/, const std::vector<uint32_t>& /*pixels*/) {
        return false;
    }
    // Puts a text (Windows-1252 bytes) on the clipboard. False when there is no clipboard.
    virtual bool copyTextToClipboard(const std::string& /*text*/) { return false; }
    // Physical memory still available, in bytes (the map editor's undo budget).
    virtual uint64_t availableMemory() const;
    // A monotonic clock in milliseconds from an arbitrary start (message fading, popups).
    virtual uint64_t milliseconds() const;

    // True once a box with the error or warning icon or caption, or a "Debuging" diagnostic, was shown.
    bool failureSeen() const { return failureSeen_; }
    // Boxes shown so far: a caller that sees the count unchanged knows that nothing was said yet.
    int boxesShown() const { return boxesShown_; }
    void clearFailure() { failureSeen_ = false; }

protected:
    void noteBox(const MessageBoxRequest& request);

private:
    bool failureSeen_ = false;
    int boxesShown_ = 0;
};

// Batch mode: prints "caption: text" (UTF-8) on stderr and takes the default answer.
class BatchHost : public HostServices {
public:
    Answer messageBox(const MessageBoxRequest& request) override;
    bool startProgram(const std::string& commandLine) override;
    bool openFile(const std::string& path) override;
    bool moveToTrash(const std::string& path) override;
};

// Tests: records every box and answers from a queue of scripted answers (default answer
// once the queue is empty). Programs, files and trash requests are recorded, not performed.
class RecordingHost : public HostServices {
public:
    Answer messageBox(const MessageBoxRequest& request) override;
    bool startProgram(const std::string& commandLine) override;
    bool openFile(const std::string& path) override;
    bool moveToTrash(const std::string& path) override;

    std::vector<MessageBoxRequest> boxes;
    std::vector<Answer> answers;  // consumed front to back
    std::vector<std::string> started, opened, trashed;
    bool trashSucceeds = true;
    // What was put on the clipboard last.
    int clipboardWidth = 0, clipboardHeight = 0;
    std::vector<uint32_t> clipboardPixels;
    std::string clipboardText;
    int busyDepth = 0, busyCount = 0;
    bool copyImageToClipboard(int width, int height, const std::vector<uint32_t>& pixels) override {
        clipboardWidth = width;
        clipboardHeight = height;
        clipboardPixels = pixels;
        return true;
    }
    bool copyTextToClipboard(const std::string& text) override {
        clipboardText = text;
        return true;
    }
    // The palettes a multi-palette conversion showed: every report, and the largest one.
    int paletteReports = 0;
    std::vector<std::vector<uint32_t>> largestPalettes;
    void progressPalettes(const std::vector<std::vector<uint32_t>>& rows) override {
        if (rows.empty()) return;
        ++paletteReports;
        if (rows.size() >= largestPalettes.size()) largestPalettes = rows;
    }
    // The blocks a multi-palette conversion showed (only when showProgress is set): every
    // report, and the last picture of each block.
    bool showProgress = false;
    int blockReports = 0, blockDisplayEnds = 0;
    std::vector<ProgressBlock> shownBlocks;
    void progressBlock(const ProgressBlock& block) override {
        if (block.count <= 0) {
            ++blockDisplayEnds;
            return;
        }
        ++blockReports;
        if (shownBlocks.size() != size_t(block.count)) shownBlocks.assign(size_t(block.count), ProgressBlock{});
        if (block.index >= 0 && block.index < block.count) shownBlocks[size_t(block.index)] = block;
    }
    bool showsProgress() const override { return showProgress; }
    void setBusy(bool busy) override {
        busyDepth += busy ? 1 : -1;
        if (busy) ++busyCount;
    }
    // The memory budget and the clock are the test's to set.
    uint64_t memoryAvailable = uint64_t(1) << 30;
    uint64_t clockMs = 0;
    uint64_t availableMemory() const override { return memoryAvailable; }
    uint64_t milliseconds() const override { return clockMs; }

    // Convenience for assertions.
    std::string lastText() const { return boxes.empty() ? std::string() : boxes.back().text; }
    std::string lastCaption() const { return boxes.empty() ? std::string() : boxes.back().caption; }
    void clear() { boxes.clear(); clearFailure(); }
};

// Marks a long operation for as long as it lives.
class BusyScope {
public:
    explicit BusyScope(HostServices& host) : host_(host) { host_.setBusy(true); }
    ~BusyScope() { host_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    HostServices& host_;
};

// Splits a command line the way a POSIX shell would (quotes and backslashes), without expansion.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

struct App;
// The HostServices of the running program (held by the process state).
HostServices& hostServices(App& app);
const HostServices& hostServices(const App& app);

}  // namespace ts
