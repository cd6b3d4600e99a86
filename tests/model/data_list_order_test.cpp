// Where a new variable stands in its list: variables added to blocks in any order stand
// as a stable sort of the list by block position would put them (by block in tree
// order, each block's in order of creation); after blocks have moved, the next addition
// puts the whole list in the new block order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "support/experiment_fixture.h"

namespace {

class DataListOrderTest : public TExperimentFixture {
protected:
  DataListOrderTest() {
    for (int i = 0; i < 8; ++i) Blocks.push_back(Exp.AddBlock("B" + std::to_string(i)));
  }

  // The block's position among the experiment tree's top-level nodes, found by walking
  // them.
  int PositionOf(const TBlock* block) const {
    for (int i = 0; i < Tree.Count(); ++i)
      if (Tree.Item(i) == block->AExpNode) return i;
    ADD_FAILURE() << "block not at the top level";
    return -1;
  }
  // The list as it should stand: the variables in order of creation, stably sorted by
  // the position of their blocks now.
  std::vector<TData*> Expected(const std::vector<TData*>& created) const {
    std::vector<TData*> order = created;
    std::stable_sort(order.begin(), order.end(), [this](TData* a, TData* b) {
      return PositionOf(a->GetBlockOwner()) < PositionOf(b->GetBlockOwner());
    });
    return order;
  }
  static std::vector<TData*> Actual(const TDataList& list) {
    std::vector<TData*> all;
    list.GetAll(all);
    return all;
  }
  // One new variable of the list in the block, through Add or the dialog's Create.
  TData* AddTo(TDataList& list, TBlock* block, bool viaDialog) {
    const bool arrays = list.GetListKind() == 2;
    const std::string name = "v" + std::to_string(Made++);
    if (!viaDialog) return list.Add(block, 1, arrays ? 4 : 1, name);
    TDataFormRequest form;
    form.Name = name;
    form.Type = 1;
    form.ArraySize = 4;
    return list.Create(block, form);
  }
  // Readable block titles of the list, for failure messages.
  std::string Titles(const std::vector<TData*>& variables) const {
    std::string text;
    for (TData* v : variables) text += std::to_string(PositionOf(v->GetBlockOwner())) + " ";
    return text;
  }

  TDataSingleList& Singles = *Exp.GetDataSingleList();
  TDataArrayList& Arrays = *Exp.GetDataArrayList();
  std::vector<TBlock*> Blocks;
  int Made = 0;
};

TEST_F(DataListOrderTest, AdditionsFollowTheBlockOrderOfTheirTime) {
  std::vector<TData*> singles, arrays;
  const auto add = [&](bool single, TBlock* block, bool dialog) {
    TDataList& list = single ? static_cast<TDataList&>(Singles) : Arrays;
    std::vector<TData*>& created = single ? singles : arrays;
    created.push_back(AddTo(list, block, dialog));
    const std::vector<TData*> expected = Expected(created);
    const std::vector<TData*> actual = Actual(list);
    EXPECT_EQ(actual, expected) << "actual " << Titles(actual) << "\nexpected " << Titles(expected);
    EXPECT_TRUE(list.AExpAttNode->GetExpanded());
  };
  // A middle block first, then the first and the last, then blocks with no variables
  // yet between those that have some, then again into each of them.
  for (int index : {4, 0, 7, 2, 6, 4, 0, 7, 1, 2}) {
    add(true, Blocks[index], false);
    add(false, Blocks[7 - index], true);
  }
  // The last block to the top: the lists, made in the old order, no longer match; the
  // next variable (of a block that did not move) brings its whole list in line.
  Blocks[7]->AExpNode->MoveTo(Blocks[0]->AExpNode, TNodeAttachMode::naInsert);
  add(true, Blocks[3], false);
  EXPECT_EQ(Actual(Singles).front()->GetBlockOwner(), Blocks[7]);
  // Then random moves of blocks, each followed by a few variables of random blocks,
  // through both ways.
  std::mt19937 random(8);
  const TNodeAttachMode modes[] = {TNodeAttachMode::naInsert, TNodeAttachMode::naAdd,
                                   TNodeAttachMode::naAddFirst};
  for (int round = 0; round < 60 && !HasFailure(); ++round) {
    TBlock* moved = Blocks[random() % Blocks.size()];
    TBlock* destination = Blocks[random() % Blocks.size()];
    if (moved != destination && round % 3 == 0)
      moved->AExpNode->MoveTo(destination->AExpNode, modes[random() % 3]);
    for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n)
      add(random() % 2, Blocks[random() % Blocks.size()], random() % 4 == 0);
  }
  EXPECT_EQ(Singles.GetCount() + Arrays.GetCount(),
            static_cast<int>(singles.size() + arrays.size()));
}

}  // namespace
