#include "app/Machine.h"
#include "l10n/QtTranslations.h"
#include "realtime/RealtimePriority.h"
#include "window/Application.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
    loadQtTranslations(app);
    // The loop runs in this thread: its passes and pulses keep time when the PC is busy. Asked
    // before the window is built, which takes a small part of the real-time CPU limit.
    requestRealtimePriority();
    Machine machine;
    // The sampler's reads stamp every start and lane time: it gets the same priority.
    requestRealtimePriority(RealtimeThread{machine.samplerThreadId(),
                                           QStringLiteral("vzorkování linek"),
                                           QStringLiteral("line sampler")});
    Form1& form = machine.window();
    form.Form_Load();
    form.show();
    return Application::exec();
}
