// Internal consistency checks: a failed check reports
// "Assertion failed: <expression>, file <file>, line <line>" through the UI port and
// ends the program. They guard states that callers never let happen; bad input from
// files or dialogs is refused with an error instead.
#pragma once

[[noreturn]] void AssertionFailed(const char* expression, const char* file, int line);

#define QORV_ASSERT(expression) \
  ((expression) ? static_cast<void>(0) : AssertionFailed(#expression, __FILE__, __LINE__))

// The same, reporting a given text where the expression is spelled otherwise here.
#define QORV_ASSERT_AS(expression, text) \
  ((expression) ? static_cast<void>(0) : AssertionFailed(text, __FILE__, __LINE__))
