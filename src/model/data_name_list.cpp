#include "model/data_name_list.h"

#include "model/text.h"

void TDataNameList::AddName(const std::string& name, TData* variable) {
  std::string upper = UpperText(name);
  ++Uses[upper];
  const auto [entry, added] = Names.try_emplace(variable, upper);
  if (added) return;
  Forget(entry->second);
  entry->second = std::move(upper);
}

void TDataNameList::Remove(TData* variable) {
  const auto entry = Names.find(variable);
  if (entry == Names.end()) return;
  Forget(entry->second);
  Names.erase(entry);
}

bool TDataNameList::HasDataName(const std::string& name) const {
  return Uses.count(UpperText(name)) > 0;
}

void TDataNameList::Forget(const std::string& upper) {
  const auto use = Uses.find(upper);
  if (use != Uses.end() && --use->second == 0) Uses.erase(use);
}
