#pragma once

#include <cstdint>
#include <functional>
#include <random>

// Choosing a random item: every item of a volume equally likely whatever
// its size, and never a deleted or unreadable entry while a live one exists.

// Tells whether the entry with this number reads as a live item.
using IsLiveItem = std::function<bool(std::uint32_t number)>;

// A generator seeded from the clock, for the application to hold.
std::mt19937 ClockSeededGenerator();

// A number in 0..count-1, each equally likely; count must not be 0.
std::uint32_t DrawBelow(std::uint32_t count, std::mt19937& generator);

// Draws among `count` entries until a live one comes up; after a few dead
// draws it scans on from a random entry instead. Returns the item number,
// or -1 when no entry is live, when count is 0 and when count is
// 0xFFFFFFFF (the failed count).
std::int64_t DrawItem(std::uint32_t count, std::mt19937& generator,
                      const IsLiveItem& is_live);
