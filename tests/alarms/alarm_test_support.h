// What the alarm tests share: file bytes and a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

// The file's bytes, or "<missing>" when it cannot be read.
inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Each test runs in a new empty current folder, removed afterwards. The
// whole process runs in US Eastern time (EST5EDT, whose rule changed in
// 2007): see fixed_zone.cpp.
class AlarmTest : public testing::Test {
protected:
    void SetUp() override
    {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        const fs::path folder = fs::temp_directory_path() / ("orv_alarm_" + std::to_string(stamp));
        ASSERT_TRUE(fs::create_directory(folder));
        fs::current_path(folder);
        m_folder = fs::current_path().string();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::current_path(m_saved_folder, ignored);
        fs::remove_all(m_folder, ignored);
    }

    const fs::path m_saved_folder = fs::current_path();
    std::string m_folder;
};
