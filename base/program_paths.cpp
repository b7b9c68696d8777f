#include "base/program_paths.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "base/zstring.h"

namespace {

// Room for a temporary folder (up to MAX_PATH) and a program file name
// (up to MAX_PATH) glued together, with ".tmp".
const unsigned kLongPath = 3 * MAX_PATH;
// The runtime's own existence test looks elsewhere (at the drive root), so
// a name it offers can still be taken here; this many are tried.
const int kNameTries = 100;

// Sets out to a + b + c; null, with out unchanged, when memory runs out.
const char* join(zstring& out, const char* a, const char* b = "", const char* c = "")
{
    try {
        zstring text(a);
        text.append(b).append(c);
        out = text;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return out.c_str();
}

// The program file's full path; a path cut short by the buffer is refused.
bool read_program_path(char (&path)[MAX_PATH])
{
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return n > 0 && n < MAX_PATH;
}

// The program file's folder, without the backslash that ends it.
bool read_program_folder(char (&path)[MAX_PATH])
{
    if (!read_program_path(path))
        return false;
    char* slash = std::strrchr(path, '\\');
    if (slash)
        *slash = 0;
    return true;
}

// The part after the last backslash, or the whole text when there is none.
const char* after_last_backslash(const char* path)
{
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

// Remembers the current folder and sets it back on leaving scope, so every
// way out of a temporary-folder operation restores it.
class CurrentFolderKeeper {
public:
    CurrentFolderKeeper()
    {
        const DWORD n = GetCurrentDirectoryA(MAX_PATH, m_folder);
        m_saved = n > 0 && n < MAX_PATH;
    }
    ~CurrentFolderKeeper()
    {
        if (m_saved)
            SetCurrentDirectoryA(m_folder);
    }
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;
    bool saved() const { return m_saved; }

private:
    char m_folder[MAX_PATH];
    bool m_saved;
};

// Creates folder and every missing folder above it, from the first
// backslash down: a prefix that can be made current already exists.
bool make_folders(const char* folder)
{
    CurrentFolderKeeper keeper;
    if (!keeper.saved())
        return true;  // nothing is created when the way back is unknown
    char prefix[kLongPath];
    for (const char* p = std::strchr(folder, '\\'); p; p = std::strchr(p + 1, '\\')) {
        const size_t n = static_cast<size_t>(p - folder);
        std::memcpy(prefix, folder, n);
        prefix[n] = 0;
        if (!SetCurrentDirectoryA(prefix) && !CreateDirectoryA(prefix, nullptr))
            return false;
    }
    return CreateDirectoryA(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// The temporary folder's text, made to exist.
bool temp_folder(char (&folder)[kLongPath])
{
    char program[MAX_PATH];
    if (!read_program_path(program))
        return false;
    char base[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, base);
    if (n == 0 || n >= MAX_PATH) {
        // No system temporary folder: the program folder and a backslash.
        std::snprintf(base, sizeof base, "%s", program);
        char* slash = std::strrchr(base, '\\');
        if (slash)
            slash[1] = 0;
    }
    const int len = std::snprintf(folder, sizeof folder, "%s%s.tmp", base,
                                  after_last_backslash(program));
    return len > 0 && len < static_cast<int>(sizeof folder) && make_folders(folder);
}

// A name beginning with a backslash that no file in folder has. The
// runtime gives "\s<letters>." names; a full path from it is cut to its
// last part.
bool unique_name(const char* folder, char (&name)[MAX_PATH])
{
    CurrentFolderKeeper keeper;
    if (!keeper.saved() || !SetCurrentDirectoryA(folder))
        return false;
    for (int i = 0; i < kNameTries; ++i) {
        const char* made = std::tmpnam(nullptr);
        if (!made)
            return false;
        std::snprintf(name, sizeof name, "\\%s", after_last_backslash(made));
        if (GetFileAttributesA(name + 1) == INVALID_FILE_ATTRIBUTES &&
            GetLastError() == ERROR_FILE_NOT_FOUND)
            return true;
    }
    return false;
}

}  // namespace

ProgramPaths::~ProgramPaths() = default;

const char* ProgramPaths::ProgramPath(zstring& out) const
{
    char path[MAX_PATH];
    return read_program_path(path) ? join(out, path) : nullptr;
}

const char* ProgramPaths::ProgramFileName(zstring& out) const
{
    char path[MAX_PATH];
    return read_program_path(path) ? join(out, after_last_backslash(path)) : nullptr;
}

const char* ProgramPaths::ProgramFolder(zstring& out) const
{
    char folder[MAX_PATH];
    return read_program_folder(folder) ? join(out, folder) : nullptr;
}

const char* ProgramPaths::FileInProgramFolder(zstring& name) const
{
    char folder[MAX_PATH];
    return read_program_folder(folder) ? join(name, folder, "\\", name.c_str()) : nullptr;
}

const char* ProgramPaths::TempFolder(zstring& out) const
{
    char folder[kLongPath];
    return temp_folder(folder) ? join(out, folder) : nullptr;
}

const char* ProgramPaths::TempFileName(zstring& out) const
{
    char folder[kLongPath];
    char name[MAX_PATH];
    if (!temp_folder(folder) || !unique_name(folder, name))
        return nullptr;
    return join(out, folder, name);
}
