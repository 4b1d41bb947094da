#pragma once

// The modem lines of one terminal device, answered in place of the driver: a pseudo-terminal
// has none, so the tests give it some. Linked into a test executable, its ioctl() comes before
// the C library's for every library in the process (Qt SerialPort included); requests for
// other devices, and every other request, go to the real ioctl().

#include <sys/types.h>

namespace FakeModemLines {

// Outputs bit for a break on the transmit line; the TIOCM_ bits leave it free.
inline constexpr int breakBit = 0x40000000;

// Answers for the character device with this number (st_rdev) from now on, with every line
// low and no requests counted.
void attach(dev_t device);
void detach();

// The input lines the device reports: TIOCM_CTS, TIOCM_DSR, TIOCM_CAR, TIOCM_RNG.
void setInputs(int tiocmBits);

// The outputs as last driven: TIOCM_DTR, TIOCM_RTS and breakBit.
int outputs();

// How many modem requests the device answered since attaching.
int requests();

} // namespace FakeModemLines
