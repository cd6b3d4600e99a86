// The NI-488.2 entry points Qorv calls, declared from the published C interface (the
// Linux GPIB library offers the same names). The loader finds them at run time.
#pragma once

extern "C" {
typedef int (*ni_ibdev_fn)(int board, int pad, int sad, int tmo, int eot, int eos);
typedef int (*ni_ibfind_fn)(const char* name);
typedef int (*ni_ibwrt_fn)(int ud, const void* buffer, long count);
typedef int (*ni_ibrd_fn)(int ud, void* buffer, long count);
typedef int (*ni_ibrsp_fn)(int ud, char* status);
typedef int (*ni_ibtmo_fn)(int ud, int code);
typedef int (*ni_ibeot_fn)(int ud, int eot);
typedef int (*ni_ibonl_fn)(int ud, int online);
typedef int (*ni_ibln_fn)(int ud, int pad, int sad, short* listener);
typedef int (*ni_ibsic_fn)(int ud);
// Per-thread status, where the library has it; else the variables ibsta, iberr, ibcntl.
typedef int (*ni_thread_status_fn)(void);
typedef long (*ni_thread_count_fn)(void);
}

// Status bits and errors the callers rely on.
enum : int { niERR = 0x8000, niTIMO = 0x4000, niEND = 0x2000 };
enum : int { niEABO = 6 };  // I/O ended by the time-out
