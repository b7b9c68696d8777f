#include "db/volume_recovery.h"

#include <algorithm>
#include <fstream>

#include "base/file_path.h"
#include "db/field_record.h"
#include "db/file_header.h"
#include "db/quote_index_file.h"
#include "db/quote_item.h"
#include "db/quote_volume.h"
#include "db/volume_check.h"
#include "db/volume_names.h"
#include "db/volume_reader.h"

namespace {

// Every record this program writes starts with its marker.
const char* const kMarker = FieldRecord::kWrittenMarker;
const size_t kMarkerSize = sizeof FieldRecord::kWrittenMarker;
const size_t kChunk = 1 << 20;
const uint64_t kLastOffset = QuoteIndexFile::kLastOffset;

// Finds the record markers in a data file, reading it in chunks.
class MarkerSearch {
public:
    MarkerSearch(const zstring& name, uint64_t size)
        : m_file(name.c_str(), std::ios::in | std::ios::binary), m_size(size), m_chunk(kChunk)
    {
    }

    // The offset of the first marker at or after from; the file size when
    // there is none (or the file cannot be read).
    uint64_t find(uint64_t from)
    {
        while (from + kMarkerSize <= m_size) {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(m_chunk.size(), m_size - from));
            m_file.clear();
            if (!m_file.seekg(static_cast<std::streamoff>(from)) ||
                !m_file.read(m_chunk.data(), static_cast<std::streamsize>(n)))
                return m_size;
            const char* end = m_chunk.data() + n;
            const char* hit = std::search(static_cast<const char*>(m_chunk.data()), end, kMarker,
                                           kMarker + kMarkerSize);
            if (hit != end)
                return from + static_cast<uint64_t>(hit - m_chunk.data());
            // A marker may straddle two chunks.
            from += n - (kMarkerSize - 1);
        }
        return m_size;
    }

private:
    std::ifstream m_file;
    uint64_t m_size;
    std::vector<char> m_chunk;
};

int copy_file(const zstring& from, const zstring& to)
{
    std::ifstream in(from.c_str(), std::ios::in | std::ios::binary);
    std::ofstream out(to.c_str(), std::ios::out | std::ios::binary | std::ios::trunc);
    if (!in.is_open() || !out.is_open())
        return 0;
    std::vector<char> chunk(kChunk);
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::streamsize got = in.gcount();
        if (got > 0 && !out.write(chunk.data(), got))
            return 0;
    }
    if (in.bad())
        return 0;
    out.close();
    return out.fail() ? 0 : 1;
}

}  // namespace

VolumeRecovery::VolumeRecovery() : m_records(0), m_tombstones(0), m_replaced(0) {}

uint64_t VolumeRecovery::skipped_bytes() const
{
    uint64_t total = 0;
    for (const Skipped& range : m_skipped)
        total += range.end - range.start;
    return total;
}

VolumeRecovery::Result VolumeRecovery::run(const zstring& data_name)
{
    FileHeader header;
    uint64_t header_end = 0;
    const DataHeaderState state = read_data_header(data_name, header, header_end);
    if (state != DataHeaderState::kVolume) {
        m_failure_text = describe_data_header(state, header);
        const bool unread = state == DataHeaderState::kUnreadable ||
                            state == DataHeaderState::kNotRegular ||
                            state == DataHeaderState::kReadError;
        return unread ? kCannotRead : kNoVolume;
    }
    m_new_data = zstring(data_name).append(".rec.STD");
    m_new_index = index_file_name(m_new_data);
    for (const zstring* name : {&m_new_data, &m_new_index}) {
        if (!FilePath::FileMissing(name->c_str())) {
            m_blocking = *name;
            return kTargetExists;
        }
    }
    const Result scanned = scan(data_name, header_end);
    return scanned == kDone ? write(data_name) : scanned;
}

VolumeRecovery::Result VolumeRecovery::scan(const zstring& data_name, uint64_t header_end)
{
    VolumeReader reader;
    if (!reader.open_data(data_name)) {
        m_failure_text = reader.failure_text();
        return kCannotRead;
    }
    const uint64_t size = reader.data_size();
    MarkerSearch search(data_name, size);
    uint64_t at = header_end;
    while (at < size) {
        StoredQuote item;
        uint64_t length = 0;
        if (at <= kLastOffset && reader.read_record_at(static_cast<uint32_t>(at), item, length) &&
            length > 0) {
            uint32_t named = 0;
            const bool tombstone = item.is_deleted() && tombstone_offset(item.classification(), named);
            add_record(static_cast<uint32_t>(at), tombstone, named);
            at += length;
            continue;
        }
        // Look for the next marker that starts a readable record.
        uint64_t next = at + 1;
        for (;; ++next) {
            next = search.find(next);
            if (next >= size || next > kLastOffset ||
                reader.read_record_at(static_cast<uint32_t>(next), item, length))
                break;
        }
        next = std::min(next, size);
        m_skipped.push_back(Skipped{at, next});
        at = next;
    }
    return kDone;
}

void VolumeRecovery::add_record(uint32_t offset, bool tombstone, uint32_t named)
{
    ++m_records;
    size_t slot = m_items.size();
    if (tombstone) {
        ++m_tombstones;
        const auto found = std::lower_bound(
            m_slot_of_record.begin(), m_slot_of_record.end(), named,
            [](const std::pair<uint32_t, size_t>& record, uint32_t key) { return record.first < key; });
        if (found != m_slot_of_record.end() && found->first == named) {
            slot = found->second;
            ++m_replaced;
        }
    }
    if (slot == m_items.size())
        m_items.push_back(offset);
    else
        m_items[slot] = offset;
    // Records are found in rising offset order, so this stays sorted.
    m_slot_of_record.emplace_back(offset, slot);
}

VolumeRecovery::Result VolumeRecovery::write(const zstring& data_name)
{
    std::string entries;
    entries.reserve(m_items.size() * QuoteIndexFile::kEntrySize);
    for (uint32_t offset : m_items)
        append_entry_bytes(entries, offset);
    int written = copy_file(data_name, m_new_data);
    if (written) {
        std::ofstream index(m_new_index.c_str(), std::ios::out | std::ios::binary | std::ios::trunc);
        index.write(entries.data(), static_cast<std::streamsize>(entries.size()));
        index.close();
        written = !index.fail() && verify();
    }
    if (written)
        return kDone;
    // Both files were missing before: whatever exists now is ours to remove.
    delete_volume_file(m_new_index);
    delete_volume_file(m_new_data);
    return kWriteFailed;
}

int VolumeRecovery::verify()
{
    VolumeReader reader;
    if (!reader.open(m_new_data, m_new_index) || reader.count() != m_items.size())
        return 0;
    StoredQuote item;
    for (uint32_t n = 0; n < reader.count(); ++n) {
        if (!reader.read_item(n, item))
            return 0;
    }
    return 1;
}
