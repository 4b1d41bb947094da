#pragma once

#include <QString>

// Keeps the session's screen saver from blanking the screen while it is held: Inhibit on the
// session bus (org.freedesktop.ScreenSaver, at /org/freedesktop/ScreenSaver or, with older
// desktops, /ScreenSaver), UnInhibit with the cookie it answered to end it.
class ScreenSaverInhibitor {
public:
    // Asks at once, waiting at most timeoutMs for each answer.
    ScreenSaverInhibitor(const QString& application, const QString& reason, int timeoutMs);
    ~ScreenSaverInhibitor() { release(); }
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    bool held() const { return !path_.isEmpty(); }
    // Why it is not held: the D-Bus error name of the first path asked.
    const QString& error() const { return error_; }
    void release();

private:
    int timeoutMs_;
    QString path_; // where the screen saver answered
    uint cookie_ = 0;
    QString error_;
};
