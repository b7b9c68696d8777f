// OutputFile's POSIX side: open, write, fsync.
#include "base/output_file.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "base/file_faults.h"

OutputFile::OutputFile() : m_fd(-1), m_error(0) {}

OutputFile::~OutputFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int OutputFile::Failed(unsigned long error)
{
    m_error = error;
    return 0;
}

bool OutputFile::IsOpen() const
{
    return m_fd >= 0;
}

int OutputFile::Open(const char* path, How how)
{
    Close();
    if (FileFaults::Hit())
        return Failed(EIO);
    static const int kFlags[] = {O_CREAT | O_EXCL, O_CREAT | O_TRUNC, 0};
    // O_NONBLOCK: a pipe under the name must not hold the open up.
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC | O_NONBLOCK | kFlags[how], 0666);
    if (fd < 0)
        return Failed(errno);
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        (how == kExisting && lseek(fd, 0, SEEK_END) < 0)) {
        ::close(fd);
        return Failed(EINVAL);
    }
    m_fd = fd;
    return 1;
}

int OutputFile::Write(const void* bytes, size_t size)
{
    if (m_fd < 0)
        return 0;
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        if (FileFaults::Hit())
            return Failed(EIO);
        const ssize_t n = ::write(m_fd, next, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Failed(n < 0 ? errno : ENOSPC);
        next += n;
        size -= static_cast<size_t>(n);
    }
    return 1;
}

int OutputFile::Seek(uint64_t position)
{
    return m_fd >= 0 && lseek(m_fd, static_cast<off_t>(position), SEEK_SET) >= 0 ? 1 : 0;
}

int64_t OutputFile::Size()
{
    struct stat info;
    return m_fd >= 0 && fstat(m_fd, &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

bool OutputFile::IsDiskFull(unsigned long error)
{
    return error == ENOSPC || error == EDQUOT;
}

int OutputFile::Truncate(uint64_t size)
{
    if (m_fd < 0)
        return 0;
    if (FileFaults::Hit())
        return Failed(EIO);
    return ftruncate(m_fd, static_cast<off_t>(size)) == 0 ? 1 : Failed(errno);
}

int OutputFile::Sync()
{
    if (m_fd < 0)
        return 0;
    if (FileFaults::Hit())
        return Failed(EIO);
    return fsync(m_fd) == 0 ? 1 : Failed(errno);
}

int OutputFile::Close()
{
    if (m_fd < 0)
        return 0;
    const int fd = m_fd;
    m_fd = -1;
    const bool faulted = FileFaults::Hit();
    if (::close(fd) != 0 || faulted)
        return Failed(faulted ? EIO : errno);
    return 1;
}

int OutputFile::Replace(const char* from, const char* to)
{
    if (FileFaults::Hit() || rename(from, to) != 0)
        return 0;
    // The move is made: a folder that cannot be flushed now leaves it to
    // the system's own time, and is no reason to undo it.
    SyncFolder(to);
    return 1;
}

int OutputFile::SyncFolder(const char* path)
{
    if (FileFaults::Hit())
        return 0;
    std::string folder(path);
    const size_t slash = folder.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    // A file system that cannot flush a folder (EINVAL) keeps names as it can.
    const int synced = fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced ? 1 : 0;
}
