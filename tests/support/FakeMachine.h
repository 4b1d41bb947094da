#pragma once

#include "race/RaceLines.h"
#include "serial/LineSampler.h"
#include "serial/Module1.h"
#include "serial/Module2.h"
#include "serial/Pulses.h"
#include "tests/support/FakeLines.h"
#include "tests/support/FakeTime.h"

#include <functional>
#include <map>
#include <memory>
#include <semaphore>
#include <thread>
#include <utility>

// Every seam of the machine faked on one time line: the lines, the counter and pulse sleep,
// the millisecond clock, the pause and the time of day. The real line sampler reads the fake
// lines at every whole millisecond of the fake time, as its thread does on the real clock; the
// real port and counter modules and their pulses work on the fakes, as the race's lines.
struct FakeMachine {
    FakeMachine() {
        time.everyMillisecond = [this] {
            for (auto due = changes_.begin(); due != changes_.end() && due->first <= time.us;) {
                due->second();
                due = changes_.erase(due);
            }
            if (!hungRead_ && !std::exchange(hangEnded_, false)) {
                sampler.sampleOnce();
            }
        };
    }
    ~FakeMachine() { endHang(); }
    FakeMachine(const FakeMachine&) = delete;
    FakeMachine& operator=(const FakeMachine&) = delete;

    // A change to the world at a moment of the fake time: made before the sampler's read at
    // the first whole millisecond on or after it, whatever the program is doing then.
    void at(std::int64_t us, std::function<void()> change) {
        changes_.emplace(us, std::move(change));
    }

    // The sampler's read at the first whole millisecond on or after `fromUs` hangs in the port,
    // and comes back at the first one on or after `untilUs` as that millisecond's read: with
    // the lines as they are then, or failed. It hangs for real, on a thread of its own blocked
    // in the fake port, while the fake time runs on and no other read begins, as on the
    // sampler's thread; nothing else touches the fakes until it is back. The time goes on
    // only once the read is in the port, so that the program meets it there every run. With no
    // port open there is no read to hang, and nothing happens.
    void hangRead(std::int64_t fromUs, std::int64_t untilUs, bool thenFails = false) {
        at(fromUs, [this] {
            if (lines.openPort.isEmpty()) {
                return;
            }
            lines.duringRead = [this] {
                lines.duringRead = nullptr;
                inPort_.release();
                release_.acquire();
            };
            hungRead_ = std::make_unique<std::thread>([this] {
                sampler.sampleOnce();
                if (lines.duringRead) { // the sampler did not read
                    lines.duringRead = nullptr;
                    inPort_.release();
                }
            });
            inPort_.acquire();
        });
        at(untilUs, [this, thenFails] {
            if (!hungRead_) {
                return;
            }
            const bool unplugged = lines.unplugged;
            lines.unplugged = unplugged || thenFails;
            endHang();
            hangEnded_ = true;
            lines.unplugged = unplugged;
        });
    }

    FakeTime time;
    FakeMillisClock clock{time};
    FakeCounter counter{time};
    FakePulseSleep pulseSleep{time};
    FakePause pause{time};
    FakeTimeOfDay timeOfDay{time};
    FakeLines lines{time};
    LineSampler sampler{lines, clock};
    Module1 port{lines};
    Module2 counterModule{counter, pulseSleep};
    Pulses pulses{port, counterModule};
    ModuleLines raceLines{port, pulses, sampler};

private:
    void endHang() {
        if (hungRead_) {
            release_.release();
            hungRead_->join();
            hungRead_.reset();
            static_cast<void>(release_.try_acquire()); // not taken by a read that never was
        }
    }

    std::multimap<std::int64_t, std::function<void()>> changes_;
    std::binary_semaphore inPort_{0};
    std::binary_semaphore release_{0};
    std::unique_ptr<std::thread> hungRead_;
    bool hangEnded_ = false; // the hung read was this millisecond's
};
