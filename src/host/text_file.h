#pragma once
// Line-oriented text files as the program's scripts, project and reference files use them.
// Reading works like the C library's fgets in text mode: a carriage return directly before a line
// feed belongs to the line break and is dropped, so LF and CR LF files read the same. Writing turns
// every line feed into CR LF.
#include <cstdio>
#include <memory>
#include <string>

namespace ts {

class TextFile {
public:
    // mode "r" (read), "w" (create/empty), "a" (append). None when the file cannot be opened.
    static std::unique_ptr<TextFile> open(const std::string& path, const char* mode);
    // Reads from a text held in memory (tests, the script prompt).
    static std::unique_ptr<TextFile> fromText(const std::string& text);
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Like fgets(buffer, limit): reads at most limit - 1 bytes, up to and including a line feed.
    // False when nothing could be read because the end of the file was reached.
    bool readLine(std::string& line, size_t limit);
    // True once a read has hit the end of the file (the C library's feof).
    bool eof() const { return eof_; }
    // Reads up to n bytes of text (line breaks as LF) and appends them to out; returns the count.
    size_t readText(std::string& out, size_t n);
    long tell();
    bool seek(long position);

    bool write(const std::string& text);   // LF written as CR LF
    bool writeRaw(const std::string& bytes);
    bool close();                            // flushes; false on a write error
    bool failed() const { return failed_; }

    // The path the file was opened from; empty for a text.
    const std::string& path() const { return path_; }

private:
    TextFile() = default;
    int get();
    FILE* file_ = nullptr;
    std::string path_;
    std::string memory_;  // used when reading from a text
    size_t memoryPos_ = 0;
    bool inMemory_ = false;
    bool eof_ = false;
    bool failed_ = false;
};

}  // namespace ts
