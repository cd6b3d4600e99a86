// Baud rates the system's named rates do not cover (14400, 28800, ...): set and read
// through the kernel's free-rate interface where the system has one. Kept apart because
// that interface's header cannot stand beside <termios.h>.
#pragma once

// Sets the line to baud in both directions; false when the system cannot.
bool SetFreeBaudRate(int fd, int baud);
// The line's output rate in baud; 0 when the system cannot tell.
int GetFreeBaudRate(int fd);
