// The store the settings live in between runs: the values of one key of the current
// user, "Software\Orvelle\Qorv\" (on Linux an INI file in the user's configuration
// folder). Values have names and hold a text or an integer; a bool is kept as the
// integer 0 or 1, as the registry keeps it, so that it reads back the same everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TSettingsStore {
public:
  virtual ~TSettingsStore() = default;

  // True when the key holds a value of its own (groups below it, such as the window's
  // state, do not count).
  virtual bool KeyExists() const = 0;
  // The names of the key's own values, in no particular order.
  virtual std::vector<std::string> ValueNames() const = 0;

  // Each answers false, leaving value as it was, when the value is missing or cannot
  // be read as that type. A bool reads from an integer value: non-zero is true.
  virtual bool ReadString(const std::string& name, std::string& value) const = 0;
  virtual bool ReadInteger(const std::string& name, std::int32_t& value) const = 0;
  virtual bool ReadBool(const std::string& name, bool& value) const = 0;

  // Opens the key for writing, creating it when missing; false when it cannot be
  // written, and then nothing is written.
  virtual bool OpenForWriting() = 0;
  virtual void WriteString(const std::string& name, const std::string& value) = 0;
  virtual void WriteInteger(const std::string& name, std::int32_t value) = 0;
  // Written as the integer 0 or 1.
  virtual void WriteBool(const std::string& name, bool value) = 0;
  // Makes what was written permanent; false when that failed.
  virtual bool Flush() = 0;
};
