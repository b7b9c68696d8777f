// FileLock's POSIX side: open-file-description locks, which belong to the
// open file rather than the process, so two objects in one process
// conflict as two programs do.
#include "base/file_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace {

const unsigned kRetryMs = 5;

bool set_lock(int fd, short type)
{
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    return fcntl(fd, F_OFD_SETLK, &range) == 0;
}

void sleep_ms(unsigned ms)
{
    const struct timespec pause = {0, static_cast<long>(ms) * 1000000L};
    nanosleep(&pause, nullptr);
}

}  // namespace

FileLock::FileLock() : m_held(false), m_writable(false), m_fd(-1) {}

FileLock::~FileLock()
{
    Close();
}

void FileLock::Close()
{
    if (m_fd >= 0)
        close(m_fd);  // closing the description releases its lock
    m_fd = -1;
    m_held = false;
    m_path.clear();
}

FileLock::Result FileLock::Lock(const char* path, bool exclusive, unsigned wait_ms)
{
    Unlock();
    // A file opened for reading only cannot be locked alone.
    if (m_fd < 0 || m_path != path || (exclusive && !m_writable)) {
        Close();
        m_writable = true;
        m_fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
        // A reader in a folder it may not write to locks a lock file that
        // is already there for reading only.
        if (m_fd < 0 && !exclusive) {
            m_writable = false;
            m_fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        }
        if (m_fd < 0)
            return kNoLockFile;
        m_path = path;
    }
    for (unsigned waited = 0;; waited += kRetryMs) {
        if (set_lock(m_fd, exclusive ? F_WRLCK : F_RDLCK)) {
            m_held = true;
            return kLocked;
        }
        const bool held_elsewhere = errno == EAGAIN || errno == EACCES || errno == EINTR;
        if (!held_elsewhere || waited >= wait_ms) {
            if (!held_elsewhere)
                Close();
            return held_elsewhere ? kBusy : kNoLockFile;
        }
        sleep_ms(kRetryMs);
    }
}

void FileLock::Unlock()
{
    if (m_held)
        set_lock(m_fd, F_UNLCK);
    m_held = false;
}
