// FilePath's POSIX side: unistd, stat and renameat2. Names keep the
// character rules of Windows, so a volume made here opens there too.
#include "base/file_path.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <new>
#include <string>

#include "base/file_faults.h"
#include "base/file_path_system.h"

namespace file_path_system {

const char kSeparator = '/';
const char kForbidden[] = "*?\"<>|";
const int kHasDrives = 0;

int needs_folder(const char* name)
{
    return name[0] != '/';
}

int delete_file(const char* path)
{
    return !FileFaults::Hit() && unlink(path) == 0 ? 1 : 0;
}

int move_file_by_link(const char* from, const char* to)
{
    if (link(from, to) == 0) {
        if (unlink(from) == 0)
            return 1;
        unlink(to);  // the file stays where it was, under its old name only
        return 0;
    }
    if (errno == EEXIST)
        return 0;
    // No hard links on this file system (FAT, some network shares): look,
    // then rename. Another program could take the name in between; nothing
    // closer to MoveFileA is left here.
    struct stat target;
    if (lstat(to, &target) == 0 || errno != ENOENT)
        return 0;
    return rename(from, to) == 0 ? 1 : 0;
}

int move_file(const char* from, const char* to)
{
    if (FileFaults::Hit())
        return 0;
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 1;
    // Only a kernel or file system without the flag goes the long way.
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return 0;
#endif
    return move_file_by_link(from, to);
}

}  // namespace file_path_system

namespace {

// Far beyond any folder a program works in; past it the folder is refused.
const size_t kLongestFolder = 1u << 20;

// name made absolute against the current folder, with ".", ".." and
// doubled or trailing slashes resolved by its text alone.
std::string normal_name(const zstring& name)
{
    std::string text(name.c_str());
    zstring folder;
    if (text[0] != '/' && FilePath::CurrentFolder(folder))
        text = std::string(folder.c_str()) + "/" + text;
    text = std::filesystem::path(text).lexically_normal().string();
    if (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

}  // namespace

int FilePath::FileExists(const char* path)
{
    if (!path)
        return 0;
    // Existence means readable here: every caller means to read what it
    // finds. O_NONBLOCK keeps a named pipe from holding the check up.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat info;
    const bool file = fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    close(fd);
    return file ? 1 : 0;
}

int FilePath::FileMissing(const char* path)
{
    if (!path || !*path)
        return 0;
    struct stat info;
    if (stat(path, &info) == 0)
        return 0;
    // ENOTDIR: a file stands where a folder on the way should be.
    return errno == ENOENT || errno == ENOTDIR ? 1 : 0;
}

FilePath::Kind FilePath::KindOf(const char* path)
{
    if (!path || !*path)
        return kUnknown;
    struct stat info;
    if (stat(path, &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? kMissing : kUnknown;
    return S_ISREG(info.st_mode) ? kRegular : kNotRegular;
}

int FilePath::SameFile(const zstring& a, const zstring& b)
{
    if (!a.length() || !b.length())
        return 0;
    struct stat info_a;
    struct stat info_b;
    if (stat(a.c_str(), &info_a) == 0 && stat(b.c_str(), &info_b) == 0)
        return info_a.st_dev == info_b.st_dev && info_a.st_ino == info_b.st_ino ? 1 : 0;
    try {
        return normal_name(a) == normal_name(b) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int FilePath::CurrentFolder(zstring& out)
{
    // A folder can lie deeper than PATH_MAX: the buffer grows until the
    // name fits.
    try {
        for (size_t size = 256;; size *= 2) {
            zstring folder;
            char* buffer = folder.own(new char[size](), static_cast<unsigned>(size));
            if (getcwd(buffer, size)) {
                out = folder;
                return 1;
            }
            if (errno != ERANGE || size > kLongestFolder)
                return 0;
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
