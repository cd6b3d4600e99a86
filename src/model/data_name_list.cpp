#include "model/data_name_list.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/text.h"

void TDataNameList::AddName(const std::string& name, TData* variable) {
  for (auto& [text, data] : Entries)
    if (data == variable) {
      text = UpperText(name);
      return;
    }
  Entries.emplace_back(UpperText(name), variable);
}

void TDataNameList::Remove(TData* variable) {
  std::erase_if(Entries, [variable](const auto& entry) { return entry.second == variable; });
  const bool stillListed = std::any_of(Entries.begin(), Entries.end(),
                                       [variable](const auto& entry) { return entry.second == variable; });
  QORV_ASSERT(!stillListed);
}

bool TDataNameList::HasDataName(const std::string& name) const {
  const std::string upper = UpperText(name);
  return std::any_of(Entries.begin(), Entries.end(),
                     [&upper](const auto& entry) { return entry.first == upper; });
}
