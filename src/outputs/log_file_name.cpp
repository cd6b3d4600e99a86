#include "outputs/log_file_name.h"

#include <filesystem>
#include <system_error>

namespace {

#ifdef _WIN32
constexpr const char* Separators = "\\/";
#else
constexpr const char* Separators = "/";
#endif

}  // namespace

std::string LogFileNameError(const std::string& name) {
  if (name.empty()) return "You must enter a filename.";
  const std::size_t last = name.find_last_of(Separators);
  const std::string directory = last == std::string::npos ? "" : name.substr(0, last + 1);
  std::error_code error;
  if (directory.empty() || !std::filesystem::is_directory(directory, error))
    return "The directory " + directory + " does not exist";
  if (last + 1 == name.size()) return "You must include a filename with the path.";
  return "";
}
