#pragma once

#include <QApplication>

// The application object: the program's name and how its window is drawn.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);
};
