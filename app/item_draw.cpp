#include "app/item_draw.h"

#include <chrono>

namespace {

const std::uint32_t kFailedCount = 0xFFFFFFFFu;
// Draws tried before the scan; on a volume that is mostly live the scan
// is almost never reached, so the draw stays uniform over the live items.
const int kDraws = 16;

}  // namespace

std::mt19937 ClockSeededGenerator()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                       static_cast<std::uint32_t>(tick)};
    return std::mt19937(seed);
}

std::uint32_t DrawBelow(std::uint32_t count, std::mt19937& generator)
{
    // 2^32 is seldom a multiple of count: the lowest 2^32 % count raw values
    // are drawn again, so each result has the same number of raw values.
    const std::uint32_t skip = (0u - count) % count;
    std::uint32_t raw = 0;
    do
        raw = static_cast<std::uint32_t>(generator());
    while (raw < skip);
    return raw % count;
}

std::int64_t DrawItem(std::uint32_t count, std::mt19937& generator,
                      const IsLiveItem& is_live)
{
    if (count == 0 || count == kFailedCount)
        return -1;
    for (int i = 0; i < kDraws; ++i) {
        const std::uint32_t number = DrawBelow(count, generator);
        if (is_live(number))
            return number;
    }
    const std::uint32_t start = DrawBelow(count, generator);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint64_t number = std::uint64_t{start} + i;
        if (number >= count)
            number -= count;
        if (is_live(static_cast<std::uint32_t>(number)))
            return static_cast<std::int64_t>(number);
    }
    return -1;
}
