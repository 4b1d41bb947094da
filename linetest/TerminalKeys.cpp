#include "linetest/TerminalKeys.h"

#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t stopAsked = 0;

void askStop(int) {
    stopAsked = 1;
}
} // namespace

TerminalKeys::TerminalKeys() {
    struct sigaction action {};
    action.sa_handler = &askStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    terminal_ = isatty(STDIN_FILENO) == 1 && tcgetattr(STDIN_FILENO, &saved_) == 0;
    if (terminal_) {
        termios raw = saved_;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
}

TerminalKeys::~TerminalKeys() {
    if (terminal_) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
}

int TerminalKeys::nextKey() {
    if (stopAsked != 0) {
        return 'q';
    }
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, 0) <= 0) {
        return -1;
    }
    if ((input.revents & POLLNVAL) != 0) {
        return 'q';
    }
    char key = 0;
    const ssize_t got = read(STDIN_FILENO, &key, 1);
    if (got == 0 || (got == 1 && key == '\x04')) {
        return 'q';
    }
    return got == 1 ? static_cast<unsigned char>(key) : -1;
}

void TerminalKeys::dropPending() {
    if (terminal_) {
        tcflush(STDIN_FILENO, TCIFLUSH);
    }
}
