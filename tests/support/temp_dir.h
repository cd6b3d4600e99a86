// A fresh directory for one test's files, removed with everything in it afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

class TTempDir {
public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return Dir; }
  std::string PathOf(const std::string& name) const { return (Dir / name).string(); }
  // The bytes of a file in the directory (empty when it is missing).
  TBytes ReadBytes(const std::string& name) const;
  // Writes the file; answers its path.
  std::string WriteBytes(const std::string& name, const TBytes& bytes) const;
  // The number of entries in the directory.
  std::size_t Entries() const;

private:
  std::filesystem::path Dir;
};

// Document bytes: an int32 little-endian, a document string (count, characters, NUL),
// and parts joined.
TBytes Le32(std::uint32_t value);
TBytes StringBytes(const std::string& text);
TBytes Cat(std::initializer_list<TBytes> parts);
