// FileLock's Windows side: LockFileEx on the first byte of the lock file.
#include "base/file_lock.h"

#include <windows.h>

namespace {

const unsigned kRetryMs = 5;

bool try_lock(HANDLE file, bool exclusive)
{
    OVERLAPPED at = {};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return LockFileEx(file, flags, 0, 1, 0, &at) != 0;
}

HANDLE open_lock_file(const char* path, DWORD access)
{
    return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, access & GENERIC_WRITE ? OPEN_ALWAYS : OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

FileLock::FileLock() : m_held(false), m_writable(false), m_handle(INVALID_HANDLE_VALUE) {}

FileLock::~FileLock()
{
    Close();
}

void FileLock::Close()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(static_cast<HANDLE>(m_handle));  // closing the handle releases its lock
    m_handle = INVALID_HANDLE_VALUE;
    m_held = false;
    m_path.clear();
}

FileLock::Result FileLock::Lock(const char* path, bool exclusive, unsigned wait_ms)
{
    Unlock();
    if (m_handle == INVALID_HANDLE_VALUE || m_path != path || (exclusive && !m_writable)) {
        Close();
        m_writable = true;
        HANDLE file = open_lock_file(path, GENERIC_READ | GENERIC_WRITE);
        // A reader in a folder it may not write to locks a lock file that
        // is already there for reading only.
        if (file == INVALID_HANDLE_VALUE && !exclusive) {
            m_writable = false;
            file = open_lock_file(path, GENERIC_READ);
        }
        if (file == INVALID_HANDLE_VALUE)
            return kNoLockFile;
        if (GetFileType(file) != FILE_TYPE_DISK) {
            CloseHandle(file);
            return kNoLockFile;
        }
        m_handle = file;
        m_path = path;
    }
    for (unsigned waited = 0;; waited += kRetryMs) {
        if (try_lock(static_cast<HANDLE>(m_handle), exclusive)) {
            m_held = true;
            return kLocked;
        }
        const DWORD error = GetLastError();
        const bool held_elsewhere = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
        if (!held_elsewhere || waited >= wait_ms) {
            if (!held_elsewhere)
                Close();
            return held_elsewhere ? kBusy : kNoLockFile;
        }
        Sleep(kRetryMs);
    }
}

void FileLock::Unlock()
{
    if (m_held) {
        OVERLAPPED at = {};
        UnlockFileEx(static_cast<HANDLE>(m_handle), 0, 1, 0, &at);
    }
    m_held = false;
}
