// The names in use in one variable list, one entry per variable. Names are kept upper
// case, so lookups ignore letter case.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TData;

class TDataNameList {
public:
  // A variable that has an entry gets its name renewed; otherwise a new entry is added.
  void AddName(const std::string& name, TData* variable);
  // Deletes the variable's entry.
  void Remove(TData* variable);
  bool HasDataName(const std::string& name) const;
  int Count() const { return static_cast<int>(Entries.size()); }

private:
  std::vector<std::pair<std::string, TData*>> Entries;
};
