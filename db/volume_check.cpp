#include "db/volume_check.h"

#include <algorithm>
#include <fstream>

#include "base/file_path.h"
#include "db/quote_index_file.h"
#include "db/quote_item.h"
#include "db/volume_reader.h"

namespace {

std::string number(uint64_t n)
{
    return std::to_string(n);
}

// Opens a data file for its header; the kind of file is looked at first,
// since opening a pipe would wait for a writer.
DataHeaderState open_data_file(const zstring& data_name, std::ifstream& in)
{
    const FilePath::Kind kind = FilePath::KindOf(data_name.c_str());
    if (kind == FilePath::kNotRegular)
        return DataHeaderState::kNotRegular;
    if (kind != FilePath::kRegular)
        return DataHeaderState::kUnreadable;
    in.open(data_name.c_str(), std::ios::in | std::ios::binary);
    return in.is_open() ? DataHeaderState::kVolume : DataHeaderState::kUnreadable;
}

}  // namespace

DataHeaderState read_data_header(const zstring& data_name, FileHeader& header,
                                 uint64_t& header_end)
{
    header_end = 0;
    std::ifstream in;
    const DataHeaderState opened = open_data_file(data_name, in);
    if (opened != DataHeaderState::kVolume)
        return opened;
    header.read(in);
    // A read the system failed is no sign of a foreign file.
    if (in.bad())
        return DataHeaderState::kReadError;
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
    case DataHeaderState::kNotRegular:
        return VolumeReader::kNotRegularText;
    case DataHeaderState::kReadError:
        return "cannot be read: I/O error";
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
    : m_problems(0), m_notes(0), m_kept_problems(0), m_kept_notes(0), m_referenced(0),
      m_entries(0), m_live(0), m_tombstones(0), m_data_size(0), m_header_size(0), m_dead_bytes(0)
{
}

int VolumeCheck::run(const zstring& data_name, const zstring& index_name)
{
    if (!check_header(data_name))
        return 0;
    VolumeReader reader;
    if (!reader.open(data_name, index_name)) {
        refused(reader, data_name, index_name);
        return 0;
    }
    m_data_size = reader.data_size();
    check_index_size(reader);
    check_entries(reader);
    count_dead_bytes();
    return m_problems == 0 ? 1 : 0;
}

uint64_t VolumeCheck::problems_left_out() const
{
    return m_problems - m_kept_problems;
}

uint64_t VolumeCheck::notes_left_out() const
{
    return m_notes - m_kept_notes;
}

int VolumeCheck::check_header(const zstring& data_name)
{
    FileHeader header;
    const DataHeaderState state = read_data_header(data_name, header, m_header_size);
    if (state == DataHeaderState::kVolume)
        return 1;
    add(CheckFinding::kHeader, -1, [&] { return describe_data_header(state, header); });
    return 0;
}

void VolumeCheck::refused(const VolumeReader& reader, const zstring& data_name,
                          const zstring& index_name)
{
    CheckFinding::Kind kind = reader.index_failed() ? CheckFinding::kIndexMissing
                                                    : CheckFinding::kHeader;
    if (reader.failure() == VolumeReader::kTooLarge)
        kind = CheckFinding::kTooLarge;
    add(kind, -1, [&] {
        return (reader.index_failed() ? std::string("the index ") + index_name.c_str()
                                      : std::string("the data file ") + data_name.c_str()) +
               ": " + reader.failure_text();
    });
}

void VolumeCheck::check_index_size(const VolumeReader& reader)
{
    // The reader counts whole entries only and passes over a partial one.
    const uint64_t stray = reader.index_size() % QuoteIndexFile::kEntrySize;
    if (stray > 0)
        add(CheckFinding::kPartialEntry, reader.count(), [&] {
            return "the index ends with a partial entry of " + number(stray) +
                   (stray == 1 ? " byte" : " bytes");
        });
}

void VolumeCheck::check_entries(VolumeReader& reader)
{
    m_entries = reader.count();
    for (uint32_t n = 0; n < m_entries; ++n) {
        uint32_t offset = 0;
        if (!reader.read_entry(n, offset)) {
            add(CheckFinding::kNoRecord, n, [] { return std::string("the entry cannot be read"); });
            continue;
        }
        check_entry(reader, n, offset);
    }
}

void VolumeCheck::check_entry(VolumeReader& reader, uint32_t n, uint32_t offset)
{
    if (offset == QuoteIndexFile::kErased) {
        add(CheckFinding::kErased, n, [] { return std::string("erased"); });
        return;
    }
    if (offset < m_header_size || offset >= m_data_size) {
        add(CheckFinding::kOutOfRange, n, [&] {
            return "offset " + number(offset) + " lies outside the records (bytes " +
                   number(m_header_size) + " to " + number(m_data_size) + ")";
        });
        return;
    }
    StoredQuote item;
    uint64_t size = 0;
    if (!reader.read_record_at(offset, item, size)) {
        add(CheckFinding::kNoRecord, n,
            [&] { return "no whole version-3 record at offset " + number(offset); });
        return;
    }
    m_referenced += std::min<uint64_t>(size, m_data_size - offset);
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
            [&] { return "the tombstone at offset " + number(offset) + " names no offset"; });
        return;
    }
    StoredQuote old_item;
    uint64_t size = 0;
    if (old_offset < m_header_size || !reader.read_record_at(old_offset, old_item, size))
        add(CheckFinding::kBadTombstone, n, [&] {
            return "the tombstone at offset " + number(offset) + " names offset " +
                   number(old_offset) + ", where no readable record starts";
        });
}

void VolumeCheck::count_dead_bytes()
{
    const uint64_t record_bytes = m_data_size > m_header_size ? m_data_size - m_header_size : 0;
    m_dead_bytes = record_bytes > m_referenced ? record_bytes - m_referenced : 0;
}

template <class Text>
void VolumeCheck::add(CheckFinding::Kind kind, int64_t entry, Text text)
{
    const bool problem = CheckFinding{kind, entry, std::string()}.problem();
    uint64_t& kept = problem ? m_kept_problems : m_kept_notes;
    ++(problem ? m_problems : m_notes);
    if (kept >= kKeptFindings)
        return;
    ++kept;
    m_findings.push_back(CheckFinding{kind, entry, text()});
}
