#pragma once

#include <cstdint>
#include <vector>

#include "base/n_stream.h"
#include "db/quote_volume.h"

// A volume with a list of index files over its one data file: entry 0 is
// the main index, any further entry an alternate one. Reads go through the
// current index; every write first makes the main index current again.
class IndexedQuoteVolume : public QuoteVolume {
public:
    IndexedQuoteVolume();

    uint32_t append_record(const StoredQuote& item, uint32_t& offset) override;
    // Deletes the alternate index files; the main pair is never touched.
    ~IndexedQuoteVolume() override;
    uint32_t set_file_name(const zstring& name) override;
    uint32_t rename(const zstring& name) override;
    uint32_t create() override;
    uint32_t erase_files() override;
    uint32_t pack() override;
    uint32_t copy_to(const zstring& name) override;
    uint32_t append_item(const StoredQuote& item) override;
    uint32_t replace_item(uint32_t n, const StoredQuote& item) override;

    // Makes index k current; 0 for k = -1 or -2, past the list, or for an
    // entry whose name is empty.
    uint32_t select_index(int32_t k);
    // Deletes the current alternate index file and makes the main index
    // current again; the main index is never dropped.
    void drop_current_index();
    void drop_alternate_indexes();

    int32_t current_index() const { return m_current; }

protected:
    // Writes go to the main index only.
    void select_main_index();

private:
    int32_t m_current;
    std::vector<n_stream> m_indexes;
};
