#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/db/volume_test_support.h"

// A fresh folder under the temporary folder, removed with everything in it
// afterwards. Tests name their files by absolute path inside it, so the
// current folder never changes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The absolute path of name inside the folder.
    std::string file(const std::string& name) const;
    // The names of the files in the folder, sorted.
    std::vector<std::string> listing() const;

private:
    std::string m_path;
};

// What one run of the tool gave back.
struct ToolRun {
    int status;
    std::string out;
    std::string err;
};
ToolRun run_tool(const std::vector<std::string>& args);

// The index name the volume derives from a data name ending in ".STD".
std::string index_of(const std::string& data_name);
