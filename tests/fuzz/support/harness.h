// What every harness does around one input: THarnessInput installs the quiet UI port for
// the input's lifetime, then puts back every global a load or a run may leave set and
// empties the scratch folder, so that nothing of one input reaches the next. Check ends
// the process (a crash for the fuzzer) when code breaks a promise its header makes.
#pragma once

#include "support/quiet_ui_port.h"

class THarnessInput {
public:
  THarnessInput();
  ~THarnessInput();
  THarnessInput(const THarnessInput&) = delete;
  THarnessInput& operator=(const THarnessInput&) = delete;

  TQuietUiPort& Port() { return Quiet; }

private:
  static TQuietUiPort Quiet;
  TUiPort* Previous;
};

[[noreturn]] void BrokenPromise(const char* what, const char* file, int line);

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : BrokenPromise(#condition, __FILE__, __LINE__))
