// The names in use in one variable list, one entry per variable. Names are kept upper
// case, so lookups ignore letter case. Lists of thousands of variables are read and
// closed in time proportional to their size: entries are found by variable and by name.
#pragma once

#include <string>
#include <unordered_map>

class TData;

class TDataNameList {
public:
  // A variable that has an entry gets its name renewed; otherwise a new entry is added.
  void AddName(const std::string& name, TData* variable);
  // Deletes the variable's entry.
  void Remove(TData* variable);
  bool HasDataName(const std::string& name) const;
  int Count() const { return static_cast<int>(Names.size()); }

private:
  void Forget(const std::string& upper);

  std::unordered_map<const TData*, std::string> Names;  // each variable's name
  std::unordered_map<std::string, int> Uses;             // how many variables have a name
};
