#pragma once

#include "tests/model/RaceModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Seeded random scripts of an afternoon at the track, and a runner that plays one on the real
// window (fake lines and clocks) and on the model side by side, comparing after every pass.
namespace scenario {

enum class Level : std::uint8_t { Off, On, Bouncy };

struct Action {
    enum class Kind : std::uint8_t {
        Click,         // queued: handled in the pass's event pump
        Tick,          // queued: StartTimer's tick, when it is enabled
        Close,         // queued: the operator closes the window
        Type,          // Text1 typed between passes
        TimeJump,      // fake time moved on by `amount` µs
        ClockToWrap,   // fake time moved to `amount` ms before the millisecond clock's next
                       // passage of 2^31 or 2^32
        LogDirectory,  // ZAVOD.TXT made a folder: no open succeeds, not even root's
        LogFull,       // ZAVOD.TXT made a link to /dev/full: every write fails
        LogNearlyFull, // the disk takes only `amount` more bytes of the file
        LogBack,       // the outage ends, the file as it was
        LogRemoved,    // the file deleted while the program runs
        LogReplaced,   // the file replaced by another with `text` in it
        Unplug,        // the port's device vanishes, open or not
        Plug,          // it is back, for the next selection
        Busy,          // another program holds the port
        Free,
        NearLimit, // the start count set to 32767 - amount
        Hang,      // the lines' read `after` µs on hangs for `amount` µs, then answers or fails
    };
    Kind kind = Kind::Click;
    model::Button button = model::Button::ButStart;
    int atRaise = -1; // -1 before the pass; n: queued when the pass raises an output the n-th time
    model::Port port = model::Port::Com2;
    std::int64_t amount = 0;
    std::int64_t after = 0;
    bool fails = false;
    std::string text;
};

struct PassPlan {
    Level dcd = Level::Off;
    Level cts = Level::Off;
    Level dsr = Level::Off;
    std::vector<Action> actions;
};

struct Scenario {
    std::uint64_t seed = 0;
    bool com1 = true;
    bool com2 = true;
    std::int64_t startUs = 0;
    std::uint32_t millisOffset = 0;
    std::string initialLog; // Windows-1250
    std::vector<PassPlan> passes;
};

Scenario generate(std::uint64_t seed, std::size_t passes);

struct Divergence {
    std::size_t pass; // passes run when it showed; 0 is right after start-up
    std::string what;
};

struct Figures {
    std::size_t passes = 0;
    std::size_t actions = 0; // world changes and queued events applied
    std::size_t faults = 0;  // log outages, removals, replacements, vanished and busy ports
    std::size_t records = 0; // log lines the run wrote
    std::size_t pulses = 0;
    std::size_t hangs = 0;       // reads made to hang
    std::size_t lateNotices = 0; // times told as maybe late
};

// Plays the first `limit` passes; the first divergence, if any.
std::optional<Divergence> play(const Scenario& scenario, std::size_t limit,
                               Figures* figures = nullptr);

// The shortest failing prefix, then without every action it does not need.
Scenario shrink(const Scenario& failing, const Divergence& divergence);

std::string describe(const Scenario& scenario, std::size_t limit);

} // namespace scenario
