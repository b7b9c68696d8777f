#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/zstring.h"

class VolumeReader;

// Rebuilds a volume's index from a scan of its data file, into a new pair
// beside it (D + ".rec.STD" and its index); the original files are only
// read. Every readable record becomes an item in file order, except that a
// tombstone takes the place of the record it names, so a deleted item stays
// deleted and can still be restored. What a scan cannot know: which of two
// versions of an edited item is current (both become items), and which
// entries were erased.
class VolumeRecovery {
public:
    enum Result {
        kDone,
        kTargetExists,  // blocking_file() names it
        kNoVolume,      // the data file has no valid header
        kCannotRead,    // missing, no regular file, too large or a read error
        kWriteFailed,   // nothing of the new pair is left behind
    };
    struct Skipped {
        uint64_t start;
        uint64_t end;  // one past the last skipped byte
    };

    VolumeRecovery();

    Result run(const zstring& data_name);

    const zstring& new_data_name() const { return m_new_data; }
    const zstring& new_index_name() const { return m_new_index; }
    const zstring& blocking_file() const { return m_blocking; }
    // Why the data file was refused (kNoVolume, kCannotRead), for a person.
    const std::string& failure_text() const { return m_failure_text; }
    uint32_t records() const { return m_records; }
    uint32_t tombstones() const { return m_tombstones; }
    // Records and tombstones whose place a later tombstone took.
    uint32_t replaced() const { return m_replaced; }
    const std::vector<Skipped>& skipped() const { return m_skipped; }
    uint64_t skipped_bytes() const;
    // The recovered index: one record offset per item.
    const std::vector<uint32_t>& items() const { return m_items; }

private:
    Result scan(const zstring& data_name, uint64_t header_end);
    void add_record(uint32_t offset, bool tombstone, uint32_t named);
    Result write(const zstring& data_name);
    int verify();

    zstring m_new_data;
    zstring m_new_index;
    zstring m_blocking;
    std::string m_failure_text;
    uint32_t m_records;
    uint32_t m_tombstones;
    uint32_t m_replaced;
    std::vector<Skipped> m_skipped;
    std::vector<uint32_t> m_items;
    // Sorted by offset as the scan goes: each record's item position.
    std::vector<std::pair<uint32_t, size_t>> m_slot_of_record;
};
