#include "app/RealPlatform.h"
#include "desktop/KeepAwake.h"
#include "race/DiskFlush.h"
#include "race/LogFlusher.h"
#include "serial/RealtimePriority.h"
#include "window/Application.h"
#include "window/Form1.h"
#include "window/QtTranslations.h"

#include <iostream>

int main(int argc, char** argv) {
    Application app(argc, argv);
    loadQtTranslations(app);
    // The loop runs in this thread: its passes and pulses keep time when the PC is busy. Asked
    // before the window is built, which takes a small part of the real-time CPU limit.
    requestRealtimePriority();
    // No suspend and no blank screen while the program is open, and every record put on the
    // disk from a thread of its own; both outlive the window.
    KeepAwake awake(std::cerr);
    SystemDiskFlush disk;
    LogFlusher flusher(disk);
    RealPlatform machine;
    // The sampler's reads stamp every start and lane time: it gets the same priority.
    requestRealtimePriority(RealtimeThread{machine.samplerThreadId(),
                                           QStringLiteral("vzorkování linek"),
                                           QStringLiteral("line sampler")});
    Form1 form(machine.platform());
    machine.processExit().atEnd([&awake] { awake.release(); });
    form.race().log().flushWith(flusher);
    app.setRunTimeErrorHandler([&form](const QString& what) { form.reportRunTimeError(what); });
    form.Form_Load();
    form.show();
    return Application::exec();
}
