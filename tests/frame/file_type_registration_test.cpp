#include "frame/file_type_registration.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// On the real registry (Wine's, when run there): the keys a registration can touch are
// copied aside before each test and put back afterwards.

namespace {

using Registration = FileTypeRegistration;
const HKEY HKCR = HKEY_CLASSES_ROOT, HKCU = HKEY_CURRENT_USER;
const char kBackup[] = "Software\\OrvalisRegistrationBackup";
const char kNtList[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Extensions";

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
std::string Text(const std::string& text) { return "1:" + text + std::string(1, '\0'); }

void SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text)
{
    RegSetKeyValueA(root, path.c_str(), name.c_str(), REG_SZ, text.c_str(), DWORD(text.size() + 1));
}

// The key and all below it: a line per key with its class (and last write time when asked),
// a line per value; "" when the key is missing.
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

void CopyTree(HKEY root, const std::string& from, HKEY to_root, const std::string& to)
{
    HKEY target;
    if (!Dump(root, from).empty() &&
        RegCreateKeyExA(to_root, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                        nullptr) == ERROR_SUCCESS) {
        RegCopyTreeA(root, from.c_str(), target);
        RegCloseKey(target);
    }
}

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_path.assign(32768, '\0');
        m_path.resize(GetModuleFileNameA(nullptr, &m_path[0], DWORD(m_path.size())));
        m_type = m_path.substr(m_path.rfind('\\') + 1);
        m_type.erase(m_type.rfind('.'));
        // The shared extension list is guarded whole; the refused name would land below ".S".
        m_keys = {{HKCR, ".STD"}, {HKCR, m_type}, {HKCR, ".S"}, {HKCU, kNtList}};
        ASSERT_EQ("", Dump(HKCU, kBackup)) << "a crashed run left the real keys there";
        for (size_t i = 0; i < m_keys.size(); ++i)
            CopyTree(m_keys[i].first, m_keys[i].second, HKCU, Backup(i));
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
        RegDeleteTreeA(HKCU, kBackup);
    }
    void Clear()
    {
        for (const auto& k : m_keys)
            RegDeleteTreeA(k.first, k.second.c_str());
    }
    static std::string Backup(size_t i) { return std::string(kBackup) + "\\" + std::to_string(i); }
    std::string DumpAll(bool times = false) const
    {
        std::string text;
        for (const auto& k : m_keys)
            text += Dump(k.first, k.second, times);
        return text;
    }
    std::string Key(const std::string& below = "") const { return m_type + below; }
    int Register() const { return Registration().RegisterFileType(".STD", 1); }
    // Quoted, so that a program or document in a folder with spaces opens.
    std::string Command() const { return "\"" + m_path + "\" \"%1\""; }

    std::string m_path;
    std::string m_type;
    std::vector<std::pair<HKEY, std::string>> m_keys;
    bool m_saved = false;
};

}  // namespace

TEST_F(RegistrationTest, FirstRegistrationMakesTheFiveEntriesAndASecondChangesNothing)
{
    ASSERT_EQ(Registration::kWindowsNT, Registration::OperatingSystemKind());
    ASSERT_EQ(1, Register());
    const std::string head = " [WhatIsAClass]\n  (default) = ";
    EXPECT_EQ(".STD" + head + Text(m_type) + "\n", Dump(HKCR, ".STD"));
    EXPECT_EQ(Key() + head + Text(m_type + " hosted file.") + "\n" +
                  Key("\\DefaultIcon") + head + Text(m_path + ",1") + "\n" +
                  Key("\\shell [WhatIsAClass]\n") + Key("\\shell\\open [WhatIsAClass]\n") +
                  Key("\\shell\\open\\command") + head + Text(Command()) + "\n",
              Dump(HKCR, m_type));
    EXPECT_EQ(Text(m_path + " ^.STD"), Raw(HKCU, kNtList, ".STD"));
    EXPECT_EQ("", Raw(HKEY_LOCAL_MACHINE,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Extensions", ".STD"));

    const std::string before = DumpAll(true);
    Sleep(50);  // so that a rewrite would show in the last-write times
    EXPECT_EQ(1, Register());
    EXPECT_EQ(before, DumpAll(true));
}

TEST_F(RegistrationTest, ForeignTypeAndCommandAreTakenOver)
{
    // Longer than a first read takes.
    SetText(HKCR, ".STD", "", "OtherApp.Document." + std::string(600, 'x'));
    SetText(HKCR, ".STD", "Content Type", "text/x-other");
    // An earlier start wrote the command unquoted.
    SetText(HKCR, Key("\\shell\\open\\command"), "", m_path + " %1");
    SetText(HKCU, kNtList, ".STD", "other.exe ^.STD");
    SetText(HKCU, kNtList, "orvneighbour", "neighbour.exe ^.nbr");

    EXPECT_EQ(1, Register());
    EXPECT_EQ(".STD [WhatIsAClass]\n  (default) = " + Text(m_type) + "\n", Dump(HKCR, ".STD"));
    EXPECT_EQ(Text(Command()), Raw(HKCR, Key("\\shell\\open\\command"), ""));
    EXPECT_EQ(Text(m_path + " ^.STD"), Raw(HKCU, kNtList, ".STD"));
    EXPECT_EQ(Text("neighbour.exe ^.nbr"), Raw(HKCU, kNtList, "orvneighbour"));

    // A key with subkeys cannot be deleted: only its value is replaced.
    RegDeleteTreeA(HKCR, ".STD");
    SetText(HKCR, ".STD", "", "OtherApp.Document");
    SetText(HKCR, ".STD\\ShellNew", "NullFile", "");
    EXPECT_EQ(1, Register());
    EXPECT_EQ(Text(m_type), Raw(HKCR, ".STD", ""));
    EXPECT_EQ(Text(""), Raw(HKCR, ".STD\\ShellNew", "NullFile"));
}

TEST_F(RegistrationTest, RefusedExtensionOrFailedStepLeavesTheRestAlone)
{
    const std::string before = DumpAll();
    EXPECT_EQ(0, Registration().RegisterFileType(".S\\TD", 1));
    EXPECT_EQ(before, DumpAll());

    // A volatile type key cannot hold the lasting command and icon keys; the other steps run.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKCR, m_type.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    EXPECT_EQ(0, Register());
    EXPECT_EQ(Text(m_type), Raw(HKCR, ".STD", ""));
    EXPECT_EQ(Text(m_type + " hosted file."), Raw(HKCR, Key(), ""));
    EXPECT_EQ(Text(m_path + " ^.STD"), Raw(HKCU, kNtList, ".STD"));
    const std::string dump = Dump(HKCR, m_type);
    EXPECT_EQ(std::string::npos, dump.find('\\')) << dump;
}
