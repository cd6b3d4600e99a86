#include "support/scratch.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace scratch {

namespace {

// The names Write made: each input rewrites them, so Clear keeps them (creating and
// deleting a file per input would cost more than the input's own work).
std::set<std::string>& Kept() {
  static std::set<std::string> names;
  return names;
}

fs::path MakeFolder() {
  std::error_code error;
  // A memory file system when there is one: files come and go at every input.
  fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm")
                                                     : fs::temp_directory_path(error);
  if (error) base = "/tmp";
  fs::path folder = base / ("qorv-fuzz-" + std::string(program_invocation_short_name) + "-" +
                            std::to_string(::getpid()));
  fs::remove_all(folder, error);
  fs::create_directories(folder);
  std::atexit([] {
    std::error_code ignored;
    fs::remove_all(Folder(), ignored);
  });
  return folder;
}

}  // namespace

const fs::path& Folder() {
  static const fs::path folder = MakeFolder();
  return folder;
}

std::string PathOf(const std::string& name) { return (Folder() / name).string(); }

std::string Write(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = PathOf(name);
  Kept().insert(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

std::string Write(const std::string& name, const std::string& text) {
  return Write(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

std::string Read(const std::string& name) {
  std::ifstream in(PathOf(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Clear() {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(Folder(), ignored))
    if (!Kept().count(entry.path().filename().string())) fs::remove_all(entry.path(), ignored);
}

}  // namespace scratch
