#include "app/RealPlatform.h"
#include "serial/RealtimePriority.h"
#include "window/Application.h"
#include "window/Form1.h"
#include "window/QtTranslations.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
    loadQtTranslations(app);
    RealPlatform machine;
    Form1 form(machine.platform());
    app.setRunTimeErrorHandler([&form](const QString& what) { form.reportRunTimeError(what); });
    form.Form_Load();
    form.show();
    // Asked once the window is up, so that building it never counts against the real-time
    // limit; the loop runs in this thread, its passes and pulses keep time when the PC is busy.
    requestRealtimePriority();
    return Application::exec();
}
