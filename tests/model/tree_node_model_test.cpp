// The core tree against a plain reference model (each node's children in a vector):
// random edits of every kind with a fixed seed, then every node's position, neighbours,
// parent, children, level and the depth-first order compared with the model, and the
// notifications (with the positions observers read while they are told) compared with
// what the model expects. Then the edit patterns of loading, sections and deletion on
// long child lists, where positions are cached and renumbered lazily.
#include "model/tree_node.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// Nodes carry their model identifier in their text ("n12"), so that a node is known by it
// even when the allocator hands a deleted node's address to a new one.
int IdOf(const TTreeNode* node) { return node ? std::stoi(node->GetText().substr(1)) : 0; }
std::string NameOf(const TTreeNode* node) { return node ? node->GetText() : "top"; }

// Every notification as a line, with the position the node reports at that moment (as
// a view asks it while it is told).
class TEventLog : public TTreeObserver {
public:
  std::vector<std::string> Events;

  void NodeAboutToInsert(TTreeNode* parent, int index) override {
    Events.push_back("about to insert " + NameOf(parent) + " " + std::to_string(index));
  }
  void NodeInserted(TTreeNode* node) override {
    Events.push_back("inserted " + NameOf(node) + " at " + std::to_string(node->GetIndex()));
  }
  void NodeAboutToRemove(TTreeNode* node) override {
    Events.push_back("about to remove " + NameOf(node) + " at " + std::to_string(node->GetIndex()));
  }
  void NodeRemoved(TTreeNode* parent, int index) override {
    Events.push_back("removed " + NameOf(parent) + " " + std::to_string(index));
  }
  void NodeAboutToMove(TTreeNode* node, TTreeNode* parent, int index) override {
    Events.push_back("about to move " + NameOf(node) + " from " + std::to_string(node->GetIndex()) +
                     " to " + NameOf(parent) + " " + std::to_string(index));
  }
  void NodeMoved(TTreeNode* node) override {
    Events.push_back("moved " + NameOf(node) + " at " + std::to_string(node->GetIndex()));
  }
  void SelectionChanged(TTreeNode* node) override { Events.push_back("selected " + NameOf(node)); }
  void ChildrenReordered(TTreeNode* parent) override {
    Events.push_back("reordered " + NameOf(parent));
  }
};

// The reference: identifier 0 is the top level; a node's children in a vector.
struct TModel {
  std::vector<int> Parent{0};
  std::vector<std::vector<int>> Kids{{}};
  std::vector<TTreeNode*> Node{nullptr};
  std::vector<char> Alive{true};
  std::vector<int> Key{0};  // the sort key; small, so that sorts meet ties

  int Position(int id) const {
    const std::vector<int>& siblings = Kids[Parent[id]];
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), id) - siblings.begin());
  }
  bool IsBelow(int id, int ancestor) const {
    for (int p = Parent[id]; p != 0; p = Parent[p])
      if (p == ancestor) return true;
    return false;
  }
  int Level(int id) const {
    int level = 0;
    for (int p = Parent[id]; p != 0; p = Parent[p]) ++level;
    return level;
  }
  // The live nodes in depth-first order.
  std::vector<int> Live() const {
    std::vector<int> live;
    PreOrder(0, live);
    return live;
  }
  void PreOrder(int id, std::vector<int>& order) const {
    for (int kid : Kids[id]) {
      order.push_back(kid);
      PreOrder(kid, order);
    }
  }
  // A new identifier for a node about to be made under the parent at the index.
  int Make(int parent, int index, int key) {
    const int id = static_cast<int>(Parent.size());
    Parent.push_back(parent);
    Kids.emplace_back();
    Node.push_back(nullptr);
    Alive.push_back(true);
    Key.push_back(key);
    Kids[parent].insert(Kids[parent].begin() + index, id);
    return id;
  }
  void Unlink(int id) {
    std::vector<int>& siblings = Kids[Parent[id]];
    siblings.erase(std::find(siblings.begin(), siblings.end(), id));
  }
  void Kill(int id) {
    for (int kid : Kids[id]) Kill(kid);
    Kids[id].clear();
    Alive[id] = false;
    Node[id] = nullptr;
  }
};

std::string Name(int id) { return id == 0 ? "top" : "n" + std::to_string(id); }

// The first difference between the tree and the model; empty when none. Nodes are
// visited in a random order, so that positions are asked in any order.
std::string Compare(const TTree& tree, const TModel& model, std::mt19937& random) {
  // The model's positions and levels, from one walk.
  std::vector<int> order;
  model.PreOrder(0, order);
  std::vector<int> position(model.Alive.size(), -1), level(model.Alive.size(), 0);
  std::vector<int> parents{0};
  parents.insert(parents.end(), order.begin(), order.end());
  for (int id : parents) {
    const std::vector<int>& kids = model.Kids[id];
    for (int i = 0; i < static_cast<int>(kids.size()); ++i) {
      position[kids[i]] = i;
      level[kids[i]] = level[id] + 1;
    }
  }
  std::vector<int> live = order;
  std::shuffle(live.begin(), live.end(), random);
  if (tree.Count() != static_cast<int>(model.Kids[0].size()))
    return "top-level count " + std::to_string(tree.Count());
  const auto at = [&](int parent, int index) -> TTreeNode* {
    return parent == 0 ? tree.Item(index) : model.Node[parent]->Item(index);
  };
  for (int id : live) {
    TTreeNode* node = model.Node[id];
    const int parent = model.Parent[id];
    const std::vector<int>& siblings = model.Kids[parent];
    const int index = position[id];
    const int count = static_cast<int>(siblings.size());
    const std::vector<int>& kids = model.Kids[id];
    const auto here = [id](const std::string& what) { return Name(id) + ": " + what; };
    if (IdOf(node) != id) return here("wrong node");
    if (node->GetIndex() != index)
      return here("GetIndex " + std::to_string(node->GetIndex()) + " not " + std::to_string(index));
    if (at(parent, index) != node) return here("Item(GetIndex) is another node");
    if (node->GetParent() != model.Node[parent]) return here("GetParent");
    if (node->GetPrevSibling() != (index > 0 ? model.Node[siblings[index - 1]] : nullptr))
      return here("GetPrevSibling");
    if (node->GetNextSibling() != (index + 1 < count ? model.Node[siblings[index + 1]] : nullptr))
      return here("GetNextSibling");
    if (node->Count() != static_cast<int>(kids.size()) || node->HasChildren() != !kids.empty())
      return here("Count " + std::to_string(node->Count()));
    if (node->GetFirstChild() != (kids.empty() ? nullptr : model.Node[kids.front()]))
      return here("GetFirstChild");
    if (node->GetLastChild() != (kids.empty() ? nullptr : model.Node[kids.back()]))
      return here("GetLastChild");
    if (node->Item(-1) || node->Item(node->Count())) return here("Item out of range");
    if (node->GetLevel() != level[id] - 1) return here("GetLevel");
    if (node->GetTree() != &tree) return here("GetTree");
  }
  // Every child by position, level by level.
  for (int parent : parents) {
    const std::vector<int>& kids = model.Kids[parent];
    for (int i = 0; i < static_cast<int>(kids.size()); ++i)
      if (at(parent, i) != model.Node[kids[i]])
        return Name(parent) + ": Item(" + std::to_string(i) + ")";
  }
  // The depth-first order, by GetNext from the first node.
  TTreeNode* node = tree.GetFirstNode();
  for (std::size_t i = 0; i < order.size(); ++i, node = node->GetNext())
    if (!node || node != model.Node[order[i]])
      return "GetNext: step " + std::to_string(i) + " reaches " + NameOf(node) + " not " +
             Name(order[i]);
  if (node) return "GetNext: goes on after the last node to " + NameOf(node);
  // A few absolute positions (each one a walk).
  for (int n = 0; n < 3 && !order.empty(); ++n) {
    const std::size_t i = random() % order.size();
    if (model.Node[order[i]]->GetAbsoluteIndex() != static_cast<int>(i))
      return Name(order[i]) + ": GetAbsoluteIndex " +
             std::to_string(model.Node[order[i]]->GetAbsoluteIndex()) + " not " +
             std::to_string(i);
  }
  return "";
}

class TreeModelTest : public ::testing::Test {
protected:
  TreeModelTest() { Tree.AddObserver(&Log); }

  TTreeNode* Visible(int id) const { return id == 0 ? nullptr : Model.Node[id]; }
  int Pick(const std::vector<int>& ids) { return ids[Random() % ids.size()]; }

  // A new node, made by one of the five ways; the model and the expected notifications
  // follow. sibling/parent 0: the top level. Answers the new node's identifier.
  int Make(int how, int other) {
    const int key = static_cast<int>(Random() % 3);
    int parent = 0, index = 0;
    switch (how) {
      case 0:
        parent = other ? Model.Parent[other] : 0;
        index = static_cast<int>(Model.Kids[parent].size());
        break;
      case 1: parent = other ? Model.Parent[other] : 0; index = 0; break;
      case 2: parent = other; index = static_cast<int>(Model.Kids[parent].size()); break;
      case 3: parent = other; index = 0; break;
      case 4:  // before the sibling; without one, last at the top level
        parent = other ? Model.Parent[other] : 0;
        index = other ? Model.Position(other) : static_cast<int>(Model.Kids[0].size());
        break;
    }
    const int id = Model.Make(parent, index, key);
    const std::string text = Name(id);
    TTreeNode* sibling = Visible(other);
    Expected = {"about to insert " + Name(parent) + " " + std::to_string(index),
                "inserted " + Name(id) + " at " + std::to_string(index)};
    TTreeNode* made = nullptr;
    switch (how) {
      case 0: made = Tree.Add(sibling, text); break;
      case 1: made = Tree.AddFirst(sibling, text); break;
      case 2: made = Tree.AddChild(sibling, text); break;
      case 3: made = Tree.AddChildFirst(sibling, text); break;
      case 4: made = Tree.Insert(sibling, text); break;
    }
    Model.Node[id] = made;
    Description = "make(" + std::to_string(how) + ", " + Name(other) + ") -> " + Name(id);
    return id;
  }

  void Move(int id, int destination, TNodeAttachMode mode) {
    const int from = Model.Position(id);
    Model.Unlink(id);
    int parent = 0, index = 0;
    switch (mode) {
      case TNodeAttachMode::naAdd:
        parent = Model.Parent[destination];
        index = static_cast<int>(Model.Kids[parent].size());
        break;
      case TNodeAttachMode::naAddFirst: parent = Model.Parent[destination]; index = 0; break;
      case TNodeAttachMode::naAddChild:
        parent = destination;
        index = static_cast<int>(Model.Kids[parent].size());
        break;
      case TNodeAttachMode::naAddChildFirst: parent = destination; index = 0; break;
      case TNodeAttachMode::naInsert:
        parent = Model.Parent[destination];
        index = Model.Position(destination);
        break;
    }
    Model.Kids[parent].insert(Model.Kids[parent].begin() + index, id);
    Model.Parent[id] = parent;
    Expected = {"about to move " + Name(id) + " from " + std::to_string(from) + " to " +
                    Name(parent) + " " + std::to_string(index),
                "moved " + Name(id) + " at " + std::to_string(index)};
    Description = "move " + Name(id) + " mode " + std::to_string(static_cast<int>(mode)) + " to " +
                  Name(destination);
    Model.Node[id]->MoveTo(Model.Node[destination], mode);
  }

  // The notifications of deleting one node (with what it holds).
  void ExpectDelete(int id) {
    const int parent = Model.Parent[id];
    const int index = Model.Position(id);
    Expected.push_back("about to remove " + Name(id) + " at " + std::to_string(index));
    if (Selected && (Selected == id || Model.IsBelow(Selected, id))) {
      Expected.push_back("selected top");
      Selected = 0;
    }
    Expected.push_back("removed " + Name(parent) + " " + std::to_string(index));
    Model.Unlink(id);
    Model.Kill(id);
  }

  void Delete(int id) {
    Expected.clear();
    TTreeNode* node = Model.Node[id];
    ExpectDelete(id);
    Description = "delete " + Name(id);
    node->Delete();
  }

  void DeleteChildren(int id) {
    Expected.clear();
    // The children go from the last to the first.
    while (!Model.Kids[id].empty()) ExpectDelete(Model.Kids[id].back());
    Description = "delete children of " + Name(id);
    Model.Node[id]->DeleteChildren();
  }

  void Sort(int id) {
    // New keys of 0..2: ties everywhere, and an order that changes from sort to sort.
    for (int kid : Model.Kids[id]) Model.Key[kid] = static_cast<int>(Random() % 3);
    std::stable_sort(Model.Kids[id].begin(), Model.Kids[id].end(),
                     [this](int a, int b) { return Model.Key[a] < Model.Key[b]; });
    Expected = {"reordered " + Name(id)};
    Description = "sort children of " + Name(id);
    Model.Node[id]->SortChildren([this](const TTreeNode* a, const TTreeNode* b) {
      return Model.Key[IdOf(a)] < Model.Key[IdOf(b)];
    });
  }

  void Select(int id) {
    Selected = id;
    Expected = {"selected " + Name(id)};
    Description = "select " + Name(id);
    Tree.SetSelected(Visible(id));
  }

  // One random edit. Additions outweigh deletions while the tree is small.
  void RandomEdit() {
    const std::vector<int> live = Model.Live();
    const int size = static_cast<int>(live.size());
    const unsigned roll = Random() % 100;
    if (size < 2 || roll < (size < 60 ? 45u : size < 120 ? 30u : 15u)) {
      // Most additions go near a few crowded parents, so that child lists grow long.
      int other = 0;
      if (size > 0 && Random() % 4 != 0) {
        other = Pick(live);
        if (Random() % 2 && Model.Parent[other] != 0 && Model.Level(other) > 2)
          other = Model.Parent[other];
      }
      Make(static_cast<int>(Random() % 5), other);
      return;
    }
    if (roll < 70) {
      const int id = Pick(live);
      int destination = 0;
      const unsigned where = Random() % 3;
      const std::vector<int>& siblings = Model.Kids[Model.Parent[id]];
      if (where == 0 && siblings.size() > 1) {
        // Within the same parent, forward or backward.
        do destination = Pick(siblings);
        while (destination == id);
      } else {
        for (int tries = 0; tries < 20; ++tries) {
          const int candidate = Pick(live);
          if (candidate != id && !Model.IsBelow(candidate, id)) {
            destination = candidate;
            break;
          }
        }
      }
      if (destination == 0) return;
      // Never under the node itself: naAddChild* into a node below it is excluded above.
      const auto mode = static_cast<TNodeAttachMode>(Random() % 5);
      Move(id, destination, mode);
      return;
    }
    if (roll < 82) return Delete(Pick(live));
    if (roll < 85) return DeleteChildren(Pick(live));
    if (roll < 95) {
      // A parent with children: a node's parent.
      const int id = Pick(live);
      const int parent = Model.Parent[id] ? Model.Parent[id] : id;
      return Sort(parent);
    }
    Select(Random() % 4 == 0 ? 0 : Pick(live));
  }

  // Positions and previous neighbours of the node and of its parent's first, middle and
  // last children, asked in a random order: which end a lazy renumbering starts from
  // depends on what is asked first.
  void Probe(int id) {
    const std::vector<int>& siblings = Model.Kids[Model.Parent[id]];
    std::vector<int> asked{id, siblings.front(), siblings[siblings.size() / 2], siblings.back()};
    std::shuffle(asked.begin(), asked.end(), Random);
    for (int k : asked) {
      const int at = Model.Position(k);
      ASSERT_EQ(Model.Node[k]->GetIndex(), at) << Name(k) << " after " << Description;
      ASSERT_EQ(Model.Node[k]->GetPrevSibling(), at > 0 ? Model.Node[siblings[at - 1]] : nullptr)
          << Name(k) << " after " << Description;
    }
  }
  // One edit of a pattern: its notifications, then probes around the nodes it answers
  // (0: none), and now and then the whole tree.
  template <typename TEdit>
  void Step(int step, TEdit edit) {
    Log.Events.clear();
    const std::vector<int> probed = edit();
    ASSERT_EQ(Log.Events, Expected) << "step " << step << ": " << Description;
    for (int id : probed) {
      if (id) {
        ASSERT_NO_FATAL_FAILURE(Probe(id)) << "step " << step;
      }
    }
    if (step % 97 == 0) {
      ASSERT_EQ(Compare(Tree, Model, Random), "") << "step " << step;
    }
  }

  std::mt19937 Random{20240611};
  TTree Tree;
  TEventLog Log;
  TModel Model;
  int Selected = 0;
  std::vector<std::string> Expected;
  std::string Description;
};

TEST_F(TreeModelTest, RandomEditsMatchTheModel) {
  int moves = 0, deletes = 0, sorts = 0;
  for (int step = 0; step < 4000; ++step) {
    // Now and then several edits in a row, with a few positions asked in between, so
    // that positions left stale by one edit meet the next.
    const int burst = Random() % 5 == 0 ? 2 + static_cast<int>(Random() % 5) : 1;
    for (int b = 0; b < burst; ++b) {
      Log.Events.clear();
      Expected.clear();
      Description.clear();
      RandomEdit();
      if (Description.empty()) continue;
      moves += Description.rfind("move", 0) == 0;
      deletes += Description.rfind("delete", 0) == 0;
      sorts += Description.rfind("sort", 0) == 0;
      ASSERT_EQ(Log.Events, Expected) << "step " << step << ": " << Description;
      const std::vector<int> live = Model.Live();
      if (b + 1 < burst && !live.empty()) {
        const int id = Pick(live);
        ASSERT_EQ(Model.Node[id]->GetIndex(), Model.Position(id))
            << "step " << step << ": " << Description;
      }
    }
    ASSERT_EQ(Compare(Tree, Model, Random), "") << "step " << step << ": " << Description;
  }
  // The run did meet every kind of edit often, and left a tree to compare.
  EXPECT_GT(moves, 800);
  EXPECT_GT(deletes, 300);
  EXPECT_GT(sorts, 150);
  EXPECT_GT(Model.Live().size(), 20u);
}

// Long lists of few parents: the gap of a child list travels far and the buffer grows
// with the gap anywhere. Positions are asked only now and then, at random, so that many
// edits pile up between renumberings.
TEST_F(TreeModelTest, LongChildListsUnderRandomEdits) {
  Tree.RemoveObserver(&Log);  // the notifications are compared in the test above
  std::vector<int> parents;
  for (int i = 0; i < 3; ++i) {
    Make(2, 0);
    parents.push_back(static_cast<int>(Model.Parent.size()) - 1);
  }
  for (int step = 0; step < 6000; ++step) {
    const int parent = parents[Random() % parents.size()];
    const std::vector<int>& kids = Model.Kids[parent];
    const unsigned roll = Random() % 10;
    if (kids.size() < 5 || roll < 4) {
      const bool before = !kids.empty() && Random() % 2;
      if (before)
        Make(4, Pick(kids));  // Insert before a random child
      else
        Make(Random() % 2 ? 2 : 3, parent);  // last or first child
    } else if (roll < 7) {
      // A child to a random place under one of the parents.
      const int id = Pick(kids);
      const int other = parents[Random() % parents.size()];
      if (!Model.Kids[other].empty() && Random() % 3 != 0) {
        const int destination = Pick(Model.Kids[other]);
        if (destination != id)
          Move(id, destination, Random() % 2 ? TNodeAttachMode::naInsert : TNodeAttachMode::naAdd);
      } else {
        Move(id, other,
             Random() % 2 ? TNodeAttachMode::naAddChild : TNodeAttachMode::naAddChildFirst);
      }
    } else {
      Delete(Pick(kids));
    }
    if (!Model.Kids[parent].empty() && Random() % 3 == 0) {
      ASSERT_NO_FATAL_FAILURE(Probe(Pick(Model.Kids[parent]))) << "step " << step;
    }
    if (step % 100 == 99) {
      ASSERT_EQ(Compare(Tree, Model, Random), "") << "step " << step;
    }
  }
  std::size_t longest = 0;
  for (int parent : parents) longest = std::max(longest, Model.Kids[parent].size());
  EXPECT_GT(longest, 100u);  // the lists did grow past several buffer sizes
  ASSERT_EQ(Compare(Tree, Model, Random), "");
}

// The patterns of loading, sections and deletion, on lists of a thousand children.

// A section adopting its commands: the node right after a fixed node becomes the last
// child of that node, a thousand times.
TEST_F(TreeModelTest, ASectionAdoptsTheNodesAfterIt) {
  const int block = Make(0, 0);
  for (int i = 0; i < 5; ++i) Make(2, block);
  const int section = Make(2, block);
  for (int i = 0; i < 1003; ++i) Make(2, block);
  for (int i = 0; i < 1000; ++i)
    ASSERT_NO_FATAL_FAILURE(Step(i, [&] {
      const int next = Model.Kids[block][Model.Position(section) + 1];
      Move(next, section, TNodeAttachMode::naAddChild);
      return std::vector<int>{next, section};
    }));
  EXPECT_EQ(Compare(Tree, Model, Random), "");
}

// A section releasing its commands: its first child goes in front of a fixed sibling,
// again and again (in one block the node after the section, in another the section).
TEST_F(TreeModelTest, ASectionReleasesItsNodesBeforeAFixedSibling) {
  int sections[2], fixed[2];
  for (int k = 0; k < 2; ++k) {
    const int block = Make(0, 0);
    for (int i = 0; i < 3; ++i) Make(2, block);
    sections[k] = Make(2, block);
    fixed[k] = k == 0 ? Make(2, block) : sections[k];
    Make(2, block);
    for (int i = 0; i < 1000; ++i) Make(2, sections[k]);
  }
  for (int i = 0; i < 2000; ++i)
    ASSERT_NO_FATAL_FAILURE(Step(i, [&] {
      const int k = i % 2;
      const int first = Model.Kids[sections[k]].front();
      Move(first, fixed[k], TNodeAttachMode::naInsert);
      return std::vector<int>{first, Model.Kids[sections[k]].empty() ? 0 : Model.Kids[sections[k]].front()};
    }));
  EXPECT_EQ(Compare(Tree, Model, Random), "");
}

// A block deleted from its first command on, with a block after it.
TEST_F(TreeModelTest, ABlockDeletedFromTheFront) {
  const int block = Make(0, 0);
  for (int i = 0; i < 1200; ++i) Make(2, block);
  Make(0, 0);
  for (int i = 0; i < 1200; ++i)
    ASSERT_NO_FATAL_FAILURE(Step(i, [&] {
      Delete(Model.Kids[block].front());
      return std::vector<int>{Model.Kids[block].empty() ? 0 : Model.Kids[block].front()};
    }));
  EXPECT_EQ(Compare(Tree, Model, Random), "");
}

// Inserting at position 0 of a long list, by its parent and by its first node; then
// before a node near the end.
TEST_F(TreeModelTest, InsertsAtTheFront) {
  const int list = Make(0, 0);
  for (int i = 0; i < 500; ++i) Make(2, list);
  for (int i = 0; i < 1500; ++i)
    ASSERT_NO_FATAL_FAILURE(Step(i, [&] {
      return std::vector<int>{i % 2 ? Make(3, list) : Make(1, Model.Kids[list].front())};
    }));
  ASSERT_NO_FATAL_FAILURE(Step(0, [&] {
    return std::vector<int>{Make(4, Model.Kids[list][Model.Kids[list].size() - 3])};
  }));
}

}  // namespace
