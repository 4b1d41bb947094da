#include "window/ProgramEnd.h"

#include <cstdio>
#include <cstdlib>

void ProcessExit::endProgram() {
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}
