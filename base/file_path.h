#pragma once

#include <iosfwd>

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

    // Makes name absolute (slashes become backslashes, a bare file name is
    // put in the current folder) and checks it; 1 when acceptable. name
    // keeps the converted form either way.
    static int CheckName(zstring& name);
    // The character test of CheckName: 0 for an empty name, one with
    // / * ? " < > |, or one with a colon other than a drive's (position 1,
    // only when allow_drive is non-zero).
    static int CheckNameChars(const zstring& name, int allow_drive);
    // 1 when the file can be opened for reading; nothing is created.
    static int FileExists(const char* path);
    // out = the current folder; 0, with out unchanged, when it cannot be read.
    static int CurrentFolder(zstring& out);

private:
    int m_delete_on_destroy;
    std::fstream* m_stream;  // owned
    zstring m_path;
};
