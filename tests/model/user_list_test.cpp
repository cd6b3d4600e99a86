// The users of an attribute kept in the references themselves: against a vector model,
// walks while users leave, and references copied or destroyed while listed.
#include "model/user_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

// A reference that names nothing: only its place among users matters here.
class TPlainReference : public TVariable {
public:
  void ClearRef() override {}
  bool ReleaseRef() override { return true; }
  bool ResolveLoadedLink(TExpAttribute*, std::int32_t) override { return false; }
  std::int32_t GetPendingId() const override { return -1; }
  bool NotifyOwner(int) override { return true; }
  void Save(TWriteFile&) override {}
  void Load(TReadFile&) override {}
  TAttributeScript* GetScriptOwner() const override { return nullptr; }
};

std::vector<TVariable*> Pointers(std::vector<TPlainReference>& pool) {
  std::vector<TVariable*> pointers;
  for (TPlainReference& reference : pool) pointers.push_back(&reference);
  return pointers;
}

TEST(UserListTest, FollowsAVectorThroughManyUsersJoiningAndLeaving) {
  std::vector<TPlainReference> pool(30000);
  std::vector<TVariable*> all = Pointers(pool);
  std::mt19937 random(7);
  TUserList list;
  std::vector<TVariable*> model;
  const auto check = [&] {
    ASSERT_EQ(list.Size(), model.size());
    ASSERT_EQ(list.Empty(), model.empty());
    ASSERT_EQ(list.Items(), model);
    for (std::size_t at : {std::size_t{0}, model.size() / 2, model.size() - 1})
      if (at < model.size()) {
        ASSERT_EQ(list.IndexOf(model[at]), static_cast<int>(at));
      }
    // The slots never outnumber the users by much, however many left.
    ASSERT_LE(list.SlotCount(), 2 * model.size() + 32);
  };
  // All join in order; the second registration of one is refused.
  for (TVariable* user : all) ASSERT_TRUE(list.Insert(user));
  model = all;
  EXPECT_FALSE(list.Insert(all[12345]));
  EXPECT_FALSE(list.Insert(nullptr));
  check();
  // Every other one leaves, from the front (as a closing experiment's commands do).
  for (std::size_t i = 0; i < all.size(); i += 2) ASSERT_TRUE(list.Erase(all[i]));
  EXPECT_FALSE(list.Erase(all[0]));  // gone already
  EXPECT_EQ(list.IndexOf(all[0]), -1);
  model.erase(std::remove_if(model.begin(), model.end(),
                             [&](TVariable* user) { return !list.Contains(user); }),
              model.end());
  ASSERT_EQ(model.size(), all.size() / 2);
  check();
  // Random joins and leaves; a user that left and joins again goes to the end.
  for (int step = 0; step < 20000; ++step) {
    TVariable* user = all[random() % all.size()];
    const auto found = std::find(model.begin(), model.end(), user);
    if (random() % 2) {
      ASSERT_EQ(list.Insert(user), found == model.end());
      if (found == model.end()) model.push_back(user);
    } else {
      ASSERT_EQ(list.Erase(user), found != model.end());
      if (found != model.end()) model.erase(found);
    }
    ASSERT_EQ(list.Contains(user), std::find(model.begin(), model.end(), user) != model.end());
    if (step % 5000 == 0) check();
  }
  check();
  // Everyone leaves from the back.
  while (!model.empty()) {
    ASSERT_TRUE(list.Erase(model.back()));
    model.pop_back();
  }
  check();
  EXPECT_EQ(list.SlotCount(), 0u);
  // As a queue: the first leaves while another joins at the end, over and over, so the
  // front is dropped many times while users keep their places.
  for (std::size_t i = 0; i < 1000; ++i) list.Insert(all[i]);
  model.assign(all.begin(), all.begin() + 1000);
  for (std::size_t next = 1000; next < all.size(); ++next) {
    ASSERT_TRUE(list.Erase(model.front()));
    model.erase(model.begin());
    ASSERT_TRUE(list.Insert(all[next]));
    model.push_back(all[next]);
    if (next % 997 == 0) check();
  }
  check();
}

TEST(UserListTest, AHeldListKeepsItsSlotsWhileUsersLeaveDuringAWalk) {
  std::vector<TPlainReference> pool(1000);
  std::vector<TVariable*> all = Pointers(pool);
  TUserList list;
  for (TVariable* user : all) list.Insert(user);
  list.Hold();
  // Each user met takes the next two with it, as a command drops its other references.
  std::vector<TVariable*> met;
  for (std::size_t slot = 0; slot < list.SlotCount(); ++slot) {
    TVariable* user = list.SlotAt(slot);
    if (!user) continue;
    met.push_back(user);
    for (std::size_t next = slot + 1; next <= slot + 2 && next < all.size(); ++next)
      EXPECT_TRUE(list.Erase(all[next]));
  }
  std::vector<TVariable*> expected;
  for (std::size_t i = 0; i < all.size(); i += 3) expected.push_back(all[i]);
  EXPECT_EQ(met, expected);
  EXPECT_EQ(list.SlotCount(), all.size());  // nothing moved while held
  EXPECT_EQ(list.Items(), expected);
  list.Release();
  EXPECT_LE(list.SlotCount(), 2 * expected.size() + 32);
  EXPECT_EQ(list.Items(), expected);
  EXPECT_EQ(list.IndexOf(expected.back()), static_cast<int>(expected.size()) - 1);
}

TEST(UserListTest, CopiedClearedAndDestroyedReferencesLeaveNoTrace) {
  TUserList list, other;
  auto first = std::make_unique<TPlainReference>();
  auto second = std::make_unique<TPlainReference>();
  auto third = std::make_unique<TPlainReference>();
  list.Insert(first.get());
  list.Insert(second.get());
  list.Insert(third.get());
  // A copy of a listed reference is nobody's user; assigning keeps both places.
  TPlainReference copy(*second);
  EXPECT_FALSE(list.Contains(&copy));
  EXPECT_TRUE(other.Insert(&copy));
  copy = *first;
  EXPECT_TRUE(other.Contains(&copy));
  EXPECT_TRUE(list.Contains(first.get()));
  EXPECT_EQ(list.Size(), 3u);
  // A reference destroyed while listed leaves by itself.
  second.reset();
  EXPECT_EQ(list.Items(), (std::vector<TVariable*>{first.get(), third.get()}));
  EXPECT_EQ(list.IndexOf(third.get()), 1);
  // Clearing lets the users go: they may join another list.
  list.Clear();
  EXPECT_TRUE(list.Empty());
  EXPECT_FALSE(list.Contains(first.get()));
  EXPECT_TRUE(other.Insert(first.get()));
  EXPECT_EQ(other.Items(), (std::vector<TVariable*>{&copy, first.get()}));
  // So does destroying the list: its users outlive it and are users of nothing.
  {
    TUserList brief;
    brief.Insert(third.get());
    EXPECT_TRUE(brief.Contains(third.get()));
  }
  EXPECT_TRUE(list.Insert(third.get()));
  EXPECT_EQ(list.Items(), std::vector<TVariable*>{third.get()});
  other.Erase(&copy);
  other.Erase(first.get());
}

}  // namespace
