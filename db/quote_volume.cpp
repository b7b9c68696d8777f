#include "db/quote_volume.h"

#include <fstream>
#include <string>

#include "base/file_path.h"
#include "base/output_file.h"
#include "db/quote_item.h"
#include "db/volume_names.h"

namespace {

// What read_item reads first: the whole of nearly every record.
const size_t kFirstRead = 4096;

// The record at offset into item. Nearly every record is whole in the first
// read and decoded from memory; a longer one is read whole, and any other
// form is left to the stream reader. A record of another version reads as a
// failure, so the caller never shows the previous item's text under this
// number.
uint32_t read_record_from(std::ifstream& data, uint32_t offset, StoredQuote& item)
{
    if (!data.seekg(offset))
        return 0;
    std::string bytes(kFirstRead, '\0');
    std::string scratch;
    data.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(data.gcount()));
    size_t size = 0;
    StoredQuote::DecodeResult result = item.decode_record(bytes.data(), bytes.size(), size, scratch);
    if (result == StoredQuote::kTruncated && size > bytes.size() && data) {
        const size_t have = bytes.size();
        bytes.resize(size);
        data.read(&bytes[have], static_cast<std::streamsize>(size - have));
        bytes.resize(have + static_cast<size_t>(data.gcount()));
        result = item.decode_record(bytes.data(), bytes.size(), size, scratch);
    }
    if (result == StoredQuote::kDecoded || result == StoredQuote::kAsWritten)
        return 1;
    data.clear();
    if (!data.seekg(offset))
        return 0;
    return item.read_record(data) ? 1 : 0;
}

}  // namespace

QuoteVolume::Operation::Operation(QuoteVolume& volume, VolumeLock::Access access)
    : m_volume(volume), m_outermost(volume.m_depth++ == 0), m_ok(true)
{
    // The placeholder pair is no volume: nothing to lock, nothing to do.
    if (m_outermost)
        m_ok = !volume.m_bound || acquire(access, volume.m_data_name);
}

QuoteVolume::Operation::Operation(QuoteVolume& volume, VolumeLock::Access access,
                                  const zstring& data_name)
    : m_volume(volume), m_outermost(volume.m_depth++ == 0), m_ok(true)
{
    if (m_outermost)
        m_ok = acquire(access, data_name);
}

bool QuoteVolume::Operation::acquire(VolumeLock::Access access, const zstring& data_name)
{
    m_volume.m_failure = kNoFailure;
    m_volume.m_system_error = 0;
    switch (m_volume.m_lock.Acquire(data_name, access)) {
    case VolumeLock::kLocked:
        return true;
    case VolumeLock::kNoLockFile:
        // Where no lock file can be made nobody can write either: a reader
        // goes on, a writer would fail anyway.
        m_volume.m_failure = access == VolumeLock::kRead ? kNoFailure : kNoLockFile;
        return access == VolumeLock::kRead;
    case VolumeLock::kBusy:
        m_volume.m_failure = kBusy;
        return false;
    case VolumeLock::kPackUnfinished:
        m_volume.m_failure = kPackUnfinished;
        return false;
    }
    return false;
}

QuoteVolume::Operation::~Operation()
{
    if (--m_volume.m_depth == 0)
        m_volume.m_lock.Release();
}

const char* QuoteVolume::describe(Failure failure)
{
    switch (failure) {
    case kNoFailure:
        break;
    case kBusy:
        return "volume busy: another program is writing it";
    case kNoLockFile:
        return "its lock file cannot be made beside it";
    case kPackUnfinished:
        return "a pack that was cut short cannot be finished yet (a file of the volume is in use)";
    case kInUse:
        return "a file of the volume is in use by another program";
    case kUnsound:
        return "the volume is damaged; run recover";
    case kIndexLost:
        return "its index is lost";
    case kDiskFull:
        return "the disk is full";
    case kWriteFailed:
        return "it could not be written";
    }
    return "";
}

QuoteVolume::QuoteVolume()
    : m_data_name("default.std"), m_bound(false), m_depth(0), m_failure(kNoFailure),
      m_system_error(0)
{
}

QuoteVolume::~QuoteVolume() = default;

uint32_t QuoteVolume::fail(Failure failure)
{
    m_failure = failure;
    return 0;
}

uint32_t QuoteVolume::write_failed(unsigned long error)
{
    m_system_error = error;
    return fail(OutputFile::IsDiskFull(error) ? kDiskFull : kWriteFailed);
}

uint32_t QuoteVolume::append_record(const StoredQuote& item, uint32_t& offset)
{
    Operation operation(*this, VolumeLock::kWrite);
    // Counting makes the index of a new volume before its first record,
    // and refuses a volume whose index is lost.
    if (!m_bound || !operation.ok() || count() == QuoteIndexFile::kCannotOpen)
        return 0;
    std::string record;
    item.encode_record(record);
    // The data file must exist: one someone deleted is not made again here,
    // without its header.
    OutputFile data;
    const int64_t end = data.Open(m_data_name.c_str(), OutputFile::kExisting) ? data.Size() : -1;
    if (end < 0 || end > QuoteIndexFile::kLastOffset)
        return write_failed(data.Error());
    // Only the index makes the record reachable: bytes of a failed write
    // stay behind as dead space.
    if (!data.Write(record.data(), record.size()) || !data.Sync())
        return write_failed(data.Error());
    data.Close();
    offset = static_cast<uint32_t>(end);
    return 1;
}

uint32_t QuoteVolume::set_file_name(const zstring& name)
{
    m_data_name = name;
    m_index.set_name(index_file_name(name));
    m_bound = true;
    return 1;
}

uint32_t QuoteVolume::reopen(const zstring& name)
{
    return set_file_name(name);
}

uint32_t QuoteVolume::count()
{
    Operation operation(*this, VolumeLock::kRead);
    // The placeholder pair is no volume: counting would make its index.
    if (!m_bound || !operation.ok())
        return QuoteIndexFile::kCannotOpen;
    if (FilePath::KindOf(m_index.name().c_str()) == FilePath::kMissing &&
        FilePath::FileSize(m_data_name.c_str()) > static_cast<int64_t>(header_size())) {
        fail(kIndexLost);
        return QuoteIndexFile::kCannotOpen;
    }
    return m_index.count();
}

uint64_t QuoteVolume::header_size()
{
    return 0;
}

uint32_t QuoteVolume::create()
{
    return 1;
}

uint32_t QuoteVolume::is_deleted(const QuoteItem&)
{
    return 0;
}

uint32_t QuoteVolume::read_item(uint32_t n, StoredQuote& item)
{
    Operation operation(*this, VolumeLock::kRead);
    uint32_t offset = 0;
    if (!m_bound || !operation.ok() || !read_entry(n, offset) || offset == QuoteIndexFile::kErased ||
        FilePath::KindOf(m_data_name.c_str()) != FilePath::kRegular)
        return 0;
    std::ifstream data(m_data_name.c_str(), std::ios::binary);
    if (!data.is_open())
        return 0;
    return read_record_from(data, offset, item);
}

uint32_t QuoteVolume::read_entry(uint32_t n, uint32_t& offset)
{
    Operation operation(*this, VolumeLock::kRead);
    return m_bound && operation.ok() ? m_index.read_entry(n, offset) : 0;
}

uint32_t QuoteVolume::append_item(const StoredQuote& item)
{
    Operation operation(*this, VolumeLock::kWrite);
    uint32_t offset = 0;
    if (!operation.ok() || !append_record(item, offset))
        return 0;
    // A record whose entry was not written stays behind as dead space.
    if (m_index.append_entry(offset) == QuoteIndexFile::kCannotOpen)
        return write_failed(m_index.error());
    return 1;
}

uint32_t QuoteVolume::replace_item(uint32_t n, const StoredQuote& item)
{
    Operation operation(*this, VolumeLock::kWrite);
    uint32_t offset = 0;
    if (!m_bound || !operation.ok() || !read_entry(n, offset))
        return 0;
    const uint32_t appended = append_record(item, offset);
    if (appended != 1)
        return appended;
    // The old record stays behind as dead space until the next pack.
    return m_index.write_entry(n, offset) ? 1 : write_failed(m_index.error());
}

uint32_t QuoteVolume::erase_entry(uint32_t n)
{
    Operation operation(*this, VolumeLock::kWrite);
    if (!m_bound || !operation.ok())
        return 0;
    return m_index.erase_entry(n) ? 1 : write_failed(m_index.error());
}

uint32_t move_volume_file(const zstring& from, const zstring& to)
{
    if (from == to)
        return 1;
    FilePath file;
    if (!file.SetPath(from))
        return 0;
    return file.Rename(to) ? 1 : 0;
}

uint32_t delete_volume_file(const zstring& name)
{
    FilePath file;
    if (!file.SetPath(name))
        return 0;
    if (file.Exists())
        file.Remove();
    return file.Exists() ? 0 : 1;
}
