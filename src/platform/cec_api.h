// The CEC board library's entry points as Qorv calls them: our own C interface, with
// exactly the calls the CEC communication uses. A board library (or the simulated bus)
// exports these names; the loader finds them at run time. Every call answers an int.
//
// Status values the callers rely on: 0 success; 2 the computer was not addressed as
// listener (receive); 8 time-out (receive, send bytes).
#pragma once

extern "C" {
// Non-zero low byte: the library finds a board.
typedef int (*cec_presence_fn)(void);
// Selects the board the following calls address.
typedef int (*cec_select_board_fn)(int board);
// what = 204: answers the selected board's number when it is present; what = 0: non-zero
// when the board can scan for instruments.
typedef int (*cec_board_query_fn)(int what);
// Initialises the board (level 0 = system controller).
typedef int (*cec_initialize_fn)(int board, int level);
// Receives at most max bytes; stores the count and the status.
typedef int (*cec_receive_fn)(char* buffer, int max, int* count, int* status);
// The END characters sent after data marked END (each a signed byte widened to int).
typedef int (*cec_set_end_chars_fn)(int first, int second);
// Time-out in milliseconds; 0 = none.
typedef int (*cec_set_timeout_fn)(int milliseconds);
// Serial poll of the instrument at address; stores the status byte and the status.
typedef int (*cec_serial_poll_fn)(int address, unsigned char* poll, int* status);
// Sends raw bytes to the addressed listeners, with EOI on the last when eoi is 1.
typedef int (*cec_send_bytes_fn)(const char* buffer, int length, int eoi, int* status);
// Transmits a NUL-terminated text in the board's command language (at most max bytes).
typedef int (*cec_transmit_fn)(const char* text, int max, int* status);
}

// The exported names, in the order above.
#define QORV_CEC_ENTRY_NAMES                                                         \
  "cec_presence", "cec_select_board", "cec_board_query", "cec_initialize",          \
      "cec_receive", "cec_set_end_chars", "cec_set_timeout", "cec_serial_poll",     \
      "cec_send_bytes", "cec_transmit"
