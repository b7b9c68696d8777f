#include "frame/file_type_registration.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

// On scratch keys that stand in for HKEY_CLASSES_ROOT and HKEY_CURRENT_USER in this process.

namespace {

const HKEY HKCR = HKEY_CLASSES_ROOT, HKCU = HKEY_CURRENT_USER;
const std::string kScratch = "Software\\OrvalisRegistrationTest";
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

// The key and all below it: a line per key with its class (and write time), one per value.
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
    std::string text = path + " [" + name + "]" +
                       (times ? " @" + std::to_string(at.dwLowDateTime) : "") + "\n";
    for (DWORD i = 0; size = sizeof name, RegEnumValueA(key, i, name, &size, nullptr, nullptr,
                                                         nullptr, nullptr) == 0; ++i)
        text += "  " + std::string(*name ? name : "(default)") + " = " + Raw(key, "", name) + "\n";
    for (DWORD i = 0; size = sizeof name, RegEnumKeyExA(key, i, name, &size, nullptr, nullptr,
                                                         nullptr, nullptr) == 0; ++i)
        text += Dump(root, path + "\\" + name, times);
    RegCloseKey(key);
    return text;
}

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_path.assign(32768, '\0');
        m_path.resize(GetModuleFileNameA(nullptr, &m_path[0], DWORD(m_path.size())));
        m_type = m_path.substr(m_path.rfind('\\') + 1);
        m_type.erase(m_type.rfind('.'));
        RegDeleteTreeA(HKCU, kScratch.c_str());
        for (HKEY& root : m_roots) {
            const std::string path = kScratch + "\\" + std::to_string(&root - m_roots);
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKCU, path.c_str(), &root));
        }
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKCR, m_roots[0]));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKCU, m_roots[1]));
    }
    void TearDown() override
    {
        RegOverridePredefKey(HKCR, nullptr);
        RegOverridePredefKey(HKCU, nullptr);
        for (HKEY root : m_roots)
            RegCloseKey(root);
        RegDeleteTreeA(HKCU, kScratch.c_str());
    }
    static std::string DumpAll(bool t = false) { return Dump(HKCR, "", t) + Dump(HKCU, "", t); }
    std::string Key(const std::string& below = "") const { return m_type + below; }
    int Register() const { return FileTypeRegistration().RegisterFileType(".STD", 1); }
    // Quoted, so that a program or document in a folder with spaces opens.
    std::string Command() const { return "\"" + m_path + "\" \"%1\""; }

    std::string m_path, m_type;
    HKEY m_roots[2] = {};
};

}  // namespace

TEST_F(RegistrationTest, FirstRegistrationMakesTheFiveEntriesAndASecondChangesNothing)
{
    ASSERT_EQ(FileTypeRegistration::kWindowsNT, FileTypeRegistration::OperatingSystemKind());
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
}

TEST_F(RegistrationTest, ExtensionWithABackslashIsRefusedAndChangesNothing)
{
    const std::string before = DumpAll();
    EXPECT_EQ(0, FileTypeRegistration().RegisterFileType(".S\\TD", 1));
    EXPECT_EQ(before, DumpAll());
}
