// The check of an array index typed into a command dialog's index box, whose items name
// the index variables (and perhaps the entire array).
#pragma once

#include <cstdint>
#include <string>

// Why the typed index (trimmed here) cannot name an element of an array of the size:
// "You must enter/select and index for the array" when empty, "Invalid index for the
// array" for no integer or one below 0, "The maximum index for this array is " and
// size - 1 from the size on. Empty when it names an element.
std::string ArrayIndexFault(const std::string& text, std::int32_t size);
