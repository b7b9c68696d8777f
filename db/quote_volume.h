#pragma once

#include <cstdint>

#include "base/zstring.h"
#include "db/quote_index_file.h"

class QuoteItem;
class StoredQuote;
class VolumeReader;

// A quote volume: a data file of appended records and its index file, whose
// name is always derived from the data file's. Operations open and close
// their files; no handle is kept between calls. Results are 1 for success
// and 0 for failure unless a comment says otherwise.
class QuoteVolume {
public:
    QuoteVolume();

    // The slot order of the virtual operations is fixed: derived volumes
    // and databases override them in this order.
    virtual uint32_t append_record(const StoredQuote& item, uint32_t& offset);
    virtual ~QuoteVolume();
    // Takes name as the data file and derives the index name; nothing more.
    virtual uint32_t set_file_name(const zstring& name);
    // Moves the file pair to name (index first) and reopens it there. When
    // the data file cannot move, the index is moved back, so a failed
    // rename leaves both files where they were.
    virtual uint32_t rename(const zstring& name);
    virtual uint32_t create();
    // 1 only when neither file exists afterwards.
    virtual uint32_t erase_files();
    // Rewrites the volume with its live items only; the volume as it was
    // becomes the backup pair D + ".bak.STD". At every failure point either
    // the live or the backup pair holds every item, and the volume is bound
    // to a complete pair.
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

    // The number of entries of the current index, or 0xFFFFFFFF.
    uint32_t count();
    // 0 while the volume holds only the placeholder names, or after a
    // database found no volume it could open or make: every write is then
    // refused.
    bool bound() const { return m_bound; }
    const zstring& file_name() const { return m_data_name; }
    const zstring& index_name() const { return m_index.name(); }

protected:
    void set_index_name(const zstring& name) { m_index.set_name(name); }
    void unbind() { m_bound = false; }
    QuoteIndexFile& index() { return m_index; }

private:
    uint32_t copy_items(VolumeReader& reader);
    uint32_t restore_live_pair(const zstring& live, const zstring& backup);
    bool is_own_file(const zstring& name) const;

    zstring m_data_name;
    QuoteIndexFile m_index;
    bool m_bound;
};

// Moves one file as a volume move does: nothing to do when the names are the
// same string or the file does not exist; an existing target makes it fail.
uint32_t move_volume_file(const zstring& from, const zstring& to);
// Deletes a file if it exists; 1 when it does not exist afterwards.
uint32_t delete_volume_file(const zstring& name);
