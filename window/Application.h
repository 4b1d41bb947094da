#pragma once

#include <QApplication>

#include <functional>

// The application object. An exception that escapes an event handler (the polling loop runs
// inside one) is an untrapped run-time error: it is handed to the error handler, which
// reports it and ends the program, instead of tearing the process down unreported.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    void setRunTimeErrorHandler(std::function<void(const QString&)> handler);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void(const QString&)> handler_;
};
