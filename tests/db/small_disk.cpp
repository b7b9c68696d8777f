#include "small_disk.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#ifndef _WIN32
#include <sys/mount.h>
#endif

namespace fs = std::filesystem;

namespace {

const char kFiller[] = "filler.bin";

std::string unique_name(const char* stem)
{
    static std::random_device random;
    return std::string(stem) + std::to_string(random());
}

}  // namespace

SmallDisk::SmallDisk() : m_previous(fs::current_path().string())
{
    std::error_code error;
    fs::path base;
#ifdef _WIN32
    const char* given = std::getenv("ORV_SMALL_FS");
    if (!given || !*given) {
        m_unavailable = "no small file system: the test command names one in ORV_SMALL_FS";
        return;
    }
    base = given;
#else
    base = fs::temp_directory_path() / unique_name("orvalis-small-disk-");
    fs::create_directory(base, error);
    if (mount("tmpfs", base.c_str(), "tmpfs", 0, "size=2m") != 0) {
        fs::remove(base, error);
        m_unavailable = "cannot mount a small tmpfs here (not root?)";
        return;
    }
    m_mount = base.string();
#endif
    const fs::path folder = base / unique_name("orvalis-db-");
    if (!fs::create_directory(folder, error)) {
        m_unavailable = "cannot make a folder on the small file system " + base.string();
        return;
    }
    m_folder = folder.string();
    fs::current_path(folder);
}

SmallDisk::~SmallDisk()
{
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
    if (!m_folder.empty())
        fs::remove_all(m_folder, ignored);
#ifndef _WIN32
    if (!m_mount.empty()) {
        umount2(m_mount.c_str(), MNT_DETACH);
        fs::remove(m_mount, ignored);
    }
#endif
}

bool SmallDisk::leave_free(uint64_t bytes)
{
    std::error_code error;
    const fs::space_info space = fs::space(m_folder, error);
    if (error)
        return false;
    std::ofstream filler(kFiller, std::ios::binary | std::ios::app);
    const std::vector<char> chunk(4096, 'f');
    for (uint64_t left = space.available > bytes ? space.available - bytes : 0; left > 0;) {
        const size_t n = left < chunk.size() ? static_cast<size_t>(left) : chunk.size();
        if (!filler.write(chunk.data(), static_cast<std::streamsize>(n)))
            break;
        left -= n;
    }
    filler.close();
    return true;
}

void SmallDisk::remove_filler()
{
    std::error_code ignored;
    fs::remove(kFiller, ignored);
}
