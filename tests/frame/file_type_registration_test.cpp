#include "frame/file_type_registration.h"
#include "frame/registry_entry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

// These tests work on the real registry (Wine's, when run there). Each test
// starts with none of the keys and values the registration can touch; what
// was there is copied aside first and put back afterwards.

namespace {

using Registration = FileTypeRegistration;

const HKEY HKCR = HKEY_CLASSES_ROOT;
const HKEY HKCU = HKEY_CURRENT_USER;
const char kScratch[] = "Software\\OrvalisRegistrationTest";
const char kBackup[] = "Software\\OrvalisRegistrationBackup";
const char kNtList[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions";
const char k9xList[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Extensions";
const char* const kBadExtensions[] = {"",     ".",    "STD",   ".S\\TD", ".S/D",  ".S*D", ".S?D",
                                      ".S:D", ".S\"D", ".S<D", ".S>D",  ".S|D", ".S\tD"};

// A value as "<type>:<bytes>", or "" when it is missing.
std::string Raw(HKEY root, const std::string& path, const std::string& name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "";
    DWORD type = 0, size = 0;
    std::string bytes;
    LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        bytes.resize(size + 1);
        result = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&bytes[0]), &size);
        bytes.resize(size);
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::to_string(type) + ":" + bytes : "";
}

// A string value as the registration stores it: REG_SZ with one zero.
std::string Text(const std::string& text)
{
    return "1:" + text + std::string(1, '\0');
}

void SetRaw(HKEY root, const std::string& path, const std::string& name, const std::string& raw)
{
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    const size_t colon = raw.find(':');
    const std::string bytes = raw.substr(colon + 1);
    RegSetValueExA(key, name.c_str(), 0, std::stoul(raw.substr(0, colon)),
                   reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

bool Exists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void MakeKey(HKEY root, const std::string& path, DWORD options)
{
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

// The key and all below it: a line per key with its class (and its last
// write time when asked), a line per value; "" when the key is missing.
std::string Dump(HKEY root, const std::string& path, bool times = false)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    char name[16384] = "";
    DWORD size = sizeof name;
    FILETIME written{};
    RegQueryInfoKeyA(key, name, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, &written);
    std::string text = path + " [" + name + "]";
    if (times)
        text += " @" + std::to_string(written.dwHighDateTime) + "." +
                std::to_string(written.dwLowDateTime);
    text += "\n";
    for (DWORD i = 0; size = sizeof name, RegEnumValueA(key, i, name, &size, nullptr, nullptr,
                                                         nullptr, nullptr) == 0; ++i)
        text += "  " + std::string(*name ? name : "(default)") + " = " + Raw(key, "", name) + "\n";
    std::vector<std::string> subkeys;
    for (DWORD i = 0; size = sizeof name, RegEnumKeyExA(key, i, name, &size, nullptr, nullptr,
                                                         nullptr, nullptr) == 0; ++i)
        subkeys.push_back(name);
    RegCloseKey(key);
    for (const std::string& sub : subkeys)
        text += Dump(root, path + "\\" + sub, times);
    return text;
}

// Copies root\from, with all below it, into toRoot\to; nothing when it
// is missing.
void CopyTree(HKEY root, const std::string& from, HKEY toRoot, const std::string& to)
{
    HKEY target;
    if (!Exists(root, from))
        return;
    if (RegCreateKeyExA(toRoot, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                        nullptr) == ERROR_SUCCESS) {
        RegCopyTreeA(root, from.c_str(), target);
        RegCloseKey(target);
    }
}

struct Place {
    HKEY root;
    std::string path;
    std::string name;  // values only
};

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override
    {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        m_path = path;
        m_type = m_path.substr(m_path.rfind('\\') + 1);
        m_type = m_type.substr(0, m_type.rfind('.'));
        m_keys = {{HKCR, ".STD", ""}, {HKCR, m_type, ""}, {HKCU, kScratch, ""}, {HKCR, ".S", ""}};
        m_values = {{HKCU, kNtList, ".STD"}, {HKCU, kNtList, "orvneighbour"},
                    {HKEY_LOCAL_MACHINE, k9xList, ".STD"}, {HKCR, "", ""}};
        // Where bad extensions would land if they got through; the empty
        // one would be the default value of HKCR itself.
        for (const char* bad : kBadExtensions) {
            if (*bad)
                m_keys.push_back({HKCR, bad, ""});
            m_values.push_back({HKCU, kNtList, bad});
        }
        // A backup left by a run that crashed still holds the real keys.
        ASSERT_EQ("", Dump(HKCU, kBackup)) << "restore or remove it first";
        for (size_t i = 0; i < m_keys.size(); ++i)
            CopyTree(m_keys[i].root, m_keys[i].path, HKCU, Backup(i));
        for (const Place& v : m_values) {
            m_listExisted.push_back(Exists(v.root, v.path));
            m_saved.push_back(Raw(v.root, v.path, v.name));
        }
        m_armed = true;
        Clear();
    }
    void TearDown() override
    {
        if (!m_armed)
            return;
        Clear();
        for (size_t i = 0; i < m_keys.size(); ++i)
            CopyTree(HKCU, Backup(i), m_keys[i].root, m_keys[i].path);
        for (size_t i = 0; i < m_values.size(); ++i) {
            if (!m_listExisted[i] && !m_values[i].path.empty())
                RegDeleteTreeA(m_values[i].root, m_values[i].path.c_str());
            else if (!m_saved[i].empty())
                SetRaw(m_values[i].root, m_values[i].path, m_values[i].name, m_saved[i]);
        }
        RegDeleteTreeA(HKCU, kBackup);
    }
    void Clear()
    {
        for (const Place& k : m_keys)
            RegDeleteTreeA(k.root, k.path.c_str());
        for (const Place& v : m_values)
            RegDeleteKeyValueA(v.root, v.path.c_str(), v.name.c_str());
    }
    static std::string Backup(size_t i) { return std::string(kBackup) + "\\" + std::to_string(i); }
    // Every key and value the tests guard.
    std::string DumpAll(bool times = false) const
    {
        std::string text;
        for (const Place& k : m_keys)
            text += Dump(k.root, k.path, times);
        for (const Place& v : m_values)
            text += v.path + "|" + v.name + " = " + Raw(v.root, v.path, v.name) + "\n";
        return text;
    }
    std::string Key(const std::string& below = "") const { return m_type + below; }
    int Register() const { return Registration().RegisterFileType(".STD", 1); }

    std::string m_path;
    std::string m_type;
    std::vector<Place> m_keys;
    std::vector<Place> m_values;
    std::vector<bool> m_listExisted;
    std::vector<std::string> m_saved;
    bool m_armed = false;
};

}  // namespace

TEST_F(RegistrationTest, RegistryEntryStoresTextValues)
{
    const std::string key = std::string(kScratch) + "\\Entry";
    // The simple write's value name is a subkey holding the text.
    RegistryEntry simple(RegistryEntry::kSimpleWrite);
    simple.Set(HKCU, key.c_str(), "Sub", "text");
    ASSERT_EQ(1, simple.Write());
    RegistryEntry entry;
    entry.Set(HKCU, key.c_str(), "", "APP");
    ASSERT_EQ(1, entry.Write());
    EXPECT_NE(nullptr, entry.OpenKey());
    entry.Set(HKCU, key.c_str(), "Named", "C:\\Apps\\APP.EXE,1");
    ASSERT_EQ(1, entry.Write());
    entry.Close();
    EXPECT_EQ(nullptr, entry.OpenKey());
    EXPECT_EQ(key + " [WhatIsAClass]\n  (default) = " + Text("APP") + "\n  Named = " +
                  Text("C:\\Apps\\APP.EXE,1") + "\n" + key + "\\Sub []\n  (default) = " +
                  Text("text") + "\n",
              Dump(HKCU, key));

    // Delete refuses a key with subkeys, and an empty path, which the
    // system takes to mean the key the root handle stands for.
    EXPECT_EQ(0, entry.Delete());
    HKEY sub;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKCU, (key + "\\Sub").c_str(), 0, KEY_ALL_ACCESS, &sub));
    simple.Set(sub, "", "", "");
    EXPECT_EQ(0, simple.Delete());
    RegCloseKey(sub);
    simple.Set(HKCU, (key + "\\Sub").c_str(), "", "");
    EXPECT_EQ(1, simple.Delete());
    EXPECT_EQ(1, entry.Delete());
    EXPECT_EQ("", Dump(HKCU, key));
    EXPECT_EQ(0, entry.Delete());
}

TEST_F(RegistrationTest, RegistryEntryFailureLeavesRegistryAsItWas)
{
    const std::string scratch = kScratch;
    // Made by the entry itself: Wine, unlike Windows, gives an existing key
    // the class of every later create.
    RegistryEntry old;
    old.Set(HKCU, (scratch + "\\Old").c_str(), "", "kept");
    ASSERT_EQ(1, old.Write());
    old.Close();
    MakeKey(HKCU, scratch + "\\Volatile", REG_OPTION_VOLATILE);
    const std::string before = Dump(HKCU, scratch);
    const std::string tooLong(16384, 'n');  // value names stop at 16383
    const std::pair<std::string, std::string> cases[] = {
        {scratch + "\\New", tooLong},         // key made, value refused
        {scratch + "\\Old", tooLong},         // key was there: it stays
        {scratch + "\\Volatile\\Child", ""},  // lasting key below a volatile one
        {"\\" + scratch + "\\New", ""},       // a path may not start with a backslash
    };
    for (const auto& c : cases) {
        RegistryEntry entry;
        entry.Set(HKCU, c.first.c_str(), c.second.c_str(), "data");
        EXPECT_EQ(0, entry.Write()) << c.first;
        EXPECT_EQ(nullptr, entry.OpenKey()) << c.first;
        EXPECT_EQ(before, Dump(HKCU, scratch)) << c.first;
    }
    RegistryEntry noRoot;
    noRoot.Set(nullptr, "Software", "", "data");
    EXPECT_EQ(0, noRoot.Write());
}

TEST_F(RegistrationTest, FirstRegistrationMakesTheFiveEntries)
{
    ASSERT_EQ(Registration::kWindowsNT, Registration::OperatingSystemKind());
    ASSERT_EQ(1, Register());
    const std::string head = " [WhatIsAClass]\n  (default) = ";
    EXPECT_EQ(".STD" + head + Text(m_type) + "\n", Dump(HKCR, ".STD"));
    EXPECT_EQ(Key() + head + Text(m_type + " hosted file.") + "\n" +
                  Key("\\DefaultIcon") + head + Text(m_path + ",1") + "\n" +
                  Key("\\shell [WhatIsAClass]\n") + Key("\\shell\\open [WhatIsAClass]\n") +
                  Key("\\shell\\open\\command") + head + Text(m_path + " %1") + "\n",
              Dump(HKCR, m_type));
    EXPECT_EQ(Text(m_path + " ^.STD"), Raw(HKCU, kNtList, ".STD"));
    EXPECT_EQ("", Raw(HKEY_LOCAL_MACHINE, k9xList, ".STD"));

    // The icon index is written in decimal, negative resource ids included.
    for (int index : {0, 12, -101}) {
        RegDeleteTreeA(HKCR, m_type.c_str());
        EXPECT_EQ(1, Registration().RegisterFileType(".STD", index));
        EXPECT_EQ(Text(m_path + "," + std::to_string(index)), Raw(HKCR, Key("\\DefaultIcon"), ""));
    }
}

TEST_F(RegistrationTest, SecondRegistrationChangesNothing)
{
    ASSERT_EQ(1, Register());
    const std::string before = DumpAll(true);
    Sleep(50);  // so that a rewrite would show in the last-write times
    EXPECT_EQ(1, Register());
    EXPECT_EQ(before, DumpAll(true));
}

TEST_F(RegistrationTest, ForeignTypeIsTakenOverButDescriptionAndIconAreKept)
{
    SetRaw(HKCR, ".STD", "", Text("OtherApp.Document"));
    SetRaw(HKCR, ".STD", "Content Type", Text("text/x-other"));
    SetRaw(HKCR, Key(), "", Text("Quotes of the day"));
    SetRaw(HKCR, Key("\\DefaultIcon"), "", Text("other.dll,5"));
    SetRaw(HKCR, Key("\\shell\\open\\command"), "", Text("other.exe %1"));
    SetRaw(HKCU, kNtList, ".STD", Text("other.exe ^.STD"));
    SetRaw(HKCU, kNtList, "orvneighbour", Text("neighbour.exe ^.nbr"));

    EXPECT_EQ(1, Register());
    // The other program's key goes as a whole, with its extra values.
    EXPECT_EQ(".STD [WhatIsAClass]\n  (default) = " + Text(m_type) + "\n", Dump(HKCR, ".STD"));
    EXPECT_EQ(Text("Quotes of the day"), Raw(HKCR, Key(), ""));
    EXPECT_EQ(Text("other.dll,5"), Raw(HKCR, Key("\\DefaultIcon"), ""));
    EXPECT_EQ(Text(m_path + " %1"), Raw(HKCR, Key("\\shell\\open\\command"), ""));
    // In the shared list only the one value changes.
    EXPECT_EQ(Text(m_path + " ^.STD"), Raw(HKCU, kNtList, ".STD"));
    EXPECT_EQ(Text("neighbour.exe ^.nbr"), Raw(HKCU, kNtList, "orvneighbour"));

    // A key with subkeys cannot be deleted: only its value is replaced.
    RegDeleteTreeA(HKCR, ".STD");
    SetRaw(HKCR, ".STD", "", Text("OtherApp.Document"));
    SetRaw(HKCR, ".STD\\ShellNew", "NullFile", Text(""));
    EXPECT_EQ(1, Register());
    EXPECT_EQ(Text(m_type), Raw(HKCR, ".STD", ""));
    EXPECT_EQ(Text(""), Raw(HKCR, ".STD\\ShellNew", "NullFile"));
}

TEST_F(RegistrationTest, ExistingValuesOfAnyTypeOrLengthAreJudgedWhole)
{
    // Description and icon are kept whatever they hold.
    for (const std::string& value : {std::string("4:\x05\x00\x00\x00", 6),
                                     "2:%SystemRoot%\\x.dll,2" + std::string(1, '\0'),
                                     std::string("1:"), Text(std::string(300, 'i'))}) {
        SetRaw(HKCR, Key(), "", value);
        SetRaw(HKCR, Key("\\DefaultIcon"), "", value);
        EXPECT_EQ(1, Register());
        EXPECT_EQ(value, Raw(HKCR, Key(), ""));
        EXPECT_EQ(value, Raw(HKCR, Key("\\DefaultIcon"), ""));
        RegDeleteTreeA(HKCR, m_type.c_str());
    }
    // The extension must name the type as text, not as a look-alike block.
    SetRaw(HKCR, ".STD", "", "3:" + m_type);
    EXPECT_EQ(1, Register());
    EXPECT_EQ(Text(m_type), Raw(HKCR, ".STD", ""));

    // Text is read up to its first zero byte, or whole when it has none.
    const std::string key = std::string(kScratch) + "\\Long";
    for (size_t length : {5u, 259u, 260u, 261u, 700u}) {
        SetRaw(HKCU, key, "Binary", "3:" + std::string(length, 'b'));
        zstring text;
        DWORD type = REG_NONE;
        EXPECT_EQ(1, Registration::ReadValue(HKCU, key.c_str(), "Binary", text, type));
        EXPECT_EQ(std::string(length, 'b'), text.c_str());
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    }
    // A long value that already matches is left alone.
    const zstring wanted(std::string(400, 'w').c_str());
    EXPECT_EQ(1, Registration::EnsureValue(HKCU, key.c_str(), "", wanted));
    const std::string before = Dump(HKCU, key, true);
    Sleep(50);
    EXPECT_EQ(1, Registration::EnsureValue(HKCU, key.c_str(), "", wanted));
    EXPECT_EQ(before, Dump(HKCU, key, true));
}

TEST_F(RegistrationTest, ExtensionsListFollowsTheOperatingSystemKind)
{
    EXPECT_EQ(Registration::kWin32s, Registration::KindOfPlatform(VER_PLATFORM_WIN32s));
    EXPECT_EQ(Registration::kWindows9x, Registration::KindOfPlatform(VER_PLATFORM_WIN32_WINDOWS));
    EXPECT_EQ(Registration::kWindowsNT, Registration::KindOfPlatform(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(Registration::kOtherPlatform, Registration::KindOfPlatform(3));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, Registration::ExtensionsKeyOf(Registration::kWin32s).root);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, Registration::ExtensionsKeyOf(Registration::kOtherPlatform).root);

    EXPECT_EQ(1, Registration::RegisterExtension(Registration::kWindows9x, ".STD", "C:\\A.EXE"));
    EXPECT_EQ(Text("C:\\A.EXE ^.STD"), Raw(HKEY_LOCAL_MACHINE, k9xList, ".STD"));
    EXPECT_EQ("", Raw(HKCU, kNtList, ".STD"));
    EXPECT_EQ(1, Registration::RegisterExtension(Registration::kWindowsNT, ".STD", "C:\\B.EXE"));
    EXPECT_EQ(Text("C:\\B.EXE ^.STD"), Raw(HKCU, kNtList, ".STD"));
    EXPECT_EQ(Text("C:\\A.EXE ^.STD"), Raw(HKEY_LOCAL_MACHINE, k9xList, ".STD"));
}

TEST_F(RegistrationTest, BadNamesWriteNothing)
{
    SetRaw(HKCU, kNtList, "orvneighbour", Text("neighbour.exe ^.nbr"));
    const std::string before = DumpAll() + Dump(HKCU, kNtList);
    for (const char* bad : kBadExtensions) {
        EXPECT_EQ(0, Registration().RegisterFileType(bad, 1)) << bad;
        EXPECT_EQ(before, DumpAll() + Dump(HKCU, kNtList)) << bad;
    }

    zstring out;
    EXPECT_STREQ("APP", Registration::FileTypeNameOf("APP.EXE", out));
    EXPECT_STREQ("APP", Registration::FileTypeNameOf("APP", out));
    EXPECT_STREQ("my.app", Registration::FileTypeNameOf("my.app.exe", out));
    EXPECT_STREQ("", Registration::FileTypeNameOf(".exe", out));

    zstring text("unchanged");
    DWORD type = REG_BINARY;
    EXPECT_EQ(0, Registration::ReadValue(HKCR, ".STD", "", text, type));
    EXPECT_STREQ("unchanged", text.c_str());
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    EXPECT_EQ(0, Registration::AddIfMissing(nullptr, "Software", "", "x"));
}

TEST_F(RegistrationTest, FailedStepLeavesItsEntryAndTheOthersRun)
{
    // Lasting keys cannot be made below a volatile one, so the command and
    // icon steps fail while the others succeed.
    MakeKey(HKCR, m_type, REG_OPTION_VOLATILE);
    EXPECT_EQ(0, Register());
    EXPECT_EQ(Text(m_type), Raw(HKCR, ".STD", ""));
    EXPECT_EQ(Text(m_type + " hosted file."), Raw(HKCR, Key(), ""));
    EXPECT_EQ(Text(m_path + " ^.STD"), Raw(HKCU, kNtList, ".STD"));
    // Nothing half-made below the type's key.
    const std::string dump = Dump(HKCR, m_type);
    EXPECT_EQ(std::string::npos, dump.find('\\')) << dump;
}
