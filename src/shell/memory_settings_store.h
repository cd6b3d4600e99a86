// A settings store held in memory: the key's values in a map, each a text, an integer
// or a value of another kind (binary data, say) that reads as neither. Settings read
// from it and written to it behave as with the user's store; nothing outlives it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "shell/settings_store.h"

class TMemorySettingsStore : public TSettingsStore {
public:
  struct TOther {};
  using TValue = std::variant<std::string, std::int32_t, TOther>;

  bool KeyExists() const override { return !Values.empty(); }
  std::vector<std::string> ValueNames() const override;
  bool ReadString(const std::string& name, std::string& value) const override;
  bool ReadInteger(const std::string& name, std::int32_t& value) const override;
  bool ReadBool(const std::string& name, bool& value) const override;

  bool OpenForWriting() override { return Writable; }
  void WriteString(const std::string& name, const std::string& value) override;
  void WriteInteger(const std::string& name, std::int32_t value) override;
  void WriteBool(const std::string& name, bool value) override;
  bool Flush() override { return Writable; }

  // The stored value of that name; none when it is missing.
  const TValue* Find(const std::string& name) const;
  void Set(const std::string& name, TValue value);
  std::size_t Count() const { return Values.size(); }
  // A store that cannot be written refuses OpenForWriting and Flush.
  void SetWritable(bool writable) { Writable = writable; }

private:
  std::map<std::string, TValue> Values;
  bool Writable = true;
};
