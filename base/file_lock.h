#pragma once

#include <string>

// A lock that programs take on a small file of their own: shared by any
// number of readers, or held by one writer alone. Two holders conflict
// whether they are two processes, or two objects in one process. The lock
// goes on Unlock, when the object is destroyed, or with the process. The
// lock file stays open between locks of the same file, so that taking the
// lock again costs no open.
class FileLock {
public:
    enum Result {
        kLocked,
        kBusy,       // another holder kept it past the wait
        kNoLockFile  // the lock file can be neither made nor opened
    };

    FileLock();
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens path (made when missing) and takes the lock, trying again for
    // up to wait_ms milliseconds while someone else holds it.
    Result Lock(const char* path, bool exclusive, unsigned wait_ms);
    void Unlock();
    bool Held() const { return m_held; }

private:
    void Close();

    std::string m_path;  // the lock file open, if any
    bool m_held;
    bool m_writable;
#ifdef _WIN32
    void* m_handle;
#else
    int m_fd;
#endif
};
