#pragma once

#include "base/file_lock.h"
#include "base/zstring.h"

// The lock of one volume, on its lock file D + ".lck" beside the data file
// D (that file is never moved, so the lock holds across a pack's moves).
// Readers share it; a writer holds it alone, for the whole of its
// operation and no longer. Taking it first finishes a pack that was cut
// short there (PackJournal), so nobody reads a half-swapped pair.
class VolumeLock {
public:
    enum Access { kRead, kWrite };
    enum Result {
        kLocked,
        kBusy,            // another program kept it past the wait
        kNoLockFile,      // no lock file can be made there (a reader goes on without)
        kPackUnfinished,  // a cut-short pack was found and cannot be finished
    };

    VolumeLock();
    Result Acquire(const zstring& data_name, Access access);
    void Release();

    // How long a lock is waited for before the volume counts as busy.
    static void SetWait(unsigned milliseconds);

private:
    Result finish_pack(const zstring& data_name, Access access);

    FileLock m_lock;
};
