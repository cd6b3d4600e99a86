// Where the seed maker puts its files: <root>/<harness>/<name>.
#pragma once

#include <filesystem>
#include <string>

class TSeedWriter {
public:
  explicit TSeedWriter(std::filesystem::path root) : Root(std::move(root)) {}

  // The path of a seed of the harness, its folder made.
  std::string PathOf(const std::string& harness, const std::string& name) const;
  // Writes the bytes as a seed of the harness.
  void Write(const std::string& harness, const std::string& name, const std::string& bytes) const;
  // Copies a seed of one harness to another.
  void Copy(const std::string& from, const std::string& to, const std::string& name) const;

private:
  std::filesystem::path Root;
};

// The seeds of the document loaders, saved by the core's own save operations.
void MakeDocumentSeeds(const TSeedWriter& seeds);
// The seeds of the MAT import: MAT files of each version and class the import meets.
void MakeMatSeeds(const TSeedWriter& seeds);
// The seeds of the settings values: settings written by the core into a store in memory.
void MakeSettingsSeeds(const TSeedWriter& seeds);
// The seeds of the text and byte harnesses; the simulators' from their demo descriptions
// (the serial instrument's demo.rules is found from the bus's demo.sim).
void MakeTextSeeds(const TSeedWriter& seeds, const std::filesystem::path& demoSim);
