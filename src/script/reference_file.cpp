#include "script/reference_file.h"

#include <sys/stat.h>

#include <cstring>

#include "formats/template_reader.h"
#include "formats/template_writer.h"
#include "host/file_lock.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "host/host_services.h"
#include "project/project_paths.h"
#include "project/element_record.h"
#include "resources/texts.h"

namespace ts {

const char* const kReferenceHeader = "# Tilesmithery property reference index file version 1.0\n";

namespace {

constexpr size_t kHeaderCompared = 56;         // the header line without its line feed
constexpr size_t kHeaderLineRead = 57;         // bytes of the first line looked at
constexpr int64_t kReferenceFileMax = int64_t(256) << 20;
constexpr size_t kCleanNameMax = 260;

// The state of the file when an operation starts.
enum class FileState { Missing, Valid, Unreadable };

FileState loadReferenceText(App& app, std::string& text);

// Text mode: a carriage return before a line feed belongs to the line break.
std::string fromTextMode(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        out += bytes[i];
    }
    return out;
}

std::string toTextMode(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

bool isLineStart(const char* text, size_t offset) { return offset == 0 || text[offset - 1] == '\n'; }

size_t lineEndOf(const char* text, size_t offset, size_t length) {
    const void* nl = offset < length ? std::memchr(text + offset, '\n', length - offset) : nullptr;
    return nl ? size_t(static_cast<const char*>(nl) - text) : length;
}

size_t nextLineStart(const char* text, size_t offset, size_t length) {
    size_t end = lineEndOf(text, offset, length);
    return end < length ? end + 1 : length;
}

// A section line: "@", a name without "@", "@" directly before the line end.
bool isSectionLine(const char* text, size_t offset, size_t length) {
    if (offset >= length || text[offset] != '@') return false;
    size_t end = lineEndOf(text, offset, length);
    if (end > offset && text[end - 1] == '\r') --end;
    const void* at = std::memchr(text + offset + 1, '@', end - offset - 1);
    return at && static_cast<const char*>(at) == text + end - 1;
}

// A failed rewrite keeps the old file; the user learns that the data file's properties were not
// recorded.
bool writeReferenceText(App& app, const std::string& text) {
    const std::string path = referenceFilePath(app);
    std::string reason;
    if (writeFileAtomically(path, toTextMode(text), &reason)) return true;
    showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::ReferenceWriteFailed), path.c_str(), reason.c_str()),
            Icon::Error);
    return false;
}

// Sets an invalid file aside as ".bak" (".bak1", ".bak2", ... when that name is taken: an older
// backup is never replaced) and tells the user what happened.
void backUpInvalidFile(App& app, const std::string& path) {
    for (int n = 0; n < 1000; ++n) {
        const std::string extension = n ? ".bak" + std::to_string(n) : std::string(".bak");
        const std::string backup = path + extension;
        struct stat st;
        if (lstat(nativePath(backup).c_str(), &st) == 0) continue;
        if (!renameFile(path, backup)) break;
        if (n == 0)
            showBox(hostServices(app), tr(T::CaptionWarning), tr(T::ReferenceRecreated), Icon::Information);
        else
            showBox(hostServices(app), tr(T::CaptionWarning), formatText(tr(T::ReferenceRecreatedAs), extension.c_str()),
                    Icon::Information);
        return;
    }
    showBox(hostServices(app), tr(T::CaptionError), tr(T::ReferenceNoBackup), Icon::Warning);
}

FileState loadReferenceText(App& app, std::string& text) {
    text.clear();
    std::string path = referenceFilePath(app);
    if (!fileExists(path)) return FileState::Missing;
    std::string bytes;
    if (!readWholeFile(path, bytes, kReferenceFileMax)) return FileState::Unreadable;
    std::string firstLine = bytes.substr(0, std::min(bytes.size(), kHeaderLineRead));
    size_t nl = firstLine.find('\n');
    if (nl != std::string::npos) firstLine.resize(nl);
    if (!firstLine.empty() && firstLine.back() == '\r') firstLine.pop_back();
    if (firstLine.size() < kHeaderCompared || firstLine.compare(0, kHeaderCompared, kReferenceHeader, kHeaderCompared) != 0) {
        backUpInvalidFile(app, path);
        return FileState::Missing;
    }
    text = fromTextMode(bytes);
    return FileState::Valid;
}

// Where a section lies in the text: its section line, its content and the next section line.
struct SectionSpan {
    bool found = false;
    size_t start = 0;         // offset of the section line (text size when not found)
    size_t contentStart = 0;  // offset of the line after it
    size_t next = 0;          // offset of the next section line, or the text size
    bool hasNext = false;
};

SectionSpan locateSection(const std::string& text, const std::string& name) {
    SectionSpan s;
    long at = findSectionLine(name, text.data(), text.size());
    if (at < 0) {
        s.start = s.contentStart = s.next = text.size();
        return s;
    }
    s.found = true;
    s.start = size_t(at);
    s.contentStart = nextLineStart(text.data(), s.start, text.size());
    long next = nextSectionLine(text.data(), long(s.contentStart), text.size());
    s.hasNext = next >= 0;
    s.next = s.hasNext ? size_t(next) : text.size();
    return s;
}

// The text in front of a new section: the header for a new file; a line break when the old
// text does not end with one, so the section line starts a line.
std::string textBefore(FileState state, const std::string& text, size_t end) {
    if (state != FileState::Valid) return kReferenceHeader;
    std::string out = text.substr(0, end);
    if (!out.empty() && out.back() != '\n') out += '\n';
    return out;
}

std::string sectionLine(const std::string& name) { return "@" + name + "@\n"; }

}  // namespace

std::string referenceFilePath(const App& app) {
    std::string path = projectPaths(app).projectPath.empty() ? std::string("projet.tsp") : projectPaths(app).projectPath;
    size_t sep = path.find_last_of("\\/");
    size_t nameStart = sep == std::string::npos ? 0 : sep + 1;
    size_t dot = path.rfind('.');
    std::string ref;
    if (dot != std::string::npos && dot >= nameStart && dot > nameStart) ref = path.substr(0, dot) + ".ref";
    else ref = path + ".ref";
    if (ref == path) ref = path + ".ref";  // a project named "x.ref" keeps its own file
    return ref;
}

bool readReferenceFile(App& app, std::string& text) { return loadReferenceText(app, text) == FileState::Valid; }

long findSectionLine(std::string_view name, const char* text, size_t length) {
    if (!text) return -1;
    size_t need = name.size() + 2;
    for (size_t offset = 0; offset < length; offset = nextLineStart(text, offset, length)) {
        if (length - offset < need || text[offset] != '@') continue;
        if (std::memcmp(text + offset + 1, name.data(), name.size()) != 0 || text[offset + need - 1] != '@') continue;
        // The name must be the whole section name: the line ends after the second "@".
        size_t after = offset + need;
        if (after == length || text[after] == '\n' || (text[after] == '\r' && (after + 1 == length || text[after + 1] == '\n')))
            return long(offset);
    }
    return -1;
}

long nextSectionLine(const char* text, long offset, size_t length) {
    if (!text || offset < 0) return -1;
    size_t pos = size_t(offset);
    if (pos > length) return -1;
    if (!isLineStart(text, pos)) pos = nextLineStart(text, pos, length);
    for (; pos < length; pos = nextLineStart(text, pos, length))
        if (isSectionLine(text, pos, length)) return long(pos);
    return -1;
}

void readSection(App& app, const std::string& templ, const ElementRecord& element) {
    if (templ.empty()) return;
    std::string text;
    if (loadReferenceText(app, text) != FileState::Valid) return;
    SectionSpan s = locateSection(text, element.file);
    if (!s.found) return;
    // The record was written with the template's carriage returns dropped; match it the same way.
    std::string withoutCarriageReturns;
    withoutCarriageReturns.reserve(templ.size());
    for (char c : templ)
        if (c != '\r') withoutCarriageReturns += c;
    matchTemplate(app, text.data() + s.contentStart, s.next - s.contentStart, 0, withoutCarriageReturns);
}

// Other runs may rewrite the same reference file: each read-modify-write holds its lock.
bool lockReferenceFile(App& app, FileLock& lock) {
    const std::string path = referenceFilePath(app);
    std::string reason;
    if (lock.acquire(path, lockTimeoutMs(), {}, &reason)) return true;
    showBox(hostServices(app), tr(T::CaptionError), lockFailureText(lock, path, reason), Icon::Error);
    return false;
}

void writeSection(App& app, const std::string& templ, const ElementRecord& element) {
    if (templ.empty()) return;
    FileLock lock;
    if (!lockReferenceFile(app, lock)) return;
    std::string text;
    FileState state = loadReferenceText(app, text);
    if (state == FileState::Unreadable) return;  // never replace a file that could not be read
    SectionSpan s = locateSection(text, element.file);
    std::string out = textBefore(state, text, s.start);
    out += sectionLine(element.file);
    out += ' ';
    out += expandTemplate(app, templ, false);
    out += '\n';
    if (s.hasNext) out.append(text, s.next, std::string::npos);
    writeReferenceText(app, out);
}

void reworkSection(App& app, int mode, const std::string& oldName, const std::string* newName) {
    if (!newName && mode != 0) {
        showBox(hostServices(app), tr(T::CaptionSeriousError), tr(T::ReferenceNewNameMissing), Icon::Warning);
        return;  // the file stays as it is
    }
    FileLock lock;
    if (!lockReferenceFile(app, lock)) return;
    std::string text;
    FileState state = loadReferenceText(app, text);
    if (state == FileState::Unreadable) return;
    SectionSpan s = locateSection(text, oldName);
    std::string content = text.substr(s.contentStart, s.next - s.contentStart);
    if (!content.empty() && content.back() != '\n') content += '\n';
    std::string out = textBefore(state, text, s.start);
    if (mode == 1) {
        out += sectionLine(*newName) + content;
    } else if (mode == 2) {
        out += sectionLine(oldName) + content;
        out += sectionLine(*newName) + content;
    }
    if (s.hasNext) out.append(text, s.next, std::string::npos);
    writeReferenceText(app, out);
}

void cleanReferenceFile(App& app) {
    FileLock lock;
    if (!lockReferenceFile(app, lock)) return;
    std::string text;
    FileState state = loadReferenceText(app, text);
    if (state != FileState::Valid) return;
    // Keep everything but the sections of files that no longer exist; one rewrite at the end.
    std::string out;
    bool changed = false;
    bool dropping = false;
    const size_t length = text.size();
    for (size_t pos = 0; pos < length;) {
        size_t next = nextLineStart(text.data(), pos, length);
        if (isSectionLine(text.data(), pos, length)) {
            // Names are looked at up to 260 characters; a longer section line is kept.
            size_t end = lineEndOf(text.data(), pos, length);
            if (end > pos && text[end - 1] == '\r') --end;
            dropping = false;
            if (end - pos <= kCleanNameMax) {
                std::string name = text.substr(pos + 1, end - pos - 2);
                dropping = !fileExists(name);
                changed |= dropping;
            }
        }
        if (!dropping) out.append(text, pos, next - pos);
        pos = next;
    }
    if (changed) writeReferenceText(app, out);
}

}  // namespace ts
