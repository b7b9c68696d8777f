#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/output_file.h"
#include "base/zstring.h"

class StoredQuote;

// A hash of a stream of bytes, the same whatever pieces they come in:
// enough to tell bytes that did not come back as they were written.
class ByteHash {
public:
    void add(const char* bytes, size_t size);
    uint64_t value() const;

private:
    void take_byte(char byte);
    void mix(uint64_t word);

    uint64_t m_hash = 0x84222325CBF29CE4ull;
    char m_bytes[8] = {};  // bytes not yet mixed
    unsigned m_held = 0;
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
    // Appends a record's bytes as they are: the caller vouches that they
    // are what encode_record makes of an item.
    int append_record_bytes(const char* bytes, size_t size);
    // Writes the pending records, flushes the data file to the disk and
    // closes it, then commits: the index with the new entries at its end
    // replaces the old one in one step (QuoteIndexFile::append_entries).
    // 1 exactly when the commit happened; before it, a failure or a kill
    // leaves only unreachable bytes past the end of the data file.
    int commit();
    // After a failure before the commit: cuts the data file back to where
    // it ended at open, so nothing of the run is left; 1 when it did.
    int roll_back();
    // Checks what commit wrote, as it now stands on disk: 1 when the data
    // file ends exactly where the last record appended ends, its new bytes
    // read back as written (compared by a hash), and the index ends with
    // exactly their entries.
    int verify();

    uint32_t appended() const { return static_cast<uint32_t>(m_offsets.size()); }
    // The system's code for the write that failed.
    unsigned long error() const { return m_error; }

private:
    int flush_pending();
    int data_reads_back() const;
    int take(size_t before);

    zstring m_data_name;
    zstring m_index_name;
    OutputFile m_data;
    std::string m_pending;
    std::vector<uint32_t> m_offsets;
    uint64_t m_start;      // where the data file ended at open
    uint64_t m_end;        // where the next record goes
    uint64_t m_index_end;  // the index's whole entries once committed
    ByteHash m_hash;       // of every record byte written
    bool m_failed;
    unsigned long m_error;
};

