#pragma once
// File access for the core. Paths are Windows-1252 text and accept both '\' and '/'.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace ts {

// The POSIX file name for a path of the core: separators made '/', text converted to UTF-8.
std::string nativePath(const std::string& path);
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

// Writes a file atomically: the data goes to a temporary file beside the target, which is then
// renamed over it, so a failure never leaves a shortened file behind.
bool writeFileAtomically(const std::string& path, const std::string& data);

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
