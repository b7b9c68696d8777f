#include "db/indexed_quote_volume.h"

IndexedQuoteVolume::IndexedQuoteVolume() : m_current(-1)
{
    m_indexes.reserve(1);
}

IndexedQuoteVolume::~IndexedQuoteVolume()
{
    drop_alternate_indexes();
}

void IndexedQuoteVolume::select_main_index()
{
    if (m_current != 0)
        select_index(0);
}

uint32_t IndexedQuoteVolume::select_index(int32_t k)
{
    if (k < 0)
        return 0;
    if (k != 0 && k == m_current)
        return 1;
    if (static_cast<size_t>(k) >= m_indexes.size() || m_indexes[k].is_null())
        return 0;
    set_index_name(m_indexes[k]);
    m_current = k;
    return 1;
}

void IndexedQuoteVolume::drop_current_index()
{
    if (m_current == -1 || m_current == 0)
        return;
    delete_volume_file(index_name());
    m_indexes[m_current] = zstring("");
    m_current = 0;
    set_index_name(m_indexes[0]);
}

void IndexedQuoteVolume::drop_alternate_indexes()
{
    for (size_t k = 1; k < m_indexes.size(); ++k) {
        const int32_t previous = m_current;
        if (static_cast<int32_t>(k) == m_current || select_index(static_cast<int32_t>(k)))
            drop_current_index();
        else
            select_index(previous);
    }
}

uint32_t IndexedQuoteVolume::set_file_name(const zstring& name)
{
    const uint32_t result = QuoteVolume::set_file_name(name);
    if (m_indexes.empty())
        m_indexes.emplace_back();
    m_indexes[0] = index_name();
    return result;
}

uint32_t IndexedQuoteVolume::append_record(const StoredQuote& item, uint32_t& offset)
{
    select_main_index();
    return QuoteVolume::append_record(item, offset);
}

uint32_t IndexedQuoteVolume::rename(const zstring& name)
{
    select_main_index();
    return QuoteVolume::rename(name);
}

uint32_t IndexedQuoteVolume::create()
{
    select_main_index();
    return 1;
}

uint32_t IndexedQuoteVolume::erase_files()
{
    select_main_index();
    return QuoteVolume::erase_files();
}

uint32_t IndexedQuoteVolume::pack()
{
    select_main_index();
    return QuoteVolume::pack();
}

uint32_t IndexedQuoteVolume::copy_to(const zstring& name)
{
    select_main_index();
    return QuoteVolume::copy_to(name);
}

uint32_t IndexedQuoteVolume::append_item(const StoredQuote& item)
{
    select_main_index();
    return QuoteVolume::append_item(item);
}

uint32_t IndexedQuoteVolume::replace_item(uint32_t n, const StoredQuote& item)
{
    select_main_index();
    return QuoteVolume::replace_item(n, item);
}
