// The fixture both FilePath test files share.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

// The file's bytes, or "<missing>" when it cannot be read.
inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

// Each test runs in a new current folder holding a.txt ("A") and b.txt
// ("B"), removed with its contents afterwards.
class TempFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        const fs::path folder = fs::temp_directory_path() / ("orv_path_" + std::to_string(stamp));
        ASSERT_TRUE(fs::create_directory(folder));
        fs::current_path(folder);
        m_folder = fs::current_path().string();  // as the system spells it
        std::ofstream("a.txt") << "A";
        std::ofstream("b.txt") << "B";
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::current_path(m_saved, ignored);
        fs::remove_all(m_folder, ignored);
    }
    std::string In(const char* name) const { return (fs::path(m_folder) / name).string(); }

    const fs::path m_saved = fs::current_path();
    std::string m_folder;
};
