#include "frame/file_type_registration.h"
#include "frame/registry_entry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// These tests work on the real registry (Wine's, when run there). Each test starts without
// the keys the registration can touch; what was there is copied aside and put back afterwards.

namespace {

using Registration = FileTypeRegistration;

const HKEY HKCR = HKEY_CLASSES_ROOT;
const HKEY HKCU = HKEY_CURRENT_USER;
const HKEY HKLM = HKEY_LOCAL_MACHINE;
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
    std::string bytes(65536, '\0');
    DWORD type = 0, size = DWORD(bytes.size());
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&bytes[0]), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::to_string(type) + ":" + bytes.substr(0, size) : "";
}

// A string value as the registration stores it: REG_SZ with one zero.
std::string Text(const std::string& text)
{
    return "1:" + text + std::string(1, '\0');
}

void SetRaw(HKEY root, const std::string& path, const std::string& name, const std::string& raw)
{
    const size_t colon = raw.find(':');
    RegSetKeyValueA(root, path.c_str(), name.c_str(), std::stoul(raw.substr(0, colon)),
                    raw.data() + colon + 1, DWORD(raw.size() - colon - 1));
}

// Lasting keys cannot be made below a volatile one.
void MakeVolatileKey(HKEY root, const std::string& path)
{
    HKEY key;
    if (!RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, &key, nullptr))
        RegCloseKey(key);
}

// The key and all below it: a line per key with its class (and its last write time when
// asked), a line per value; "" when the key is missing.
std::string Dump(HKEY root, const std::string& path, bool times = false)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    char name[16384] = "";
    DWORD size = sizeof name;
    FILETIME at{};
    RegQueryInfoKeyA(key, name, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, &at);
    std::string text = path + " [" + name + "]";
    if (times)
        text += " @" + std::to_string(at.dwHighDateTime) + "." + std::to_string(at.dwLowDateTime);
    text += "\n";
    for (DWORD i = 0; size = sizeof name, RegEnumValueA(key, i, name, &size, nullptr, nullptr,
                                                         nullptr, nullptr) == 0; ++i)
        text += "  " + std::string(*name ? name : "(default)") + " = " + Raw(key, "", name) + "\n";
    for (DWORD i = 0; size = sizeof name, RegEnumKeyExA(key, i, name, &size, nullptr, nullptr,
                                                         nullptr, nullptr) == 0; ++i)
        text += Dump(root, path + "\\" + name, times);
    RegCloseKey(key);
    return text;
}

// Copies root\from, with all below it, to toRoot\to; nothing when it is missing.
void CopyTree(HKEY root, const std::string& from, HKEY toRoot, const std::string& to)
{
    HKEY target;
    if (!Dump(root, from).empty() && RegCreateKeyExA(toRoot, to.c_str(), 0, nullptr, 0,
                                                     KEY_ALL_ACCESS, nullptr, &target,
                                                     nullptr) == ERROR_SUCCESS) {
        RegCopyTreeA(root, from.c_str(), target);
        RegCloseKey(target);
    }
}

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override
    {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        m_path = path;
        m_type = m_path.substr(m_path.rfind('\\') + 1);
        m_type = m_type.substr(0, m_type.rfind('.'));
        // The shared extension lists are guarded whole; bad extensions would land in HKCR.
        m_keys = {{HKCR, ".STD"},    {HKCR, m_type},   {HKCR, ".S"},
                  {HKCU, kScratch}, {HKCU, kNtList}, {HKLM, k9xList}};
        for (const char* bad : kBadExtensions)
            if (*bad)
                m_keys.push_back({HKCR, bad});
        // A backup left by a run that crashed still holds the real keys.
        ASSERT_EQ("", Dump(HKCU, kBackup)) << "restore or remove it first";
        for (size_t i = 0; i < m_keys.size(); ++i)
            CopyTree(m_keys[i].first, m_keys[i].second, HKCU, Backup(i));
        m_rootValue = Raw(HKCR, "", "");  // where the empty extension would land
        m_saved = true;
        Clear();
    }
    void TearDown() override
    {
        if (!m_saved)
            return;
        Clear();
        for (size_t i = 0; i < m_keys.size(); ++i)
            CopyTree(HKCU, Backup(i), m_keys[i].first, m_keys[i].second);
        if (!m_rootValue.empty())
            SetRaw(HKCR, "", "", m_rootValue);
        RegDeleteTreeA(HKCU, kBackup);
    }
    void Clear()
    {
        for (const auto& k : m_keys)
            RegDeleteTreeA(k.first, k.second.c_str());
        RegDeleteKeyValueA(HKCR, "", "");
    }
    static std::string Backup(size_t i) { return std::string(kBackup) + "\\" + std::to_string(i); }
    std::string DumpAll(bool times = false) const
    {
        std::string text = Raw(HKCR, "", "") + "\n";
        for (const auto& k : m_keys)
            text += Dump(k.first, k.second, times);
        return text;
    }
    std::string Key(const std::string& below = "") const { return m_type + below; }
    int Register() const { return Registration().RegisterFileType(".STD", 1); }

    std::string m_path;
    std::string m_type;
    std::vector<std::pair<HKEY, std::string>> m_keys;
    std::string m_rootValue;
    bool m_saved = false;
};

}  // namespace

TEST_F(RegistrationTest, RegistryEntryWritesTextValuesAndFailsCleanly)
{
    const std::string scratch = kScratch;
    const std::string key = scratch + "\\Entry";
    RegistryEntry simple(RegistryEntry::kSimpleWrite);  // the value name becomes a subkey
    simple.Set(HKCU, key.c_str(), "Sub", "text");
    ASSERT_EQ(1, simple.Write());
    RegistryEntry entry;
    entry.Set(HKCU, key.c_str(), "Named", "C:\\APP.EXE,1");
    ASSERT_EQ(1, entry.Write());
    entry.Close();
    EXPECT_EQ(key + " [WhatIsAClass]\n  Named = " + Text("C:\\APP.EXE,1") + "\n" + key +
                  "\\Sub []\n  (default) = " + Text("text") + "\n",
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

    // A failed write leaves the registry as it was. The old key is made by the entry
    // itself: Wine, unlike Windows, gives an existing key the class of every later create.
    entry.Set(HKCU, (scratch + "\\Old").c_str(), "", "kept");
    ASSERT_EQ(1, entry.Write());
    entry.Close();
    MakeVolatileKey(HKCU, scratch + "\\Volatile");
    const std::string before = Dump(HKCU, scratch);
    const std::string tooLong(16384, 'n');  // value names stop at 16383
    const std::pair<std::string, std::string> cases[] = {
        {scratch + "\\New", tooLong},         // key made, value refused
        {scratch + "\\Old", tooLong},         // key was there: it stays
        {scratch + "\\Volatile\\Child", ""},  // lasting key below a volatile one
        {"\\" + scratch + "\\New", ""},       // a path may not start with a backslash
    };
    for (const auto& c : cases) {
        entry.Set(HKCU, c.first.c_str(), c.second.c_str(), "data");
        EXPECT_EQ(0, entry.Write()) << c.first;
        EXPECT_EQ(nullptr, entry.OpenKey()) << c.first;
        EXPECT_EQ(before, Dump(HKCU, scratch)) << c.first;
    }
    entry.Set(nullptr, "Software", "", "data");
    EXPECT_EQ(0, entry.Write());
}

TEST_F(RegistrationTest, FirstRegistrationMakesTheFiveEntriesAndASecondChangesNothing)
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
    EXPECT_EQ("", Raw(HKLM, k9xList, ".STD"));

    const std::string before = DumpAll(true);
    Sleep(50);  // so that a rewrite would show in the last-write times
    EXPECT_EQ(1, Register());
    EXPECT_EQ(before, DumpAll(true));

    // The icon index is written in decimal, negative resource ids included.
    for (int index : {12, -101}) {
        RegDeleteTreeA(HKCR, m_type.c_str());
        EXPECT_EQ(1, Registration().RegisterFileType(".STD", index));
        EXPECT_EQ(Text(m_path + "," + std::to_string(index)), Raw(HKCR, Key("\\DefaultIcon"), ""));
    }
}

TEST_F(RegistrationTest, ForeignTypeIsTakenOver)
{
    SetRaw(HKCR, ".STD", "", Text("OtherApp.Document"));
    SetRaw(HKCR, ".STD", "Content Type", Text("text/x-other"));
    SetRaw(HKCR, Key("\\shell\\open\\command"), "", Text("other.exe %1"));
    SetRaw(HKCU, kNtList, ".STD", Text("other.exe ^.STD"));
    SetRaw(HKCU, kNtList, "orvneighbour", Text("neighbour.exe ^.nbr"));

    EXPECT_EQ(1, Register());
    // The other program's key goes as a whole, with its extra values.
    EXPECT_EQ(".STD [WhatIsAClass]\n  (default) = " + Text(m_type) + "\n", Dump(HKCR, ".STD"));
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
}

TEST_F(RegistrationTest, ExtensionsListFollowsTheOperatingSystemKind)
{
    EXPECT_EQ(1, Registration::RegisterExtension(Registration::kWindows9x, ".STD", "C:\\A.EXE"));
    EXPECT_EQ(Text("C:\\A.EXE ^.STD"), Raw(HKLM, k9xList, ".STD"));
    EXPECT_EQ("", Raw(HKCU, kNtList, ".STD"));
}

TEST_F(RegistrationTest, BadNamesWriteNothing)
{
    const std::string before = DumpAll();
    for (const char* bad : kBadExtensions) {
        EXPECT_EQ(0, Registration().RegisterFileType(bad, 1)) << bad;
        EXPECT_EQ(before, DumpAll()) << bad;
    }

    zstring out;
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
    // The command and icon steps fail while the others succeed.
    MakeVolatileKey(HKCR, m_type);
    EXPECT_EQ(0, Register());
    EXPECT_EQ(Text(m_type), Raw(HKCR, ".STD", ""));
    EXPECT_EQ(Text(m_type + " hosted file."), Raw(HKCR, Key(), ""));
    EXPECT_EQ(Text(m_path + " ^.STD"), Raw(HKCU, kNtList, ".STD"));
    // Nothing half-made below the type's key.
    const std::string dump = Dump(HKCR, m_type);
    EXPECT_EQ(std::string::npos, dump.find('\\')) << dump;
}
