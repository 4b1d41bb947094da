#pragma once

#include "desktop/Inhibition.h"

// Keeps the session's screen saver from blanking the screen while it is held: Inhibit on the
// session bus (org.freedesktop.ScreenSaver, at /org/freedesktop/ScreenSaver or, with older
// desktops, /ScreenSaver), UnInhibit with the cookie it answered to end it. Asks at once,
// waiting at most timeoutMs for each answer; the error is that of the first path asked.
Inhibition inhibitScreenSaver(const QString& application, const QString& reason, int timeoutMs);
