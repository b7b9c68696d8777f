#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "base/zstring.h"

class StoredQuote;

// A running checksum of bytes, word by word; equal inputs give equal sums
// and a changed, lost or reordered byte almost surely a different one.
class ByteChecksum {
public:
    ByteChecksum() : m_sum(0x9E3779B97F4A7C15ull), m_tail(0), m_tail_bytes(0) {}
    void add(const char* p, size_t n);
    uint64_t value() const;

private:
    void mix(uint64_t word);
    uint64_t m_sum;
    uint64_t m_tail;
    unsigned m_tail_bytes;
};

// Appends many items to a volume through one open data stream, keeping their
// index entries in memory until commit writes them to the index in one
// piece. Until then nothing new is reachable: a failed run leaves the volume
// as it was, with at most unreachable bytes past the end of the data file.
class VolumeAppender {
public:
    VolumeAppender();
    ~VolumeAppender();
    VolumeAppender(const VolumeAppender&) = delete;
    VolumeAppender& operator=(const VolumeAppender&) = delete;

    // Opens the data file, which must exist (it already holds its header),
    // for writing at its end; 0 when it cannot be opened.
    int open(const zstring& data_name, const zstring& index_name);
    // 0 once a write has failed or the record would start past the 32-bit
    // offsets an index can hold.
    int append(const StoredQuote& item);
    // Flushes and closes the data file, then writes the entries at the end
    // of the index (made, empty, only when it is missing) and closes it.
    // 1 only when every byte reached both files.
    int commit();
    // Reads back what commit wrote and compares it: 1 when the data file
    // holds exactly the records appended and the index ends with exactly
    // their entries.
    int verify();

    uint32_t appended() const { return static_cast<uint32_t>(m_offsets.size()); }

private:
    int flush_pending();

    zstring m_data_name;
    zstring m_index_name;
    std::ofstream m_data;
    std::string m_pending;
    std::vector<uint32_t> m_offsets;
    uint64_t m_start;      // the data file's end when opened
    uint64_t m_end;        // where the next record goes
    uint64_t m_index_end;  // the index's whole entries once committed
    ByteChecksum m_checksum;  // of every byte appended to the data file
    bool m_failed;
};

