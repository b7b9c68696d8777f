#include "tool_test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "tools/volume_tool.h"

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    // A random part keeps test processes run side by side apart.
    static int serial = 0;
    static std::random_device random;
    const fs::path base = fs::temp_directory_path();
    for (;;) {
        const fs::path path = base / ("orvvol-test-" + std::to_string(random()) + "-" +
                                      std::to_string(++serial));
        if (fs::create_directory(path)) {
            m_path = path.string();
            break;
        }
    }
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string TempFolder::file(const std::string& name) const
{
    return (fs::path(m_path) / name).string();
}

std::vector<std::string> TempFolder::listing() const
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

ToolRun run_tool(const std::vector<std::string>& args)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    std::ostringstream err;
    const int status = run_volume_tool(args, out, err);
    return ToolRun{status, out.str(), err.str()};
}

std::string index_of(const std::string& data_name)
{
    return data_name.substr(0, data_name.rfind('.')) + ".idx";
}
