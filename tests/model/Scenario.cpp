#include "tests/model/Scenario.h"

#include "tests/model/Hand.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Rig.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <csignal>
#include <deque>
#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include <sys/resource.h>

namespace scenario {

namespace {

using model::Button;
using model::In;
using model::Out;
using model::Port;

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30U)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27U)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31U);
}

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(mix(seed)) {}
    std::uint64_t next() { return mix(state_++); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(int perMille) { return below(1000) < perMille; }
    // 1 more often than 2, 2 more often than 3, up to the limit.
    int few(int limit) {
        int n = 1;
        while (n < limit && chance(500)) {
            ++n;
        }
        return n;
    }

private:
    std::uint64_t state_;
};

std::uint64_t draw(std::uint64_t seed, In line, std::int64_t read) {
    return mix(seed ^ mix(static_cast<std::uint64_t>(read) * 3U + static_cast<unsigned>(line)));
}

// A bouncing contact: on or off at each read of the inputs, the same on both sides, until it
// settles closed some reads into its pass (within a pulse's thousand reads, or not at all).
bool levelAt(Level level, std::uint64_t seed, In line, std::int64_t read, std::int64_t passRead) {
    const auto settles = static_cast<std::int64_t>(draw(~seed, line, passRead) % 1500U);
    return level == Level::On || (level == Level::Bouncy && (read - passRead >= settles ||
                                                             (draw(seed, line, read) & 1U) != 0));
}

const char* const teamStarts[] = {"SDH ", "Sokol ", "Hasiči ", "TJ ", "", "JSDH "};
const char* const teamPlaces[] = {"Žďár",   "Lhota",   "Nová Ves", "Ústí",    "Dolní Břežany",
                                  "Třeboň", "Kořenov", "Ďáblice",  "Šumperk", "Úpice",
                                  "Čáslav", "Řevnice", "Týniště",  "Ořechov"};
// The euro sign is in Windows-1250; ø, Ω, 😀 and ẞ are not and must reach the log as "?".
const char* const teamExtras[] = {"", "", "", " €", " ø", " Ω", " 😀", " ẞ", " 2"};

std::string teamName(Random& random) {
    if (random.chance(80)) {
        return random.chance(500) ? std::string() : std::string(" ");
    }
    return std::string(teamStarts[random.below(std::size(teamStarts))]) +
           teamPlaces[random.below(std::size(teamPlaces))] +
           teamExtras[random.below(std::size(teamExtras))];
}

Action click(Button button, int atRaise = -1) {
    Action action;
    action.kind = Action::Kind::Click;
    action.button = button;
    action.atRaise = atRaise;
    return action;
}

Action of(Action::Kind kind) {
    Action action;
    action.kind = kind;
    return action;
}

Button anyCommand(Random& random) {
    static constexpr Button weighted[] = {
        Button::ButStart, Button::ButStart, Button::ButStart, Button::ButStop,  Button::ButStop,
        Button::ButStop,  Button::Command2, Button::Command3, Button::Command3, Button::Command4,
        Button::Command4, Button::Command5, Button::Command8, Button::Command9, Button::Command9,
    };
    return weighted[random.below(std::size(weighted))];
}

// One line's contact over the passes: quiet, then closed or bouncing for a few passes.
struct Contact {
    Level level = Level::Off;
    int left = 0;
    Level next() {
        if (left == 0) {
            return Level::Off;
        }
        --left;
        return level;
    }
    void close(Level how, int passes) {
        level = how;
        left = std::max(left, passes);
    }
};

// How often things happen, per pass, in thousandths: a calm afternoon, a busy operator, or
// contacts that close and bounce all the time.
struct Rates {
    int start;
    int targets;
    int bouncing;
    int operate;
    int duringPulse;
};
constexpr Rates profiles[] = {
    {30, 20, 250, 45, 40},
    {30, 20, 250, 150, 200},
    {150, 100, 500, 60, 60},
};

// A read that hangs `after` µs from where it is applied: for at most 5 ms, for a silence the
// times may be late by, or for one long enough to be told; then it answers or fails. A long
// one may be crossed by a jump of the time some passes on.
Action hang(Random& random, int atRaise, std::int64_t after,
            std::map<std::size_t, std::vector<Action>>& later, std::size_t pass) {
    const int kind = random.below(20);
    const int ms = kind < 2    ? 1 + random.below(5)
                   : kind < 11 ? 6 + random.below(244)
                               : 251 + random.below(2750);
    Action a;
    a.kind = Action::Kind::Hang;
    a.atRaise = atRaise;
    a.after = after;
    a.amount = std::int64_t{ms} * 1000 + random.below(1000);
    a.fails = random.chance(300);
    if (ms > 250 && random.chance(500)) {
        Action jump;
        jump.kind = Action::Kind::TimeJump;
        jump.amount = random.below(3'000'000);
        later[pass + 1 + static_cast<std::size_t>(random.below(20))].push_back(jump);
    }
    return a;
}

} // namespace

Scenario generate(std::uint64_t seed, std::size_t passes) {
    Random random(seed);
    const Rates& rates = profiles[seed % std::size(profiles)];
    Scenario s;
    s.seed = seed;
    const int ports = random.below(40);
    s.com2 = ports >= 4;
    s.com1 = ports != 0 && ports != 1;
    s.startUs =
        random.chance(300) ? 0 : static_cast<std::int64_t>(random.next() % 200'000'000'000ULL);
    const auto startMillis = static_cast<std::uint32_t>(s.startUs / 1000);
    switch (random.below(5)) {
    case 0: // just before 2^31 ms
        s.millisOffset =
            0x80000000U - static_cast<std::uint32_t>(random.below(200'000)) - startMillis;
        break;
    case 1: // just before the wrap at 2^32 ms
        s.millisOffset = 0U - static_cast<std::uint32_t>(random.below(200'000)) - startMillis;
        break;
    case 2:
        s.millisOffset = static_cast<std::uint32_t>(random.next());
        break;
    default:
        break;
    }
    if (random.chance(250)) {
        s.initialLog = random.chance(500) ? std::string("SDH Lhota\r\n dr\xE1ha c.1 00:00:1")
                                          : std::string("Sokol Ves\r\n");
    }

    // Hung reads come from a stream of their own, so the rest of each afternoon stays as it was.
    Random hangs(~seed);
    Contact dcd;
    Contact cts;
    Contact dsr;
    int dsrDelay = -1;
    std::map<std::size_t, std::vector<Action>> later;
    s.passes.resize(passes);
    for (std::size_t p = 0; p < passes; ++p) {
        PassPlan& plan = s.passes[p];
        if (random.chance(rates.start)) {
            dcd.close(random.chance(rates.bouncing) ? Level::Bouncy : Level::On, random.few(6));
            // Read closed in this pass's pause, acted on in the next: its pulse's reads hang.
            if (hangs.chance(250)) {
                later[p + 1].push_back(hang(hangs, 0, hangs.below(1'000'000), later, p + 1));
            }
        }
        if (random.chance(rates.targets)) {
            const Level how = random.chance(rates.bouncing / 2) ? Level::Bouncy : Level::On;
            const int hold = random.chance(200) ? 5 + random.below(40) : random.few(4);
            // Both targets at once, lane 1, lane 2, or lane 1 then lane 2 some passes later.
            const int which = random.below(4);
            if (which != 2) {
                cts.close(how, hold);
            }
            if (which == 0 || which == 2) {
                dsr.close(how, hold);
            } else if (which == 3) {
                dsrDelay = 1 + random.below(30);
            }
        }
        if (dsrDelay >= 0 && dsrDelay-- == 0) {
            dsr.close(Level::On, random.few(4));
        }
        plan.dcd = dcd.next();
        plan.cts = cts.next();
        plan.dsr = dsr.next();

        if (const auto due = later.find(p); due != later.end()) {
            plan.actions = due->second;
            later.erase(due);
        }
        if (hangs.chance(8)) {
            plan.actions.push_back(hang(hangs, -1, hangs.below(3'000), later, p));
        }
        if (random.chance(rates.operate)) {
            const int burst = random.chance(150) ? 2 + random.below(3) : 1;
            for (int b = 0; b < burst; ++b) {
                const int pick = random.below(100);
                Action a;
                if (pick < 45) {
                    a = click(anyCommand(random));
                } else if (pick < 52) {
                    const Button option = random.chance(500) ? Button::Option1 : Button::Option2;
                    a = click(option);
                    later[p + static_cast<std::size_t>(random.below(20))].push_back(
                        of(Action::Kind::Tick));
                } else if (pick < 62) {
                    a = of(Action::Kind::Type);
                    a.text = teamName(random);
                } else if (pick < 66) {
                    a = of(Action::Kind::Tick);
                } else if (pick < 72) {
                    a = of(Action::Kind::TimeJump);
                    a.amount = random.chance(300)
                                   ? static_cast<std::int64_t>(random.below(30 * 3600)) * 1'000'000
                                   : static_cast<std::int64_t>(random.below(120'000'000));
                } else if (pick < 74) {
                    a = of(Action::Kind::ClockToWrap);
                    a.amount = random.below(30'000);
                } else if (pick < 86) {
                    static constexpr Action::Kind logFaults[] = {
                        Action::Kind::LogDirectory,  Action::Kind::LogFull,
                        Action::Kind::LogNearlyFull, Action::Kind::LogBack,
                        Action::Kind::LogBack,       Action::Kind::LogRemoved,
                        Action::Kind::LogReplaced,
                    };
                    a = of(logFaults[random.below(std::size(logFaults))]);
                    a.amount = random.below(60);
                    a.text = random.chance(500) ? std::string("Jin\xFD z\xE1znam\r\n")
                                                : std::string("bez konce \xF8\xE1\x64ku");
                } else if (pick < 95) {
                    static constexpr Action::Kind portFaults[] = {
                        Action::Kind::Unplug, Action::Kind::Plug, Action::Kind::Plug,
                        Action::Kind::Busy,   Action::Kind::Free,
                    };
                    a = of(portFaults[random.below(std::size(portFaults))]);
                    a.port = random.chance(700) ? Port::Com2 : Port::Com1;
                } else {
                    a = of(Action::Kind::NearLimit);
                    a.amount = random.below(3);
                }
                plan.actions.push_back(a);
            }
        }
        // Clicks while the pass sends a pulse: they wait until it is over.
        if (random.chance(rates.duringPulse)) {
            const int burst = random.chance(300) ? 2 + random.below(4) : 1;
            const int atRaise = random.below(2);
            for (int b = 0; b < burst; ++b) {
                Action a = random.chance(80) ? of(Action::Kind::Tick) : click(anyCommand(random));
                a.atRaise = atRaise;
                plan.actions.push_back(a);
            }
        }
    }
    if (passes > 0 && random.chance(300)) {
        s.passes.back().actions.push_back(random.chance(500) ? click(Button::Command1)
                                                             : of(Action::Kind::Close));
    }
    return s;
}

namespace {

Out fromFake(Output line) {
    return line == Output::Dtr ? Out::Dtr : line == Output::Rts ? Out::Rts : Out::Break;
}

In fromFake(Input line) {
    return line == Input::Cts ? In::Cts : line == Input::Dsr ? In::Dsr : In::Dcd;
}

const char* portName(Port port) {
    return port == Port::Com1 ? "COM1" : "COM2";
}

std::string utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

std::string printable(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20 || u >= 0x7F) {
            constexpr char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[u >> 4U];
            out += hex[u & 0xFU];
        } else {
            out += c;
        }
    }
    return out;
}

enum class Outage { None, Directory, Full, NearlyFull };

class Player {
public:
    Player(const Scenario& s, Figures* figures) : s_(s), figures_(figures) {
        rig_.time.us = s.startUs;
        rig_.time.millisOffset = s.millisOffset;
        rig_.time.counterStepUs = m_.world.counterStepUs;
        m_.us = s.startUs;
        m_.millisOffset = s.millisOffset;
        for (const Port port : {Port::Com1, Port::Com2}) {
            if (!(port == Port::Com1 ? s.com1 : s.com2)) {
                rig_.lines.present.remove(QString::fromLatin1(portName(port)));
                m_.world.present[port == Port::Com1 ? 0 : 1] = false;
            }
        }
        if (!s.initialLog.empty()) {
            rig_.writeLog(QByteArray::fromStdString(s.initialLog));
            m_.world.log = s.initialLog;
        }
        rig_.messages.answerNotices = false; // closed after each pass, see closeNotices()
        const QDir dir = QFileInfo(rig_.logPath()).dir();
        keptPath_ = dir.filePath(QStringLiteral("ZAVOD.kept"));

        // A pass's levels hold from the moment its plan is applied until the next one is.
        rig_.lines.script = [this](Input line, int read) {
            return levelAt(levelOf(fromFake(line)), s_.seed, fromFake(line), read, realPassRead_);
        };
        m_.world.contact = [this](In line, std::int64_t read) {
            return levelAt(levelOf(line), s_.seed, line, read, modelPassRead_);
        };
        // What stands at each output change: the order of a command's steps around its pulse.
        rig_.lines.onOutput = [this](const FakeLines::Transition& t) {
            realAtOutput_.push_back(realView());
            if (t.on) {
                queueAtRaise(realRaises_++, true);
            }
        };
        m_.world.onOutput = [this](const model::Transition& t) {
            modelAtOutput_.push_back(modelView());
            if (t.on) {
                queueAtRaise(modelRaises_++, false);
            }
        };
    }

    std::optional<Divergence> run(std::size_t limit) {
        form_ = &rig_.start(); // loaded, the loop entered as at StartTimer's first tick
        m_.start();
        if (std::string d = compare(); !d.empty()) {
            return Divergence{0, d};
        }
        for (std::size_t p = 0; p < limit && p < s_.passes.size(); ++p) {
            plan_ = &s_.passes[p];
            realPassRead_ = static_cast<std::int64_t>(rig_.lines.reads.size());
            modelPassRead_ = static_cast<std::int64_t>(m_.reads().size());
            realRaises_ = 0;
            modelRaises_ = 0;
            for (const Action& a : plan_->actions) {
                if (a.atRaise < 0) {
                    apply(a);
                }
            }
            hand_.post();
            const Race::PassEnd real = form_->race().runPass();
            if (real == Race::PassEnd::Restart) {
                form_->race().enterLoop();
            }
            const model::RaceModel::PassEnd expected = m_.pass();
            if (figures_ != nullptr) {
                ++figures_->passes;
            }
            std::string d = compare();
            const bool realLeft = real == Race::PassEnd::Leave;
            const bool modelLeft = expected == model::RaceModel::PassEnd::Leave;
            if (realLeft != modelLeft) {
                d += realLeft ? "the window left its loop; " : "the window stayed in its loop; ";
            }
            if (!d.empty()) {
                return Divergence{p + 1, d};
            }
            closeNotices();
            if (realLeft) {
                break;
            }
        }
        if (figures_ != nullptr) {
            figures_->records += m_.records();
            figures_->lateNotices += m_.lateNotices();
            figures_->hangs += m_.hungReads();
            for (const model::Transition& t : m_.outputs()) {
                figures_->pulses += t.on ? 1U : 0U;
            }
        }
        return std::nullopt;
    }

private:
    Level levelOf(In line) const {
        if (plan_ == nullptr) {
            return Level::Off;
        }
        return line == In::Cts ? plan_->cts : line == In::Dsr ? plan_->dsr : plan_->dcd;
    }

    void queueAtRaise(int raise, bool real) {
        if (plan_ == nullptr) {
            return;
        }
        for (const Action& a : plan_->actions) {
            if (a.atRaise == raise && a.kind == Action::Kind::Hang) {
                hang(a, real);
            } else if (a.atRaise == raise) {
                real ? queueReal(a) : queueModel(a);
            }
        }
    }

    static model::Event eventOf(const Action& a) {
        model::Event e;
        e.kind = a.kind == Action::Kind::Tick    ? model::Event::Kind::Tick
                 : a.kind == Action::Kind::Close ? model::Event::Kind::Close
                                                 : model::Event::Kind::Click;
        e.button = a.button;
        return e;
    }

    // A tick comes only while StartTimer is enabled, once per enabling.
    void queueReal(const Action& a) {
        if (a.kind == Action::Kind::Tick && !form_->controls().StartTimer->isActive()) {
            return;
        }
        hand_.queue([this, e = eventOf(a)] { deliver(e); });
    }
    void queueModel(const Action& a) {
        if (a.kind == Action::Kind::Tick && !m_.timerEnabled()) {
            return;
        }
        m_.queue(eventOf(a));
    }

    QAbstractButton* widget(Button b) const {
        return form_->findChild<QAbstractButton*>(QString::fromLatin1(model::name(b)));
    }

    void deliver(const model::Event& e) {
        switch (e.kind) {
        case model::Event::Kind::Click:
            widget(e.button)->click();
            break;
        case model::Event::Kind::Tick:
            if (!form_->ended() && form_->controls().StartTimer->isActive()) {
                Rig::tick(*form_);
            }
            break;
        case model::Event::Kind::Close:
            form_->close();
            break;
        }
    }

    // The operator closes the notices, the port's and the log's, before the next pass.
    void closeNotices() {
        for (QMessageBox* box : form_->findChildren<QMessageBox*>()) {
            box->hide();
        }
        m_.closeNotice();
    }

    // One hang at a time on each side: a new one begins after the last has come back.
    void hang(const Action& a, bool real) {
        const std::int64_t from = (real ? rig_.time.us : m_.us) + a.after;
        std::int64_t& lastUntil = hangUntilUs_[real ? 0 : 1];
        if (from < lastUntil) {
            return;
        }
        lastUntil = from + a.amount;
        real ? rig_.hangRead(from, lastUntil, a.fails) : m_.hangRead(from, lastUntil, a.fails);
    }

    // The log's faults wait for the outage before them to end; LogBack ends one.
    static bool isLogFault(Action::Kind kind) {
        return kind >= Action::Kind::LogDirectory && kind <= Action::Kind::LogReplaced &&
               kind != Action::Kind::LogBack;
    }

    void apply(const Action& a) {
        if (isLogFault(a.kind) ? outage_ != Outage::None
                               : a.kind == Action::Kind::LogBack && outage_ == Outage::None) {
            return;
        }
        const QString logPath = rig_.logPath();
        std::int64_t forwardUs = 0;
        switch (a.kind) {
        case Action::Kind::Click:
        case Action::Kind::Tick:
        case Action::Kind::Close:
            queueReal(a);
            queueModel(a);
            break;
        case Action::Kind::Type:
            form_->controls().Text1->setText(QString::fromStdString(a.text));
            m_.type(a.text);
            break;
        case Action::Kind::TimeJump:
            forwardUs = a.amount;
            break;
        case Action::Kind::ClockToWrap: {
            // Forward to just before the clock's next passage of 2^31 or of 2^32.
            const std::uint32_t now = m_.millis();
            const std::uint32_t toHalf = 0x80000000U - now;
            const std::uint32_t toWrap = 0U - now;
            std::uint32_t ahead = toHalf != 0 && (toHalf < toWrap || toWrap == 0) ? toHalf : toWrap;
            ahead = ahead > a.amount ? ahead - static_cast<std::uint32_t>(a.amount) : 0;
            forwardUs = static_cast<std::int64_t>(ahead) * 1000;
            break;
        }
        case Action::Kind::LogDirectory:
        case Action::Kind::LogFull: {
            const bool folder = a.kind == Action::Kind::LogDirectory;
            QFile::rename(logPath, keptPath_);
            folder ? QDir().mkdir(logPath) : QFile::link(QStringLiteral("/dev/full"), logPath);
            m_.world.logFailureReason = folder ? "na místě souboru je složka" : "disk je plný";
            outage_ = folder ? Outage::Directory : Outage::Full;
            m_.world.logWritable = false;
            break;
        }
        case Action::Kind::LogNearlyFull: {
            const auto room = m_.world.log.size() + static_cast<std::size_t>(a.amount);
            limit_.set(static_cast<std::int64_t>(room));
            m_.world.logRoom = room;
            m_.world.logFailureReason = "soubor je příliš velký";
            outage_ = Outage::NearlyFull;
            break;
        }
        case Action::Kind::LogBack:
            if (outage_ == Outage::NearlyFull) {
                limit_.lift();
                m_.world.logRoom = static_cast<std::size_t>(-1);
            } else {
                outage_ == Outage::Directory ? QDir().rmdir(logPath) : QFile::remove(logPath);
                QFile::rename(keptPath_, logPath);
                m_.world.logWritable = true;
            }
            outage_ = Outage::None;
            break;
        case Action::Kind::LogRemoved:
        case Action::Kind::LogReplaced:
            QFile::remove(logPath);
            m_.world.log.clear();
            if (a.kind == Action::Kind::LogReplaced) {
                rig_.writeLog(QByteArray::fromStdString(a.text));
                m_.world.log = a.text;
            }
            break;
        case Action::Kind::Unplug: {
            const QString name = QString::fromLatin1(portName(a.port));
            rig_.lines.present.remove(name);
            if (rig_.lines.openPort == name) {
                rig_.lines.unplugged = true;
            }
            m_.unplug(a.port);
            break;
        }
        case Action::Kind::Plug:
        case Action::Kind::Busy:
        case Action::Kind::Free: {
            // Plugged in: present; busy or freed: held by another program or not.
            const bool plug = a.kind == Action::Kind::Plug;
            const bool on = a.kind != Action::Kind::Free;
            QSet<QString>& names = plug ? rig_.lines.present : rig_.lines.busy;
            const QString name = QString::fromLatin1(portName(a.port));
            on ? static_cast<void>(names.insert(name)) : static_cast<void>(names.remove(name));
            (plug ? m_.world.present : m_.world.busy)[a.port == Port::Com1 ? 0 : 1] = on;
            break;
        }
        case Action::Kind::NearLimit: {
            const auto n = static_cast<std::int16_t>(32767 - a.amount);
            RaceState near = form_->state();
            near.startSignals = n;
            form_->race().restore(near);
            m_.setStartSignals(n);
            break;
        }
        case Action::Kind::Hang:
            hang(a, true);
            hang(a, false);
            break;
        }
        rig_.time.us += forwardUs;
        m_.us += forwardUs;
        if (figures_ != nullptr) {
            ++figures_->actions;
            const bool fault = isLogFault(a.kind) || a.kind == Action::Kind::Unplug ||
                               a.kind == Action::Kind::Busy || a.kind == Action::Kind::NearLimit ||
                               a.kind == Action::Kind::Hang;
            figures_->faults += fault ? 1U : 0U;
        }
    }

    // What stands at an output change, on either side.
    static std::string view(std::int64_t logBytes, const model::Fields& f, const model::Displays& w,
                            std::size_t messages) {
        std::ostringstream v;
        v << "log " << logBytes << " bytes, raceState " << f.raceState << ", lanes " << f.lane1Hits
          << f.lane2Hits << f.finishTarget << ", startSignals " << f.startSignals << ", buttons "
          << w.butStartEnabled << w.butStopEnabled << ", Text2 \"" << w.text2 << "\", Text3 \""
          << w.text3 << "\", messages " << messages;
        return v.str();
    }

    std::string realView() {
        Form1& form = rig_.form(); // also while the window loads
        const RaceState& r = form.state();
        const QFileInfo file(fileAside() ? keptPath_ : rig_.logPath());
        model::Displays w;
        w.butStartEnabled = form.controls().ButStart->isEnabled();
        w.butStopEnabled = form.controls().ButStop->isEnabled();
        w.text2 = utf8(form.controls().Text2->text());
        w.text3 = utf8(form.controls().Text3->text());
        return view(
            file.exists() ? file.size() : 0,
            {r.raceState, r.startTick, r.lane1Hits, r.lane2Hits, r.finishTarget, r.startSignals}, w,
            rig_.messages.seen.size());
    }

    std::string modelView() const {
        return view(static_cast<std::int64_t>(m_.world.log.size()), m_.fields(), m_.displays(),
                    m_.messages().size());
    }

    bool fileAside() const { return outage_ == Outage::Directory || outage_ == Outage::Full; }

    std::string logBytes() const {
        QFile file(fileAside() ? keptPath_ : rig_.logPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    std::string compare() {
        std::ostringstream d;
        const RaceState& real = form_->state();
        const model::Fields& f = m_.fields();
        const auto field = [&d](const char* what, long long got, long long want) {
            if (got != want) {
                d << what << " is " << got << ", the model has " << want << "; ";
            }
        };
        field("raceState", real.raceState, f.raceState);
        field("startTick", real.startTick, f.startTick);
        field("lane1Hits", real.lane1Hits, f.lane1Hits);
        field("lane2Hits", real.lane2Hits, f.lane2Hits);
        field("finishTarget", real.finishTarget, f.finishTarget);
        field("startSignals", real.startSignals, f.startSignals);
        field("fake time (us)", rig_.time.us, m_.us);

        const model::Displays& w = m_.displays();
        const auto& c = form_->controls();
        for (const auto& [what, got, want] : {std::tuple{"LblTime", c.LblTime->text(), &w.lblTime},
                                              {"LblTimer", c.LblTimer->text(), &w.lblTimer},
                                              {"Text1", c.Text1->text(), &w.text1},
                                              {"Text2", c.Text2->text(), &w.text2},
                                              {"Text3", c.Text3->text(), &w.text3}}) {
            if (utf8(got) != *want) {
                d << what << " shows \"" << utf8(got) << "\", the model \"" << *want << "\"; ";
            }
        }
        const QCheckBox* checks[] = {c.Check1, c.Check2, c.Check3};
        for (std::size_t i = 0; i < 3; ++i) {
            field(("Check" + std::to_string(i + 1)).c_str(), checks[i]->isChecked(), w.check[i]);
        }
        field("ButStart enabled", c.ButStart->isEnabled(), w.butStartEnabled);
        field("ButStop enabled", c.ButStop->isEnabled(), w.butStopEnabled);
        field("StartTimer enabled", c.StartTimer->isActive(), m_.timerEnabled());
        field("program ended", rig_.end.calls, m_.ended() ? 1 : 0);

        const auto& outs = rig_.lines.outputs;
        const auto& wantOuts = m_.outputs();
        for (std::size_t i = checkedOutputs_; i < std::max(outs.size(), wantOuts.size()); ++i) {
            const bool have = i < outs.size();
            const bool want = i < wantOuts.size();
            if (have && want &&
                model::Transition{fromFake(outs[i].line), outs[i].on, outs[i].us} == wantOuts[i]) {
                continue;
            }
            const auto change = [&d](bool there, Out line, bool on, std::int64_t us) {
                if (there) {
                    d << model::name(line) << (on ? " on" : " off") << " at " << us << " us";
                } else {
                    d << "none";
                }
            };
            d << "output change " << i << ": ";
            change(have, have ? fromFake(outs[i].line) : Out::Dtr, have && outs[i].on,
                   have ? outs[i].us : 0);
            d << ", the model ";
            change(want, want ? wantOuts[i].line : Out::Dtr, want && wantOuts[i].on,
                   want ? wantOuts[i].us : 0);
            d << "; ";
            break;
        }
        checkedOutputs_ = std::min(outs.size(), wantOuts.size());
        for (std::size_t i = checkedViews_;
             i < std::min(realAtOutput_.size(), modelAtOutput_.size()); ++i) {
            if (realAtOutput_[i] != modelAtOutput_[i]) {
                d << "at output change " << i << ": " << realAtOutput_[i]
                  << "; the model: " << modelAtOutput_[i] << "; ";
                break;
            }
        }
        checkedViews_ = std::min(realAtOutput_.size(), modelAtOutput_.size());

        const auto& reads = rig_.lines.reads;
        const auto& wantReads = m_.reads();
        if (reads.size() != wantReads.size()) {
            d << "line reads: " << reads.size() << ", the model " << wantReads.size() << "; ";
        }
        for (std::size_t i = checkedReads_; i < std::min(reads.size(), wantReads.size()); ++i) {
            if (reads[i] != wantReads[i]) {
                d << "line read " << i << " at " << reads[i] << " us, the model's at "
                  << wantReads[i] << " us; ";
                break;
            }
        }
        checkedReads_ = std::min(reads.size(), wantReads.size());
        const LineSnapshot sampled = rig_.sampler.snapshot();
        const model::Lines& modelled = m_.lines();
        field("line read failed", sampled.readFailed, modelled.readFailed);
        field("failed reads in a row", sampled.failedReads, modelled.failedReads);
        if (modelled.failedReads > 0) {
            field("failing since", sampled.failingSince, modelled.failingSince);
        }
        field("last answered read", sampled.answeredAt, modelled.answeredAt);
        for (const auto& [contact, line] :
             {std::pair{::Contact::Start, In::Dcd}, std::pair{::Contact::Lane1, In::Cts},
              std::pair{::Contact::Lane2, In::Dsr}}) {
            const auto i = static_cast<std::size_t>(line);
            const bool held = modelled.closed[i];
            if (sampled.isClosed(contact) != held ||
                sampled.closure(contact) != modelled.closures[i] ||
                (held && (sampled.closedTick(contact) != modelled.closedAt[i] ||
                          sampled.silenceBeforeClosing(contact) != modelled.silenceBefore[i] ||
                          sampled.closedWhenOpened(contact) != modelled.closedAtOpen[i]))) {
                d << model::name(line) << " read closed " << sampled.isClosed(contact)
                  << " (closure " << sampled.closure(contact) << " at "
                  << sampled.closedTick(contact) << " after a silence of "
                  << sampled.silenceBeforeClosing(contact) << " ms, at the opening "
                  << sampled.closedWhenOpened(contact) << "), the model " << held << " (closure "
                  << modelled.closures[i] << " at " << modelled.closedAt[i]
                  << " after a silence of " << modelled.silenceBefore[i] << " ms, at the opening "
                  << modelled.closedAtOpen[i] << "); ";
            }
        }

        if (const std::string log = logBytes(); log != m_.world.log) {
            d << "ZAVOD.TXT holds \"" << printable(log) << "\", the model \""
              << printable(m_.world.log) << "\"; ";
        }
        std::vector<std::string> pending;
        for (const QString& record : form_->race().log().pending()) {
            pending.push_back(utf8(record));
        }
        if (pending != m_.pending()) {
            d << "records kept: " << pending.size() << ", the model " << m_.pending().size()
              << "; ";
        }

        const auto& seen = rig_.messages.seen;
        const auto& said = m_.messages();
        if (seen.size() != said.size()) {
            d << "messages shown: " << seen.size() << ", the model " << said.size();
            if (!seen.empty()) {
                d << " (last \"" << utf8(seen.back().text) << "\")";
            }
            d << "; ";
        }
        for (std::size_t i = checkedMessages_; i < std::min(seen.size(), said.size()); ++i) {
            const std::string got = utf8(seen[i].text);
            if (utf8(seen[i].title) != "TAVORIN V.02") {
                d << "message " << i << " is titled \"" << utf8(seen[i].title) << "\"; ";
            }
            if (said[i].kind == model::Message::Kind::Unwritten) {
                // Its wording is the program's own; what counts is every record, in order.
                std::string tail;
                for (const std::string& record : said[i].records) {
                    tail += "\n" + record;
                }
                if (got.size() < tail.size() ||
                    got.compare(got.size() - tail.size(), tail.size(), tail) != 0) {
                    d << "the last message \"" << got << "\" does not end with the records" << tail
                      << "; ";
                }
            } else if (got != said[i].text) {
                d << "message " << i << " says \"" << got << "\", the model \"" << said[i].text
                  << "\"; ";
            } else if (said[i].kind == model::Message::Kind::Notice && seen[i].modal) {
                d << "message " << i << " is modal, not a notice; ";
            }
        }
        checkedMessages_ = std::min(seen.size(), said.size());
        // A notice told while the box is still open only changes its text.
        const auto* notice = form_->findChild<QMessageBox*>(QStringLiteral("PortNotice"));
        const std::string noticeText = notice != nullptr ? utf8(notice->text()) : std::string();
        const bool noticeOpen = notice != nullptr && notice->isVisible();
        if (noticeText != m_.noticeText() || noticeOpen != m_.noticeOpen()) {
            d << "the notice " << (noticeOpen ? "open" : "closed") << " says \"" << noticeText
              << "\", the model's " << (m_.noticeOpen() ? "open" : "closed") << " \""
              << m_.noticeText() << "\"; ";
        }
        return d.str();
    }

    const Scenario& s_;
    Figures* figures_;
    Rig rig_;
    Form1* form_ = nullptr;
    model::RaceModel m_;
    Hand hand_;
    const PassPlan* plan_ = nullptr;
    std::int64_t realPassRead_ = 0; // the number of the first read under the plan
    std::int64_t modelPassRead_ = 0;
    int realRaises_ = 0;
    int modelRaises_ = 0;
    Outage outage_ = Outage::None;
    FileSizeLimit limit_;
    QString keptPath_;
    std::size_t checkedOutputs_ = 0;
    std::size_t checkedReads_ = 0;
    std::size_t checkedMessages_ = 0;
    std::vector<std::string> realAtOutput_;
    std::vector<std::string> modelAtOutput_;
    std::size_t checkedViews_ = 0;
    std::int64_t hangUntilUs_[2] = {0, 0}; // the real side's, the model's
};

const char* levelName(Level level) {
    return level == Level::On ? "on" : level == Level::Bouncy ? "bouncing" : "off";
}

const char* kindName(Action::Kind kind) {
    static constexpr const char* names[] = {
        "click",
        "StartTimer tick",
        "window closed",
        "Text1 typed",
        "time moves on (us)",
        "clock to its next wrap less (ms)",
        "ZAVOD.TXT becomes a folder",
        "ZAVOD.TXT on a full disk",
        "the disk takes only so many more bytes of ZAVOD.TXT:",
        "ZAVOD.TXT writable again",
        "ZAVOD.TXT deleted",
        "ZAVOD.TXT replaced",
        "port unplugged",
        "port plugged in",
        "port taken by another program",
        "port freed",
        "start count set to 32767 less",
        "the lines' read hangs (us)",
    };
    return names[static_cast<std::size_t>(kind)];
}

} // namespace

std::optional<Divergence> play(const Scenario& scenario, std::size_t limit, Figures* figures) {
    Player player(scenario, figures);
    return player.run(limit);
}

Scenario shrink(const Scenario& failing, const Divergence& divergence) {
    Scenario s = failing;
    s.passes.resize(divergence.pass);
    const auto stillFails = [](Scenario& candidate) {
        if (const auto d = play(candidate, candidate.passes.size())) {
            candidate.passes.resize(d->pass);
            return true;
        }
        return false;
    };
    // Without each action it does not need, latest first.
    for (std::size_t p = s.passes.size(); p-- > 0;) {
        for (std::size_t a = p < s.passes.size() ? s.passes[p].actions.size() : 0; a-- > 0;) {
            Scenario candidate = s;
            auto& actions = candidate.passes[p].actions;
            actions.erase(actions.begin() + static_cast<std::ptrdiff_t>(a));
            if (stillFails(candidate)) {
                s = candidate;
            }
            if (p >= s.passes.size()) {
                break;
            }
        }
    }
    // With quiet contacts where they do not matter, sixteen passes at a time.
    for (std::size_t from = 0; from < s.passes.size(); from += 16) {
        Scenario candidate = s;
        for (std::size_t p = from; p < std::min(from + 16, candidate.passes.size()); ++p) {
            candidate.passes[p].dcd = candidate.passes[p].cts = candidate.passes[p].dsr =
                Level::Off;
        }
        if (stillFails(candidate)) {
            s = candidate;
        }
    }
    return s;
}

std::string describe(const Scenario& s, std::size_t limit) {
    std::ostringstream out;
    out << "start: COM1 " << (s.com1 ? "present" : "missing") << ", COM2 "
        << (s.com2 ? "present" : "missing") << ", fake time " << s.startUs
        << " us, millisecond clock offset " << s.millisOffset << ", log "
        << (s.initialLog.empty() ? "absent" : "\"" + printable(s.initialLog) + "\"") << "\n";
    for (std::size_t p = 0; p < std::min(limit, s.passes.size()); ++p) {
        const PassPlan& plan = s.passes[p];
        if (plan.dcd == Level::Off && plan.cts == Level::Off && plan.dsr == Level::Off &&
            plan.actions.empty()) {
            continue;
        }
        out << "pass " << p + 1 << ": DCD " << levelName(plan.dcd) << ", CTS "
            << levelName(plan.cts) << ", DSR " << levelName(plan.dsr);
        for (const Action& a : plan.actions) {
            out << "; ";
            if (a.atRaise >= 0) {
                out << "at output raise " << a.atRaise << ": ";
            }
            out << kindName(a.kind);
            if (a.kind == Action::Kind::Click) {
                out << " " << model::name(a.button);
            } else if (a.kind == Action::Kind::Type || a.kind == Action::Kind::LogReplaced) {
                out << " \"" << printable(a.text) << "\"";
            } else if (a.kind >= Action::Kind::Unplug && a.kind <= Action::Kind::Free) {
                out << " " << portName(a.port);
            } else if (a.kind == Action::Kind::TimeJump || a.kind == Action::Kind::ClockToWrap ||
                       a.kind == Action::Kind::NearLimit || a.kind == Action::Kind::LogNearlyFull) {
                out << " " << a.amount;
            } else if (a.kind == Action::Kind::Hang) {
                out << " " << a.amount << " from " << a.after << " us on, then "
                    << (a.fails ? "fails" : "answers");
            }
        }
        out << "\n";
    }
    return out.str();
}

} // namespace scenario
