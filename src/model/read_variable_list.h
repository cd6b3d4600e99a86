// The references a document reader has read and that wait for their objects. Each
// attribute, when its own record is read, binds the references read with its
// identifier; a file of 100,000 commands has as many references, so they are found by
// identifier rather than by a scan of the whole list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/id_table.h"

class TVariable;

class TReadVariableList {
public:
  // The reference waits under the identifier it was read with (GetPendingId); one
  // without an identifier waits for nothing but still counts in Size.
  void Add(TVariable* reference);
  // The references not bound yet, in the order they were read.
  std::vector<TVariable*> Waiting() const;
  // References added so far, bound ones included: a mark for Truncate.
  std::size_t Size() const { return Entries.size(); }
  // Forgets the references added after the mark (a refused record's, which are gone).
  void Truncate(std::size_t mark);
  // Offers each reference waiting under the identifier, in the order they were read, to
  // bind(reference); those for which it answers true leave the list. Answers how many
  // did.
  template <typename Bind>
  int Resolve(std::int32_t identifier, Bind bind);

private:
  static constexpr std::uint32_t None = UINT32_MAX;
  struct TEntry {
    TVariable* Reference;  // null once bound
    std::int32_t Identifier;
    std::uint32_t Prev = None;  // the neighbours waiting under the same identifier
    std::uint32_t Next = None;
  };
  struct TChain {
    std::uint32_t First = None;
    std::uint32_t Last = None;
  };
  void Unlink(std::uint32_t index);

  std::vector<TEntry> Entries;
  TIdTable<TChain> Chains;
};

template <typename Bind>
int TReadVariableList::Resolve(std::int32_t identifier, Bind bind) {
  const TChain* chain = Chains.Find(identifier);
  if (!chain) return 0;
  int bound = 0;
  for (std::uint32_t index = chain->First; index != None;) {
    const std::uint32_t next = Entries[index].Next;
    if (bind(Entries[index].Reference)) {
      ++bound;
      Unlink(index);
    }
    index = next;
  }
  return bound;
}
