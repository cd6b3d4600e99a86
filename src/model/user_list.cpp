#include "model/user_list.h"

#include "model/assertion.h"

bool TUserList::Insert(TVariable* user) {
  if (!user || Contains(user)) return false;
  QORV_ASSERT_AS(user->UserList == nullptr, "user->UserList==0");
  user->UserList = this;
  user->UserSlot = Slots.size();
  Slots.push_back(user);
  ++Live;
  return true;
}

bool TUserList::Erase(TVariable* user) {
  if (!Contains(user)) return false;
  QORV_ASSERT(user->UserSlot<Slots.size()&&Slots[user->UserSlot]==user);
  Slots[user->UserSlot] = nullptr;
  user->UserList = nullptr;
  --Live;
  if (Held) return true;
  while (!Slots.empty() && !Slots.back()) Slots.pop_back();
  // Walks over the slots stay in proportion to the users.
  if (Slots.size() > 2 * Live + Slack) Compact();
  return true;
}

void TUserList::Clear() {
  for (TVariable* user : Slots)
    if (user) user->UserList = nullptr;
  Slots.clear();
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
  for (std::size_t slot = 0; slot < user->UserSlot; ++slot)
    if (Slots[slot]) ++position;
  return position;
}

void TUserList::Release() {
  Held = false;
  while (!Slots.empty() && !Slots.back()) Slots.pop_back();
  if (Slots.size() > 2 * Live + Slack) Compact();
}

void TUserList::Compact() {
  std::size_t kept = 0;
  for (TVariable* user : Slots) {
    if (!user) continue;
    user->UserSlot = kept;
    Slots[kept++] = user;
  }
  Slots.resize(kept);
}
