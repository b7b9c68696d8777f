#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/db/volume_test_support.h"

// What one run of the tool gave back.
struct ToolRun { int status; std::string out, err; };
ToolRun run_tool(const std::vector<std::string>& args);

inline bool has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Each test in a fresh folder, on the volume v.STD there.
class ToolTest : public testing::Test {
protected:
    // The volume of the texts in the category "cat"; offsets: their records.
    void make_volume(const std::vector<std::string>& texts);

    ScratchFolder folder;
    const std::string volume = folder.file("v.STD");
    const std::string index_file = folder.file("v.idx");
    std::vector<uint32_t> offsets;
};
