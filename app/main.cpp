#include "app/RealPlatform.h"
#include "l10n/QtTranslations.h"
#include "serial/RealtimePriority.h"
#include "window/Application.h"
#include "window/Form1.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
    loadQtTranslations(app);
    // The loop runs in this thread: its passes and pulses keep time when the PC is busy. Asked
    // before the window is built, which takes a small part of the real-time CPU limit.
    requestRealtimePriority();
    RealPlatform machine;
    Form1 form(machine.platform());
    app.setRunTimeErrorHandler([&form](const QString& what) { form.reportRunTimeError(what); });
    form.Form_Load();
    form.show();
    return Application::exec();
}
