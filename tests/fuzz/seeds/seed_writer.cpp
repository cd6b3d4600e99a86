#include "seeds/seed_writer.h"

#include <fstream>

namespace fs = std::filesystem;

std::string TSeedWriter::PathOf(const std::string& harness, const std::string& name) const {
  fs::create_directories(Root / harness);
  return (Root / harness / name).string();
}

void TSeedWriter::Write(const std::string& harness, const std::string& name,
                        const std::string& bytes) const {
  std::ofstream(PathOf(harness, name), std::ios::binary) << bytes;
}

void TSeedWriter::Copy(const std::string& from, const std::string& to,
                       const std::string& name) const {
  fs::copy_file(Root / from / name, PathOf(to, name), fs::copy_options::overwrite_existing);
}
