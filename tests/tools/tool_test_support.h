#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/db/volume_test_support.h"

// Tests name their files by absolute path inside the folder.
using TempFolder = ScratchFolder;

// What one run of the tool gave back.
struct ToolRun {
    int status;
    std::string out;
    std::string err;
};
ToolRun run_tool(const std::vector<std::string>& args);

inline bool has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The index name the volume derives from a data name ending in ".STD".
std::string index_of(const std::string& data_name);
// A volume of the texts in the category "cat"; offsets, when given, gets
// each item's record offset.
void make_volume(const std::string& name, const std::vector<std::string>& texts,
                 std::vector<uint32_t>* offsets = nullptr);
// Marks item n deleted, as the program does.
void delete_item(QuoteDatabaseV2& volume, uint32_t n);
