#pragma once

// The modem lines of one terminal device, answered in place of the driver: a pseudo-terminal
// has none, so the tests give it some. Linked into a test executable, its ioctl() comes before
// the C library's for every library in the process (Qt SerialPort included); requests for
// other devices, and every other request, go to the real ioctl().

#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

// Outputs bit for a break on the transmit line; the TIOCM_ bits leave it free.
#define FAKE_MODEM_LINES_BREAK 0x40000000

struct fake_modem_call {
    unsigned long request; // TIOCMGET, TIOCMBIS, TIOCMBIC, TIOCMSET, TIOCSBRK or TIOCCBRK
    int bits;              // the TIOCM_ bits passed or answered; 0 for a break request
};

// Answers for the character device with this number (st_rdev) from now on, with every line
// low and an empty log.
void fake_modem_lines_attach(dev_t device);
void fake_modem_lines_detach(void);

// The input lines the device reports: TIOCM_CTS, TIOCM_DSR, TIOCM_CAR, TIOCM_RNG.
void fake_modem_lines_set_inputs(int tiocm_bits);

// The outputs as last driven: TIOCM_DTR, TIOCM_RTS and FAKE_MODEM_LINES_BREAK.
int fake_modem_lines_outputs(void);

// Copies up to max of the requests answered since attaching; returns how many there were.
int fake_modem_lines_calls(struct fake_modem_call* calls, int max);

#ifdef __cplusplus
}
#endif
