// Running test code on a worker thread while the main thread serves the Qt port's
// hand-overs, as a run does.
#pragma once

#include <functional>

// Runs body on a new thread while the main thread serves hand-overs. False when the
// worker has not ended within twenty seconds: a deadlock fails instead of hanging.
bool RunOnWorker(const std::function<void()>& body);
