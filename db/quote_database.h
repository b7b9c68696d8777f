#pragma once

#include <cstdint>

#include "db/indexed_quote_volume.h"

class FileHeader;
class QuoteEntry;

// The quote database: an indexed volume whose data file starts with the
// program's header, opened with a header check, with items deleted as
// tombstone records and restored by pointing their entry back.
class QuoteDatabaseV2 : public IndexedQuoteVolume {
public:
    // Seeds rand() from the clock and opens, or creates, Volume01.STD in
    // the current folder.
    QuoteDatabaseV2();
    // The same on the volume name instead (a tool's, not the program's).
    // Whether it opened: bound().
    explicit QuoteDatabaseV2(const zstring& name);
    ~QuoteDatabaseV2() override;

    // Opens an existing volume after checking its header, or creates a new
    // one when no file of that name exists (a file that exists but cannot be
    // read is refused, never replaced, and so is an index that holds
    // entries without its data file: it is never deleted to make room). A refused file leaves the
    // database on its previous pair; header_valid() says whether the refusal
    // was for a foreign format.
    uint32_t set_file_name(const zstring& name) override;
    // Deletes both files and writes a fresh header (made under a temporary
    // name, flushed and moved into place); 0 when it could not be written.
    uint32_t create() override;
    uint32_t is_deleted(const QuoteItem& item) override;
    // Offered a volume of another format version; this program converts
    // nothing.
    virtual uint32_t convert_format(const zstring& name, const FileHeader& found);
    virtual double format_version();
    virtual void fill_header(FileHeader& header);

    // Writes a tombstone for the entry's item and points its index entry at
    // it; the entry then holds the tombstone. 1 at once for an entry that
    // is not stored.
    uint32_t delete_item(QuoteEntry& entry);
    // Points the entry's index entry back at the record the tombstone names;
    // 1 at once when the entry is not deleted.
    uint32_t undelete_item(QuoteEntry& entry);

    int header_valid() const { return m_header_valid; }

protected:
    // Binds to an existing volume only: a missing one is not made.
    uint32_t reopen(const zstring& name) override;
    uint64_t header_size() override;

private:
    uint32_t open(const zstring& name, bool may_create);
    uint32_t open_new(const zstring& name);
    uint32_t bind(const zstring& name);

    int m_header_valid;
};
