#pragma once

#include "race/Race.h"
#include "race/RaceWindow.h"
#include "race/ResultsLog.h"
#include "window/Platform.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// The operator's window. It owns the race and every handler: start-up and port choice, the
// operator's commands and the end of the program. Exactly fourteen events are handled: load,
// unload, the StartTimer tick and the clicks of eleven buttons.
class Form1 : public QWidget, private RaceWindow {
    Q_OBJECT

public:
    explicit Form1(Platform platform, QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up, before the window is first shown: COM2, else COM1, outputs dropped, the loop
    // set going through StartTimer.
    void Form_Load();

    Race& race() { return race_; }
    const RaceState& state() const { return race_.state(); }
    std::int16_t portResult() const { return portResult_; }
    bool ended() const { return ended_; }

    // Public operations of the window.
    void ulozi();
    void trest();
    void anulovan();

    // An error that nothing handled: reported, then the program ends safely.
    void reportRunTimeError(const QString& what);

    // The controls, by their designed names.
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QLabel* LblTimer = nullptr;
    QLabel* LblTime = nullptr;
    QLabel* Label4 = nullptr;
    std::array<QLabel*, 7> Label3{};
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QPushButton* ButStart = nullptr;
    QPushButton* ButStop = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QTimer* StartTimer = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

public:
    // The handlers, one for each of the fourteen events; the toolkit calls them, and so may a
    // test that stands in for the toolkit.
    void Form_Unload();
    void StartTimer_Timer();
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void ButStart_Click();
    void ButStop_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command8_Click();
    void Command9_Click();

private:
    void buildControls();
    void connectHandlers();

    void selectPort(const QString& name, const QString& busyMessage);
    void shutdown();
    void endProgram();
    void endRaceButtons();

    // RaceWindow
    void showClock(const QString& text) override;
    void showRunningTime(const QString& text) override;
    void showLaneTime(int lane, const QString& text) override;
    void showSensor(int sensor, bool on) override;
    void setButStartEnabled(bool enabled) override;
    void setButStopEnabled(bool enabled) override;
    void pumpEvents() override;

    Platform platform_;
    ResultsLog log_;
    Race race_;
    std::int16_t portResult_ = 0;
    bool loading_ = false;
    bool ended_ = false;
};
