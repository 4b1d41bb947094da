#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// A second, deliberately plain statement of how the timer behaves, kept apart from the
// program's code: one pass of the polling loop, every operator command, the
// port choice, the results log with its kept records, the pulses on the fake time line and
// what the window shows. The randomized tests run it beside the real window and compare.
//
// Texts are UTF-8; log bytes are Windows-1250. Time is the fakes' time line: microseconds
// that move on only by a step per counter reading and 1 ms per pause. The line sampler reads
// the three inputs at every whole millisecond the time passes while a port is open, unless a
// read hangs; the loop acts only on what the sampler read within the last few milliseconds.
namespace model {

enum class In { Cts, Dsr, Dcd };
enum class Out { Dtr, Rts, Break };
enum class Button {
    ButStart,
    ButStop,
    Command1,
    Command2,
    Command3,
    Command4,
    Command5,
    Command8,
    Command9,
    Option1,
    Option2,
};
enum class Port { Com1, Com2 };

const char* name(Button button);
const char* name(In line);
const char* name(Out line);

struct Transition {
    Out line;
    bool on;
    std::int64_t us;
    bool operator==(const Transition&) const = default;
};

struct Fields {
    std::int16_t raceState = 0;
    std::int32_t startTick = 0;
    std::int16_t lane1Hits = 0;
    std::int16_t lane2Hits = 0;
    std::int16_t finishTarget = 2;
    std::int16_t startSignals = 0;
    bool operator==(const Fields&) const = default;
};

struct Displays {
    std::string lblTime = "00:00:00";
    std::string lblTimer = "00:00:00:000";
    std::string text1;
    std::string text2;
    std::string text3;
    bool check[3] = {false, false, false};
    bool butStartEnabled = true;
    bool butStopEnabled = true;
};

struct Message {
    enum class Kind { Port, LogFailure, Unwritten, Notice };
    Kind kind;
    std::string text;                 // the whole text, for the port messages and failures
    std::vector<std::string> records; // the records listed, for the last word on unwritten ones
};

// What the operator can put into the event queue.
struct Event {
    enum class Kind { Click, Tick, Close };
    Kind kind = Kind::Click;
    Button button = Button::ButStart;
};

// The world around the program, set by the test between passes.
struct World {
    bool present[2] = {true, true}; // COM1, COM2
    bool busy[2] = {false, false};
    bool logWritable = true;
    std::string logFailureReason; // the system's words for the current outage
    std::string log;              // ZAVOD.TXT as it stands (while writable)
    // How large the disk lets the file grow: a write that would pass it fails, all of it.
    std::size_t logRoom = static_cast<std::size_t>(-1);
    // Fake time between two readings of the counter, on both sides: 300 µs never lands on a
    // pulse's second, where the counter's rounding alone decides whether that reading ends it.
    std::int64_t counterStepUs = 300;
    // The level a line shows at a read of the inputs, by the read's number since the start.
    std::function<bool(In line, std::int64_t read)> contact;
    // Runs at every output change, as the fake port's callback does.
    std::function<void(const Transition&)> onOutput;
};

// What the line sampler has read. Indexed by In: whether each input was closed at the last
// answered read, the millisecond clock at the read that found its current closure closed
// first, how many closures it has seen begin, how long the port had been silent before that
// read, and whether it was there at the first read after the port opened. The loop works from
// copies of it.
struct Lines {
    bool closed[3] = {false, false, false};
    std::uint32_t closedAt[3] = {0, 0, 0};
    std::uint32_t closures[3] = {0, 0, 0};
    std::uint32_t silenceBefore[3] = {0, 0, 0};
    bool closedAtOpen[3] = {false, false, false};
    bool answered = false;         // a read has answered since the port opened
    std::uint32_t answeredAt = 0;  // the last answered read, or the port's opening
    bool readFailed = false;       // the last read got no answer
    std::uint32_t failedReads = 0; // in a row
    std::uint32_t failingSince = 0;
};

class RaceModel {
public:
    enum class PassEnd { Next, Restart, Leave };

    World world;
    std::int64_t us = 0;
    std::uint32_t millisOffset = 0;

    // Loads the window, then enters the loop as StartTimer's first tick does.
    void start();
    // One pass of the loop: the start tests, the displays, the lanes, the finish, the events,
    // the pause and the mirrored contacts.
    PassEnd pass();
    void queue(Event event) { events_.push_back(event); }

    // The operator's typing in Text1.
    void type(const std::string& text) { displays_.text1 = text; }
    // A test's direct setting of the start count, to reach its limit without 32767 pulses.
    void setStartSignals(std::int16_t count) { fields_.startSignals = count; }
    // The device of the open port vanishes; selecting a port again is the only way back.
    void unplug(Port port);
    // The read at the first whole millisecond at or after fromUs does not come back until the
    // first one at or after untilUs, and no other read happens meanwhile; then it is that
    // millisecond's read, answered or failed. No read, no hang. A test begins one only after
    // the last has come back.
    void hangRead(std::int64_t fromUs, std::int64_t untilUs, bool thenFails);

    const Fields& fields() const { return fields_; }
    const Displays& displays() const { return displays_; }
    const std::vector<Transition>& outputs() const { return outputs_; }
    const std::vector<std::int64_t>& reads() const { return reads_; } // the time of each
    const Lines& lines() const { return lines_; }
    const std::vector<Message>& messages() const { return messages_; }
    // The window's one notice box: its text and whether it is open. A notice told while it is
    // open only changes its text; the operator closes it between passes.
    void closeNotice() { noticeOpen_ = false; }
    const std::string& noticeText() const { return noticeText_; }
    bool noticeOpen() const { return noticeOpen_; }
    std::size_t lateNotices() const { return lateNotices_; }
    std::size_t hungReads() const { return hungReads_; }
    const std::vector<std::string>& pending() const { return pendingText_; }
    std::size_t records() const { return records_; } // records handed to the log so far
    bool timerEnabled() const { return timerEnabled_; }
    bool ended() const { return ended_; }
    std::uint32_t millis() const { return static_cast<std::uint32_t>(us / 1000) + millisOffset; }

private:
    // Lines.
    void advance(std::int64_t byUs); // the time passes on, the sampler reading on its way
    void sample();
    void read(bool fails);
    bool portOpen() const { return handle_ > 0 && openPort_ >= 0; }
    void set(Out line, bool on);
    void pulse(Out line);
    bool openPort(Port port);
    void closePort();

    // Loop.
    void armAfresh();
    void dropOutputsAndWaitForTick();
    void wallClock();
    std::string elapsed() const;
    Lines take();
    Lines afterPulse(const Lines& seen);
    struct Acted {
        std::uint32_t tick;
        std::uint32_t lateBy; // 0: not late
    };
    Acted actedOn(const Lines& seen, In line) const;
    void hadItsChance(const Lines& seen, In line);
    void takeLane(int lane, Acted closed);
    void tellLate(std::uint32_t lateBy, const std::string& what);
    void pump();
    void handle(const Event& event);

    // Commands and records.
    void click(Button button);
    void selectPort(Port port);
    void shutdown();
    void append(const std::string& text);
    bool writePending();
    void anulovan();
    void startAndPulse(Acted start);
    void stopRace();
    void message(Message::Kind kind, const std::string& text);
    void notice(const std::string& text);
    std::string portName() const { return openPort_ == 0 ? "COM1" : "COM2"; }

    Fields fields_;
    Displays displays_;
    std::string lastClockText_;
    std::vector<Transition> outputs_;
    std::vector<std::int64_t> reads_;
    Lines lines_;
    bool failedSinceOpen_ = false;
    struct Hang {
        std::int64_t fromUs;
        std::int64_t untilUs;
        bool fails;
        bool out = false;     // the read has begun and not come back
        bool dropped = false; // the port closed or another opened while it was out
    };
    std::deque<Hang> hangs_; // the first is out or next; each begins after the last came back
    // Per input, the closure the loop has had its chance at: acted on later, it is timed then.
    std::uint32_t chanceAt_[3] = {0, 0, 0};
    std::uint32_t laneMs_[2] = {0, 0}; // each lane's time since the start, as its box shows it
    bool portOutageTold_ = false;      // in this outage of the port
    std::vector<Message> messages_;
    std::string noticeText_;
    bool noticeOpen_ = false;
    std::size_t lateNotices_ = 0;
    std::size_t hungReads_ = 0;
    std::deque<Event> events_;
    std::vector<std::string> pendingText_;
    bool outageTold_ = false;
    std::size_t records_ = 0;

    std::int32_t handle_ = 0; // the platform's handle: positive once a port has opened
    int openPort_ = -1;       // the device the fake holds open, -1 none
    bool dead_ = false;       // the open device has vanished

    bool timerEnabled_ = false;
    bool restart_ = false;
    bool ended_ = false;
};

} // namespace model
