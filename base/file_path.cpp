#include "base/file_path.h"

#include <cstring>
#include <fstream>
#include <new>

#include "base/file_path_system.h"

namespace platform = file_path_system;

namespace {

const char kDefaultName[] = "default.file";

int check_chars(const char* text, int allow_drive)
{
    if (!*text || std::strpbrk(text, platform::kForbidden))
        return 0;
    const char* colon = std::strchr(text, ':');
    if (!colon)
        return 1;
    if (!allow_drive || !platform::kHasDrives || colon != text + 1)
        return 0;
    return check_chars(text + 2, 0);
}

// A stream on path, or null.
std::unique_ptr<std::fstream> open_stream(const char* path, std::ios::openmode mode)
{
    std::unique_ptr<std::fstream> stream(new (std::nothrow) std::fstream(path, mode));
    if (stream && !stream->is_open())
        stream.reset();
    return stream;
}

std::ios::openmode with_binary(std::ios::openmode mode, int binary)
{
    return binary == 1 ? mode | std::ios::binary : mode;
}

}  // namespace

FilePath::FilePath() : m_delete_on_destroy(0), m_path(kDefaultName)
{
    // Stays relative only when the current folder cannot be read.
    CheckName(m_path);
}

FilePath::~FilePath()
{
    Close();
    if (m_delete_on_destroy && m_path.length())
        platform::delete_file(m_path.c_str());
}

int FilePath::SetPath(const zstring& name)
{
    try {
        zstring checked(name);
        if (!CheckName(checked))
            return 0;
        m_path = checked;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    Close();
    return 1;
}

int FilePath::Rename(const zstring& name)
{
    if (name == m_path)
        return 1;
    try {
        // The target is checked before anything moves, so a refused name
        // cannot strand the file under a path this object does not hold.
        zstring target(name);
        if (!CheckName(target))
            return 0;
        if (target == m_path)
            return 1;  // the same file, spelt without its folder
        Close();  // an open file cannot be moved
        // Only a file that is truly not there has nothing to move: one that
        // cannot be looked at (an error, a sharing violation) is a failure.
        if (!FileMissing(m_path.c_str()) && !platform::move_file(m_path.c_str(), target.c_str()))
            return 0;
        m_path = target;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int FilePath::Exists() const
{
    return m_path.length() && FileExists(m_path.c_str()) ? 1 : 0;
}

std::ostream* FilePath::OpenForWriting(int binary)
{
    Close();
    // A file that cannot be deleted (read-only, in use elsewhere) cannot be
    // opened for writing either, so the caller sees null and the old bytes stay.
    if (m_path.length())
        platform::delete_file(m_path.c_str());
    m_stream = open_stream(m_path.c_str(), with_binary(std::ios::out | std::ios::trunc, binary));
    return m_stream.get();
}

std::istream* FilePath::OpenForReading(int binary)
{
    Close();
    m_stream = open_stream(m_path.c_str(), with_binary(std::ios::in, binary));
    return m_stream.get();
}

void FilePath::Close()
{
    m_stream.reset();  // flushes and closes the file
}

int FilePath::Remove()
{
    Close();
    return m_path.length() && platform::delete_file(m_path.c_str()) ? 1 : 0;
}

int FilePath::CheckName(zstring& name)
{
    const unsigned n = name.length();
    // Windows takes a slash for a backslash; elsewhere a backslash is an
    // ordinary character and stays.
    if (platform::kSeparator == '\\') {
        for (unsigned i = 0; i < n; ++i) {
            if (name[i] == '/')
                name[i] = '\\';
        }
    }
    // An empty name is refused before the folder is added, or it would
    // pass as the folder itself.
    if (n == 0)
        return 0;
    try {
        zstring folder;
        if (platform::needs_folder(name.c_str()) && CurrentFolder(folder)) {
            // The root folder ("C:\", "/") already ends with its separator.
            if (folder[folder.length() - 1] != platform::kSeparator)
                folder.append(platform::kSeparator);
            name.prepend(folder);
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return CheckNameChars(name, 1);
}

int FilePath::CheckNameChars(const zstring& name, int allow_drive)
{
    return check_chars(name.c_str(), allow_drive);
}

int64_t FilePath::FileSize(const char* path)
{
    std::ifstream in(path ? path : "", std::ios::in | std::ios::binary);
    if (!in.is_open() || !in.seekg(0, std::ios::end))
        return -1;
    return static_cast<int64_t>(in.tellg());
}
