#pragma once

#include <array>
#include <cstdint>

// The three contacts the race reads, in the order the loop looks at them.
enum class Contact { Start, Lane1, Lane2 }; // DCD, CTS, DSR
inline constexpr std::size_t contactCount = 3;

// How old a reading may be and still be acted on. The sampler reads once a millisecond, and a
// read through a USB adapter takes about one more; a reading older than this comes from a read
// that has not come back (a hung adapter, a stalled machine), and nothing is known of the lines
// since. The same bound says when a closure found after a silence of the port may have closed
// that much earlier than its read says.
inline constexpr std::uint32_t readingAgeLimitMs = 5;

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
    // Milliseconds between the read that first found the current closure and the answered read
    // before it (or the port's opening): the contact closed somewhere in that span.
    std::array<std::uint32_t, contactCount> silenceBefore{};
    // The closure was already there at the port's first read: when it closed is not known.
    std::array<bool, contactCount> closedAtOpen{};

    // A read has answered since the port was opened, the last one at answeredAt (until then,
    // answeredAt is when the port was opened).
    bool answered = false;
    std::uint32_t answeredAt = 0;
    // The reads that failed since the last answered one (an adapter pulled out fails every
    // read at once), the first of them at failingSince.
    std::uint32_t failedReads = 0;
    std::uint32_t failingSince = 0;
    // The last read failed: the port is open but does not answer.
    bool readFailed = false;
    // Reads since the program started; a new value means a new reading.
    std::uint64_t reads = 0;

    bool isClosed(Contact c) const { return closed[index(c)]; }
    std::uint32_t closedTick(Contact c) const { return closedAt[index(c)]; }
    std::uint32_t closure(Contact c) const { return closures[index(c)]; }
    std::uint32_t silenceBeforeClosing(Contact c) const { return silenceBefore[index(c)]; }
    bool closedWhenOpened(Contact c) const { return closedAtOpen[index(c)]; }

    // Whether the lines as last read may be acted on at `now`: a read has answered, the last
    // one did, and not longer ago than the limit.
    bool currentAt(std::uint32_t now) const {
        return answered && !readFailed && now - answeredAt <= readingAgeLimitMs;
    }

private:
    static std::size_t index(Contact c) { return static_cast<std::size_t>(c); }
};
