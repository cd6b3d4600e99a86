#include <QCoreApplication>

#include <memory>

#include "shell/ui/dialog_registry.h"
#include "shell/ui/dialog_setup.h"
#include "shell/ui/main_window.h"
#include "shell/ui/startup.h"

int main(int argc, char** argv) {
  TStartupHooks hooks;
  hooks.CreateMainWindow = [] {
    RegisterDialogs(DialogRegistry());
    auto window = std::make_unique<TQorvForm>();
    // The experiment named on the command line, when that file exists.
    window->FormShow(QCoreApplication::arguments().value(1));
    return window;
  };
  return RunQorv(argc, argv, hooks);
}
