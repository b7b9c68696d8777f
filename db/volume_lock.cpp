#include "db/volume_lock.h"

#include "db/pack_journal.h"
#include "db/volume_names.h"

namespace {

unsigned g_wait_ms = 5000;

}  // namespace

VolumeLock::VolumeLock() = default;

void VolumeLock::SetWait(unsigned milliseconds)
{
    g_wait_ms = milliseconds;
}

VolumeLock::Result VolumeLock::Acquire(const zstring& data_name, Access access)
{
    const zstring lock_name = lock_file_name(data_name);
    const FileLock::Result locked = m_lock.Lock(lock_name.c_str(), access == kWrite, g_wait_ms);
    if (locked == FileLock::kBusy)
        return kBusy;
    if (locked == FileLock::kNoLockFile)
        return kNoLockFile;
    if (!PackJournal(data_name).Pending())
        return kLocked;
    return finish_pack(data_name, access);
}

void VolumeLock::Release()
{
    m_lock.Unlock();
}

// Only a writer may finish the pack: a reader lets its lock go, finishes
// it as a writer and then reads.
VolumeLock::Result VolumeLock::finish_pack(const zstring& data_name, Access access)
{
    const zstring lock_name = lock_file_name(data_name);
    if (access == kRead &&
        m_lock.Lock(lock_name.c_str(), true, g_wait_ms) != FileLock::kLocked)
        return kBusy;
    PackJournal journal(data_name);
    const bool finished = !journal.Pending() || journal.Finish() != PackJournal::kFailed;
    if (!finished) {
        m_lock.Unlock();
        return kPackUnfinished;
    }
    if (access == kRead &&
        m_lock.Lock(lock_name.c_str(), false, g_wait_ms) != FileLock::kLocked)
        return kBusy;
    return kLocked;
}
