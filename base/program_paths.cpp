#include "base/program_paths.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "base/system_text.h"
#include "base/zstring.h"

namespace {

// The runtime's own existence test looks elsewhere (at the drive root), so
// a name it offers can still be taken here; this many are tried.
const int kNameTries = 100;

// The program file's full path.
bool read_program_path(zstring& path)
{
    return read_system_text(path, [](char* buffer, DWORD size) {
        return GetModuleFileNameA(nullptr, buffer, size);
    });
}

// The position of the last backslash in text, npos when there is none.
unsigned last_backslash(const zstring& text)
{
    return text.find_last('\\');
}

// The part after the last backslash, or the whole text when there is none.
zstring after_last_backslash(const zstring& path)
{
    const unsigned slash = last_backslash(path);
    return slash == zstring::npos ? path : path.substr(slash + 1);
}

// The program file's folder, without the backslash that ends it.
bool read_program_folder(zstring& folder)
{
    if (!read_program_path(folder))
        return false;
    folder.remove(last_backslash(folder));
    return true;
}

// Remembers the current folder and sets it back on leaving scope, so every
// way out of a temporary-folder operation restores it.
class CurrentFolderKeeper {
public:
    CurrentFolderKeeper()
        : m_saved(read_system_text(m_folder, [](char* buffer, DWORD size) {
              return GetCurrentDirectoryA(size, buffer);
          }))
    {
    }
    ~CurrentFolderKeeper()
    {
        if (m_saved)
            SetCurrentDirectoryA(m_folder.c_str());
    }
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;
    bool saved() const { return m_saved; }

private:
    zstring m_folder;
    bool m_saved;
};

// Creates folder and every missing folder above it, from the first
// backslash down: a prefix that can be made current already exists.
bool make_folders(const zstring& folder)
{
    CurrentFolderKeeper keeper;
    if (!keeper.saved())
        return true;  // nothing is created when the way back is unknown
    for (unsigned at = folder.find('\\'); at != zstring::npos; at = folder.find('\\', at + 1)) {
        const zstring prefix = folder.substr(0, at);
        if (!SetCurrentDirectoryA(prefix.c_str()) && !CreateDirectoryA(prefix.c_str(), nullptr))
            return false;
    }
    return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// The temporary folder's name, made to exist.
bool temp_folder(zstring& folder)
{
    zstring program;
    zstring base;
    if (!read_program_path(program))
        return false;
    if (!read_system_text(base, [](char* buffer, DWORD size) {
            return GetTempPathA(size, buffer);
        })) {
        // No system temporary folder: the program folder and a backslash.
        base = program;
        const unsigned slash = last_backslash(base);
        if (slash != zstring::npos)
            base.remove(slash + 1);
    }
    folder = base.append(after_last_backslash(program)).append(".tmp");
    return make_folders(folder);
}

// A name beginning with a backslash that no file in folder has. The
// runtime gives "\s<letters>." names; a full path from it is cut to its
// last part.
bool unique_name(const zstring& folder, zstring& name)
{
    CurrentFolderKeeper keeper;
    if (!keeper.saved() || !SetCurrentDirectoryA(folder.c_str()))
        return false;
    for (int i = 0; i < kNameTries; ++i) {
        const char* made = std::tmpnam(nullptr);
        if (!made)
            return false;
        const zstring last = after_last_backslash(zstring(made));
        if (GetFileAttributesA(last.c_str()) == INVALID_FILE_ATTRIBUTES &&
            GetLastError() == ERROR_FILE_NOT_FOUND) {
            name = zstring("\\").append(last);
            return true;
        }
    }
    return false;
}

// Runs find into a text of its own and hands it to out only when it
// succeeds; running out of memory is a failure like any other.
template <typename Find>
const char* answer(zstring& out, Find find)
{
    try {
        zstring text;
        if (!find(text))
            return nullptr;
        out = text;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return out.c_str();
}

}  // namespace

ProgramPaths::~ProgramPaths() = default;

const char* ProgramPaths::ProgramPath(zstring& out) const
{
    return answer(out, read_program_path);
}

const char* ProgramPaths::ProgramFileName(zstring& out) const
{
    return answer(out, [](zstring& text) {
        if (!read_program_path(text))
            return false;
        text = after_last_backslash(text);
        return true;
    });
}

const char* ProgramPaths::ProgramFolder(zstring& out) const
{
    return answer(out, read_program_folder);
}

const char* ProgramPaths::FileInProgramFolder(zstring& name) const
{
    return answer(name, [&name](zstring& text) {
        if (!read_program_folder(text))
            return false;
        text.append('\\').append(name);
        return true;
    });
}

const char* ProgramPaths::TempFolder(zstring& out) const
{
    return answer(out, temp_folder);
}

const char* ProgramPaths::TempFileName(zstring& out) const
{
    return answer(out, [](zstring& text) {
        zstring name;
        if (!temp_folder(text) || !unique_name(text, name))
            return false;
        text.append(name);
        return true;
    });
}
