// The whole-file operations of a volume: moving, erasing, copying and
// packing. Records are only ever appended, so packing is what gives back
// the space of edited and deleted items.
#include "base/file_path.h"
#include "base/output_file.h"
#include "db/pack_journal.h"
#include "db/quote_item.h"
#include "db/quote_volume.h"
#include "db/volume_appender.h"
#include "db/volume_check.h"
#include "db/volume_names.h"
#include "db/volume_reader.h"
#include "db/volume_recovery.h"

uint32_t QuoteVolume::rename(const zstring& name)
{
    Operation operation(*this, VolumeLock::kWrite);
    if (!m_bound || !operation.ok())
        return 0;
    const zstring old_index = m_index.name();
    const zstring new_index = index_file_name(name);
    if (!move_volume_file(old_index, new_index))
        return 0;
    if (!move_volume_file(m_data_name, name)) {
        // Left here, the live name would hold data without its index, and
        // the next count would make an empty one there.
        move_volume_file(new_index, old_index);
        return 0;
    }
    return set_file_name(name);
}

uint32_t QuoteVolume::erase_files()
{
    Operation operation(*this, VolumeLock::kWrite);
    if (!m_bound || !operation.ok())
        return 0;
    const uint32_t index_gone = delete_volume_file(m_index.name());
    const uint32_t data_gone = delete_volume_file(m_data_name);
    return index_gone && data_gone ? 1 : 0;
}

// Whether name, or the index name derived from it, is one of this volume's
// two files under any spelling.
bool QuoteVolume::is_own_file(const zstring& name) const
{
    const zstring index = index_file_name(name);
    return FilePath::SameFile(name, m_data_name) || FilePath::SameFile(name, m_index.name()) ||
           FilePath::SameFile(index, m_data_name) || FilePath::SameFile(index, m_index.name());
}

uint32_t QuoteVolume::copy_to(const zstring& name)
{
    Operation operation(*this, VolumeLock::kWrite);
    if (!m_bound || !operation.ok() || name == m_data_name || is_own_file(name))
        return 0;
    // The source is opened before anything is touched: one that another
    // program holds unreadable is refused while this volume is still bound
    // to it. Counting first makes a missing index, as every index operation
    // does, so a volume that never had an item copies as empty.
    const zstring source = m_data_name;
    VolumeReader reader;
    if (count() == QuoteIndexFile::kCannotOpen || !reader.open(source, m_index.name()))
        return 0;
    // Clear the target first: binding to a file that is already there would
    // open it, and a refused open keeps the source's names, which the erase
    // below would then delete.
    if (!delete_volume_file(index_file_name(name)) || !delete_volume_file(name))
        return 0;
    // With the pair gone, opening name makes a new volume holding only its
    // header (a plain volume has no header to make).
    const uint32_t copied = set_file_name(name) && copy_items(reader);
    // A copy that cannot be finished is removed; this volume goes back to
    // the source, which it has not touched, without ever making it anew.
    if (!copied && m_data_name != source && !FilePath::SameFile(m_data_name, source))
        erase_files();
    const uint32_t reopened = reopen(source);
    return copied && reopened ? 1 : 0;
}

// Appends the live items the reader finds, in order, through one data
// stream, and their entries to the index at the end. Tombstones, erased
// entries and unreadable records are left out (pack refuses a volume that
// has any of the last, and counts what its copy holds); an item that cannot
// be written fails the whole copy.
uint32_t QuoteVolume::copy_items(VolumeReader& reader)
{
    VolumeAppender copy;
    if (!copy.open(m_data_name, m_index.name()))
        return write_failed(copy.error());
    StoredQuote item;
    for (uint32_t i = 0; i < reader.count(); ++i) {
        const char* bytes = nullptr;
        uint64_t size = 0;
        if (!reader.read_item_bytes(i, item, bytes, size) || is_deleted(item))
            continue;
        // A record already in the form the copy would write goes as it is.
        const int appended = bytes ? copy.append_record_bytes(bytes, static_cast<size_t>(size))
                                   : copy.append(item);
        if (!appended)
            return write_failed(copy.error());
    }
    return copy.commit() && copy.verify() ? 1 : write_failed(copy.error());
}

uint32_t QuoteVolume::pack()
{
    Operation operation(*this, VolumeLock::kWrite);
    if (!m_bound || !operation.ok())
        return 0;
    const zstring live = m_data_name;
    // The backup of a pack whose backup could not be kept yet would be lost.
    if (PackJournal(live).Pending())
        return fail(kPackUnfinished);
    VolumeCheck source;
    if (!source.run(live, m_index.name()))
        return fail(kUnsound);
    // The copy read its records back as written (VolumeAppender::verify);
    // it must hold one entry for each live item of the source.
    const zstring packed = pack_file_name(live);
    if (!copy_to(packed) ||
        FilePath::FileSize(index_file_name(packed).c_str()) !=
            static_cast<int64_t>(source.live()) * QuoteIndexFile::kEntrySize) {
        delete_volume_file(index_file_name(packed));
        delete_volume_file(packed);
        return m_failure == kNoFailure ? fail(kWriteFailed) : 0;
    }
    return swap_in_packed(live);
}

// From the journal on the pack is decided: it is finished here, or by the
// next operation on the volume, whatever stops this one.
uint32_t QuoteVolume::swap_in_packed(const zstring& live)
{
    PackJournal journal(live);
    if (!journal.Begin()) {
        delete_volume_file(index_file_name(pack_file_name(live)));
        delete_volume_file(pack_file_name(live));
        return fail(kWriteFailed);
    }
    switch (journal.Finish()) {
    case PackJournal::kDone:
    case PackJournal::kBackupPending:
        return 1;
    case PackJournal::kUndone:
        delete_volume_file(index_file_name(pack_file_name(live)));
        delete_volume_file(pack_file_name(live));
        return fail(kInUse);
    case PackJournal::kFailed:
        break;
    }
    return fail(kPackUnfinished);
}

// The rebuilt pair is a byte copy of the data file with a new index, so the
// new index serves the data file as it is: only the index is swapped. Each
// step is one move, and at every point the live names hold the damaged pair
// (the next start offers the rebuild again) or the repaired one.
uint32_t QuoteVolume::rebuild_index(uint32_t& items)
{
    Operation operation(*this, VolumeLock::kWrite);
    if (!m_bound || !operation.ok())
        return 0;
    VolumeRecovery recovery;
    // A rebuilt pair left by a rebuild that was cut short is ours to replace.
    const zstring rebuilt = zstring(m_data_name).append(".rec.STD");
    delete_volume_file(index_file_name(rebuilt));
    delete_volume_file(rebuilt);
    if (recovery.run(m_data_name) != VolumeRecovery::kDone)
        return fail(kWriteFailed);
    VolumeCheck check;
    const zstring damaged = damaged_file_name(m_data_name);
    const bool swapped =
        check.run(recovery.new_data_name(), recovery.new_index_name()) &&
        (FilePath::FileMissing(m_index.name().c_str()) ||
         OutputFile::Replace(m_index.name().c_str(), index_file_name(damaged).c_str())) &&
        OutputFile::Replace(recovery.new_index_name().c_str(), m_index.name().c_str());
    if (!swapped) {
        delete_volume_file(recovery.new_index_name());
        delete_volume_file(recovery.new_data_name());
        return fail(kWriteFailed);
    }
    OutputFile::Replace(recovery.new_data_name().c_str(), damaged.c_str());
    items = static_cast<uint32_t>(recovery.items().size());
    return 1;
}

ItemTest::~ItemTest() = default;

int64_t QuoteVolume::find_item(uint32_t after, ItemTest& test)
{
    Operation operation(*this, VolumeLock::kRead);
    VolumeReader reader;
    if (!m_bound || !operation.ok() || !reader.open(m_data_name, m_index.name()) ||
        reader.count() == 0)
        return -1;
    const uint32_t count = reader.count();
    const uint32_t first = after < count ? after + 1 : 0;
    StoredQuote item;
    for (uint32_t step = 0; step < count; ++step) {
        const uint32_t n = (first + step) % count;
        const char* bytes = nullptr;
        uint64_t size = 0;
        if (reader.read_item_bytes(n, item, bytes, size) && !is_deleted(item) && test.matches(item))
            return n;
    }
    return -1;
}
