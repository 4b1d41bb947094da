#include "tests/model/RaceModel.h"

#include "tests/support/RunningTime.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

namespace model {

namespace {

constexpr std::int16_t startSignalsLimit = 32767;
// A reading is current this long after its read; a silence longer than it makes a time late.
constexpr std::uint32_t freshMs = 5;
constexpr std::uint32_t silentPortMs = 250; // a silence this long is told
constexpr std::uint32_t pulledOutReads = 5; // failed reads in a row, for at least
constexpr std::uint32_t pulledOutMs = 10;   // this long, are a pulled adapter
constexpr std::int64_t wallClockStartMs = ((9 * 60 + 5) * 60 + 7) * 1000; // the fake's 09:05:07

// Windows-1250 bytes of the letters the tests type beyond ASCII.
struct CodePoint {
    char32_t unicode;
    unsigned char byte;
};
constexpr CodePoint upperHalf[] = {
    {U'€', 0x80}, {U'Š', 0x8A}, {U'Ś', 0x8C}, {U'Ť', 0x8D}, {U'Ž', 0x8E}, {U'Ź', 0x8F},
    {U'š', 0x9A}, {U'ś', 0x9C}, {U'ť', 0x9D}, {U'ž', 0x9E}, {U'ź', 0x9F}, {U'Á', 0xC1},
    {U'Ä', 0xC4}, {U'Č', 0xC8}, {U'É', 0xC9}, {U'Ě', 0xCC}, {U'Í', 0xCD}, {U'Ď', 0xCF},
    {U'Ň', 0xD2}, {U'Ó', 0xD3}, {U'Ô', 0xD4}, {U'Ö', 0xD6}, {U'Ř', 0xD8}, {U'Ů', 0xD9},
    {U'Ú', 0xDA}, {U'Ü', 0xDC}, {U'Ý', 0xDD}, {U'ß', 0xDF}, {U'á', 0xE1}, {U'ä', 0xE4},
    {U'č', 0xE8}, {U'é', 0xE9}, {U'ě', 0xEC}, {U'í', 0xED}, {U'ď', 0xEF}, {U'ň', 0xF2},
    {U'ó', 0xF3}, {U'ô', 0xF4}, {U'ö', 0xF6}, {U'ř', 0xF8}, {U'ů', 0xF9}, {U'ú', 0xFA},
    {U'ü', 0xFC}, {U'ý', 0xFD},
};

// UTF-8 text to Windows-1250 bytes; a character outside the code page becomes "?".
std::string toWindows1250(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1FU
                     : length == 3 ? lead & 0x0FU
                                   : lead & 0x07U;
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
            c = (c << 6U) | (static_cast<unsigned char>(utf8[i + k]) & 0x3FU);
        }
        i += length;
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        char byte = '?';
        for (const CodePoint& known : upperHalf) {
            if (known.unicode == c) {
                byte = static_cast<char>(known.byte);
            }
        }
        bytes += byte;
    }
    return bytes;
}

int index(Port port) {
    return port == Port::Com1 ? 0 : 1;
}

std::size_t at(In line) {
    return static_cast<std::size_t>(line);
}

constexpr In allLines[] = {In::Cts, In::Dsr, In::Dcd};

// Running time since the start, modulo 2^32 ms: right across every wrap of the clock.
std::string elapsedText(std::uint32_t now, std::int32_t startTick) {
    return runningTime(now - static_cast<std::uint32_t>(startTick)).toStdString();
}

// The time of day runs from 09:05:07 with the fake time, HH:MM:SS.
std::string timeOfDay(std::int64_t us) {
    const std::int64_t s = (wallClockStartMs + us / 1000) / 1000 % 86'400;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(s / 3600),
                  static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
    return text;
}

} // namespace

const char* name(Button button) {
    static constexpr const char* names[] = {"ButStart", "ButStop",  "Command1", "Command2",
                                            "Command3", "Command4", "Command5", "Command8",
                                            "Command9", "Option1",  "Option2"};
    return names[static_cast<std::size_t>(button)];
}

const char* name(In line) {
    return line == In::Cts ? "CTS" : line == In::Dsr ? "DSR" : "DCD";
}

const char* name(Out line) {
    return line == Out::Dtr ? "DTR" : line == Out::Rts ? "RTS" : "BREAK";
}

// --- Lines ---

void RaceModel::advance(std::int64_t byUs) {
    const std::int64_t end = us + byUs;
    for (std::int64_t ms = us / 1000 + 1; ms * 1000 <= end; ++ms) {
        us = ms * 1000;
        sample();
    }
    us = end;
}

// The read of this millisecond, unless one hangs: a hung read holds every other back and comes
// back as a read of the millisecond it ends in.
void RaceModel::sample() {
    bool readNow = false;
    while (!hangs_.empty()) {
        Hang& hang = hangs_.front();
        if (!hang.out && us < hang.fromUs) {
            break;
        }
        hang.out = hang.out || portOpen();
        if (hang.out && us < hang.untilUs) {
            return;
        }
        const Hang back = hang;
        hangs_.pop_front();
        if (!back.out) {
            continue; // no port open, no read to hang
        }
        readNow = true;
        ++hungReads_;
        if (back.dropped) {
            reads_.push_back(us); // it reached the port, but its answer is not taken
        } else {
            read(back.fails);
        }
    }
    if (!readNow && portOpen()) {
        read(false);
    }
}

// One read of the three inputs at once, noted with the millisecond clock. A failed read (the
// port's device has vanished) tells nothing of the lines.
void RaceModel::read(bool fails) {
    const auto number = static_cast<std::int64_t>(reads_.size());
    reads_.push_back(us);
    const std::uint32_t tick = millis();
    if (fails || dead_) {
        lines_.failingSince = lines_.failedReads == 0 ? tick : lines_.failingSince;
        ++lines_.failedReads;
        lines_.readFailed = true;
        failedSinceOpen_ = true;
        return;
    }
    for (const In line : allLines) {
        const std::size_t i = at(line);
        const bool closed = world.contact && world.contact(line, number);
        if (closed && !lines_.closed[i]) {
            lines_.closedAt[i] = tick;
            ++lines_.closures[i];
            lines_.silenceBefore[i] = tick - lines_.answeredAt;
            lines_.closedAtOpen[i] =
                !lines_.answered && !failedSinceOpen_ && lines_.silenceBefore[i] <= freshMs;
        }
        lines_.closed[i] = closed;
    }
    lines_.answered = true;
    lines_.answeredAt = tick;
    lines_.readFailed = false;
    lines_.failedReads = 0;
}

void RaceModel::hangRead(std::int64_t fromUs, std::int64_t untilUs, bool thenFails) {
    hangs_.push_back({fromUs, untilUs, thenFails});
}

void RaceModel::set(Out line, bool on) {
    if (handle_ <= 0 || openPort_ < 0 || dead_) {
        return;
    }
    outputs_.push_back({line, on, us});
    if (world.onOutput) {
        world.onOutput(outputs_.back());
    }
}

// A pulse holds its line while the counter is read, a reading every counterStepUs of fake
// time, up to the first reading past 1000 ms since the first one; that reading moves time on
// by one step more. (A reading at exactly 1000 ms is left to the counter's rounding: the
// runs read at steps that never land there.)
void RaceModel::pulse(Out line) {
    set(line, true);
    const std::int64_t step = world.counterStepUs;
    advance((1'000'000 / step + 2) * step);
    set(line, false);
}

bool RaceModel::openPort(Port port) {
    const int i = index(port);
    if (openPort_ < 0 && world.present[i] && !world.busy[i]) {
        openPort_ = i;
        handle_ = 7;
        // The closure counts go on; all else starts afresh, the silence from now.
        std::fill(std::begin(lines_.closed), std::end(lines_.closed), false);
        lines_.answered = false;
        lines_.answeredAt = millis();
        lines_.readFailed = false;
        lines_.failedReads = 0;
        failedSinceOpen_ = false;
        if (!hangs_.empty() && hangs_.front().out) {
            hangs_.front().dropped = true;
        }
        return true;
    }
    handle_ = -1;
    return false;
}

void RaceModel::closePort() {
    // The inputs read open until a port is open again; a read still out is never taken.
    std::fill(std::begin(lines_.closed), std::end(lines_.closed), false);
    lines_.answered = false;
    lines_.readFailed = false;
    lines_.failedReads = 0;
    if (!hangs_.empty() && hangs_.front().out) {
        hangs_.front().dropped = true;
    }
    if (handle_ > 0) {
        openPort_ = -1;
        dead_ = false;
    }
}

void RaceModel::unplug(Port port) {
    world.present[index(port)] = false;
    if (openPort_ == index(port)) {
        dead_ = true;
    }
}

// --- Start-up and the loop ---

void RaceModel::start() {
    // Load: COM2, else COM1 through its option's whole selection.
    bool opened = openPort(Port::Com2);
    if (!opened) {
        opened = openPort(Port::Com1);
        selectPort(Port::Com1);
        opened = handle_ > 0;
    }
    if (!opened) {
        message(Message::Kind::Port, "COM NENALEZEN");
    }
    dropOutputsAndWaitForTick();
    // StartTimer's first tick.
    timerEnabled_ = false;
    armAfresh();
}

// The lanes armed and the start count cleared, as the loop is entered.
void RaceModel::armAfresh() {
    fields_.lane1Hits = 0;
    fields_.lane2Hits = 0;
    fields_.finishTarget = 2;
    fields_.startSignals = 0;
}

void RaceModel::dropOutputsAndWaitForTick() {
    set(Out::Break, false);
    set(Out::Dtr, false);
    set(Out::Rts, false);
    fields_.raceState = 0;
    timerEnabled_ = true;
}

RaceModel::PassEnd RaceModel::pass() {
    Lines seen = take();
    // A third start signal after two annuls the start.
    if (fields_.startSignals == 2 && seen.closed[at(In::Dcd)]) {
        anulovan();
        seen = afterPulse(seen);
    }
    // The start signal.
    if (seen.closed[at(In::Dcd)]) {
        startAndPulse(actedOn(seen, In::Dcd));
        if (fields_.startSignals < startSignalsLimit) {
            ++fields_.startSignals;
        }
        seen = afterPulse(seen);
    }
    wallClock();
    // The running time.
    if (fields_.raceState == 1) {
        displays_.lblTimer = elapsed();
    }
    // The lane times.
    if (fields_.lane1Hits == 0 && seen.closed[at(In::Cts)]) {
        takeLane(1, actedOn(seen, In::Cts));
    }
    if (fields_.lane2Hits == 0 && seen.closed[at(In::Dsr)]) {
        takeLane(2, actedOn(seen, In::Dsr));
    }
    for (const In line : allLines) {
        hadItsChance(seen, line);
    }
    // The finish: the clock stops on the result, the later lane's time.
    if (fields_.lane1Hits + fields_.lane2Hits == fields_.finishTarget) {
        if (fields_.raceState == 1) {
            displays_.lblTimer = laneMs_[1] > laneMs_[0] ? displays_.text3 : displays_.text2;
        }
        stopRace();
        fields_.finishTarget = 3;
    }
    // The events, then the pause.
    pump();
    if (ended_) {
        return PassEnd::Leave;
    }
    if (restart_) {
        // The tick began the loop afresh; the old pass never goes on.
        restart_ = false;
        armAfresh();
        return PassEnd::Restart;
    }
    advance(1000);
    const Lines shown = take();
    for (const In line : allLines) {
        displays_.check[at(line)] = shown.closed[at(line)];
    }
    return PassEnd::Next;
}

// The lines as the loop takes them. Only a reading the port has just given counts; else every
// contact counts as open, and an outage that lasts is told once, naming the port.
Lines RaceModel::take() {
    Lines seen = lines_;
    const std::uint32_t now = millis();
    if (seen.answered && !seen.readFailed && now - seen.answeredAt <= freshMs) {
        portOutageTold_ = false;
        return seen;
    }
    std::fill(std::begin(seen.closed), std::end(seen.closed), false);
    if (portOutageTold_ || !portOpen()) {
        return seen;
    }
    const std::string port = portName();
    if (seen.failedReads >= pulledOutReads && now - seen.failingSince >= pulledOutMs) {
        notice("Port " + port +
               " přestal odpovídat – převodník byl nejspíš odpojen. Dokud neodpovídá, "
               "kontakty se nečtou a nic se neměří.\nZapojte převodník zpět a vyberte port "
               "znovu tlačítkem " +
               port + ".");
    } else if (now - seen.answeredAt >= silentPortMs) {
        notice("Port " + port +
               " neodpovídá: čtení kontaktů vázne déle než 250 ms (kabel, rozbočovač bez "
               "napájení, rušení). Dokud neodpovídá, kontakty se nečtou a nic se neměří; časy z "
               "té doby berte ze stopek.");
    } else {
        return seen;
    }
    portOutageTold_ = true;
    return seen;
}

// A pulse held the pass for a second: the start contact's closure it acted on has had its
// chance, and the rest of the pass works from the lines taken afresh.
Lines RaceModel::afterPulse(const Lines& seen) {
    hadItsChance(seen, In::Dcd);
    return take();
}

// A closure the loop has had its chance at before, or one already there when the port opened,
// is timed now; else at the read that found it, late by the silence before that read.
RaceModel::Acted RaceModel::actedOn(const Lines& seen, In line) const {
    const std::size_t i = at(line);
    if (seen.closures[i] == chanceAt_[i] || seen.closedAtOpen[i]) {
        return {millis(), 0};
    }
    return {seen.closedAt[i], seen.silenceBefore[i] > freshMs ? seen.silenceBefore[i] : 0};
}

void RaceModel::hadItsChance(const Lines& seen, In line) {
    if (seen.closed[at(line)]) {
        chanceAt_[at(line)] = seen.closures[at(line)];
    }
}

void RaceModel::tellLate(std::uint32_t lateBy, const std::string& what) {
    const std::string ms = std::to_string(lateBy);
    notice("Port " + portName() + " neodpovídal " + ms + " ms a " + what +
           " byl zachycen až po této přestávce: může být až o " + ms +
           " ms pozdě. Rozhodčí mohou vzít čas ze stopek.");
    ++lateNotices_;
}

void RaceModel::wallClock() {
    if (std::string text = timeOfDay(us); text != lastClockText_) {
        displays_.lblTime = text;
        lastClockText_ = text;
    }
}

std::string RaceModel::elapsed() const {
    return elapsedText(millis(), fields_.startTick);
}

void RaceModel::takeLane(int lane, Acted closed) {
    // How long ago the target closed, but never before the start; both ages count back from
    // now, which holds across the clock's wrap.
    const std::uint32_t now = millis();
    const auto startTick = static_cast<std::uint32_t>(fields_.startTick);
    const std::uint32_t ago = std::min(now - closed.tick, now - startTick);
    laneMs_[lane - 1] = now - ago - startTick;
    const std::string time = elapsedText(now - ago, fields_.startTick);
    (lane == 1 ? displays_.text2 : displays_.text3) = time;
    append((lane == 1 ? " dráha c.1 " : " dráha c.2 ") + time);
    ++(lane == 1 ? fields_.lane1Hits : fields_.lane2Hits);
    if (closed.lateBy > 0) {
        tellLate(closed.lateBy, "cíl dráhy č." + std::to_string(lane) + " (" + time + ")");
    }
}

// Every event waiting, and every one that comes while they run, one after another.
void RaceModel::pump() {
    while (!events_.empty()) {
        const Event event = events_.front();
        events_.pop_front();
        handle(event);
    }
}

void RaceModel::handle(const Event& event) {
    if (ended_) {
        return;
    }
    switch (event.kind) {
    case Event::Kind::Tick:
        // The new loop begins once this pump is done: the events that came in the same pump
        // count as having come before the tick, which no one can tell apart at the track.
        if (timerEnabled_) {
            timerEnabled_ = false;
            restart_ = true;
        }
        break;
    case Event::Kind::Close:
        shutdown();
        break;
    case Event::Kind::Click:
        click(event.button);
        break;
    }
}

// --- Operator commands ---

// A start, by the contact or by hand: the clock starts from its tick unless a race runs, told
// at once when that tick may be late; the pulse goes out.
void RaceModel::startAndPulse(Acted start) {
    if (fields_.raceState == 0) {
        fields_.raceState = 1;
        displays_.butStartEnabled = false;
        displays_.butStopEnabled = true;
        fields_.startTick = static_cast<std::int32_t>(start.tick);
        if (start.lateBy > 0) {
            tellLate(start.lateBy, "start");
        }
    }
    pulse(Out::Break);
}

// The race ends and the stopwatches stop.
void RaceModel::stopRace() {
    displays_.butStartEnabled = true;
    displays_.butStopEnabled = false;
    fields_.raceState = 0;
    pulse(Out::Dtr);
}

void RaceModel::click(Button button) {
    switch (button) {
    case Button::ButStart:
        if (!displays_.butStartEnabled) {
            return; // a disabled button takes no click
        }
        startAndPulse({millis(), 0});
        return;
    case Button::ButStop:
        if (!displays_.butStopEnabled) {
            return;
        }
        append("STOP ZAVODU TLACITKEM " + elapsed());
        stopRace();
        armAfresh();
        return;
    case Button::Command1:
        shutdown();
        return;
    case Button::Command2:
        displays_.text1 = " ";
        return;
    case Button::Command3:
        append(displays_.text1);
        return;
    case Button::Command4:
        displays_.text2 = " ";
        displays_.text3 = " ";
        armAfresh();
        return;
    case Button::Command5:
        stopRace();
        armAfresh();
        append(" Diskvalifikace ");
        displays_.text2 = displays_.text3 = "diskvalifikace";
        return;
    case Button::Command8:
        pulse(Out::Rts);
        return;
    case Button::Command9:
        anulovan();
        return;
    case Button::Option1:
    case Button::Option2:
        selectPort(button == Button::Option1 ? Port::Com1 : Port::Com2);
        return;
    }
}

void RaceModel::selectPort(Port port) {
    closePort();
    if (!openPort(port)) {
        message(Message::Kind::Port, port == Port::Com1 ? "COM1 OBSAZEN" : "COM2 OBSAZEN");
    }
    dropOutputsAndWaitForTick();
}

void RaceModel::shutdown() {
    set(Out::Dtr, false);
    set(Out::Rts, false);
    set(Out::Break, false);
    closePort();
    if (!pendingText_.empty() && !writePending()) {
        messages_.push_back({Message::Kind::Unwritten, std::string(), pendingText_});
    }
    ended_ = true;
}

void RaceModel::anulovan() {
    append(" Start anulovan ");
    stopRace();
    displays_.text2 = displays_.text3 = "Start anulován";
    armAfresh();
}

// --- The results log ---

// The record joins those kept back by earlier failures; all go out together, oldest first,
// or all stay kept. The operator hears of an outage once, until a write gets through.
void RaceModel::append(const std::string& text) {
    ++records_;
    pendingText_.push_back(text);
    if (writePending()) {
        return;
    }
    if (!outageTold_) {
        outageTold_ = true;
        message(Message::Kind::LogFailure,
                "Zápis do souboru ZAVOD.TXT selhal: " + world.logFailureReason +
                    "\nZáznam je uschován a bude zapsán při dalším zápisu.");
    }
}

bool RaceModel::writePending() {
    if (!world.logWritable) {
        return false;
    }
    std::string lines;
    for (const std::string& text : pendingText_) {
        lines += toWindows1250(text) + "\r\n";
    }
    if (lines.size() > world.logRoom || world.log.size() > world.logRoom - lines.size()) {
        return false; // no half line is left behind
    }
    world.log += lines;
    pendingText_.clear();
    outageTold_ = false;
    return true;
}

void RaceModel::message(Message::Kind kind, const std::string& text) {
    messages_.push_back({kind, text, {}});
}

// The port's notices pile up in their box while it is open.
void RaceModel::notice(const std::string& text) {
    noticeText_ = noticeOpen_ ? noticeText_ + "\n\n" + text : text;
    if (!std::exchange(noticeOpen_, true)) {
        message(Message::Kind::Notice, text);
    }
}

} // namespace model
