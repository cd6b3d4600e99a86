// The per-process scratch folder of a harness, in /dev/shm (else the system's temporary
// folder): the only place a harness, and the code it drives, writes to. It is made at
// first use and removed with its contents when the process exits normally.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace scratch {

const std::filesystem::path& Folder();
// The path of a file of that name in the folder.
std::string PathOf(const std::string& name);
// Writes the bytes to the file of that name (replacing it); answers its path.
std::string Write(const std::string& name, const std::uint8_t* data, std::size_t size);
std::string Write(const std::string& name, const std::string& text);
// The bytes of the file of that name; empty when it is missing.
std::string Read(const std::string& name);
// Empties the folder of every file but those Write made, which the next input rewrites:
// no file of one input is there for the next.
void Clear();

}  // namespace scratch
