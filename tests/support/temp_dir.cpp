#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TTempDir::TTempDir() {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string test = info ? std::string(info->test_suite_name()) + "_" + info->name() : "qorv";
  Dir = fs::temp_directory_path() /
        ("qorv_" + test + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(Dir);
  fs::create_directories(Dir);
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  fs::remove_all(Dir, ignored);
}

TBytes TTempDir::ReadBytes(const std::string& name) const {
  std::ifstream in(Dir / name, std::ios::binary);
  return TBytes(std::istreambuf_iterator<char>(in), {});
}

std::string TTempDir::WriteBytes(const std::string& name, const TBytes& bytes) const {
  std::ofstream out(Dir / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return PathOf(name);
}

std::size_t TTempDir::Entries() const {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(Dir), {}));
}

TBytes Le32(std::uint32_t value) {
  return {std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
          std::uint8_t(value >> 24)};
}

TBytes StringBytes(const std::string& text) {
  TBytes bytes = Le32(static_cast<std::uint32_t>(text.size() + 1));
  bytes.insert(bytes.end(), text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

TBytes Cat(std::initializer_list<TBytes> parts) {
  TBytes all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
