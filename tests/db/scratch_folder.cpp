#include "scratch_folder.h"

#include <algorithm>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() : m_previous(fs::current_path().string())
{
    // Random and new, so processes run side by side stay apart.
    static int serial = 0;
    static std::random_device random;
    fs::path path;
    do
        path = fs::temp_directory_path() /
               ("orvalis-" + std::to_string(random()) + "-" + std::to_string(++serial));
    while (!fs::create_directory(path));
    m_path = path.string();
    fs::current_path(m_path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
    fs::remove_all(m_path, ignored);
}

std::string ScratchFolder::file(const std::string& name) const
{
    return (fs::path(m_path) / name).string();
}

std::vector<std::string> ScratchFolder::listing() const
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_path)) {
        // Every volume that was used has its lock file, which nothing moves.
        if (entry.path().extension() != ".lck")
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
