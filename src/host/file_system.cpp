#include "host/file_system.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "host/text_encoding.h"

namespace fs = std::filesystem;

namespace ts {

std::string nativePath(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return toUtf8(p);
}

FILE* openFile(const std::string& path, const char* mode) {
    if (path.empty()) return nullptr;
    std::string n = nativePath(path);
    struct stat st;
    // Reading a directory "succeeds" on Linux; refuse it like Windows does.
    if (mode[0] == 'r' && stat(n.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return nullptr;
    std::string m;
    for (const char* c = mode; *c; ++c)
        if (*c != 't') m += *c;  // text mode is the caller's business here
    return std::fopen(n.c_str(), m.c_str());
}

bool fileExists(const std::string& path) {
    if (path.empty()) return false;
    struct stat st;
    return stat(nativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isDirectory(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(nativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool removeFile(const std::string& path) {
    return !path.empty() && ::unlink(nativePath(path).c_str()) == 0;
}

bool renameFile(const std::string& from, const std::string& to) {
    return std::rename(nativePath(from).c_str(), nativePath(to).c_str()) == 0;
}

bool copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(fs::path(nativePath(from)), fs::path(nativePath(to)),
                  fs::copy_options::overwrite_existing, ec);
    return !ec;
}

int64_t fileSize(const std::string& path) {
    struct stat st;
    if (path.empty() || stat(nativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return int64_t(st.st_size);
}

bool readWholeFile(const std::string& path, std::string& out, int64_t maxBytes) {
    out.clear();
    FILE* f = openFile(path, "rb");
    if (!f) return false;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    if (size < 0 || size > maxBytes) {
        std::fclose(f);
        return false;
    }
    out.resize(size_t(size));
    size_t got = size ? std::fread(out.data(), 1, out.size(), f) : 0;
    out.resize(got);
    std::fclose(f);
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& data) {
    std::string target = nativePath(path);
    std::string temp = target + ".tmp" + std::to_string(::getpid());
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

std::string currentDirectory() {
    std::error_code ec;
    return fromUtf8(fs::current_path(ec).string());
}

bool setCurrentDirectory(const std::string& path) {
    if (path.empty()) return false;
    return ::chdir(nativePath(path).c_str()) == 0;
}

std::string absolutePath(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    fs::path fp(toUtf8(p));
    if (fp.is_relative()) fp = fs::path(toUtf8(currentDirectory())) / fp;
    return fromUtf8(fp.lexically_normal().string());
}

std::string directoryOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string fileNameOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace ts
