// The POSIX side of FilePath: '/' separates folders, names keep the
// Windows character rules, and a move never replaces a file.
#include "base/file_path.h"
#include "base/file_path_system.h"

#include "temp_folder_test.h"

#include <sys/stat.h>
#include <unistd.h>

using FilePathPosixTest = TempFolderTest;

TEST_F(FilePathPosixTest, NameCheckAndFileTests)
{
    const struct { const char* name; int accepted; std::string converted; } cases[] = {
        {"a/b.txt", 1, In("a/b.txt")}, {"/a/b.std", 1, "/a/b.std"}, {"a\\b.txt", 1, In("a\\b.txt")},
        {"C:x", 0, In("C:x")},         {"/a?\"<>|", 0, "/a?\"<>|"}, {"", 0, ""}};
    for (const auto& c : cases) {
        zstring name(c.name);
        EXPECT_EQ(c.accepted, FilePath::CheckName(name)) << c.name;
        EXPECT_EQ(c.converted, name.c_str()) << c.name;
    }

    const struct { std::string path; int missing; int exists; } files[] = {
        {In("gone.txt"), 1, 0}, {In("no/such/x.txt"), 1, 0}, {In("a.txt/x"), 1, 0},
        {In("a.txt"), 0, 1},    {m_folder, 0, 0}  ,           {"", 0, 0}};
    for (const auto& c : files) {
        EXPECT_EQ(c.missing, FilePath::FileMissing(c.path.c_str())) << c.path;
        EXPECT_EQ(c.exists, FilePath::FileExists(c.path.c_str())) << c.path;
    }
    EXPECT_EQ(0, FilePath::FileMissing(nullptr));

    // A current folder deeper than PATH_MAX still puts a bare name in it.
    const std::string level(200, 'd');
    std::string deep = m_folder;
    for (int i = 0; i < 25; ++i, deep += "/" + level)
        ASSERT_TRUE(mkdir(level.c_str(), 0700) == 0 && chdir(level.c_str()) == 0);
    zstring name("x");
    EXPECT_EQ(1, FilePath::CheckName(name));
    EXPECT_EQ(deep + "/x", name.c_str());
    for (int i = 0; i < 25; ++i)
        ASSERT_TRUE(chdir("..") == 0 && rmdir(level.c_str()) == 0);
}

TEST_F(FilePathPosixTest, RenameNeverReplacesAFile)
{
    FilePath file;
    ASSERT_EQ(1, file.SetPath(zstring("a.txt")));
    EXPECT_EQ(0, file.Rename(zstring("b.txt")));
    EXPECT_EQ(0, file.Rename(zstring("no/such/folder.txt")));
    EXPECT_EQ("A", ReadFile(In("a.txt")));
    EXPECT_EQ("B", ReadFile(In("b.txt")));
    EXPECT_EQ(In("a.txt"), file.Path().c_str());
    EXPECT_EQ(1, file.Rename(zstring("c.txt")));
    EXPECT_EQ("<missing>", ReadFile(In("a.txt")));
    EXPECT_EQ("A", ReadFile(In("c.txt")));

    // The way taken where renameat2 cannot refuse a target.
    EXPECT_EQ(0, file_path_system::move_file_by_link("c.txt", "b.txt"));
    EXPECT_EQ(0, file_path_system::move_file_by_link("gone", "d.txt"));
    EXPECT_EQ("B", ReadFile(In("b.txt")));
    EXPECT_EQ(1, file_path_system::move_file_by_link("c.txt", "d.txt"));
    EXPECT_EQ("<missing>", ReadFile(In("c.txt")));
    EXPECT_EQ("A", ReadFile(In("d.txt")));

    EXPECT_EQ(1, file.SetPath(zstring("d.txt")));
    EXPECT_EQ(1, file.Remove());
    EXPECT_EQ(0, file.Remove());
}

TEST_F(FilePathPosixTest, SameFileByIdentityOrByNormalisedName)
{
    fs::create_directory("sub");
    fs::create_hard_link("a.txt", "hard.txt");
    fs::create_symlink(In("a.txt"), "soft.txt");
    const struct { const char* a; std::string b; int same; } cases[] = {
        {"a.txt", In("a.txt"), 1},      {"a.txt", "sub/../a.txt", 1}, {"a.txt", "hard.txt", 1},
        {"a.txt", "soft.txt", 1},       {"a.txt", "b.txt", 0},        {"a.txt", "A.TXT", 0},
        {"gone", "sub//../gone", 1},    {"gone", "./gone/", 1},       {"", "", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.same, FilePath::SameFile(zstring(c.a), zstring(c.b.c_str()))) << c.a << " " << c.b;
        EXPECT_EQ(c.same, FilePath::SameFile(zstring(c.b.c_str()), zstring(c.a))) << c.b << " " << c.a;
    }
}
