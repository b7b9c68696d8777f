// The whole-file operations of a volume: moving, erasing, copying and
// packing. Records are only ever appended, so packing is what gives back
// the space of edited and deleted items.
#include "db/quote_item.h"
#include "db/quote_volume.h"
#include "db/volume_names.h"

uint32_t QuoteVolume::rename(const zstring& name)
{
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
    const uint32_t index_gone = delete_volume_file(m_index.name());
    const uint32_t data_gone = delete_volume_file(m_data_name);
    return index_gone && data_gone ? 1 : 0;
}

uint32_t QuoteVolume::copy_to(const zstring& name)
{
    if (name == m_data_name)
        return 0;
    QuoteVolume source;
    source.set_file_name(m_data_name);
    // Clear the target first: binding to a file that is already there would
    // open it, and a refused open keeps the source's names, which the erase
    // below would then delete.
    if (!delete_volume_file(index_file_name(name)) || !delete_volume_file(name))
        return 0;
    // A copy that cannot be started or finished leaves this volume bound to
    // the source, which it has not touched.
    if (!set_file_name(name) || !erase_files() || !create() || !copy_items(source)) {
        set_file_name(source.file_name());
        return 0;
    }
    return set_file_name(source.file_name());
}

// Appends the live items of source in order. Tombstones, erased entries and
// unreadable records are left out; an item that cannot be written fails the
// whole copy, since a pack must never swap in a volume missing items.
uint32_t QuoteVolume::copy_items(QuoteVolume& source)
{
    const uint32_t entries = source.count();
    if (entries == QuoteIndexFile::kCannotOpen)
        return 0;
    for (uint32_t i = 0; i < entries; ++i) {
        StoredQuote item;
        if (!source.read_item(i, item))
            continue;
        if (!is_deleted(item) && !append_item(item))
            return 0;
    }
    return 1;
}

uint32_t QuoteVolume::pack()
{
    const zstring live = m_data_name;
    const zstring packed = pack_file_name(live);
    const zstring backup = backup_file_name(live);
    if (!copy_to(packed))
        return 0;

    // One backup generation: the previous one goes first. A file that
    // cannot be deleted makes the move below fail, which leaves the live
    // pair in place.
    delete_volume_file(index_file_name(backup));
    delete_volume_file(backup);
    if (!rename(backup))
        return 0;

    // The live names are free now; the backup holds every item.
    set_file_name(packed);
    if (rename(live))
        return 1;
    restore_live_pair(live, backup);
    return 0;
}

// After the packed pair failed to take the live names: put the backup back
// under them, so the user finds the volume as it was before the pack. When
// even that fails the volume stays bound to the complete backup.
uint32_t QuoteVolume::restore_live_pair(const zstring& live, const zstring& backup)
{
    set_file_name(backup);
    if (rename(live))
        return 1;
    set_file_name(backup);
    return 0;
}
