#include "shell/memory_settings_store.h"

#include <utility>

std::vector<std::string> TMemorySettingsStore::ValueNames() const {
  std::vector<std::string> names;
  names.reserve(Values.size());
  for (const auto& [name, value] : Values) names.push_back(name);
  return names;
}

bool TMemorySettingsStore::ReadString(const std::string& name, std::string& value) const {
  const TValue* stored = Find(name);
  if (stored == nullptr || !std::holds_alternative<std::string>(*stored)) return false;
  value = std::get<std::string>(*stored);
  return true;
}

bool TMemorySettingsStore::ReadInteger(const std::string& name, std::int32_t& value) const {
  const TValue* stored = Find(name);
  if (stored == nullptr || !std::holds_alternative<std::int32_t>(*stored)) return false;
  value = std::get<std::int32_t>(*stored);
  return true;
}

bool TMemorySettingsStore::ReadBool(const std::string& name, bool& value) const {
  std::int32_t number = 0;
  if (!ReadInteger(name, number)) return false;
  value = number != 0;
  return true;
}

void TMemorySettingsStore::WriteString(const std::string& name, const std::string& value) {
  Set(name, value);
}

void TMemorySettingsStore::WriteInteger(const std::string& name, std::int32_t value) {
  Set(name, value);
}

void TMemorySettingsStore::WriteBool(const std::string& name, bool value) {
  Set(name, static_cast<std::int32_t>(value ? 1 : 0));
}

const TMemorySettingsStore::TValue* TMemorySettingsStore::Find(const std::string& name) const {
  const auto found = Values.find(name);
  return found == Values.end() ? nullptr : &found->second;
}

void TMemorySettingsStore::Set(const std::string& name, TValue value) {
  Values[name] = std::move(value);
}
