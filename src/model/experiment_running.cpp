#include "model/experiment_running.h"

std::atomic<bool> ExperimentRunning{false};
