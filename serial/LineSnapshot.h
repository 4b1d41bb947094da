#pragma once

#include <array>
#include <cstdint>

// The three contacts the race reads, in the order the loop looks at them.
enum class Contact { Start, Lane1, Lane2 }; // DCD, CTS, DSR
inline constexpr std::size_t contactCount = 3;

// What the line sampler last read of the three inputs, and when each current closure began.
struct LineSnapshot {
    // Closed (the line on) at the last read.
    std::array<bool, contactCount> closed{};
    // The millisecond clock at the read that first found the current closure; meaningful only
    // while the contact is closed.
    std::array<std::uint32_t, contactCount> closedAt{};
    // Counts the closures seen since the port was opened, so that two closures begun in the
    // same millisecond are still told apart.
    std::array<std::uint32_t, contactCount> closures{};
    // The last read failed: the port is open but does not answer (an adapter pulled out).
    bool readFailed = false;
    // Reads since the program started; a new value means a new reading.
    std::uint64_t reads = 0;

    bool isClosed(Contact c) const { return closed[static_cast<std::size_t>(c)]; }
    std::uint32_t closedTick(Contact c) const { return closedAt[static_cast<std::size_t>(c)]; }
    std::uint32_t closure(Contact c) const { return closures[static_cast<std::size_t>(c)]; }
};
