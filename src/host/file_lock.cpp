#include "host/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "host/file_system.h"
#include "host/message_box.h"
#include "host/text_encoding.h"
#include "resources/texts.h"

namespace ts {

std::string lockPathFor(const std::string& guarded) {
    const std::string native = nativePath(guarded);
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
    return folder + "." + name + ".lock";
}

int lockTimeoutMs() {
    const char* text = std::getenv("TILESMITHERY_LOCK_TIMEOUT");
    if (text && *text) {
        char* end = nullptr;
        const double seconds = std::strtod(text, &end);
        if (end != text && seconds >= 0 && seconds < 86400) return int(seconds * 1000);
    }
    return 60000;
}

std::string lockFailureText(const FileLock& lock, const std::string& guarded, const std::string& reason) {
    return formatText(tr(lock.heldByAnother() ? T::FileLockFailed : T::FileLockNotMade), guarded.c_str(),
                      reason.c_str());
}

int windowLockWaitMs() {
    constexpr int kWindowWaitMs = 3000;  // a batch run on a project of usual size ends well within this
    return std::min(kWindowWaitMs, lockTimeoutMs());
}

bool FileLock::acquire(const std::string& guarded, int timeoutMs, const std::function<void()>& waiting,
                       std::string* reason) {
    release();
    heldByAnother_ = false;
    const std::string path = lockPathFor(guarded);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool told = false;
    for (;;) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (reason) *reason = fromUtf8(std::strerror(errno));
            return false;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The previous holder may have removed the file between our open and our lock: the
            // lock only counts when it is on the file that the path names now.
            struct stat held, named;
            if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
                held.st_dev == named.st_dev) {
                fd_ = fd;
                lockPath_ = path;
                return true;
            }
            ::close(fd);
            continue;
        }
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK) {
            if (reason) *reason = fromUtf8(std::strerror(error));
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            heldByAnother_ = true;
            if (reason) *reason = fromUtf8(std::strerror(EWOULDBLOCK));
            return false;
        }
        if (!told && waiting) waiting();
        told = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void FileLock::release() {
    if (fd_ < 0) return;
    // Removed while still locked, so that a waiting run never locks a file that is going away.
    ::unlink(lockPath_.c_str());
    ::close(fd_);
    fd_ = -1;
    lockPath_.clear();
}

}  // namespace ts
