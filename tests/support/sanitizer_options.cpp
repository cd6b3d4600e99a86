// Defaults of the address sanitizer for the test programs (the environment's
// ASAN_OPTIONS still come on top).
//
// The sanitizer's tracking of dynamic thread-local blocks misreads glibc's thread
// vectors once libraries with thread-local storage (the simulated GPIB bus, Qt's
// plugins) are loaded at run time, and its leak checker then crashes at exit. Leaks are
// still found: only the bookkeeping of those blocks is switched off.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
