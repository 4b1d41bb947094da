#include "window/ProgramEnd.h"

#include <cstdio>
#include <cstdlib>

void ProcessExit::endProgram() {
    for (const auto& step : steps_) {
        step();
    }
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}
