// The simulated GPIB bus: one shared library that exports the CEC entry points
// (src/platform/cec_api.h) and the NI-488.2 entry points (src/platform/ni488_api.h) over
// simulated boards and instruments, plus the control calls below for tests and the demo.
// The configuration format and the call log are documented in README.md beside this file.
// Nothing in the simulator sleeps: time-outs are answered at once.
#pragma once

extern "C" {
// Replaces the whole configuration (boards, instruments, their state) and clears the
// log. Answers 0, or the 1-based number of the first line it cannot read (the reason
// is then in gpibsim_error()). Without a call, the file named by QORV_GPIBSIM_FILE is
// loaded on first use of any entry point.
int gpibsim_configure(const char* text);
int gpibsim_configure_file(const char* path);
const char* gpibsim_error(void);

// The call log: one line per entry-point call, in call order, each ended by '\n'.
// The text stays valid until the next control call.
const char* gpibsim_log(void);
void gpibsim_clear_log(void);

// The bytes the instrument at (kind 1 CEC / 2 NI, board, address) has received since
// the configuration: copies at most size of them, answers how many there are in all
// (-1 when there is no such instrument).
int gpibsim_received(int kind, int board, int address, char* buffer, int size);

// Sets the instrument's serial-poll status byte; answers 0, or -1 without instrument.
int gpibsim_set_status_byte(int kind, int board, int address, int value);
}
