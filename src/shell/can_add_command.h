// The one check in front of every way of adding to the experiment from the main window
// (commands, and the attributes of the attribute tool bar): nothing is added while a run
// is active.
#pragma once

#include <string>

// False during a run, after showing "Cannot add " + name + " while running an
// experiment."; true otherwise.
bool CanAddCommand(const std::string& name);
