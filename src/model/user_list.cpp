#include "model/user_list.h"

#include "model/assertion.h"

bool TUserList::Insert(TVariable* user) {
  if (!user || Contains(user)) return false;
  QORV_ASSERT_AS(user->UserList == nullptr, "user->UserList==0");
  user->UserList = this;
  user->UserSlot = Base + Slots.size();
  Slots.push_back(user);
  ++Live;
  return true;
}

bool TUserList::Erase(TVariable* user) {
  if (!Contains(user)) return false;
  const std::size_t slot = SlotOf(user);
  QORV_ASSERT(slot<Slots.size()&&Slots[slot]==user);
  Slots[slot] = nullptr;
  user->UserList = nullptr;
  --Live;
  if (Held) return true;
  Trim();
  // Walks over the slots stay in proportion to the users.
  if (Slots.size() - Head > 2 * Live + Slack) Compact();
  return true;
}

void TUserList::Clear() {
  for (TVariable* user : Slots)
    if (user) user->UserList = nullptr;
  Slots.clear();
  Base = 0;
  Head = 0;
  Live = 0;
}

std::vector<TVariable*> TUserList::Items() const {
  std::vector<TVariable*> users;
  users.reserve(Live);
  for (TVariable* user : Slots)
    if (user) users.push_back(user);
  return users;
}

int TUserList::IndexOf(const TVariable* user) const {
  if (!Contains(user)) return -1;
  int position = 0;
  for (std::size_t slot = Head; slot < SlotOf(user); ++slot)
    if (Slots[slot]) ++position;
  return position;
}

void TUserList::Release() {
  Held = false;
  Trim();
  if (Slots.size() - Head > 2 * Live + Slack) Compact();
}

void TUserList::Trim() {
  while (!Slots.empty() && !Slots.back()) Slots.pop_back();
  if (Slots.empty()) {
    Base = 0;
    Head = 0;
    return;
  }
  while (!Slots[Head]) ++Head;
  // The front goes once it is half the list: each slot moves a bounded number of times.
  if (2 * Head < Slots.size()) return;
  Slots.erase(Slots.begin(), Slots.begin() + static_cast<std::ptrdiff_t>(Head));
  Base += Head;
  Head = 0;
}

void TUserList::Compact() {
  std::size_t kept = 0;
  Base = 0;
  Head = 0;
  for (TVariable* user : Slots) {
    if (!user) continue;
    user->UserSlot = kept;
    Slots[kept++] = user;
  }
  Slots.resize(kept);
}
