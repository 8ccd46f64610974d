#include "host/text_file.h"

#include "host/file_system.h"

namespace ts {

std::unique_ptr<TextFile> TextFile::open(const std::string& path, const char* mode) {
    const char* m = mode[0] == 'w' ? "wb" : mode[0] == 'a' ? "ab" : "rb";
    FILE* f = openFile(path, m);
    if (!f) return nullptr;
    std::unique_ptr<TextFile> t(new TextFile());
    t->file_ = f;
    t->path_ = path;
    return t;
}

std::unique_ptr<TextFile> TextFile::fromText(const std::string& text) {
    std::unique_ptr<TextFile> t(new TextFile());
    t->inMemory_ = true;
    t->memory_ = text;
    return t;
}

TextFile::~TextFile() { close(); }

int TextFile::get() {
    int c;
    if (inMemory_) {
        c = memoryPos_ < memory_.size() ? (unsigned char)memory_[memoryPos_++] : EOF;
    } else {
        c = getc_unlocked(file_);
    }
    if (c == '\r') {
        int next = inMemory_ ? (memoryPos_ < memory_.size() ? (unsigned char)memory_[memoryPos_] : EOF)
                             : getc_unlocked(file_);
        if (next == '\n') {
            if (inMemory_) ++memoryPos_;
            return '\n';
        }
        if (!inMemory_ && next != EOF) ungetc(next, file_);
        return '\r';
    }
    if (c == EOF) eof_ = true;
    return c;
}

bool TextFile::readLine(std::string& line, size_t limit) {
    line.clear();
    if (limit < 2 || (!file_ && !inMemory_)) return false;
    while (line.size() < limit - 1) {
        int c = get();
        if (c == EOF) break;
        line += char(c);
        if (c == '\n') break;
    }
    return !line.empty();
}

size_t TextFile::readText(std::string& out, size_t n) {
    size_t count = 0;
    while (count < n) {
        int c = get();
        if (c == EOF) break;
        out += char(c);
        ++count;
    }
    return count;
}

long TextFile::tell() {
    if (inMemory_) return long(memoryPos_);
    return file_ ? std::ftell(file_) : -1;
}

bool TextFile::seek(long position) {
    eof_ = false;
    if (inMemory_) {
        if (position < 0 || size_t(position) > memory_.size()) return false;
        memoryPos_ = size_t(position);
        return true;
    }
    return file_ && std::fseek(file_, position, SEEK_SET) == 0;
}

bool TextFile::write(const std::string& text) {
    if (!file_) return false;
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return writeRaw(out);
}

bool TextFile::writeRaw(const std::string& bytes) {
    if (!file_) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        failed_ = true;
    return !failed_;
}

bool TextFile::close() {
    if (!file_) return !failed_;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

}  // namespace ts
