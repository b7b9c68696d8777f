// OutputFile's Windows side: CreateFile, WriteFile, FlushFileBuffers.
#include "base/output_file.h"

#include <windows.h>

#include "base/file_faults.h"

namespace {

HANDLE handle_of(void* handle)
{
    return static_cast<HANDLE>(handle);
}

}  // namespace

OutputFile::OutputFile() : m_handle(INVALID_HANDLE_VALUE), m_error(0) {}

OutputFile::~OutputFile()
{
    if (IsOpen())
        CloseHandle(handle_of(m_handle));
}

int OutputFile::Failed(unsigned long error)
{
    m_error = error;
    return 0;
}

bool OutputFile::IsOpen() const
{
    return m_handle != INVALID_HANDLE_VALUE;
}

int OutputFile::Open(const char* path, How how)
{
    Close();
    if (FileFaults::Hit())
        return Failed(ERROR_WRITE_FAULT);
    static const DWORD kDisposition[] = {CREATE_NEW, CREATE_ALWAYS, OPEN_EXISTING};
    // Others may read while this writes (readers hold the volume's lock).
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    kDisposition[how], FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Failed(GetLastError());
    LARGE_INTEGER end = {};
    if (GetFileType(file) != FILE_TYPE_DISK ||
        (how == kExisting && !SetFilePointerEx(file, end, nullptr, FILE_END))) {
        CloseHandle(file);
        return Failed(ERROR_INVALID_HANDLE);
    }
    m_handle = file;
    return 1;
}

int OutputFile::Write(const void* bytes, size_t size)
{
    if (!IsOpen())
        return 0;
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        if (FileFaults::Hit())
            return Failed(ERROR_WRITE_FAULT);
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handle_of(m_handle), next, chunk, &written, nullptr))
            return Failed(GetLastError());
        if (written == 0)
            return Failed(ERROR_DISK_FULL);
        next += written;
        size -= written;
    }
    return 1;
}

int OutputFile::Seek(uint64_t position)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    return IsOpen() && SetFilePointerEx(handle_of(m_handle), to, nullptr, FILE_BEGIN) ? 1 : 0;
}

int64_t OutputFile::Size()
{
    LARGE_INTEGER size;
    return IsOpen() && GetFileSizeEx(handle_of(m_handle), &size) ? size.QuadPart : -1;
}

bool OutputFile::IsDiskFull(unsigned long error)
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

int OutputFile::Truncate(uint64_t size)
{
    if (!IsOpen())
        return 0;
    if (FileFaults::Hit())
        return Failed(ERROR_WRITE_FAULT);
    return Seek(size) && SetEndOfFile(handle_of(m_handle)) ? 1 : Failed(GetLastError());
}

int OutputFile::Sync()
{
    if (!IsOpen())
        return 0;
    if (FileFaults::Hit())
        return Failed(ERROR_WRITE_FAULT);
    return FlushFileBuffers(handle_of(m_handle)) ? 1 : Failed(GetLastError());
}

int OutputFile::Close()
{
    if (!IsOpen())
        return 0;
    const HANDLE file = handle_of(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    const bool faulted = FileFaults::Hit();
    if (!CloseHandle(file) || faulted)
        return Failed(faulted ? ERROR_WRITE_FAULT : GetLastError());
    return 1;
}

int OutputFile::Replace(const char* from, const char* to)
{
    if (FileFaults::Hit())
        return 0;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}

int OutputFile::SyncFolder(const char*)
{
    return FileFaults::Hit() ? 0 : 1;
}
