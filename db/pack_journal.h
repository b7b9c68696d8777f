#pragma once

#include "base/zstring.h"

// How a pack swaps a packed pair in without ever losing the volume, even
// when it is killed at any system call.
//
// For a volume D with index I, the packed pair P/PI is written, flushed and
// checked first; until then the volume is untouched and a cut-short pack
// leaves only P/PI behind, which the next pack replaces. Then the journal J
// is made (written under a temporary name, flushed, moved into place): from
// that moment the pack is decided. Finishing it is a sequence of moves,
// each made only while its source exists, so running it again after a kill
// at any point carries on where the last run stopped:
//   1. while P and PI both wait: I -> OI, D -> OD (the live pair steps aside;
//      if either cannot move, it steps back, J is deleted and the pack is
//      undone: the volume is as it was)
//   2. PI -> I, P -> D (the packed pair is live)
//   3. OI -> BI, OD -> B, replacing the previous backup pair
//   4. J is deleted.
// Between the moves the live names may hold no pair or half of one, so
// every operation on the volume first finishes a pack whose journal it
// finds, holding the volume's lock (VolumeLock does this).
class PackJournal {
public:
    enum Result {
        kDone,
        kBackupPending,  // the packed pair is live; the old one waits at OD/OI
        kUndone,         // the live pair could not step aside; nothing changed
        kFailed,         // stopped half way: the next operation tries again
    };

    explicit PackJournal(const zstring& data_name);

    // Whether a pack was decided and not finished.
    bool Pending() const;
    // Makes the journal durably; 1 once it is there.
    int Begin();
    // Carries out the moves above; the journal goes once they are all made.
    Result Finish();

private:
    Result step_aside();
    Result undo();

    zstring m_data;
    zstring m_journal;
    zstring m_packed;
    zstring m_old;
    zstring m_backup;
};
