#include "base/file_path.h"
#include "base/program_paths.h"

#include "temp_folder_test.h"

#include <windows.h>

using FilePathTest = TempFolderTest;

TEST_F(FilePathTest, NameCheckConvertsAcceptsAndRefuses)
{
    // A backslash once converted means no folder is added.
    const struct { const char* name; int accepted; std::string converted; } cases[] = {
        {"a/b.txt", 1, "a\\b.txt"}, {"notes.txt", 1, In("notes.txt")}, {"C:x", 1, "C:x"},
        {"C:\\a\\b:c", 0, "C:\\a\\b:c"}, {"data:1", 0, In("data:1")}, {"C:", 0, "C:"},
        {"d/e?.txt", 0, "d\\e?.txt"}, {"a\\\"<>|", 0, "a\\\"<>|"}};
    for (const auto& c : cases) {
        zstring name(c.name);
        EXPECT_EQ(c.accepted, FilePath::CheckName(name)) << c.name;
        EXPECT_EQ(c.converted, name.c_str()) << c.name;
    }

    // A refused name leaves the path as it was.
    FilePath file;
    ASSERT_EQ(1, file.SetPath(zstring("keep.txt")));
    for (const char* bad : {"x*.std", ""}) {
        EXPECT_EQ(0, file.SetPath(zstring(bad))) << bad;
        EXPECT_EQ(In("keep.txt"), file.Path().c_str()) << bad;
    }
}

TEST_F(FilePathTest, OpenRenameAndRemoveRefuseWithoutLoss)
{
    FilePath file;
    ASSERT_EQ(1, file.SetPath(zstring("a.txt")));
    EXPECT_EQ(1, file.Rename(zstring("a.txt")));  // the same file, spelt bare
    for (const char* bad : {"b.txt", "c*.txt", "no\\such\\folder.txt"})
        EXPECT_EQ(0, file.Rename(zstring(bad))) << bad;
    EXPECT_EQ("A", ReadFile(In("a.txt")));
    EXPECT_EQ("B", ReadFile(In("b.txt")));
    EXPECT_EQ(In("a.txt"), file.Path().c_str());

    // Text mode writes CR LF; a stream open on the file does not stop the
    // move and its bytes go along.
    *file.OpenForWriting(0) << "a\nb";
    file.Close();
    EXPECT_EQ("a\r\nb", ReadFile(In("a.txt")));
    *file.OpenForWriting(1) << "new\nA";
    EXPECT_EQ(1, file.Rename(zstring("c.txt")));
    EXPECT_EQ("<missing>", ReadFile(In("a.txt")));
    std::istream* in = file.OpenForReading(1);  // closes the writer first
    ASSERT_NE(nullptr, in);
    EXPECT_EQ("new\nA", std::string(std::istreambuf_iterator<char>(*in), {}));
    EXPECT_EQ(1, file.Remove());  // closes its own stream first
    EXPECT_EQ(0, file.Remove());

    ASSERT_EQ(1, file.SetPath(zstring("missing\\x.txt")));
    EXPECT_EQ(nullptr, file.OpenForWriting(1));
    EXPECT_EQ(nullptr, file.OpenForReading(1));
    EXPECT_FALSE(fs::exists(In("missing")));
}

TEST_F(FilePathTest, FileMissingOnlyWhenNothingIsThere)
{
    const struct { std::string path; int missing, exists; } cases[] = {
        {In("no\\such\\x.txt"), 1, 0}, {In("a.txt\\x"), 1, 0}, {In("a.txt"), 0, 1},
        {m_folder, 0, 0},              {In("bad*name.txt"), 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.missing, FilePath::FileMissing(c.path.c_str())) << c.path;
        EXPECT_EQ(c.exists, FilePath::FileExists(c.path.c_str())) << c.path;
    }

    // Held open by another program without sharing: it cannot be read, but
    // it is there, and must not be made anew over the other program's data.
    HANDLE held = CreateFileA(In("held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, FilePath::FileExists(In("held.txt").c_str()));
    EXPECT_EQ(0, FilePath::FileMissing(In("held.txt").c_str()));
    CloseHandle(held);
    EXPECT_EQ(1, FilePath::FileExists(In("held.txt").c_str()));
}

TEST_F(FilePathTest, SameFileResolvesSpellingsOfOneName)
{
    ASSERT_TRUE(CreateDirectoryA("sub", nullptr));
    ASSERT_TRUE(CreateHardLinkA(In("link.txt").c_str(), In("a.txt").c_str(), nullptr));
    const struct { const char* a; std::string b; int same; } cases[] = {
        {"a.txt", In("A.TXT"), 1},    {"a.txt", "sub\\..\\a.txt. ", 1}, {"a.txt", "sub\\a.txt", 0},
        {"gone.txt", "GONE.TXT.", 1}, {"a.txt", "link.txt", 1},        {"", "", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.same, FilePath::SameFile(zstring(c.a), zstring(c.b.c_str()))) << c.a << " " << c.b;
        EXPECT_EQ(c.same, FilePath::SameFile(zstring(c.b.c_str()), zstring(c.a))) << c.b << " " << c.a;
    }
}

TEST_F(FilePathTest, ProgramPathsAgreeAndRestoreTheCurrentFolder)
{
    ProgramPaths paths;
    zstring name;
    ASSERT_NE(nullptr, paths.ProgramFileName(name));

    struct TmpBack {  // TMP as it was, whatever happens below
        char old[MAX_PATH] = "";
        const DWORD had = GetEnvironmentVariableA("TMP", old, MAX_PATH);
        ~TmpBack() { SetEnvironmentVariableA("TMP", had ? old : nullptr); }
    } tmp_back;
    zstring temp, first, second, kept("kept");
    SetEnvironmentVariableA("TMP", In("t1\\t2").c_str());  // neither level exists
    ASSERT_NE(nullptr, paths.TempFolder(temp));
    EXPECT_EQ(In("t1\\t2\\") + name.c_str() + ".tmp", temp.c_str());
    EXPECT_TRUE(fs::is_directory(temp.c_str()));
    ASSERT_NE(nullptr, paths.TempFileName(first));  // the folder exists now: no error
    ASSERT_NE(nullptr, paths.TempFileName(second));
    EXPECT_STRNE(first.c_str(), second.c_str());
    EXPECT_EQ(0u, first.find(zstring(temp).append("\\")));
    EXPECT_EQ(0, FilePath::FileExists(first.c_str()));
    EXPECT_EQ(m_folder, fs::current_path().string());

    // A file stands where a folder must go.
    SetEnvironmentVariableA("TMP", In("a.txt\\sub").c_str());
    EXPECT_EQ(nullptr, paths.TempFileName(kept));
    EXPECT_STREQ("kept", kept.c_str());
}
