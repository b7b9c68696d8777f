#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/zstring.h"
#include "db/file_header.h"

class VolumeReader;

// What the start of a data file holds.
enum class DataHeaderState {
    kUnreadable,    // the file cannot be opened for reading
    kNotRegular,    // a folder, pipe or device: never opened
    kReadError,     // the system failed to read the file
    kNoHeader,      // the magic is missing: a foreign file
    kTruncated,     // the magic, then the file ends inside the header
    kOtherBrand,    // brand not "Keldovane", letter for letter
    kOtherVersion,  // format version not exactly 2.0
    kVolume,        // a volume this program opens as it is
};

// Reads the header at the start of a data file without creating or
// changing anything; header_end is where the first record may start.
DataHeaderState read_data_header(const zstring& data_name, FileHeader& header,
                                 uint64_t& header_end);
// Why a data file is no volume, for a person: "not a quote volume (no header)".
std::string describe_data_header(DataHeaderState state, const FileHeader& header);

// One thing a check found. A problem makes the volume unsound; a note
// (an erased entry) is how the program left it and does not.
struct CheckFinding {
    enum Kind {
        kHeader,          // the header is missing, damaged or foreign
        kIndexMissing,    // no index file to read
        kPartialEntry,    // the index ends with 1 to 3 stray bytes
        kTooLarge,        // a file larger than a volume can have
        kOutOfRange,      // an entry points into the header or past the data
        kNoRecord,        // no whole readable version-3 record at the entry
        kBadTombstone,    // a tombstone names no readable record
        kErased,          // an erased entry (a note)
    };
    Kind kind;
    int64_t entry;  // the entry's number, -1 for the files as a whole
    std::string text;

    bool problem() const { return kind != kErased; }
};

// Checks a volume's header, its index and every record the index reaches,
// reading through VolumeReader: nothing is ever created or written. Memory
// stays bounded however large or damaged the volume: the index is read a
// chunk at a time, and only the first findings are kept, while all of them
// are counted.
class VolumeCheck {
public:
    // Kept of each: problems, and notes.
    static const uint64_t kKeptFindings = 1000;

    VolumeCheck();

    // 1 when the volume is sound (no problem found).
    int run(const zstring& data_name, const zstring& index_name);

    // The first kKeptFindings problems and notes, in the order found.
    const std::vector<CheckFinding>& findings() const { return m_findings; }
    // Every problem and note found, kept or not.
    uint64_t problems() const { return m_problems; }
    uint64_t notes() const { return m_notes; }
    uint64_t problems_left_out() const;
    uint64_t notes_left_out() const;
    uint32_t entries() const { return m_entries; }
    uint32_t live() const { return m_live; }
    uint32_t tombstones() const { return m_tombstones; }
    uint64_t data_size() const { return m_data_size; }
    uint64_t header_size() const { return m_header_size; }
    // Bytes after the header in no record that an index entry references:
    // what pack would give back. Entries that share a record (only a
    // damaged index has them) make it too low, down to 0 at the least.
    uint64_t dead_bytes() const { return m_dead_bytes; }

private:
    int check_header(const zstring& data_name);
    void refused(const VolumeReader& reader, const zstring& data_name, const zstring& index_name);
    void check_index_size(const VolumeReader& reader);
    void check_entries(VolumeReader& reader);
    void check_entry(VolumeReader& reader, uint32_t n, uint32_t offset);
    void check_tombstone(VolumeReader& reader, uint32_t n, uint32_t offset, const zstring& named);
    void count_dead_bytes();
    // Counts the finding, and keeps it with the text text() gives while
    // fewer than kKeptFindings of its class are kept.
    template <class Text>
    void add(CheckFinding::Kind kind, int64_t entry, Text text);

    std::vector<CheckFinding> m_findings;
    uint64_t m_problems;
    uint64_t m_notes;
    uint64_t m_kept_problems;
    uint64_t m_kept_notes;
    // The bytes of the records the index references, counted once per
    // entry: a volume this program made never shares a record.
    uint64_t m_referenced;
    uint32_t m_entries;
    uint32_t m_live;
    uint32_t m_tombstones;
    uint64_t m_data_size;
    uint64_t m_header_size;
    uint64_t m_dead_bytes;
};
