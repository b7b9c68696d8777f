#pragma once

#include <windows.h>

#include "base/zstring.h"

// Registers a document extension with the shell so that its files open
// with this program and show its icon. Run on every start: it takes the
// extension over from another program but keeps the description and icon
// that a user or an installer has set.
//
// The values as stored, with the program file C:\Apps\APP.EXE and the
// extension .STD:
//   HKCR\.STD                        APP
//   HKCR\APP                         APP hosted file.        (kept if set)
//   HKCR\APP\shell\open\command      "C:\Apps\APP.EXE" "%1"
//   HKCR\APP\DefaultIcon             C:\Apps\APP.EXE,1       (kept if set)
//   <extensions key>, value .STD     C:\Apps\APP.EXE ^.STD
// The extensions key, a list that every program shares, is
//   HKCU\Software\Microsoft\Windows NT\CurrentVersion\Extensions on NT,
//   HKLM\Software\Microsoft\Windows\CurrentVersion\Extensions elsewhere.
class FileTypeRegistration {
public:
    // Operating-system kinds, from the platform GetVersionExA reports.
    enum Kind { kWin32s = 0, kOtherPlatform = 1, kWindows9x = 2, kWindowsNT = 3 };

    // Where the kind keeps the extensions list shared by all programs.
    struct ExtensionsKey {
        HKEY root;
        const char* subkey;
    };

    // Makes the five entries. A step that fails leaves its entry as it was
    // and the others still run. Returns 1 when every entry ends up as
    // wanted (or kept), 0 otherwise; the application ignores the result.
    // An extension that is not a full stop followed by characters allowed
    // in a file name, or a program whose name leaves no file type name,
    // writes nothing and returns 0.
    int RegisterFileType(const zstring& extension, int iconIndex) const;

    static int OperatingSystemKind();
    static int KindOfPlatform(DWORD platformId);
    static ExtensionsKey ExtensionsKeyOf(int kind);

    // The program file name without the part from its last full stop on.
    static const char* FileTypeNameOf(const zstring& programFileName, zstring& out);
    static int IsValidExtension(const zstring& extension);

    // The three ways of making a value hold the wanted text; each returns
    // 1 when the value holds it afterwards (AddIfMissing: holds any value).
    // Ensure deletes the key of a differing value before writing, dropping
    // whatever else another program had put in it; a key with subkeys
    // cannot be deleted and only has its value replaced.
    static int EnsureValue(HKEY root, const zstring& subkey, const zstring& valueName,
                           const zstring& wanted);
    static int AddIfMissing(HKEY root, const zstring& subkey, const zstring& valueName,
                            const zstring& wanted);
    // For keys shared with other programs: replaces the value only.
    static int ReplaceValue(HKEY root, const zstring& subkey, const zstring& valueName,
                            const zstring& wanted);

    // 1 when the value exists, with its text (up to its first zero byte)
    // in text and its type in type; 0 with both unchanged otherwise.
    static int ReadValue(HKEY root, const zstring& subkey, const zstring& valueName,
                         zstring& text, DWORD& type);

    // The last step: the extension's value in the extensions key of kind.
    static int RegisterExtension(int kind, const zstring& extension,
                                 const zstring& programPath);

private:
    int WriteEntries(const zstring& extension, int iconIndex) const;
};
