#include "window/Form1.h"

#include "race/ResultsLog.h"
#include "window/Layout.h"
#include "window/Messages.h"
#include "window/OutageNotice.h"
#include "window/ProgramEnd.h"
#include "window/RefreshGate.h"
#include "window/RunningTimeLabel.h"
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

QWidget* makeControl(const Layout::Control& control, QWidget* container) {
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case Layout::Kind::Frame:
        return new QGroupBox(caption, container);
    case Layout::Kind::Label:
        if (qstrcmp(control.name, "LblTimer") == 0) {
            return new RunningTimeLabel(caption, container);
        }
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

Form1::Form1(Race& race, ResultsLog& log, MillisClock& clock, ProgramEnd& end, QWidget* parent)
    : QWidget(parent), race_(race), log_(log), end_(end) {
    race_.showOn(*this);
    buildControls();
    refresh_ = new RefreshGate(*this, clock);
    auto* notice = new OutageNotice(this, QStringLiteral("OutageNotice"));
    portNotice_ = new OutageNotice(this, QStringLiteral("PortNotice"), true);
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
        // Inner controls paint the platform's own face colour over Frame1's.
        if (name != QLatin1String("Frame1") && control.kind != Layout::Kind::TextBox &&
            control.kind != Layout::Kind::CommandButton) {
            paint(widget, plain.color(QPalette::Button), plain.color(QPalette::WindowText));
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            tabStops.emplace_back(control.tabIndex, widget);
        }
        controls_.take(control.name, control.index, widget);
    }
    controls_.StartTimer = new QTimer(this);
    controls_.StartTimer->setObjectName(QStringLiteral("StartTimer"));
    controls_.StartTimer->setInterval(100);
    controls_.checkComplete();

    for (const Layout::Colours& colours : Layout::colours()) {
        const QString name = QString::fromLatin1(colours.name);
        for (QWidget* widget : findChildren<QWidget*>(name)) {
            if (colours.index < 0 || widget->property("index").toInt() == colours.index) {
                paint(widget, Layout::background(colours, plain), Layout::text(colours, plain));
            }
        }
    }
    std::sort(tabStops.begin(), tabStops.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
        setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    }
    controls_.LblTime->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // A label of fixed size does not ask its parent for a new layout with every text it
    // takes: the time of day posted one on every new second.
    controls_.LblTime->setFixedSize(controls_.LblTime->size());
}

void Form1::connectHandlers() {
    // Each event has one handler: the window's own, or a command of the race. Once the
    // program has ended, no handler runs any more.
    const auto on = [this](auto* sender, auto signal, auto* target, auto handler) {
        connect(sender, signal, this, [this, target, handler] {
            if (!ended_) {
                (target->*handler)();
            }
        });
    };
    const FormControls& c = controls_;
    on(c.StartTimer, &QTimer::timeout, this, &Form1::StartTimer_Timer);
    on(c.Option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    on(c.Option2, &QRadioButton::clicked, this, &Form1::Option2_Click);
    on(c.Command1, &QPushButton::clicked, this, &Form1::shutdown);
    on(c.ButStart, &QPushButton::clicked, &race_, &Race::startByHand);
    on(c.ButStop, &QPushButton::clicked, &race_, &Race::stopByHand);
    on(c.Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    on(c.Command3, &QPushButton::clicked, &race_, &Race::saveTeam);
    on(c.Command4, &QPushButton::clicked, &race_, &Race::clearLanes);
    on(c.Command5, &QPushButton::clicked, &race_, &Race::disqualify);
    on(c.Command8, &QPushButton::clicked, &race_, &Race::resetStopwatches);
    on(c.Command9, &QPushButton::clicked, &race_, &Race::anulovan);
}

// --- Start-up, port selection and shutdown ---

void Form1::Form_Load() {
    // A tick that falls due while a start-up message is open only stops the timer; the last
    // step below starts it again, so the loop is entered once, after start-up.
    loading_ = true;
    portResult_ = race_.openPort(QStringLiteral("COM2"));
    if (portResult_ == 0) {
        portResult_ = race_.openPort(QStringLiteral("COM1"));
        // Marking the option selected runs its whole click handler, as a click would.
        controls_.Option1->setChecked(true);
        Option1_Click();
    }
    if (portResult_ == 0) {
        Messages::show(this, Messages::noPort);
    }
    race_.portReady();
    controls_.StartTimer->start();
    loading_ = false;
}

void Form1::Option1_Click() {
    portResult_ = race_.changePort(QStringLiteral("COM1"), Messages::com1Busy);
    controls_.StartTimer->start();
}

void Form1::Option2_Click() {
    portResult_ = race_.changePort(QStringLiteral("COM2"), Messages::com2Busy);
    controls_.StartTimer->start();
}

void Form1::StartTimer_Timer() {
    controls_.StartTimer->stop();
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
    if (!race_.closeDown()) {
        Messages::show(this, Messages::unwrittenRecords(log_.pending()));
    }
    endProgram();
}

void Form1::endProgram() {
    ended_ = true;
    race_.leaveLoop();
    end_.endProgram();
}

// --- Operator commands ---

void Form1::Command2_Click() {
    controls_.Text1->setText(QStringLiteral(" "));
}

// --- What the race shows and reads ---

void Form1::showClock(const QString& text) {
    controls_.LblTime->setText(text);
}

void Form1::showRunningTime(const QString& text) {
    controls_.LblTimer->setText(text);
}

void Form1::showLaneTime(int lane, const QString& text) {
    (lane == 1 ? controls_.Text2 : controls_.Text3)->setText(text);
}

void Form1::showSensor(int sensor, bool on) {
    QCheckBox* box = sensor == 1   ? controls_.Check1
                     : sensor == 2 ? controls_.Check2
                                   : controls_.Check3;
    box->setChecked(on);
}

void Form1::setButStartEnabled(bool enabled) {
    controls_.ButStart->setEnabled(enabled);
}

void Form1::setButStopEnabled(bool enabled) {
    controls_.ButStop->setEnabled(enabled);
}

QString Form1::teamName() const {
    return controls_.Text1->text();
}

void Form1::showMessage(const QString& text) {
    Messages::show(this, text);
}

void Form1::showNotice(const QString& text) {
    portNotice_->tell(text);
}

void Form1::pumpEvents() {
    refresh_->poll();
    QCoreApplication::processEvents();
}
