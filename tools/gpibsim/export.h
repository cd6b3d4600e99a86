// The simulator is built with hidden visibility; only the bus entry points, the status
// variables and the control calls carry this mark (exports.map keeps the list exact).
#pragma once

#define GPIBSIM_EXPORT __attribute__((visibility("default")))
