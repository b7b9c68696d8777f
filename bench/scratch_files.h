#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "db/quote_item.h"
#include "tests/db/scratch_folder.h"

// Where each record of a volume starts, and where the data file ends, so a
// floor can read exactly a record's bytes.
struct Layout {
    std::vector<uint32_t> offsets;
    uint32_t end = 0;
    uint32_t length(uint32_t n) const
    {
        return (n + 1 < offsets.size() ? offsets[n + 1] : end) - offsets[n];
    }
};

// Writes a volume of items records cycling through quotes (numbered 0 ..
// items-1) through one open stream per file: the bytes append_item would
// write, fast enough to make a million-item volume.
Layout write_volume(const std::string& name, std::vector<QuoteEntry>& quotes, uint32_t items);

// The index file name of a data file, as the volume derives it.
std::string index_of(const std::string& data_name);
std::string file_bytes(const std::string& name);
// The data file header a new volume starts with.
std::string header_bytes();
// One index entry: the offset as 4 little-endian bytes.
std::string entry_bytes(uint32_t offset);

// The pair functions act on a data file and its index file.
void delete_pair(const std::string& data_name);
// The system's own file copy: CopyFileA on Windows, std::filesystem::copy_file
// elsewhere (which lets the kernel copy); kCopyPairFloor names it.
extern const char kCopyPairFloor[];
bool copy_pair(const std::string& from, const std::string& to);
// The copy as a program without CopyFileA would make it: 64 KiB reads and
// writes through the stream library.
bool copy_pair_by_loop(const std::string& from, const std::string& to);
// The least a durable copy must do: 64 KiB reads and writes through the
// system's own calls, then each written file flushed to the disk before it
// is closed (kFlushCall: FlushFileBuffers on Windows, fsync elsewhere).
extern const char kFlushCall[];
bool copy_pair_flushed(const std::string& from, const std::string& to);
bool same_pair(const std::string& a, const std::string& b);

// The lock file a volume's operations lock, beside its data file.
std::string lock_of(const std::string& data_name);
// The least a locked read must add: the lock file opened, locked shared
// (kSharedLockCall) and closed again, with read called while it is held.
extern const char kSharedLockCall[];
bool under_shared_lock(const std::string& lock_name, const std::function<bool()>& read);
