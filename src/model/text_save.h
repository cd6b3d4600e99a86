// Writes a whole text file for a user's Save: to a temporary file that replaces the
// target only when complete, so a failed save keeps the old file.
#pragma once

#include <string>

// False after telling the user why ("Cannot Open File", "Error writing to file: ...").
bool SaveWholeText(const std::string& path, const std::string& text);
