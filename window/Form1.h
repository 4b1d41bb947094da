#pragma once

#include "race/Race.h"
#include "race/RaceWindow.h"
#include "window/FormControls.h"

#include <QWidget>

class MillisClock;
class OutageNotice;
class ProgramEnd;
class RefreshGate;
class ResultsLog;

// The operator's window: its controls, and one handler for each event it takes (load, unload,
// the StartTimer tick and the clicks of eleven buttons). Start-up, port choice and the end of
// the program are the window's; a button that runs a race command is wired straight to it. It
// shows the race, the log's outages and its last unwritten records, and refreshes on the clock.
class Form1 : public QWidget, private RaceWindow {
    Q_OBJECT

public:
    Form1(Race& race, ResultsLog& log, MillisClock& clock, ProgramEnd& end,
          QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up, before the window is first shown: COM2, else COM1, outputs dropped, the loop
    // set going through StartTimer.
    void Form_Load();

    const FormControls& controls() const { return controls_; }
    Race& race() { return race_; }
    const RaceState& state() const { return race_.state(); }
    std::int16_t portResult() const { return portResult_; }
    bool ended() const { return ended_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Unload();
    void StartTimer_Timer();
    void Option1_Click();
    void Option2_Click();
    void Command2_Click();

    void buildControls();
    void connectHandlers();
    void shutdown();
    void endProgram();

    // RaceWindow
    void showClock(const QString& text) override;
    void showRunningTime(const QString& text) override;
    void showLaneTime(int lane, const QString& text) override;
    void showSensor(int sensor, bool on) override;
    void setButStartEnabled(bool enabled) override;
    void setButStopEnabled(bool enabled) override;
    QString teamName() const override;
    void showMessage(const QString& text) override;
    void showNotice(const QString& text) override;
    void pumpEvents() override;

    Race& race_;
    ResultsLog& log_;
    ProgramEnd& end_;
    FormControls controls_;
    RefreshGate* refresh_ = nullptr;
    OutageNotice* portNotice_ = nullptr;
    std::int16_t portResult_ = 0;
    bool loading_ = false;
    bool ended_ = false;
};
