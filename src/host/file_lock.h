#pragma once
// An advisory lock that runs sharing a file take before they read it and release after they have
// written it back: a lock file beside the guarded file (".name.lock"), locked with flock. The
// system releases the lock when its holder dies, so a lock is never stale.
#include <functional>
#include <string>

namespace ts {

class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { release(); }

    // Takes the lock of `guarded`, waiting up to `timeoutMs` milliseconds; `waiting` is called once
    // when the lock is held by another run. False when the time ran out or the lock file cannot
    // be made (`reason` then says why).
    bool acquire(const std::string& guarded, int timeoutMs, const std::function<void()>& waiting = {},
                 std::string* reason = nullptr);
    void release();
    bool held() const { return fd_ >= 0; }
    // After a failed acquire: another run held the lock the whole time (rather than the lock file
    // not being made).
    bool heldByAnother() const { return heldByAnother_; }

private:
    int fd_ = -1;
    bool heldByAnother_ = false;
    std::string lockPath_;
};

// The lock file's path for a guarded file: ".name.lock" in the same folder.
std::string lockPathFor(const std::string& guarded);

// How long runs wait for a lock, in milliseconds: TILESMITHERY_LOCK_TIMEOUT (seconds) or 60 s.
int lockTimeoutMs();

// The message of a failed acquire: the lock held by another run the whole time, or the lock file
// not made (the reason says why).
std::string lockFailureText(const FileLock& lock, const std::string& guarded, const std::string& reason);

// How long a window waits for a project's lock before it refuses: long enough for a batch run to
// finish with the project, never as long as lockTimeoutMs(), since a window that holds the lock
// keeps it for as long as it stays open.
int windowLockWaitMs();

}  // namespace ts
