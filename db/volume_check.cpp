#include "db/volume_check.h"

#include <algorithm>
#include <fstream>

#include "db/quote_index_file.h"
#include "db/quote_item.h"
#include "db/volume_reader.h"

namespace {

std::string number(uint64_t n)
{
    return std::to_string(n);
}

}  // namespace

DataHeaderState read_data_header(const zstring& data_name, FileHeader& header,
                                 uint64_t& header_end)
{
    header_end = 0;
    std::ifstream in(data_name.c_str(), std::ios::in | std::ios::binary);
    if (!in.is_open())
        return DataHeaderState::kUnreadable;
    header.read(in);
    if (!header.found())
        return DataHeaderState::kNoHeader;
    if (!in)
        return DataHeaderState::kTruncated;
    header_end = static_cast<uint64_t>(in.tellg());
    if (!(header.brand() == zstring(kVolumeBrand)))
        return DataHeaderState::kOtherBrand;
    if (header.version() != kVolumeVersion)
        return DataHeaderState::kOtherVersion;
    return DataHeaderState::kVolume;
}

std::string describe_data_header(DataHeaderState state, const FileHeader& header)
{
    switch (state) {
    case DataHeaderState::kUnreadable:
        return "cannot be read";
    case DataHeaderState::kNoHeader:
        return "not a quote volume (no header)";
    case DataHeaderState::kTruncated:
        return "not a quote volume (the header is cut short)";
    case DataHeaderState::kOtherBrand:
        return std::string("not a quote volume (brand \"") + header.brand().c_str() +
               "\", expected \"" + kVolumeBrand + "\")";
    case DataHeaderState::kOtherVersion:
        return "quote volume of format version " + std::to_string(header.version()) +
               ", only 2.0 can be read";
    case DataHeaderState::kVolume:
        break;
    }
    return "a quote volume";
}

VolumeCheck::VolumeCheck()
    : m_entries(0), m_live(0), m_tombstones(0), m_data_size(0), m_header_size(0),
      m_dead_bytes(0)
{
}

int VolumeCheck::run(const zstring& data_name, const zstring& index_name)
{
    if (!check_header(data_name))
        return 0;
    VolumeReader reader;
    if (!reader.open(data_name, index_name) || !reader.load_index()) {
        add(CheckFinding::kIndexMissing, -1,
            std::string("the index ") + index_name.c_str() + " cannot be read");
        return 0;
    }
    m_data_size = reader.data_size();
    check_index_size(index_name);
    check_entries(reader);
    count_dead_bytes();
    return problems() == 0 ? 1 : 0;
}

size_t VolumeCheck::problems() const
{
    return static_cast<size_t>(std::count_if(m_findings.begin(), m_findings.end(),
                                             [](const CheckFinding& f) { return f.problem(); }));
}

int VolumeCheck::check_header(const zstring& data_name)
{
    FileHeader header;
    const DataHeaderState state = read_data_header(data_name, header, m_header_size);
    if (state == DataHeaderState::kVolume)
        return 1;
    add(CheckFinding::kHeader, -1, describe_data_header(state, header));
    return 0;
}

void VolumeCheck::check_index_size(const zstring& index_name)
{
    // The reader counts whole entries only and passes over a partial one.
    std::ifstream index(index_name.c_str(), std::ios::in | std::ios::binary);
    if (!index.seekg(0, std::ios::end))
        return;
    const std::streamoff stray = index.tellg() % 4;
    if (stray > 0)
        add(CheckFinding::kPartialEntry, static_cast<int64_t>(index.tellg() / 4),
            "the index ends with a partial entry of " + number(static_cast<uint64_t>(stray)) +
                (stray == 1 ? " byte" : " bytes"));
}

void VolumeCheck::check_entries(VolumeReader& reader)
{
    m_entries = reader.count();
    for (uint32_t n = 0; n < m_entries; ++n) {
        uint32_t offset = 0;
        if (!reader.read_entry(n, offset)) {
            add(CheckFinding::kNoRecord, n, "the entry cannot be read");
            continue;
        }
        check_entry(reader, n, offset);
    }
}

void VolumeCheck::check_entry(VolumeReader& reader, uint32_t n, uint32_t offset)
{
    if (offset == QuoteIndexFile::kErased) {
        add(CheckFinding::kErased, n, "erased");
        return;
    }
    if (offset < m_header_size || offset >= m_data_size) {
        add(CheckFinding::kOutOfRange, n,
            "offset " + number(offset) + " lies outside the records (bytes " +
                number(m_header_size) + " to " + number(m_data_size) + ")");
        return;
    }
    StoredQuote item;
    uint64_t size = 0;
    if (!reader.read_record_at(offset, item, size)) {
        add(CheckFinding::kNoRecord, n,
            "no whole version-3 record at offset " + number(offset));
        return;
    }
    m_records.push_back(Span{offset, offset + size});
    if (!item.is_deleted()) {
        ++m_live;
        return;
    }
    ++m_tombstones;
    check_tombstone(reader, n, offset, item.classification());
}

void VolumeCheck::check_tombstone(VolumeReader& reader, uint32_t n, uint32_t offset,
                                  const zstring& named)
{
    uint32_t old_offset = 0;
    if (!tombstone_offset(named, old_offset)) {
        add(CheckFinding::kBadTombstone, n,
            "the tombstone at offset " + number(offset) + " names no offset");
        return;
    }
    StoredQuote old_item;
    uint64_t size = 0;
    if (old_offset < m_header_size || !reader.read_record_at(old_offset, old_item, size))
        add(CheckFinding::kBadTombstone, n,
            "the tombstone at offset " + number(offset) + " names offset " +
                number(old_offset) + ", where no readable record starts");
}

void VolumeCheck::count_dead_bytes()
{
    std::sort(m_records.begin(), m_records.end(),
              [](const Span& a, const Span& b) { return a.start < b.start; });
    // Entries may share a record; count the bytes of overlapping spans once.
    uint64_t covered = 0;
    uint64_t reach = 0;
    for (const Span& span : m_records) {
        const uint64_t start = std::max(span.start, reach);
        const uint64_t end = std::min(span.end, m_data_size);
        if (end > start)
            covered += end - start;
        reach = std::max(reach, end);
    }
    const uint64_t record_bytes = m_data_size > m_header_size ? m_data_size - m_header_size : 0;
    m_dead_bytes = record_bytes > covered ? record_bytes - covered : 0;
}

void VolumeCheck::add(CheckFinding::Kind kind, int64_t entry, const std::string& text)
{
    m_findings.push_back(CheckFinding{kind, entry, text});
}
