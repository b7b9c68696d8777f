#pragma once

class zstring;

// Where the running program file lives and where its temporary files go.
// Each operation writes its result into out and returns out.c_str(), or
// returns null and leaves out unchanged when the system cannot tell.
class ProgramPaths {
public:
    virtual ~ProgramPaths();

    const char* ProgramPath(zstring& out) const;
    const char* ProgramFileName(zstring& out) const;
    const char* ProgramFolder(zstring& out) const;
    // Replaces name by the program folder, a backslash and name.
    const char* FileInProgramFolder(zstring& name) const;
    // The system temporary folder's "<program file name>.tmp", created with
    // any missing folders above it.
    const char* TempFolder(zstring& out) const;
    // A name not yet used inside TempFolder; the file is not created.
    const char* TempFileName(zstring& out) const;
};
