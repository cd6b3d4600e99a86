#include "model/read_variable_list.h"

#include "model/variable.h"

void TReadVariableList::Add(TVariable* reference) {
  const std::int32_t identifier = reference->GetPendingId();
  const auto index = static_cast<std::uint32_t>(Entries.size());
  Entries.push_back(TEntry{reference, identifier});
  if (identifier < 0) return;
  TChain& chain = Chains[identifier];
  Entries[index].Prev = chain.Last;
  if (chain.Last != None)
    Entries[chain.Last].Next = index;
  else
    chain.First = index;
  chain.Last = index;
}

std::vector<TVariable*> TReadVariableList::Waiting() const {
  std::vector<TVariable*> waiting;
  for (const TEntry& entry : Entries)
    if (entry.Reference) waiting.push_back(entry.Reference);
  return waiting;
}

void TReadVariableList::Unlink(std::uint32_t index) {
  TEntry& entry = Entries[index];
  TChain& chain = *Chains.Find(entry.Identifier);
  if (entry.Prev != None) Entries[entry.Prev].Next = entry.Next;
  else chain.First = entry.Next;
  if (entry.Next != None) Entries[entry.Next].Prev = entry.Prev;
  else chain.Last = entry.Prev;
  if (chain.First == None) Chains.Erase(entry.Identifier);
  entry.Reference = nullptr;
  entry.Prev = entry.Next = None;
}

void TReadVariableList::Truncate(std::size_t mark) {
  while (Entries.size() > mark) {
    const auto index = static_cast<std::uint32_t>(Entries.size() - 1);
    if (Entries[index].Reference && Entries[index].Identifier >= 0) Unlink(index);
    Entries.pop_back();
  }
}
