#pragma once

#include <cstdint>

// The last item numbers shown, oldest first, for stepping back. The last
// entry is normally the item on show.
class NavigationHistory {
public:
    static const int kCapacity = 100;

    // Appends a number that has just been shown; when full, the oldest
    // entry is dropped.
    void Record(std::uint32_t number);

    // Finds the item to step back to from the one on show, skipping the
    // entry that is on show. Returns 1 with the candidate, which the caller
    // then shows and records again, or 0 when there is none and the caller
    // beeps. Either way the entries from the candidate on are given up.
    int StepBack(std::uint32_t on_show, std::uint32_t& candidate);

    // The number of entries; -1 before the first one.
    int Top() const { return m_top; }
    std::uint32_t Entry(int index) const { return m_entries[index]; }

private:
    int m_top = -1;
    std::uint32_t m_entries[kCapacity] = {};
};
