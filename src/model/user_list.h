// The users of an attribute: the references that name it, in the order they registered.
// A variable of a 100,000-command experiment has tens of thousands of users, joined and
// left one at a time while files are read and experiments are edited or closed. Each
// reference keeps its own place in the list (variable.h), so that membership, joining
// and leaving read the reference and one slot of the list, with no index to probe: the
// cost of a lookup does not grow with the list.
#pragma once

#include <cstddef>
#include <vector>

#include "model/variable.h"

class TUserList {
public:
  TUserList() = default;
  // Lets the remaining users go, so that they can join another list later.
  ~TUserList() { Clear(); }
  TUserList(const TUserList&) = delete;
  TUserList& operator=(const TUserList&) = delete;

  // The user must be alive: the answer is read from the user itself.
  bool Contains(const TVariable* user) const { return user && user->UserList == this; }
  // Appends the user unless it is there already; true when it was added. A reference is
  // a user of one list at a time.
  bool Insert(TVariable* user);
  // True when the user was there.
  bool Erase(TVariable* user);
  // Lets every user go.
  void Clear();

  std::size_t Size() const { return Live; }
  bool Empty() const { return Live == 0; }
  // The users in order.
  std::vector<TVariable*> Items() const;
  // The user's position in that order; -1 when absent.
  int IndexOf(const TVariable* user) const;

  // While held, leaving only empties the user's slot and no slot moves, so that a walk
  // over the slots by position (SlotCount, SlotAt) sees every user that is still there
  // while users leave during the walk. Releasing tidies the list.
  void Hold() { Held = true; }
  void Release();
  std::size_t SlotCount() const { return Slots.size(); }
  // The user in a slot; null for an empty slot.
  TVariable* SlotAt(std::size_t slot) const { return Slots[slot]; }

private:
  // Empty slots never outnumber the users by more than this (while not held).
  static constexpr std::size_t Slack = 32;

  void Compact();
  // Drops the empty slots at both ends.
  void Trim();
  std::size_t SlotOf(const TVariable* user) const { return user->UserSlot - Base; }

  // Empty slots left by users that went; never last. Users mostly leave in the order they
  // came (a block closed from its first command on): the empty slots at the front are
  // dropped by moving the slots, not by renumbering the users, whose numbers count from
  // Base. Renumbering would touch every remaining user, long out of the cache.
  std::vector<TVariable*> Slots;
  std::size_t Base = 0;  // the number of the first slot
  std::size_t Head = 0;  // empty slots at the front
  std::size_t Live = 0;
  bool Held = false;
};
