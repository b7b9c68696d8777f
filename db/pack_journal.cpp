#include "db/pack_journal.h"

#include <string>

#include "base/file_path.h"
#include "base/output_file.h"
#include "db/quote_volume.h"
#include "db/volume_names.h"

namespace {

bool missing(const zstring& name)
{
    return FilePath::FileMissing(name.c_str()) != 0;
}

// Moves from onto to, replacing it; nothing to do once from is gone.
bool move_if_there(const zstring& from, const zstring& to)
{
    return missing(from) || OutputFile::Replace(from.c_str(), to.c_str());
}

}  // namespace

PackJournal::PackJournal(const zstring& data_name)
    : m_data(data_name), m_journal(pack_journal_name(data_name)),
      m_packed(pack_file_name(data_name)), m_old(old_file_name(data_name)),
      m_backup(backup_file_name(data_name))
{
}

bool PackJournal::Pending() const
{
    return !missing(m_journal);
}

int PackJournal::Begin()
{
    const std::string text = std::string("A pack of ") + m_data.c_str() +
                             " was decided: its packed pair is complete and flushed.\n";
    zstring temporary(m_journal);
    temporary.append(".new");
    OutputFile journal;
    const int written = journal.Open(temporary.c_str(), OutputFile::kReplace) &&
                        journal.Write(text.data(), text.size()) && journal.Sync() &&
                        journal.Close();
    if (written && OutputFile::Replace(temporary.c_str(), m_journal.c_str()))
        return 1;
    journal.Close();
    delete_volume_file(temporary);
    return 0;
}

PackJournal::Result PackJournal::Finish()
{
    const Result aside = step_aside();
    if (aside != kDone)
        return aside;
    if (!move_if_there(index_file_name(m_packed), index_file_name(m_data)) ||
        !move_if_there(m_packed, m_data))
        return kFailed;
    OutputFile::SyncFolder(m_data.c_str());
    if (!move_if_there(index_file_name(m_old), index_file_name(m_backup)) ||
        !move_if_there(m_old, m_backup))
        return kBackupPending;
    return delete_volume_file(m_journal) ? kDone : kBackupPending;
}

// Step 1, while the packed pair has not begun to move in.
PackJournal::Result PackJournal::step_aside()
{
    const zstring index = index_file_name(m_data);
    const zstring old_index = index_file_name(m_old);
    if (missing(m_packed) || missing(index_file_name(m_packed)))
        return kDone;
    if (!move_if_there(index, old_index))
        return undo();
    if (!move_if_there(m_data, m_old)) {
        move_if_there(old_index, index);
        return undo();
    }
    return kDone;
}

PackJournal::Result PackJournal::undo()
{
    if (!missing(index_file_name(m_data)) && !missing(m_data))
        delete_volume_file(m_journal);
    return missing(m_journal) ? kUndone : kFailed;
}
