// The check of the big number's log file name, as the log dialog's OK makes it.
#pragma once

#include <string>

// The message refusing the trimmed name, "" when it is a usable path: "You must enter a
// filename." when empty; "The directory " + directory + " does not exist" when the text
// up to and including its last path separator is no existing directory (a name without
// a separator has the empty directory, which does not exist either); "You must include
// a filename with the path." when nothing follows the last separator.
std::string LogFileNameError(const std::string& name);
