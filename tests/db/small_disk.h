#pragma once

#include <cstdint>
#include <string>

// A small file system of the test's own, for writes that meet a full disk.
// Natively it is a tmpfs mounted here (which needs root); under Wine it is
// the one the test command mounts and names in ORV_SMALL_FS. While it
// exists a fresh folder on it is the current folder.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Empty when there is none; unavailable() then says why.
    bool ready() const { return !m_folder.empty(); }
    const std::string& unavailable() const { return m_unavailable; }
    // Fills the disk with a filler file until about bytes are left free.
    bool leave_free(uint64_t bytes);
    void remove_filler();

private:
    std::string m_mount;   // mounted here, unmounted on destruction
    std::string m_folder;  // the test's folder on the disk
    std::string m_previous;
    std::string m_unavailable;
};
