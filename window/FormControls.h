#pragma once

#include "window/RunningTimeLabel.h"

#include <QString>

#include <array>
#include <string_view>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class QTimer;
class QWidget;

// Every control of the operator's window by its name, filled as the layout table is walked.
struct FormControls {
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    RunningTimeLabel* LblTimer = nullptr;
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

    // Puts the widget made for a row of the layout table in its member. A row that names no
    // member, or a widget of the wrong kind for it, ends the program at once.
    void take(std::string_view name, int index, QWidget* widget);
    // Ends the program at once, naming the first member that no row has filled.
    void checkComplete() const;
};
