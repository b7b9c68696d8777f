#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "base/zstring.h"
#include "db/volume_lock.h"

class VolumeReader;

// Exit statuses of the tool.
enum ToolStatus {
    kToolDone = 0,
    kToolFailed = 1,      // missing or unreadable file, foreign format, write failed, no such item
    kToolBadCommand = 2,  // the command line makes no sense
    kToolProblems = 3,    // check found problems
};

// Where a command writes: its output, and its messages and progress bar.
// Neither stream is owned.
struct ToolStreams {
    std::ostream& out;
    std::ostream& err;
    bool progress;  // err is a terminal a person watches
};

// The volume a command names, with the checks a command makes before it
// touches the files. Each check reports its own failure on the error stream
// as "orvvol: NAME: reason". Nothing here creates or changes a file.
class ToolVolume {
public:
    // The error stream is not owned.
    ToolVolume(const std::string& name, std::ostream& err);

    // Makes the name absolute as the database does and derives the index
    // name from it; 0 for a name no volume can have.
    int resolve();
    // The data file is a regular file that starts with a header this
    // program reads.
    int check_data();
    // The index file is there and is a regular file.
    int check_index();
    // The data file and its index, both checked and opened for reading.
    int open_for_reading(VolumeReader& reader);

    // Prints "orvvol: name: reason" and returns 0.
    int fail(const std::string& name, const std::string& reason) const;
    // A file that is not there, or cannot be read, reported as such.
    int fail_missing(const zstring& name, const std::string& shown) const;
    // 1 for a regular file; else reports it as missing, as no regular file
    // (a folder, pipe or device, which is never opened) or as unreadable.
    int check_file(const zstring& name, const std::string& shown) const;

    const std::string& shown() const { return m_shown; }
    const zstring& data_name() const { return m_data; }
    const zstring& index_name() const { return m_index; }
    uint64_t header_end() const { return m_header_end; }

    // Takes the volume's lock as a reader for as long as this object lives,
    // so nobody reads a volume half way through someone else's write.
    int lock_for_reading();

private:
    VolumeLock m_lock;
    std::string m_shown;
    std::ostream& m_err;
    zstring m_data;
    zstring m_index;
    uint64_t m_header_end;
};

// Reads a whole file; 0 when it cannot be read.
int read_whole_file(const std::string& name, std::string& bytes);
