// True while a run is active. The main thread refuses edits meanwhile.
#pragma once

#include <atomic>

extern std::atomic<bool> ExperimentRunning;
