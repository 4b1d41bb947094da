#include "window/Application.h"
#include "window/Form1.h"
#include "window/Platform.h"
#include "window/QtTranslations.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
    loadQtTranslations(app);
    RealPlatform machine;
    Form1 form(machine.platform());
    app.setRunTimeErrorHandler([&form](const QString& what) { form.reportRunTimeError(what); });
    form.Form_Load();
    form.show();
    return Application::exec();
}
