#include "shell/new_directory.h"

#include <filesystem>
#include <system_error>

#include "outputs/exp_file.h"

TNewDirectory MakeNewDirectory(const std::string& current, const std::string& name) {
  TNewDirectory result;
  if (name.empty()) return result;
  if (name.find_first_of("/\\") != std::string::npos) {
    result.Outcome = TNewDirectory::ndREFUSED;
    result.Message = "You must create a directory in " + current + " or select another directory";
    return result;
  }
  // The root folder ends with its separator already.
  const bool endsWithSeparator = !current.empty() && IsPathSeparator(current.back());
  result.Path = current + (endsWithSeparator ? "" : std::string(1, PathSeparator)) + name;
  std::error_code error;
  // A folder that is there already was not made: that is a failure too.
  if (std::filesystem::create_directory(result.Path, error) && !error) {
    result.Outcome = TNewDirectory::ndCREATED;
  } else {
    result.Outcome = TNewDirectory::ndFAILED;
    result.Message = "Error creating " + result.Path;
  }
  return result;
}
