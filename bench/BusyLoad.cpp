#include "bench/BusyLoad.h"

#include <csignal>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

BusyLoad::BusyLoad(int processes) {
    const pid_t parent = getpid();
    for (int i = 0; i < processes; ++i) {
        const pid_t child = fork();
        if (child == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) {
                _exit(0);
            }
            // Ordinary priority, whatever the benchmark itself was given.
            sched_param normal{};
            sched_setscheduler(0, SCHED_OTHER, &normal);
            volatile unsigned long spin = 0;
            for (;;) {
                spin = spin + 1;
            }
        }
        if (child > 0) {
            children_.push_back(child);
        }
    }
}

BusyLoad::~BusyLoad() {
    for (pid_t child : children_) {
        kill(child, SIGKILL);
    }
    for (pid_t child : children_) {
        waitpid(child, nullptr, 0);
    }
}
