#pragma once

#include "linetest/LineCheck.h"

#include <termios.h>

// Keys from standard input, one at a time without Enter or echo when it is a terminal. Ctrl+C,
// a hang-up, Ctrl+D and the end of the input all read as q, so the test ends through its own
// path and the terminal gets its settings back.
class TerminalKeys final : public KeySource {
public:
    TerminalKeys();
    ~TerminalKeys() override;
    TerminalKeys(const TerminalKeys&) = delete;
    TerminalKeys& operator=(const TerminalKeys&) = delete;

    int nextKey() override;
    void dropPending() override;

private:
    bool terminal_ = false;
    termios saved_{};
};
