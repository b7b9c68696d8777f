#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "base/zstring.h"

// A volume's index file: a flat array of 4-byte little-endian record
// offsets, one per item, with no header. An entry's position is the item's
// number. Every operation opens the file (creating it empty when missing),
// acts and closes it again.
class QuoteIndexFile {
public:
    // The value of an erased entry: it keeps its number but cannot be read.
    static const uint32_t kErased = 0xFFFFFFFFu;
    static const uint32_t kCannotOpen = 0xFFFFFFFFu;
    // The last offset an entry can hold for a record.
    static const uint32_t kLastOffset = 0xFFFFFFFEu;
    // The bytes of one entry.
    static const uint32_t kEntrySize = 4;
    // The largest index and data files a volume can have: a count of
    // entries that fits in 32 bits (2^32 - 1), and records that start at a
    // 32-bit offset. Larger files are refused.
    static const uint64_t kLargestIndex = ((uint64_t(1) << 32) - 1) * kEntrySize;
    static const uint64_t kLargestData = uint64_t(1) << 32;

    QuoteIndexFile();
    virtual ~QuoteIndexFile();

    // The number of entries (the size divided by 4), or kCannotOpen.
    virtual uint32_t count();
    // The entry count after the append, or kCannotOpen when the file cannot
    // be opened or the entry did not reach it. The new index is written
    // whole to a temporary file, flushed, and moved over the old one in one
    // step: the append is there entirely or not at all.
    virtual uint32_t append_entry(uint32_t offset);
    // 1 only when the 4 bytes reached the disk; 0 also for an entry past the
    // end. An entry is overwritten in place: an aligned 4-byte write never
    // straddles a disk sector, so it is never half made.
    virtual uint32_t write_entry(uint32_t n, uint32_t offset);
    virtual uint32_t erase_entry(uint32_t n);
    // 1 when the 4 bytes of entry n were read whole.
    virtual uint32_t read_entry(uint32_t n, uint32_t& offset);

    // Appends many entries (kEntrySize bytes each) as append_entry does
    // one: the new count, or kCannotOpen with the index unchanged.
    uint32_t append_entries(const std::string& entries);
    // The system's code for the last failed write.
    unsigned long error() const { return m_error; }

    const zstring& name() const { return m_name; }
    void set_name(const zstring& name) { m_name = name; }

private:
    zstring m_name;
    unsigned long m_error;
};

// One entry as the file holds it: 4 bytes, least significant first.
void append_entry_bytes(std::string& out, uint32_t offset);
uint32_t entry_from_bytes(const unsigned char* bytes);

// Opens an index file for reading and writing, making it empty only when no
// file of that name exists; 0 when it cannot be opened or is no regular file.
int open_index_file(std::fstream& file, const zstring& name);
