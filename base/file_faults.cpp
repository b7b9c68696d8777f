#include "base/file_faults.h"

#include <atomic>

namespace {

std::atomic<int> g_mode{FileFaults::kOff};
std::atomic<uint64_t> g_calls{0};
std::atomic<uint64_t> g_target{0};

}  // namespace

void FileFaults::Arm(uint64_t n, Mode mode)
{
    g_calls = 0;
    g_target = n;
    g_mode = mode;
}

void FileFaults::Disarm()
{
    g_mode = kOff;
}

uint64_t FileFaults::Calls()
{
    return g_calls;
}

bool FileFaults::Hit()
{
    const int mode = g_mode.load(std::memory_order_relaxed);
    if (mode == kOff)
        return false;
    const uint64_t call = ++g_calls;
    return mode == kFailOnce ? call == g_target : call >= g_target;
}
