#include "frame/file_type_registration.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "base/program_paths.h"
#include "frame/registry_entry.h"

namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record GetVersionExA fills");

// Enough for most values: a program path with its arguments.
const DWORD kFirstReadSize = 2 * MAX_PATH;
const int kReadTries = 4;
// Characters a file name cannot hold, so no real extension contains them;
// the backslash would also split the key name.
const char kForbidden[] = "\\/:*?\"<>|";

// The names the five entries are made from.
struct Names {
    zstring typeName;
    zstring programPath;
};

int MakeNames(Names& names)
{
    ProgramPaths paths;
    zstring fileName;
    if (!paths.ProgramPath(names.programPath) || !paths.ProgramFileName(fileName))
        return 0;
    return *FileTypeRegistration::FileTypeNameOf(fileName, names.typeName) ? 1 : 0;
}

zstring Joined(const zstring& first, const char* second)
{
    zstring text(first);
    text.append(second);
    return text;
}

// Both quoted: unquoted, the shell splits a program path or a document
// name at its first space.
zstring OpenCommand(const zstring& programPath)
{
    zstring command("\"");
    command.append(programPath).append("\" \"%1\"");
    return command;
}

// The text up to its first zero byte. The buffer holds a zero byte more
// than the value, so text stored without its terminator still ends; a
// value longer than the first guess, or one that grew meanwhile, is read
// again with the size the system asked for.
int QueryText(HKEY key, const zstring& valueName, zstring& text, DWORD& type)
{
    std::vector<char> buffer;
    DWORD size = kFirstReadSize;
    DWORD found = REG_NONE;
    LONG result = ERROR_MORE_DATA;
    for (int tries = 0; result == ERROR_MORE_DATA && tries < kReadTries; ++tries) {
        buffer.assign(size + 1u, 0);
        result = RegQueryValueExA(key, valueName.c_str(), nullptr, &found,
                                  reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS)
        return 0;
    text = buffer.data();
    type = found;
    return 1;
}

// Only a string value counts: a number or binary block with the same
// bytes would not open anything in the shell.
bool Holds(const zstring& text, DWORD type, const zstring& wanted)
{
    return type == REG_SZ && text == wanted;
}

int WriteValue(HKEY root, const zstring& subkey, const zstring& valueName,
               const zstring& wanted, bool deleteFirst)
{
    RegistryEntry entry;
    entry.Set(root, subkey, valueName, wanted);
    if (deleteFirst)
        entry.Delete();  // fails, harmlessly, while the key has subkeys
    return entry.Write();
}

}  // namespace

int FileTypeRegistration::RegisterFileType(const zstring& extension, int iconIndex) const
{
    // Called from a window's creation handler, so running out of memory
    // for a name must end here rather than unwind through the window
    // procedure. Entries already written stay; each is complete.
    try {
        return WriteEntries(extension, iconIndex);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int FileTypeRegistration::WriteEntries(const zstring& extension, int iconIndex) const
{
    Names names;
    if (!IsValidExtension(extension) || !MakeNames(names))
        return 0;
    const zstring& type = names.typeName;
    const zstring& path = names.programPath;
    char index[16];
    std::snprintf(index, sizeof index, "%d", iconIndex);
    // Every step runs whatever the earlier ones gave.
    int done = EnsureValue(HKEY_CLASSES_ROOT, extension, "", type);
    done &= AddIfMissing(HKEY_CLASSES_ROOT, type, "", Joined(type, " hosted file."));
    // An unquoted command from an earlier start differs, and is replaced.
    done &= EnsureValue(HKEY_CLASSES_ROOT, Joined(type, "\\shell\\open\\command"), "",
                        OpenCommand(path));
    done &= AddIfMissing(HKEY_CLASSES_ROOT, Joined(type, "\\DefaultIcon"), "",
                         Joined(Joined(path, ","), index));
    done &= RegisterExtension(OperatingSystemKind(), extension, path);
    return done;
}

int FileTypeRegistration::OperatingSystemKind()
{
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return kOtherPlatform;
    return KindOfPlatform(version.dwPlatformId);
}

int FileTypeRegistration::KindOfPlatform(DWORD platformId)
{
    switch (platformId) {
    case VER_PLATFORM_WIN32s:
        return kWin32s;
    case VER_PLATFORM_WIN32_WINDOWS:
        return kWindows9x;
    case VER_PLATFORM_WIN32_NT:
        return kWindowsNT;
    default:
        return kOtherPlatform;
    }
}

FileTypeRegistration::ExtensionsKey FileTypeRegistration::ExtensionsKeyOf(int kind)
{
    // Windows NT keeps the list per user, the others per machine.
    if (kind == kWindowsNT)
        return {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions"};
    return {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Extensions"};
}

const char* FileTypeRegistration::FileTypeNameOf(const zstring& programFileName, zstring& out)
{
    const char* text = programFileName.c_str();
    const char* stop = std::strrchr(text, '.');
    out = stop ? programFileName.substr(0, static_cast<unsigned>(stop - text)) : programFileName;
    return out.c_str();
}

int FileTypeRegistration::IsValidExtension(const zstring& extension)
{
    const char* text = extension.c_str();
    if (text[0] != '.' || !text[1])
        return 0;
    for (const char* p = text + 1; *p; ++p) {
        if (static_cast<unsigned char>(*p) < 0x20 || std::strchr(kForbidden, *p))
            return 0;
    }
    return 1;
}

int FileTypeRegistration::EnsureValue(HKEY root, const zstring& subkey, const zstring& valueName,
                                      const zstring& wanted)
{
    zstring text;
    DWORD type = REG_NONE;
    const int present = ReadValue(root, subkey, valueName, text, type);
    if (present && Holds(text, type, wanted))
        return 1;
    // A differing value belongs to another program: its key goes.
    return WriteValue(root, subkey, valueName, wanted, present != 0);
}

int FileTypeRegistration::AddIfMissing(HKEY root, const zstring& subkey, const zstring& valueName,
                                       const zstring& wanted)
{
    zstring text;
    DWORD type = REG_NONE;
    if (ReadValue(root, subkey, valueName, text, type))
        return 1;
    return WriteValue(root, subkey, valueName, wanted, false);
}

int FileTypeRegistration::ReplaceValue(HKEY root, const zstring& subkey, const zstring& valueName,
                                       const zstring& wanted)
{
    zstring text;
    DWORD type = REG_NONE;
    if (ReadValue(root, subkey, valueName, text, type) && Holds(text, type, wanted))
        return 1;
    return WriteValue(root, subkey, valueName, wanted, false);
}

int FileTypeRegistration::ReadValue(HKEY root, const zstring& subkey, const zstring& valueName,
                                    zstring& text, DWORD& type)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    const int present = QueryText(key, valueName, text, type);
    RegCloseKey(key);
    return present;
}

int FileTypeRegistration::RegisterExtension(int kind, const zstring& extension,
                                            const zstring& programPath)
{
    const ExtensionsKey key = ExtensionsKeyOf(kind);
    zstring data(programPath);
    data.append(" ^").append(extension);
    return ReplaceValue(key.root, key.subkey, extension, data);
}
