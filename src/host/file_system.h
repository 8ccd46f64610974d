#pragma once
// File access for the core. Paths are Windows-1252 text and accept both '\' and '/'.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace ts {

// The POSIX file name for a path of the core: separators made '/', text converted to UTF-8.
std::string nativePath(const std::string& path);
// Opens a file; for reading, only regular files open (folders, devices and pipes are refused
// with errno set, so `include "/dev/zero"` cannot hang).
FILE* openFile(const std::string& path, const char* mode);
bool fileExists(const std::string& path);        // an existing regular file
bool isDirectory(const std::string& path);
bool removeFile(const std::string& path);
bool renameFile(const std::string& from, const std::string& to);  // replaces `to`
bool copyFile(const std::string& from, const std::string& to);    // replaces `to`
// Size of a file, or -1 when it cannot be read.
int64_t fileSize(const std::string& path);

// Reads a whole file; false when it cannot be opened or is larger than maxBytes.
bool readWholeFile(const std::string& path, std::string& out, int64_t maxBytes = int64_t(256) << 20);

// Writes a file atomically: the data goes to a short-named temporary file in the target's folder,
// which is then renamed over it, so a failure never leaves a shortened file behind. A symbolic
// link is followed and its target replaced in the target's own folder; the new file keeps the old
// one's permissions; a file the user may not write, or that is no regular file, is refused.
// Temporaries that killed runs left in that folder are removed first. On failure `reason` (when
// given) receives the system's reason.
bool writeFileAtomically(const std::string& path, const std::string& data, std::string* reason = nullptr);
// Whether writeFileAtomically may replace `path`: false, with the reason, when the file is
// read-only or no regular file, or when its folder cannot be written.
bool canReplaceFile(const std::string& path, std::string* reason = nullptr);
// Whether `name` is the name of a temporary file that writeFileAtomically makes.
bool isReplacementTemporary(const std::string& name);

// Absolute form of a path (like GetFullPathName): relative paths are taken from the current
// directory; "." and ".." parts are resolved. Keeps '/' as separator.
std::string absolutePath(const std::string& path);
std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);
// The path cut at its last separator ('\' or '/'); empty when there is none.
std::string directoryOf(const std::string& path);
// Text after the last separator.
std::string fileNameOf(const std::string& path);

}  // namespace ts
