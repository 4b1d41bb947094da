#include "window/Form1.h"

#include "race/LogRecords.h"
#include "serial/Module1.h"
#include "serial/Module2.h"
#include "serial/Pulses.h"
#include "window/Layout.h"
#include "window/Messages.h"
#include "window/OutageNotice.h"
#include "window/WrappingButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

const QString blank = QStringLiteral(" ");

QWidget* makeControl(const Layout::Control& control, QWidget* container) {
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case Layout::Kind::Frame:
        return new QGroupBox(caption, container);
    case Layout::Kind::Label:
        return new QLabel(caption, container);
    case Layout::Kind::CommandButton:
        return new WrappingButton(caption, container);
    case Layout::Kind::TextBox:
        return new QLineEdit(caption, container);
    case Layout::Kind::CheckBox:
        return new QCheckBox(caption, container);
    case Layout::Kind::OptionButton:
        return new QRadioButton(caption, container);
    }
    return nullptr;
}

void paint(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

Form1::Form1(Platform platform, QWidget* parent)
    : QWidget(parent), platform_(platform), log_(QString::fromLatin1(LogRecords::fileName)),
      race_(*this, platform.clock, platform.pause, platform.timeOfDay, log_) {
    Module1::installBackend(&platform_.lines);
    Module2::installCounter(&platform_.counter);
    Module2::installSleep(&platform_.pulseSleep);
    buildControls();
    auto* notice = new OutageNotice(this);
    log_.setNotice([notice](const QString& message) { notice->tell(message); });
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::buildControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Layout::caption);
    setFont(Layout::font(Layout::windowFont));
    setFixedSize(Layout::pixels(Layout::clientWidth), Layout::pixels(Layout::clientHeight));
    move(Layout::pixels(Layout::clientLeft), Layout::pixels(Layout::clientTop));

    QHash<QString, QWidget*> containers{{QStringLiteral("Form1"), this}};
    std::vector<std::pair<int, QWidget*>> tabStops;
    const QPalette plain = QApplication::palette();
    for (const Layout::Control& control : Layout::controls()) {
        QWidget* widget =
            makeControl(control, containers.value(QString::fromLatin1(control.container)));
        const QString name = QString::fromLatin1(control.name);
        widget->setObjectName(name);
        widget->setGeometry(Layout::geometry(control));
        widget->setFont(Layout::font(control.font));
        if (control.index >= 0) {
            widget->setProperty("index", control.index);
        }
        if (control.kind == Layout::Kind::Frame) {
            containers.insert(name, widget);
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
        // Inner controls paint the platform's own face colour over Frame1's white.
        if (name != QLatin1String("Frame1") && control.kind != Layout::Kind::TextBox &&
            control.kind != Layout::Kind::CommandButton) {
            paint(widget, plain.color(QPalette::Button), plain.color(QPalette::WindowText));
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            tabStops.emplace_back(control.tabIndex, widget);
        }
    }
    for (const Layout::Colours& colours : Layout::colours()) {
        const QString name = QString::fromLatin1(colours.name);
        for (QWidget* widget : findChildren<QWidget*>(name)) {
            if (colours.index < 0 || widget->property("index").toInt() == colours.index) {
                paint(widget, colours.background, colours.text);
            }
        }
    }
    std::sort(tabStops.begin(), tabStops.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
        setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    }

    Frame1 = findChild<QGroupBox*>(QStringLiteral("Frame1"));
    Frame2 = findChild<QGroupBox*>(QStringLiteral("Frame2"));
    Frame3 = findChild<QGroupBox*>(QStringLiteral("Frame3"));
    Frame4 = findChild<QGroupBox*>(QStringLiteral("Frame4"));
    Frame5 = findChild<QGroupBox*>(QStringLiteral("Frame5"));
    LblTimer = findChild<QLabel*>(QStringLiteral("LblTimer"));
    LblTime = findChild<QLabel*>(QStringLiteral("LblTime"));
    LblTime->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4 = findChild<QLabel*>(QStringLiteral("Label4"));
    for (QLabel* label : findChildren<QLabel*>(QStringLiteral("Label3"))) {
        Label3.at(static_cast<std::size_t>(label->property("index").toInt())) = label;
    }
    Option1 = findChild<QRadioButton*>(QStringLiteral("Option1"));
    Option2 = findChild<QRadioButton*>(QStringLiteral("Option2"));
    ButStart = findChild<QPushButton*>(QStringLiteral("ButStart"));
    ButStop = findChild<QPushButton*>(QStringLiteral("ButStop"));
    Command1 = findChild<QPushButton*>(QStringLiteral("Command1"));
    Command2 = findChild<QPushButton*>(QStringLiteral("Command2"));
    Command3 = findChild<QPushButton*>(QStringLiteral("Command3"));
    Command4 = findChild<QPushButton*>(QStringLiteral("Command4"));
    Command5 = findChild<QPushButton*>(QStringLiteral("Command5"));
    Command8 = findChild<QPushButton*>(QStringLiteral("Command8"));
    Command9 = findChild<QPushButton*>(QStringLiteral("Command9"));
    Check1 = findChild<QCheckBox*>(QStringLiteral("Check1"));
    Check2 = findChild<QCheckBox*>(QStringLiteral("Check2"));
    Check3 = findChild<QCheckBox*>(QStringLiteral("Check3"));
    Text1 = findChild<QLineEdit*>(QStringLiteral("Text1"));
    Text2 = findChild<QLineEdit*>(QStringLiteral("Text2"));
    Text3 = findChild<QLineEdit*>(QStringLiteral("Text3"));

    StartTimer = new QTimer(this);
    StartTimer->setObjectName(QStringLiteral("StartTimer"));
    StartTimer->setInterval(100);
}

void Form1::connectHandlers() {
    // Once the program has ended, no handler runs any more.
    const auto on = [this](auto* sender, auto signal, void (Form1::*handler)()) {
        connect(sender, signal, this, [this, handler] {
            if (!ended_) {
                (this->*handler)();
            }
        });
    };
    on(StartTimer, &QTimer::timeout, &Form1::StartTimer_Timer);
    on(Option1, &QRadioButton::clicked, &Form1::Option1_Click);
    on(Option2, &QRadioButton::clicked, &Form1::Option2_Click);
    on(Command1, &QPushButton::clicked, &Form1::Command1_Click);
    on(ButStart, &QPushButton::clicked, &Form1::ButStart_Click);
    on(ButStop, &QPushButton::clicked, &Form1::ButStop_Click);
    on(Command2, &QPushButton::clicked, &Form1::Command2_Click);
    on(Command3, &QPushButton::clicked, &Form1::Command3_Click);
    on(Command4, &QPushButton::clicked, &Form1::Command4_Click);
    on(Command5, &QPushButton::clicked, &Form1::Command5_Click);
    on(Command8, &QPushButton::clicked, &Form1::Command8_Click);
    on(Command9, &QPushButton::clicked, &Form1::Command9_Click);
}

// --- Start-up, port selection and shutdown ---

void Form1::Form_Load() {
    // A tick that falls due while a start-up message is open only stops the timer; the last
    // step below starts it again, so the loop is entered once, after start-up.
    loading_ = true;
    portResult_ = Module1::OpenPort(QStringLiteral("COM2"));
    if (portResult_ == 0) {
        portResult_ = Module1::OpenPort(QStringLiteral("COM1"));
        // Marking the option selected runs its whole click handler, as a click would.
        Option1->setChecked(true);
        Option1_Click();
    }
    if (portResult_ == 0) {
        Messages::show(this, Messages::noPort);
    }
    Module1::SetBreak(0);
    Module1::SetDtr(0);
    Module1::SetRts(0);
    race_.state().raceState = 0;
    StartTimer->start();
    loading_ = false;
}

void Form1::Option1_Click() {
    selectPort(QStringLiteral("COM1"), Messages::com1Busy);
}

void Form1::Option2_Click() {
    selectPort(QStringLiteral("COM2"), Messages::com2Busy);
}

void Form1::selectPort(const QString& name, const QString& busyMessage) {
    Module1::ClosePort();
    portResult_ = Module1::OpenPort(name);
    if (portResult_ == 0) {
        Messages::show(this, busyMessage);
    }
    Module1::SetBreak(0);
    Module1::SetDtr(0);
    Module1::SetRts(0);
    race_.state().raceState = 0;
    StartTimer->start();
}

void Form1::StartTimer_Timer() {
    StartTimer->stop();
    if (loading_) {
        return;
    }
    if (race_.loopRunning()) {
        // The running loop hands over to a fresh one right after its event pump.
        race_.requestRestart();
        return;
    }
    race_.PollSensors();
}

void Form1::Command1_Click() {
    shutdown();
}

void Form1::Form_Unload() {
    shutdown();
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!ended_) {
        Form_Unload();
    }
    event->accept();
}

void Form1::shutdown() {
    Module1::SetDtr(0);
    Module1::SetRts(0);
    Module1::SetBreak(0);
    Module1::ClosePort();
    if (!log_.retryPending()) {
        Messages::show(this, Messages::unwrittenRecords(log_.pending()));
    }
    endProgram();
}

void Form1::endProgram() {
    ended_ = true;
    race_.leaveLoop();
    platform_.end.endProgram();
}

void Form1::reportRunTimeError(const QString& what) {
    if (ended_) {
        return;
    }
    Messages::show(this, Messages::runTimeError(what));
    shutdown();
}

// --- Operator commands ---

void Form1::endRaceButtons() {
    ButStart->setEnabled(true);
    ButStop->setEnabled(false);
}

void Form1::ButStart_Click() {
    RaceState& s = race_.state();
    if (s.raceState == 0) {
        s.raceState = 1;
        ButStart->setEnabled(false);
        ButStop->setEnabled(true);
        s.startTick = race_.timeGetTime();
    }
    StartPulse();
}

void Form1::ButStop_Click() {
    ulozi();
    endRaceButtons();
    RaceState& s = race_.state();
    s.raceState = 0;
    StopPulse();
    s.armLanes();
    s.startSignals = 0;
}

void Form1::Command2_Click() {
    Text1->setText(blank);
}

void Form1::Command3_Click() {
    log_.append([this] { return LogRecords::teamLine(Text1->text()); });
}

void Form1::Command4_Click() {
    Text2->setText(blank);
    Text3->setText(blank);
    RaceState& s = race_.state();
    s.armLanes();
    s.startSignals = 0;
}

void Form1::Command5_Click() {
    endRaceButtons();
    RaceState& s = race_.state();
    s.raceState = 0;
    StopPulse();
    s.armLanes();
    s.startSignals = 0;
    trest();
}

void Form1::Command8_Click() {
    ResetPulse();
}

void Form1::Command9_Click() {
    anulovan();
}

void Form1::ulozi() {
    race_.ulozi();
}

void Form1::trest() {
    race_.trest();
}

void Form1::anulovan() {
    race_.anulovan();
}

// --- What the race shows ---

void Form1::showClock(const QString& text) {
    LblTime->setText(text);
}

void Form1::showRunningTime(const QString& text) {
    LblTimer->setText(text);
}

void Form1::showLaneTime(int lane, const QString& text) {
    (lane == 1 ? Text2 : Text3)->setText(text);
}

void Form1::showSensor(int sensor, bool on) {
    QCheckBox* box = sensor == 1 ? Check1 : sensor == 2 ? Check2 : Check3;
    box->setChecked(on);
}

void Form1::setButStartEnabled(bool enabled) {
    ButStart->setEnabled(enabled);
}

void Form1::setButStopEnabled(bool enabled) {
    ButStop->setEnabled(enabled);
}

void Form1::pumpEvents() {
    QCoreApplication::processEvents();
}
