#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "base/zstring.h"

class StoredQuote;

// Reads a volume through one open index stream and one open data stream,
// for the work that touches every item (copying, packing, checking,
// exporting): no file is opened per item. Nothing is ever written or
// created. An item read here is exactly what QuoteVolume::read_item gives a
// freshly made item, whatever the item held before, so one item can be
// reused for every read.
//
// Only regular files are opened (a pipe would hold the open up until some
// other program wrote to it), and only of sizes a volume can have: a data
// file of at most 4 GiB, and an index whose entries a 32-bit count numbers.
// The index is read a chunk at a time, so a pass over every entry needs
// little memory however large the index is.
class VolumeReader {
public:
    // Why the last open or open_data failed.
    enum Failure { kNoFailure, kMissing, kNotRegular, kTooLarge, kCannotOpen };
    // What a file that is not a regular file is called for a person.
    static const char* const kNotRegularText;

    VolumeReader();
    ~VolumeReader();
    VolumeReader(const VolumeReader&) = delete;
    VolumeReader& operator=(const VolumeReader&) = delete;

    // Opens both files for reading; 0 when either is refused or cannot be
    // opened, with failure() and index_failed() telling why and which.
    int open(const zstring& data_name, const zstring& index_name);
    // Opens the data file alone, for reading records by offset (a scan of
    // a volume whose index is lost); count() is then 0.
    int open_data(const zstring& data_name);
    // Reads every entry into memory (4 bytes per item) for a caller that
    // must not meet an index that fails half way through a pass; 0 when the
    // index cannot be read whole or there is no memory for it.
    int load_index();

    Failure failure() const { return m_failure; }
    // The failure is the index's rather than the data file's.
    bool index_failed() const { return m_index_failed; }
    // The failure for a person, e.g. "no such file" or kNotRegularText.
    std::string failure_text() const;

    // Whole 4-byte entries; a partial last entry does not count.
    uint32_t count() const { return m_count; }
    uint64_t index_size() const { return m_index_size; }
    uint64_t data_size() const { return m_data_size; }
    // 1 and the stored offset of entry n, or 0 past the end or on a read error.
    int read_entry(uint32_t n, uint32_t& offset);
    // Entry n's record into item: 0 for an erased entry, an offset past the
    // end, or a record that is truncated, malformed or of another version.
    int read_item(uint32_t n, StoredQuote& item);
    // The same, and when the record's bytes are exactly what encode_record
    // makes of the item, bytes points at them (until the next read) so a
    // copy can take them as they are; else bytes is null.
    int read_item_bytes(uint32_t n, StoredQuote& item, const char*& bytes, uint64_t& size);
    // The record at offset into item, as read_item reads it; size is the
    // record's length in the file. 0 leaves item unchanged.
    int read_record_at(uint32_t offset, StoredQuote& item, uint64_t& size);

private:
    int open_file(std::ifstream& file, const zstring& name, uint64_t largest, uint64_t& size);
    // n entries from entry first into out; 0 when they cannot be read.
    int read_entries(uint32_t first, uint32_t n, uint32_t* out);
    int read_chunk(uint32_t first);
    // At least want bytes from offset (fewer at the end of the file);
    // null when the file cannot be read there.
    const char* bytes_at(uint64_t offset, size_t want, size_t& available);
    // One aligned block of the data file, kept while it is in use.
    struct Block {
        uint64_t number = 0;
        uint64_t last_use = 0;
        std::vector<char> bytes;
    };
    const Block* block(uint64_t number);
    const char* read_spanning(uint64_t offset, size_t want, size_t& available);
    int read_record(uint32_t offset, StoredQuote& item, const char*& record, uint64_t& size);
    int read_with_stream(uint32_t offset, StoredQuote& item, uint64_t& size);

    std::ifstream m_index;
    std::ifstream m_data;
    uint32_t m_count;
    uint64_t m_index_size;
    uint64_t m_data_size;
    Failure m_failure;
    bool m_index_failed;
    uint64_t m_failed_size;  // the size of a file refused as too large
    std::vector<uint32_t> m_entries;  // empty until load_index
    std::vector<uint32_t> m_chunk;    // the entries read last, from m_chunk_first
    uint32_t m_chunk_first;
    std::vector<unsigned char> m_entry_bytes;  // one chunk of the index as stored
    std::vector<Block> m_blocks;
    std::vector<char> m_spanning;  // a record that does not fit in one block
    std::string m_scratch;         // a record's plain body
    uint64_t m_uses;
    size_t m_last;  // the block the last read used
};
