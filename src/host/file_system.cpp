#include "host/file_system.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    // Reading a directory "succeeds" on Linux, and a device or a pipe never ends or blocks: only
    // regular files are read.
    if (mode[0] == 'r' && stat(n.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        return nullptr;
    }
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

namespace {

std::string systemReason(int error) { return fromUtf8(std::strerror(error)); }

// The file that a write to `target` really replaces: symbolic links followed (relative links
// from their own folder), at most 40 of them.
std::string followLinks(std::string target) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        std::vector<char> buffer(size_t(st.st_size > 0 ? st.st_size : 4095) + 1);
        ssize_t n = readlink(target.c_str(), buffer.data(), buffer.size() - 1);
        if (n <= 0) return target;
        std::string link(buffer.data(), size_t(n));
        if (link[0] == '/') {
            target = link;
        } else {
            size_t slash = target.rfind('/');
            target = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
    }
    return target;
}

std::string folderOf(const std::string& native) {
    size_t slash = native.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : native.substr(0, slash);
}

// Temporary names: ".ts<pid>-XXXXXX" (mkstemp) in the target's folder, short enough for names
// near the 255-byte limit; the older form "<name>.tmp<pid>" is recognised too.
constexpr const char* kTempPrefix = ".ts";

bool temporaryOwner(const std::string& name, long& pid) {
    const char* digits = nullptr;
    if (name.compare(0, 3, kTempPrefix) == 0) {
        digits = name.c_str() + 3;
        const char* dash = std::strchr(digits, '-');
        if (!dash || dash == digits || std::strlen(dash + 1) != 6) return false;
        for (const char* p = digits; p < dash; ++p)
            if (!std::isdigit((unsigned char)*p)) return false;
    } else {
        size_t at = name.rfind(".tmp");
        if (at == std::string::npos || at == 0 || at + 4 == name.size()) return false;
        digits = name.c_str() + at + 4;
        for (const char* p = digits; *p; ++p)
            if (!std::isdigit((unsigned char)*p)) return false;
    }
    pid = std::strtol(digits, nullptr, 10);
    return pid > 0;
}

// Removes the temporaries of runs that are no longer alive.
void removeStaleTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const long self = long(::getpid());
    while (dirent* entry = readdir(dir)) {
        long pid = 0;
        if (!temporaryOwner(entry->d_name, pid) || pid == self) continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to judge
        std::string path = folder + "/" + entry->d_name;
        struct stat st;
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) ::unlink(path.c_str());
    }
    closedir(dir);
}

mode_t creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

bool checkReplaceable(const std::string& target, struct stat* old, bool& exists, std::string* reason) {
    exists = ::stat(target.c_str(), old) == 0;
    int error = 0;
    if (exists && !S_ISREG(old->st_mode)) error = S_ISDIR(old->st_mode) ? EISDIR : ENODEV;
    // A file without any write permission is read-only for everybody, its owner and root too.
    else if (exists && (::access(target.c_str(), W_OK) != 0 || (old->st_mode & 0222) == 0))
        error = errno == EROFS ? EROFS : EACCES;
    else if (::access(folderOf(target).c_str(), W_OK | X_OK) != 0) error = errno;
    if (error && reason) *reason = systemReason(error);
    return error == 0;
}

}  // namespace

bool isReplacementTemporary(const std::string& name) {
    long pid = 0;
    return temporaryOwner(name, pid);
}

bool canReplaceFile(const std::string& path, std::string* reason) {
    if (path.empty()) {
        if (reason) *reason = systemReason(ENOENT);
        return false;
    }
    struct stat old;
    bool exists = false;
    return checkReplaceable(followLinks(nativePath(path)), &old, exists, reason);
}

bool writeFileAtomically(const std::string& path, const std::string& data, std::string* reason) {
    if (path.empty()) {
        if (reason) *reason = systemReason(ENOENT);
        return false;
    }
    const std::string target = followLinks(nativePath(path));
    struct stat old;
    bool exists = false;
    if (!checkReplaceable(target, &old, exists, reason)) return false;
    const std::string folder = folderOf(target);
    removeStaleTemporaries(folder);

    std::string temp = folder + "/" + kTempPrefix + std::to_string(long(::getpid())) + "-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        if (reason) *reason = systemReason(errno);
        return false;
    }
    bool ok = writeAll(fd, data);
    int error = ok ? 0 : errno;
    if (ok && ::fchmod(fd, exists ? (old.st_mode & 07777) : creationMode()) != 0) {
        ok = false;
        error = errno;
    }
    if (ok && exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        (void)!::fchown(fd, old.st_uid, old.st_gid);  // keeps the owner where we may (root)
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        if (reason) *reason = systemReason(error);
    }
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
