#pragma once

#include <cstdint>

#include "base/zstring.h"
#include "db/quote_index_file.h"
#include "db/volume_lock.h"

class QuoteItem;
class StoredQuote;
class VolumeReader;

// What QuoteVolume::find_item looks for in each live item.
class ItemTest {
public:
    virtual ~ItemTest();
    virtual bool matches(const StoredQuote& item) = 0;
};

// A quote volume: a data file of appended records and its index file, whose
// name is always derived from the data file's. Operations open and close
// their files; no handle is kept between calls. Results are 1 for success
// and 0 for failure unless a comment says otherwise; failure() tells why.
//
// Every operation holds the volume's lock (VolumeLock) while it runs:
// shared for reads, alone for writes. Writes reach the disk before an
// operation reports success: records are flushed before the index entry
// that makes them reachable, and entries are added by replacing the index
// in one step, so a crash at any point leaves the volume as it was before
// the operation or as it is after it.
class QuoteVolume {
public:
    enum Failure {
        kNoFailure,
        kBusy,            // another program held the volume's lock too long
        kNoLockFile,      // the lock file cannot be made beside the volume
        kPackUnfinished,  // a pack cut short cannot be finished yet
        kInUse,           // another program holds a file of the volume open
        kUnsound,         // pack refused a damaged volume: recover it first
        kIndexLost,       // the index is missing beside a data file of records
        kDiskFull,
        kWriteFailed,
    };
    // Why the last operation failed, for a person.
    static const char* describe(Failure failure);

    // Holds the volume's lock for one operation. Operations called inside
    // another share the outermost one's lock; a tool that runs several
    // steps as one (an import) holds one of these around them.
    class Operation {
    public:
        Operation(QuoteVolume& volume, VolumeLock::Access access);
        // The lock of the volume named, for binding to it.
        Operation(QuoteVolume& volume, VolumeLock::Access access, const zstring& data_name);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;
        bool ok() const { return m_ok; }

    private:
        bool acquire(VolumeLock::Access access, const zstring& data_name);

        QuoteVolume& m_volume;
        bool m_outermost;
        bool m_ok;
    };

    QuoteVolume();

    // The slot order of the virtual operations is fixed: derived volumes
    // and databases override them in this order.
    virtual uint32_t append_record(const StoredQuote& item, uint32_t& offset);
    virtual ~QuoteVolume();
    // Takes name as the data file and derives the index name; nothing more.
    virtual uint32_t set_file_name(const zstring& name);
    // Moves the file pair to name (index first) and reopens it there. When
    // the data file cannot move, the index is moved back, so a failed
    // rename leaves both files where they were. A file that cannot be
    // moved is a failure; only a file that does not exist has nothing to move.
    virtual uint32_t rename(const zstring& name);
    virtual uint32_t create();
    // 1 only when neither file exists afterwards.
    virtual uint32_t erase_files();
    // Rewrites the volume with its live items only; the volume as it was
    // becomes the backup pair D + ".bak.STD". A volume that VolumeCheck
    // finds unsound is refused untouched (kUnsound). The packed pair is
    // written, flushed and checked to hold every live item before anything
    // is swapped (PackJournal tells how the swap survives a crash); the
    // volume stays bound to its live names throughout.
    virtual uint32_t pack();
    // Writes the live items to a new volume at name, then reopens this one.
    // The copy reads through one open stream per file and writes the index
    // once at the end; it succeeds only when every write reached the files
    // and the new pair's sizes and index entries are exactly those written.
    // A failed copy is removed. Any
    // spelling of this volume's own files as name is refused.
    virtual uint32_t copy_to(const zstring& name);
    virtual uint32_t is_deleted(const QuoteItem& item);
    // 1 only when entry n points at a whole record of the current version.
    virtual uint32_t read_item(uint32_t n, StoredQuote& item);
    virtual uint32_t read_entry(uint32_t n, uint32_t& offset);
    virtual uint32_t append_item(const StoredQuote& item);
    virtual uint32_t replace_item(uint32_t n, const StoredQuote& item);
    virtual uint32_t erase_entry(uint32_t n);

    // The number of entries of the current index, or 0xFFFFFFFF. A missing
    // index is made, empty, only for a volume that holds no record yet:
    // beside records it is a lost index (kIndexLost), which only
    // rebuild_index makes anew.
    uint32_t count();
    // Rebuilds a lost or damaged index from a scan of the data file
    // (VolumeRecovery), checks the result, and swaps it in, keeping the
    // damaged pair beside the volume under damaged_file_name's names. items
    // is the number of items the new index holds.
    uint32_t rebuild_index(uint32_t& items);
    // The number of the first live item after entry `after` that test
    // accepts, going on from the first entry past the last and ending with
    // `after` itself; -1 when none does. The volume is read through one open
    // stream per file, as a copy reads it.
    virtual int64_t find_item(uint32_t after, ItemTest& test);
    // Lets the pair go: every operation then fails until a new binding.
    void close() { m_bound = false; }
    Failure failure() const { return m_failure; }
    // The system's code for the write that failed (errno, or GetLastError()).
    unsigned long system_error() const { return m_system_error; }
    // 0 while the volume holds only the placeholder names, or after a
    // database found no volume it could open or make: every write is then
    // refused.
    bool bound() const { return m_bound; }
    const zstring& file_name() const { return m_data_name; }
    const zstring& index_name() const { return m_index.name(); }

protected:
    // Goes back to a pair that exists, making nothing: a copy returns to its
    // source this way. The volume's own binding takes only the names.
    virtual uint32_t reopen(const zstring& name);
    // Where the first record of a data file may start: 0 for a plain
    // volume, the header's size for a database.
    virtual uint64_t header_size();
    // Records why an operation failed; 0.
    uint32_t fail(Failure failure);
    // Records a failed write and the system's code for it; 0.
    uint32_t write_failed(unsigned long error);
    void set_index_name(const zstring& name) { m_index.set_name(name); }
    void unbind() { m_bound = false; }
    QuoteIndexFile& index() { return m_index; }

private:
    uint32_t copy_items(VolumeReader& reader);
    uint32_t swap_in_packed(const zstring& live);
    bool is_own_file(const zstring& name) const;

    zstring m_data_name;
    QuoteIndexFile m_index;
    bool m_bound;
    VolumeLock m_lock;
    int m_depth;  // operations under way, the outermost holding m_lock
    Failure m_failure;
    unsigned long m_system_error;
};

// Moves one file as a volume move does: nothing to do when the names are the
// same string or the file does not exist; an existing target makes it fail.
uint32_t move_volume_file(const zstring& from, const zstring& to);
// Deletes a file if it exists; 1 when it does not exist afterwards.
uint32_t delete_volume_file(const zstring& name);
