#include <memory>

#include "shell/ui/main_window.h"
#include "shell/ui/startup.h"

int main(int argc, char** argv) {
  TStartupHooks hooks;
  hooks.CreateMainWindow = [] { return std::make_unique<TQorvForm>(); };
  return RunQorv(argc, argv, hooks);
}
