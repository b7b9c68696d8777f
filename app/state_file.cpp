#include "app/state_file.h"

#include <windows.h>

#include <fstream>
#include <sstream>

zstring WindowsFile(const char* name)
{
    char folder[1024];
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return zstring();
    zstring path(folder);
    path.append(name);
    return path;
}

bool LoadStateText(const zstring& path, std::string& text)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text.clear();
    for (char c : bytes.str())
        if (c != '\r')
            text += c;
    return true;
}

bool SaveStateText(const zstring& path, const std::string& text)
{
    std::string bytes;
    for (char c : text) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    const std::string temporary = std::string(path.c_str()) + ".new";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}
