#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "base/zstring.h"

// One checked absolute file path and the file stream, if any, open on it.
// A name that fails the check is refused and the path stays as it was.
class FilePath {
public:
    FilePath();
    // Closes the stream; deletes the file when asked to on destruction.
    virtual ~FilePath();
    FilePath(const FilePath&) = delete;
    FilePath& operator=(const FilePath&) = delete;

    // 1 when name passes the check and becomes the path (an open stream is
    // closed first), 0 when refused.
    int SetPath(const zstring& name);
    // Moves the file, when there is one, to name and then takes name as the
    // path; 0 when name is refused or the move fails (an existing target
    // makes it fail), with nothing moved and the path unchanged.
    int Rename(const zstring& name);
    int Exists() const;
    // Replaces the file by a new empty one; binary == 1 opens it in binary
    // mode, anything else in text mode. The stream is owned here; null on
    // failure.
    std::ostream* OpenForWriting(int binary);
    // An owned stream reading the file, or null when it cannot be opened.
    std::istream* OpenForReading(int binary);
    void Close();
    // 1 when the file was deleted.
    int Remove();
    const zstring& Path() const { return m_path; }
    void DeleteOnDestroy(int on) { m_delete_on_destroy = on; }

    // Makes name absolute and checks it; 1 when acceptable. name keeps the
    // converted form either way. On Windows slashes become backslashes and
    // a bare file name is put in the current folder; elsewhere the folder
    // separator is '/', a backslash is an ordinary character, and any name
    // not starting with '/' is put in the current folder.
    static int CheckName(zstring& name);
    // The character test of CheckName: 0 for an empty name or one with
    // * ? " < > |. On Windows also 0 for a slash or a colon other than a
    // drive's (position 1, only when allow_drive is non-zero); elsewhere
    // every colon is refused, so that volumes keep names Windows can take.
    static int CheckNameChars(const zstring& name, int allow_drive);
    // 1 when the file can be opened for reading; nothing is created. A
    // folder is no file.
    static int FileExists(const char* path);
    // The file's size in bytes, or -1 when it cannot be opened for reading.
    static int64_t FileSize(const char* path);
    // 1 only when path names nothing because the file, or a folder on its
    // way, does not exist. 0 when something is there, and 0 when that
    // cannot be told (access denied, a sharing violation, an empty name), so
    // a file held open elsewhere is never taken for a missing one.
    static int FileMissing(const char* path);
    // 1 when both names resolve to the same file: the same absolute name
    // (on Windows ignoring case, "." and "..", and trailing dots and spaces),
    // or, when both exist, the same file on disk under two names.
    static int SameFile(const zstring& a, const zstring& b);
    // What a name holds. Volumes are only ever read from and written to
    // regular files: a folder, a pipe or a device is refused before it is
    // opened (opening a pipe for reading would wait for a writer).
    enum Kind { kMissing, kRegular, kNotRegular, kUnknown };
    // kUnknown when it cannot be told (access denied, an empty name).
    static Kind KindOf(const char* path);
    // out = the current folder; 0, with out unchanged, when it cannot be read.
    static int CurrentFolder(zstring& out);

private:
    int m_delete_on_destroy;
    std::unique_ptr<std::fstream> m_stream;
    zstring m_path;
};
