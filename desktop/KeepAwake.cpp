#include "desktop/KeepAwake.h"

#include "desktop/ScreenSaverInhibitor.h"
#include "desktop/SleepInhibitor.h"

#include <ostream>

KeepAwake::KeepAwake(std::ostream& out, int busTimeoutMs)
    : sleep_(inhibitSleep(who, why, busTimeoutMs)),
      screen_(inhibitScreenSaver(who, why, busTimeoutMs)) {
    if (!sleep_.held()) {
        const std::string error = sleep_.error().toStdString();
        out << "tavorin: uspání počítače nelze zablokovat (logind: " << error
            << ") / suspend cannot be blocked (logind: " << error << ")" << std::endl;
    }
    if (!screen_.held()) {
        const std::string error = screen_.error().toStdString();
        out << "tavorin: spořič obrazovky nelze zablokovat (" << error
            << ") / the screen saver cannot be inhibited (" << error << ")" << std::endl;
    }
}

void KeepAwake::release() {
    screen_.release();
    sleep_.release();
}
