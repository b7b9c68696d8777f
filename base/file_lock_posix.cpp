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

bool try_lock(int fd, bool exclusive)
{
    struct flock range = {};
    range.l_type = exclusive ? F_WRLCK : F_RDLCK;
    range.l_whence = SEEK_SET;
    return fcntl(fd, F_OFD_SETLK, &range) == 0;
}

void sleep_ms(unsigned ms)
{
    const struct timespec pause = {0, static_cast<long>(ms) * 1000000L};
    nanosleep(&pause, nullptr);
}

}  // namespace

FileLock::FileLock() : m_fd(-1) {}

FileLock::~FileLock()
{
    Unlock();
}

bool FileLock::Held() const
{
    return m_fd >= 0;
}

FileLock::Result FileLock::Lock(const char* path, bool exclusive, unsigned wait_ms)
{
    Unlock();
    int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    // A reader in a folder it may not write to locks a lock file that is
    // already there for reading only.
    if (fd < 0 && !exclusive)
        fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return kNoLockFile;
    for (unsigned waited = 0;; waited += kRetryMs) {
        if (try_lock(fd, exclusive)) {
            m_fd = fd;
            return kLocked;
        }
        const bool held_elsewhere = errno == EAGAIN || errno == EACCES || errno == EINTR;
        if (!held_elsewhere || waited >= wait_ms) {
            close(fd);
            return held_elsewhere ? kBusy : kNoLockFile;
        }
        sleep_ms(kRetryMs);
    }
}

void FileLock::Unlock()
{
    if (m_fd >= 0)
        close(m_fd);  // closing the description releases its lock
    m_fd = -1;
}
