// The references a document reader has read and that wait for their objects. Each
// attribute, when its own record is read, binds the references read with its
// identifier; a file of 100,000 commands has as many references, so they are found by
// identifier rather than by a scan of the whole list.
//
// The variables of an experiment file are bound all together instead (Defer, then
// LinkDeferred): one pass over the references in the order they were read binds each
// to the variable it names, so that every command is visited once, and while its
// memory is still near that of the commands read before it, rather than once per
// variable it names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/id_table.h"

class TExpAttribute;
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
  // Not while attributes are deferred.
  void Truncate(std::size_t mark);
  // Offers each reference waiting under the identifier, in the order they were read, to
  // bind(reference); those for which it answers true leave the list. Answers how many
  // did. Not while attributes are deferred.
  template <typename Bind>
  int Resolve(std::int32_t identifier, Bind bind);

  // From now on attributes are deferred (Defer) rather than resolved, until
  // LinkDeferred.
  void BeginDeferring() { Deferring = true; }
  bool IsDeferring() const { return Deferring; }
  // An attribute read with the identifier and that many users, to be bound later as
  // Resolve would have bound it now: to the references read before it.
  void Defer(TExpAttribute* attribute, std::int32_t identifier, std::int32_t count);
  // Ends deferring and binds what Resolve would have bound, had each deferred attribute
  // been resolved when it was deferred: each waiting reference, in the order read, is
  // offered by bind(reference, attribute, identifier) to the deferred attributes of its
  // identifier deferred after it was added, in the order they were deferred, and the
  // first that takes it keeps it. Answers whether every deferred attribute took exactly
  // its count.
  // ahead(reference) is told of the waiting references with an identifier a few before
  // they are offered, so that it can ask the memory for what bind will read.
  template <typename Bind, typename Ahead>
  bool LinkDeferred(Bind bind, Ahead ahead);

private:
  static constexpr std::uint32_t None = UINT32_MAX;
  static constexpr std::uint32_t PrefetchDistance = 8;
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
  struct TDeferred {
    TExpAttribute* Attribute;
    std::uint32_t Mark;  // the references added before it
    std::int32_t Count;
    std::int32_t Bound = 0;
    std::uint32_t Next = None;  // the next deferred with the same identifier
  };
  // Puts the references added since the last call into their chains: chains are made
  // only for Resolve, which an experiment file with no outputs or data files never
  // calls.
  void Chain();
  void Unlink(std::uint32_t index);
  // The reference at the index is bound: it leaves the list.
  void Forget(std::uint32_t index);
  bool AllDeferredBound() const;

  std::vector<TEntry> Entries;
  TIdTable<TChain> Chains;
  std::size_t Chained = 0;  // the entries put into chains
  bool Deferring = false;
  std::vector<TDeferred> Deferred;
  TIdTable<TChain> DeferredById;  // First and Last index into Deferred
};

template <typename Bind>
int TReadVariableList::Resolve(std::int32_t identifier, Bind bind) {
  Chain();
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

template <typename Bind, typename Ahead>
bool TReadVariableList::LinkDeferred(Bind bind, Ahead ahead) {
  Deferring = false;
  if (Deferred.empty()) return true;
  const auto count = static_cast<std::uint32_t>(Entries.size());
  for (std::uint32_t index = 0; index < count; ++index) {
    // The references of a large file are long out of the cache: asked for a few ahead.
    if (index + 2 * PrefetchDistance < count)
      __builtin_prefetch(Entries[index + 2 * PrefetchDistance].Reference);
    if (index + PrefetchDistance < count) {
      const TEntry& coming = Entries[index + PrefetchDistance];
      if (coming.Reference && coming.Identifier >= 0) ahead(coming.Reference);
    }
    const TEntry& entry = Entries[index];
    if (!entry.Reference || entry.Identifier < 0) continue;
    const TChain* candidates = DeferredById.Find(entry.Identifier);
    if (!candidates) continue;
    for (std::uint32_t at = candidates->First; at != None; at = Deferred[at].Next) {
      TDeferred& deferred = Deferred[at];
      if (deferred.Mark <= index) continue;  // read before the reference
      if (bind(entry.Reference, deferred.Attribute, entry.Identifier)) {
        ++deferred.Bound;
        Forget(index);
        break;
      }
    }
  }
  const bool exact = AllDeferredBound();
  Deferred.clear();
  DeferredById.Clear();
  return exact;
}
