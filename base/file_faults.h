#pragma once

#include <cstdint>

// A seam for tests: every call that changes a file (opening one for
// writing, a write, a flush, a close after writing, a move, a replace, a
// deletion) asks Hit() first and fails as the system would when told to.
// Armed, the Nth such call fails once, or every call from the Nth on fails
// without touching the disk: what is on disk then is exactly what a process
// killed at that call leaves. Off (as in every run of the program) it costs
// one load per call.
class FileFaults {
public:
    enum Mode { kOff, kFailOnce, kDeadFrom };

    // Counts calls from 1 again; call n (or every call from n) fails.
    static void Arm(uint64_t n, Mode mode);
    static void Disarm();
    // The file-changing calls made since the last Arm.
    static uint64_t Calls();
    // True when this call must fail.
    static bool Hit();
};
