#include "db/quote_database.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "base/file_path.h"
#include "base/output_file.h"
#include "db/file_header.h"
#include "db/quote_item.h"
#include "db/volume_names.h"

namespace {

const char* const kDefaultVolume = "Volume01.STD";

}  // namespace

QuoteDatabaseV2::QuoteDatabaseV2() : QuoteDatabaseV2(zstring(kDefaultVolume)) {}

QuoteDatabaseV2::QuoteDatabaseV2(const zstring& name) : m_header_valid(1)
{
    // The shell's random choice of item draws from rand().
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    open(name, true);
}

QuoteDatabaseV2::~QuoteDatabaseV2() = default;

uint32_t QuoteDatabaseV2::set_file_name(const zstring& name)
{
    return open(name, true);
}

uint32_t QuoteDatabaseV2::reopen(const zstring& name)
{
    return open(name, false);
}

// Not virtual on purpose: the constructor calls it before any derived
// database exists.
uint32_t QuoteDatabaseV2::open(const zstring& name, bool may_create)
{
    // A name that can never hold a volume leaves the database where it is.
    zstring checked = name;
    if (!FilePath::CheckName(checked))
        return 0;
    // A volume is made only where there is truly no file: one that another
    // program holds, that cannot be read, or that is no regular file (a
    // folder, a pipe) is refused untouched.
    const FilePath::Kind kind = FilePath::KindOf(name.c_str());
    if (kind != FilePath::kRegular && (kind != FilePath::kMissing || !may_create))
        return 0;
    // Held alone: a pack cut short there is finished first, and nobody
    // makes the volume at the same time.
    Operation operation(*this, VolumeLock::kWrite, name);
    if (!operation.ok())
        return 0;
    if (FilePath::FileMissing(name.c_str()))
        return open_new(name);
    FileHeader found;
    {
        std::ifstream data(name.c_str(), std::ios::binary);
        if (!data.is_open())
            return 0;
        found.read(data);
    }
    if (!found.found()) {
        m_header_valid = 0;
        return 0;
    }
    m_header_valid = 1;
    FileHeader expected;
    fill_header(expected);
    if (found.brand() != expected.brand())
        return 0;
    if (found.version() != expected.version() && !convert_format(name, found))
        return 0;
    return bind(name);
}

// Makes a new volume at name. When it cannot be made the database goes back
// to the pair it had, or stays without one.
uint32_t QuoteDatabaseV2::open_new(const zstring& name)
{
    // An index that holds entries is all that is left of a volume whose
    // data file went missing: making the volume anew would delete it.
    if (FilePath::FileSize(index_file_name(name).c_str()) > 0)
        return 0;
    const zstring previous = file_name();
    const bool was_bound = bound();
    bind(name);
    if (create())
        return 1;
    if (was_bound)
        bind(previous);
    else
        unbind();
    return 0;
}

// Takes the names of the pair and keeps the current index choice.
uint32_t QuoteDatabaseV2::bind(const zstring& name)
{
    IndexedQuoteVolume::set_file_name(name);
    select_index(current_index());
    return 1;
}

uint32_t QuoteDatabaseV2::create()
{
    Operation operation(*this, VolumeLock::kWrite);
    if (!bound() || !operation.ok())
        return 0;
    select_main_index();
    zstring index_path = index_name();
    if (!FilePath::CheckName(index_path)) {
        erase_files();
        return 0;
    }
    FileHeader header;
    fill_header(header);
    std::ostringstream bytes;
    header.write(bytes);
    const std::string text = bytes.str();
    zstring temporary(file_name());
    temporary.append(".new");
    OutputFile data;
    if (!data.Open(temporary.c_str(), OutputFile::kReplace) ||
        !data.Write(text.data(), text.size()) || !data.Sync() || !data.Close()) {
        data.Close();
        delete_volume_file(temporary);
        return write_failed(data.Error());
    }
    // The index goes first: killed between the two steps, the old records
    // stay in the data file, where recovery finds them.
    if (!delete_volume_file(index_name()) ||
        !OutputFile::Replace(temporary.c_str(), file_name().c_str())) {
        delete_volume_file(temporary);
        return 0;
    }
    // The index file is made, empty, by the next index operation.
    return 1;
}

uint64_t QuoteDatabaseV2::header_size()
{
    FileHeader header;
    fill_header(header);
    std::ostringstream bytes;
    header.write(bytes);
    return bytes.str().size();
}

uint32_t QuoteDatabaseV2::is_deleted(const QuoteItem& item)
{
    return item.is_deleted() ? 1 : 0;
}

uint32_t QuoteDatabaseV2::convert_format(const zstring&, const FileHeader&)
{
    return 0;
}

double QuoteDatabaseV2::format_version()
{
    return kVolumeVersion;
}

void QuoteDatabaseV2::fill_header(FileHeader& header)
{
    fill_volume_header(header);
    header.set_version(format_version());
}

uint32_t QuoteDatabaseV2::delete_item(QuoteEntry& entry)
{
    const int32_t position = entry.position();
    if (position == QuoteEntry::kNotStored)
        return 1;
    Operation operation(*this, VolumeLock::kWrite);
    if (!bound() || !operation.ok())
        return 0;
    select_main_index();
    uint32_t old_offset = 0;
    if (count() == 0 || !read_entry(static_cast<uint32_t>(position), old_offset))
        return 0;

    const zstring classification = entry.classification();
    const zstring text = entry.text();
    entry.set_classification(tombstone_classification(old_offset));
    entry.set_text(zstring(kTombstoneText));
    // The item keeps its number and frequency; only the entry moves.
    entry.set_position(QuoteEntry::kNotStored);
    uint32_t new_offset = 0;
    uint32_t deleted = append_record(entry, new_offset);
    // A tombstone whose entry could not be repointed stays behind as dead
    // space; the entry still points at the item.
    if (deleted == 1)
        deleted = index().write_entry(static_cast<uint32_t>(position), new_offset);
    entry.set_position(position);
    if (deleted != 1) {
        // Nothing changed on disk: the entry keeps showing the item.
        entry.set_classification(classification);
        entry.set_text(text);
    }
    return deleted;
}

uint32_t QuoteDatabaseV2::undelete_item(QuoteEntry& entry)
{
    const int32_t position = entry.position();
    Operation operation(*this, VolumeLock::kWrite);
    if (position == -1 || position == -2 || !bound() || !operation.ok())
        return 0;
    select_main_index();
    if (!is_deleted(entry))
        return 1;
    uint32_t old_offset = 0;
    if (position < 0 || !tombstone_offset(entry.classification(), old_offset))
        return 0;
    return index().write_entry(static_cast<uint32_t>(position), old_offset);
}
