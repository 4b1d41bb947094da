#pragma once

#include <QString>
#include <cstdint>

class LineBackend;

// The serial port used as six digital lines. Free routines with module-level state: the
// handle of the port and the backend that carries the calls.
namespace Module1 {

// Opens the port by name (only its first four characters count) and keeps its handle.
// Returns 0 when the open failed, otherwise a non-zero value.
std::int16_t OpenPort(const QString& name);
void ClosePort();

// 1 raises the line; any other value drops it.
void SetDtr(std::int16_t state);
void SetRts(std::int16_t state);
void SetBreak(std::int16_t state);

// 1 when the line is on, else 0 (also when the port is not open). Each call is a new sample.
std::int16_t CtsOn();
std::int16_t DsrOn();
std::int16_t DcdOn();

// 0 before the first OpenPort, -1 after a failed one; ClosePort leaves it as it is.
std::int32_t portHandle();

// The backend every call goes through; the program installs the real port, tests a fake.
void installBackend(LineBackend* backend);

} // namespace Module1
