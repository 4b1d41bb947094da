#pragma once

#include <functional>
#include <vector>

// Ends the program at once, from inside any handler: no handler runs afterwards.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endProgram() = 0;
};

// Ends the process. Every record is already in the file, since no file stays open between
// appends, and on the disk unless its flush takes longer than ResultsLog::endFlushLimit, which
// the caller has waited; the caller has dropped the outputs too. What was registered with
// atEnd() runs first.
class ProcessExit final : public ProgramEnd {
public:
    void endProgram() override;
    // A step for the end, such as giving back what was asked of the desktop.
    void atEnd(std::function<void()> step) { steps_.push_back(std::move(step)); }

private:
    std::vector<std::function<void()>> steps_;
};
