// The indexed containers of the model: the insertion-ordered pointer set (attribute
// users, device commands, command sets) against a vector, across the size where it
// starts and stops keeping an index; the identifier table of the reader against a map.
#include "model/ordered_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "model/id_table.h"

namespace {

struct TItem {
  int Value = 0;
};

using TSet = TOrderedSet<TItem>;

// The first difference between the set and the model (the items in insertion order).
std::string Compare(const TSet& set, const std::vector<TItem*>& model) {
  if (set.Size() != model.size()) return "Size " + std::to_string(set.Size());
  if (set.Empty() != model.empty()) return "Empty";
  if (set.Items() != model) return "Items";
  if (set.Back() != (model.empty() ? nullptr : model.back())) return "Back";
  return "";
}

class OrderedSetTest : public ::testing::Test {
protected:
  OrderedSetTest() : Pool(400) {}

  TItem* Any() { return &Pool[Random() % Pool.size()]; }
  // One random Insert or Erase, with the answer checked; in favour of inserting while
  // growing, of erasing while shrinking. Erasures mostly name an item of the set, now
  // and then one that is not there.
  void Step(bool growing) {
    const bool insert = Random() % 100 < (growing ? 70u : 25u);
    TItem* item =
        !insert && !Model.empty() && Random() % 4 != 0 ? Model[Random() % Model.size()] : Any();
    const auto found = std::find(Model.begin(), Model.end(), item);
    const bool present = found != Model.end();
    if (insert) {
      ASSERT_EQ(Set.Insert(item), !present);
      if (!present) Model.push_back(item);
    } else {
      ASSERT_EQ(Set.Erase(item), present);
      if (present) Model.erase(found);
    }
    // Membership and positions of a few items, present or not.
    for (int k = 0; k < 4; ++k) {
      TItem* probe = k == 0 ? item : Any();
      const auto at = std::find(Model.begin(), Model.end(), probe);
      ASSERT_EQ(Set.Contains(probe), at != Model.end());
      ASSERT_EQ(Set.IndexOf(probe), at == Model.end() ? -1 : static_cast<int>(at - Model.begin()));
    }
  }

  std::vector<TItem> Pool;
  std::mt19937 Random{77};
  TSet Set;
  std::vector<TItem*> Model;
};

TEST_F(OrderedSetTest, RandomEditsAcrossTheIndexedSizeInBothDirections) {
  // Up to a few hundred, down to a handful, and again, several times: each crossing of
  // 32 items makes or drops the index, and the long shrinks leave erased slots enough
  // to be compacted away, in insertion order.
  int crossingsUp = 0, crossingsDown = 0;
  bool above = false;
  for (int round = 0; round < 6; ++round) {
    const std::size_t high = round % 2 ? 60 : 250;
    while (Model.size() < high) {
      Step(true);
      ASSERT_EQ(Compare(Set, Model), "") << "growing, round " << round;
      if (!above && Model.size() > 32) above = true, ++crossingsUp;
    }
    while (Model.size() > (round == 5 ? 0u : 3u)) {
      Step(false);
      ASSERT_EQ(Compare(Set, Model), "") << "shrinking, round " << round;
      if (above && Model.size() <= 32) above = false, ++crossingsDown;
    }
  }
  EXPECT_EQ(crossingsUp, 6);
  EXPECT_EQ(crossingsDown, 6);
  EXPECT_TRUE(Set.Empty());
  EXPECT_EQ(Set.Back(), nullptr);
  // Cleared while indexed, it forgets its items and starts anew.
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(Set.Insert(&Pool[i]));
  Set.Clear();
  EXPECT_EQ(Compare(Set, {}), "");
  EXPECT_FALSE(Set.Contains(&Pool[0]));
  EXPECT_TRUE(Set.Insert(&Pool[0]));
  EXPECT_EQ(Set.Items(), std::vector<TItem*>{&Pool[0]});
}

// Duplicates, erasing twice and re-inserting are met by the random run above.
TEST_F(OrderedSetTest, NullIsRefused) {
  for (std::size_t count : {5u, 100u}) {  // unindexed, indexed
    TSet set;
    for (std::size_t i = 0; i < count; ++i) ASSERT_TRUE(set.Insert(&Pool[i]));
    EXPECT_FALSE(set.Insert(nullptr));
    EXPECT_FALSE(set.Contains(nullptr));
    EXPECT_FALSE(set.Erase(nullptr));
    EXPECT_EQ(set.IndexOf(nullptr), -1);
    EXPECT_EQ(set.Size(), count);
  }
}

// A sliding window: each new item pushes out the oldest, ten thousand times, so that
// erased entries pile up in the index and must be cleared by rebuilding it.
TEST_F(OrderedSetTest, ASlidingWindowOfUsers) {
  std::vector<TItem> many(10000);
  const std::size_t window = 50;
  for (std::size_t i = 0; i < many.size(); ++i) {
    ASSERT_TRUE(Set.Insert(&many[i]));
    if (i >= window) {
      ASSERT_TRUE(Set.Erase(&many[i - window]));
      ASSERT_FALSE(Set.Contains(&many[i - window]));
    }
    ASSERT_EQ(Set.Back(), &many[i]);
    ASSERT_EQ(Set.Size(), std::min(i + 1, window));
    const std::size_t first = i >= window ? i - window + 1 : 0;
    ASSERT_EQ(Set.IndexOf(&many[first]), 0) << i;
    ASSERT_EQ(Set.IndexOf(&many[i]), static_cast<int>(Set.Size()) - 1) << i;
  }
  std::vector<TItem*> last;
  for (std::size_t i = many.size() - window; i < many.size(); ++i) last.push_back(&many[i]);
  EXPECT_EQ(Set.Items(), last);
}

// TIdTable

using TMap = std::map<std::int32_t, int>;

std::string Compare(TIdTable<int>& table, const TMap& model, const std::vector<std::int32_t>& ids) {
  if (table.Size() != model.size()) return "Size " + std::to_string(table.Size());
  const TIdTable<int>& constant = table;
  for (std::int32_t id : ids) {
    const auto found = model.find(id);
    const int* value = constant.Find(id);
    if ((value != nullptr) != (found != model.end())) return "Find " + std::to_string(id);
    if (value && *value != found->second) return "value of " + std::to_string(id);
  }
  return "";
}

TEST(IdTable, RandomIdentifiersAgainstAMap) {
  std::mt19937 random(5);
  // Small dense identifiers, their negatives, the extremes and random 32-bit ones.
  std::vector<std::int32_t> ids = {0, -1, 1, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max(),
                                   std::numeric_limits<std::int32_t>::min() + 1,
                                   std::numeric_limits<std::int32_t>::max() - 1};
  for (std::int32_t i = 2; i < 300; ++i) ids.push_back(i), ids.push_back(-i);
  for (int i = 0; i < 300; ++i) ids.push_back(static_cast<std::int32_t>(random()));
  // Identifiers that differ only in their high bits.
  for (std::int32_t i = 1; i < 64; ++i) ids.push_back(i << 24);
  TIdTable<int> table;
  TMap model;
  for (int step = 0; step < 20000; ++step) {
    const std::int32_t id = ids[random() % ids.size()];
    const unsigned roll = random() % 10;
    if (roll < 5) {
      // New identifiers start value-initialised, also after an erase.
      const bool had = model.count(id) > 0;
      int& value = table[id];
      ASSERT_EQ(value, had ? model[id] : 0) << id;
      value = step + 1;
      model[id] = step + 1;
    } else if (roll < 8) {
      table.Erase(id);
      model.erase(id);
      ASSERT_EQ(table.Find(id), nullptr) << id;
    } else {
      const int* value = table.Find(id);
      ASSERT_EQ(value != nullptr, model.count(id) > 0) << id;
    }
    if (step % 50 == 0) {
      ASSERT_EQ(Compare(table, model, ids), "") << step;
    }
  }
  ASSERT_EQ(Compare(table, model, ids), "");
  table.Clear();
  model.clear();
  EXPECT_EQ(Compare(table, model, ids), "");
  table[7] = 3;
  EXPECT_EQ(*table.Find(7), 3);
  EXPECT_EQ(table.Size(), 1u);
}

TEST(IdTable, GrowsThroughManyIdentifiersAndEmptiesAgain) {
  TIdTable<std::string> table;
  // A file's identifiers: dense from 100 on.
  for (std::int32_t id = 100; id < 20100; ++id) table[id] = std::to_string(id);
  ASSERT_EQ(table.Size(), 20000u);
  for (std::int32_t id = 100; id < 20100; ++id) {
    const std::string* value = table.Find(id);
    ASSERT_NE(value, nullptr) << id;
    ASSERT_EQ(*value, std::to_string(id));
  }
  EXPECT_EQ(table.Find(99), nullptr);
  EXPECT_EQ(table.Find(20100), nullptr);
  // Erasing every one and inserting new ones many times over reuses the table.
  for (std::int32_t id = 100; id < 20100; ++id) table.Erase(id);
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_EQ(table[100], "");  // made again: an empty value, not the old one
  table.Erase(100);
  for (int round = 0; round < 20; ++round) {
    for (std::int32_t id = 0; id < 1000; ++id) table[round * 1000 + id] = "r";
    for (std::int32_t id = 0; id < 1000; ++id) table.Erase(round * 1000 + id);
    ASSERT_EQ(table.Size(), 0u);
  }
  EXPECT_EQ(table.Find(0), nullptr);
  EXPECT_EQ(table.Find(19999), nullptr);
}

}  // namespace
