#pragma once

// Ends the program at once, from inside any handler: no handler runs afterwards.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endProgram() = 0;
};

// Ends the process. Every record is already on disk, since no file stays open between
// appends, and the outputs have been dropped by the caller.
class ProcessExit final : public ProgramEnd {
public:
    void endProgram() override;
};
