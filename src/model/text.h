// Small text helpers shared by the core.
#pragma once

#include <string>

// The text without the blanks and control characters around it.
std::string TrimText(const std::string& text);

// The text with ASCII letters in upper case (names compare without regard to case).
std::string UpperText(const std::string& text);
