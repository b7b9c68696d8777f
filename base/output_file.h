#pragma once

#include <cstddef>
#include <cstdint>

// A file written through the system's own calls, so that what was written
// can be flushed to the disk (the standard streams cannot) and every
// failure is seen with the system's reason. Only regular files are opened.
class OutputFile {
public:
    enum How {
        kCreateNew,  // fails when the name is taken
        kReplace,    // made, or emptied when it exists
        kExisting,   // must exist; writing starts at its end
    };

    OutputFile();
    // Closes the file; a failure there is lost, so writers call Close().
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    int Open(const char* path, How how);
    // Writes all the bytes at the current position; 1 when they all went.
    int Write(const void* bytes, size_t size);
    // Moves the position; the next Write goes there.
    int Seek(uint64_t position);
    // The file's size as the system sees it, or -1.
    int64_t Size();
    // Cuts the file to size bytes.
    int Truncate(uint64_t size);
    // Flushes the file's bytes and size to the disk.
    int Sync();
    // 1 when the file was open and closed without error.
    int Close();
    bool IsOpen() const;
    // The system's code for the last failure (errno, or GetLastError()).
    unsigned long Error() const { return m_error; }
    bool DiskFull() const { return IsDiskFull(m_error); }
    // Whether a system error code means a full disk (or quota).
    static bool IsDiskFull(unsigned long error);

    // Moves from onto to in one step, replacing to when it exists, and
    // makes the move itself durable: MoveFileEx with write-through on
    // Windows, rename and a flush of the folder elsewhere.
    static int Replace(const char* from, const char* to);
    // Flushes the folder that holds path, so that names made, moved or
    // deleted there survive a power loss (nothing to do on Windows, where
    // the moves are written through).
    static int SyncFolder(const char* path);

private:
    int Failed(unsigned long error);

#ifdef _WIN32
    void* m_handle;
#else
    int m_fd;
#endif
    unsigned long m_error;
};
