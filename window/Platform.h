#pragma once

class LineBackend;
class LineSampler;
class MillisClock;
class Pause;
class PerformanceCounter;
class ProgramEnd;
class PulseSleep;
class TimeOfDay;

// Everything the window takes from the machine: the control lines, the clocks, the sleeps,
// the time of day and the end of the program. The program hands in the real ones, tests fakes.
struct Platform {
    LineBackend& lines;
    LineSampler& sampler; // reads the inputs of the lines above
    PerformanceCounter& counter;
    PulseSleep& pulseSleep;
    MillisClock& clock;
    Pause& pause;
    TimeOfDay& timeOfDay;
    ProgramEnd& end;
};
