#include "model/read_variable_list.h"

#include "model/assertion.h"
#include "model/variable.h"

void TReadVariableList::Add(TVariable* reference) {
  Entries.push_back(TEntry{reference, reference->GetPendingId()});
}

void TReadVariableList::Chain() {
  QORV_ASSERT(Deferred.empty());
  for (; Chained < Entries.size(); ++Chained) {
    TEntry& entry = Entries[Chained];
    if (!entry.Reference || entry.Identifier < 0) continue;
    const auto index = static_cast<std::uint32_t>(Chained);
    TChain& chain = Chains[entry.Identifier];
    entry.Prev = chain.Last;
    if (chain.Last != None)
      Entries[chain.Last].Next = index;
    else
      chain.First = index;
    chain.Last = index;
  }
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

void TReadVariableList::Forget(std::uint32_t index) {
  if (index < Chained)
    Unlink(index);
  else
    Entries[index].Reference = nullptr;
}

void TReadVariableList::Truncate(std::size_t mark) {
  QORV_ASSERT(Deferred.empty());
  while (Entries.size() > mark) {
    const auto index = static_cast<std::uint32_t>(Entries.size() - 1);
    if (index < Chained && Entries[index].Reference && Entries[index].Identifier >= 0)
      Unlink(index);
    Entries.pop_back();
  }
  if (Chained > Entries.size()) Chained = Entries.size();
}

void TReadVariableList::Defer(TExpAttribute* attribute, std::int32_t identifier,
                              std::int32_t count) {
  QORV_ASSERT(Deferring);
  const auto index = static_cast<std::uint32_t>(Deferred.size());
  Deferred.push_back(TDeferred{attribute, static_cast<std::uint32_t>(Entries.size()), count});
  TChain& chain = DeferredById[identifier];
  if (chain.Last != None)
    Deferred[chain.Last].Next = index;
  else
    chain.First = index;
  chain.Last = index;
}

bool TReadVariableList::AllDeferredBound() const {
  for (const TDeferred& deferred : Deferred)
    if (deferred.Bound != deferred.Count) return false;
  return true;
}
