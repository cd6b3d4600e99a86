#include "shell/can_add_command.h"

#include "model/ui_port.h"
#include "scripts/experiment_thread.h"

bool CanAddCommand(const std::string& name) {
  if (!IsRunActive()) return true;
  Inform("Cannot add " + name + " while running an experiment.");
  return false;
}
