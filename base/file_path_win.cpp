// FilePath's Windows side: the ANSI file calls of kernel32.
#include "base/file_path.h"

#include <windows.h>

#include <cstring>
#include <fstream>

#include "base/file_faults.h"
#include "base/file_path_system.h"
#include "base/system_text.h"

namespace file_path_system {

const char kSeparator = '\\';
const char kForbidden[] = "/*?\"<>|";
const int kHasDrives = 1;

int needs_folder(const char* name)
{
    // A drive-relative name such as "C:x" already says where it lives, and
    // the current folder in front of it would only make a second colon.
    return !std::strchr(name, '\\') && !(name[0] && name[1] == ':');
}

int delete_file(const char* path)
{
    return !FileFaults::Hit() && DeleteFileA(path) ? 1 : 0;
}

int move_file(const char* from, const char* to)
{
    // Without MOVEFILE_REPLACE_EXISTING an existing target fails the move.
    return !FileFaults::Hit() && MoveFileA(from, to) ? 1 : 0;
}

}  // namespace file_path_system

namespace {

// path made absolute, with "." and ".." resolved and the trailing dots and
// spaces of its last part dropped, as the file system itself reads it.
bool full_name(const char* path, zstring& out)
{
    return read_system_text(out, [path](char* buffer, DWORD size) {
        return GetFullPathNameA(path, size, buffer, nullptr);
    });
}

// A handle that only reads the file's identity; it neither blocks nor is
// blocked by anyone else's use of the file.
class IdentityHandle {
public:
    explicit IdentityHandle(const char* path)
        : m_handle(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr))
    {
    }
    ~IdentityHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    IdentityHandle(const IdentityHandle&) = delete;
    IdentityHandle& operator=(const IdentityHandle&) = delete;

    bool read(BY_HANDLE_FILE_INFORMATION& info) const
    {
        return m_handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(m_handle, &info);
    }

private:
    HANDLE m_handle;
};

}  // namespace

int FilePath::FileExists(const char* path)
{
    if (!path)
        return 0;
    // Existence means readable here: every caller means to read what it finds.
    std::ifstream in(path);
    return in.is_open() ? 1 : 0;
}

int FilePath::FileMissing(const char* path)
{
    if (!path || !*path)
        return 0;
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return 0;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 1 : 0;
}

FilePath::Kind FilePath::KindOf(const char* path)
{
    if (!path || !*path)
        return kUnknown;
    // Device names (NUL, CON, COM1) have no file attributes worth trusting:
    // their full name is the device's own.
    zstring full;
    if (full_name(path, full) && std::strncmp(full.c_str(), "\\\\.\\", 4) == 0)
        return kNotRegular;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? kMissing : kUnknown;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))
        return kNotRegular;
    return kRegular;
}

int FilePath::SameFile(const zstring& a, const zstring& b)
{
    zstring full_a;
    zstring full_b;
    if (full_name(a.c_str(), full_a) && full_name(b.c_str(), full_b) &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, full_a.c_str(), -1, full_b.c_str(),
                       -1) == CSTR_EQUAL)
        return 1;
    // Two different names can still reach one file: a short 8.3 name, a
    // mapped drive, a hard link.
    BY_HANDLE_FILE_INFORMATION info_a;
    BY_HANDLE_FILE_INFORMATION info_b;
    const IdentityHandle file_a(a.c_str());
    const IdentityHandle file_b(b.c_str());
    if (!file_a.read(info_a) || !file_b.read(info_b))
        return 0;
    return info_a.dwVolumeSerialNumber == info_b.dwVolumeSerialNumber &&
                   info_a.nFileIndexHigh == info_b.nFileIndexHigh &&
                   info_a.nFileIndexLow == info_b.nFileIndexLow
               ? 1
               : 0;
}

int FilePath::CurrentFolder(zstring& out)
{
    return read_system_text(out, [](char* buffer, DWORD size) {
        return GetCurrentDirectoryA(size, buffer);
    }) ? 1 : 0;
}
