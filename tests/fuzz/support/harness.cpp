#include "support/harness.h"

#include <cstdio>
#include <cstdlib>

#include "model/experiment_running.h"
#include "model/number_text.h"
#include "scripts/experiment_thread.h"
#include "support/scratch.h"

TQuietUiPort THarnessInput::Quiet;

THarnessInput::THarnessInput() : Previous(SetUiPort(&Quiet)) {}

THarnessInput::~THarnessInput() {
  Quiet.Dialogs = nullptr;
  ExperimentRunning = false;
  ExperimentThread = nullptr;
  NumberText::SetDecimalSeparator('.');
  SetUiPort(Previous);
  scratch::Clear();
}

void BrokenPromise(const char* what, const char* file, int line) {
  std::fprintf(stderr, "Broken promise: %s, %s:%d\n", what, file, line);
  std::abort();
}
