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

// Nodes carry their model identifier as data, so that a node is known by it even when
// the allocator hands a deleted node's address to a new one.
int IdOf(const TTreeNode* node) {
  return node ? static_cast<int>(reinterpret_cast<std::intptr_t>(node->GetData())) : 0;
}

// A node with an identifier by it, any other by its text.
std::string NameOf(const TTreeNode* node) {
  if (!node) return "top";
  return node->GetData() ? "n" + std::to_string(IdOf(node)) : node->GetText();
}

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
  // The labeller must be told before the log.
  TreeModelTest() {
    Tree.AddObserver(&Labeller);
    Tree.AddObserver(&Log);
  }

  TTreeNode* Visible(int id) const { return id == 0 ? nullptr : Model.Node[id]; }
  int Pick(const std::vector<int>& ids) { return ids[Random() % ids.size()]; }

  // A new node, made by one of the five ways; the model and the expected notifications
  // follow. sibling/parent 0: the top level.
  void Make(int how, int other) {
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
    const std::string text = "t" + std::to_string(id);
    TTreeNode* sibling = Visible(other);
    Expected = {"about to insert " + Name(parent) + " " + std::to_string(index),
                "inserted " + Name(id) + " at " + std::to_string(index)};
    // The new node carries its identifier from the first notification on: the observer
    // of NodeInserted reads it, so it is set by a one-shot observer placed first.
    Pending = id;
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

  // The one-shot labeller: sets the new node's identifier before the log sees it.
  class TLabeller : public TTreeObserver {
  public:
    explicit TLabeller(int& pending) : Pending(pending) {}
    void NodeInserted(TTreeNode* node) override {
      if (Pending) node->SetData(reinterpret_cast<void*>(static_cast<std::intptr_t>(Pending)));
      Pending = 0;
    }
    int& Pending;
  };

  std::mt19937 Random{20240611};
  TTree Tree;
  int Pending = 0;
  TLabeller Labeller{Pending};
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
    const std::vector<int>& now = Model.Kids[parent];
    if (!now.empty() && Random() % 3 == 0) {
      const int id = Pick(now);
      ASSERT_EQ(Model.Node[id]->GetIndex(), Model.Position(id))
          << "step " << step << ": " << Description;
      ASSERT_EQ(Model.Node[id]->GetPrevSibling(),
                Model.Position(id) > 0 ? Model.Node[now[Model.Position(id) - 1]] : nullptr);
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
class TreePatternTest : public ::testing::Test {
protected:
  // The parent's children by position, from both ends, and their sibling links.
  static std::string Check(const TTreeNode* parent, const std::vector<TTreeNode*>& expected) {
    if (parent->Count() != static_cast<int>(expected.size())) return "count";
    const int n = parent->Count();
    for (int i = n - 1; i >= 0; --i)
      if (expected[i]->GetIndex() != i) return "GetIndex of " + std::to_string(i);
    for (int i = 0; i < n; ++i) {
      if (parent->Item(i) != expected[i]) return "Item " + std::to_string(i);
      if (expected[i]->GetParent() != parent) return "GetParent " + std::to_string(i);
      if (expected[i]->GetPrevSibling() != (i > 0 ? expected[i - 1] : nullptr))
        return "prev " + std::to_string(i);
      if (expected[i]->GetNextSibling() != (i + 1 < n ? expected[i + 1] : nullptr))
        return "next " + std::to_string(i);
    }
    return "";
  }
  std::vector<TTreeNode*> Fill(TTreeNode* parent, int count, const std::string& prefix) {
    std::vector<TTreeNode*> made;
    for (int i = 0; i < count; ++i)
      made.push_back(Tree.AddChild(parent, prefix + std::to_string(i)));
    return made;
  }

  TTree Tree;
  TEventLog Log;
};

// A section adopting its commands: the node right after a fixed node becomes the last
// child of that node, a thousand times.
TEST_F(TreePatternTest, ASectionAdoptsTheNodesAfterIt) {
  TTreeNode* block = Tree.Add(nullptr, "block");
  std::vector<TTreeNode*> lines = Fill(block, 5, "before");
  TTreeNode* section = Tree.AddChild(block, "section");
  const int at = 5;
  std::vector<TTreeNode*> rest = Fill(block, 1003, "line");
  lines.push_back(section);
  lines.insert(lines.end(), rest.begin(), rest.end());
  std::vector<TTreeNode*> adopted;
  Tree.AddObserver(&Log);
  for (int i = 0; i < 1000; ++i) {
    TTreeNode* next = section->GetNextSibling();
    ASSERT_EQ(next, rest[i]) << i;
    Log.Events.clear();
    next->MoveTo(section, TNodeAttachMode::naAddChild);
    // The view hears where it goes and reads its old and new positions.
    ASSERT_EQ(Log.Events, (std::vector<std::string>{
                              "about to move " + NameOf(next) + " from " + std::to_string(at + 1) +
                                  " to " + NameOf(section) + " " + std::to_string(i),
                              "moved " + NameOf(next) + " at " + std::to_string(i)}))
        << i;
    adopted.push_back(next);
    lines.erase(lines.begin() + at + 1);
    ASSERT_EQ(section->GetIndex(), at);
    ASSERT_EQ(section->Count(), i + 1);
    ASSERT_EQ(next->GetPrevSibling(), i > 0 ? adopted[i - 1] : nullptr);
    ASSERT_EQ(block->GetLastChild()->GetIndex(), block->Count() - 1) << i;
    if (i % 97 == 0) {
      ASSERT_EQ(Check(block, lines), "") << i;
      ASSERT_EQ(Check(section, adopted), "") << i;
    }
  }
  Tree.RemoveObserver(&Log);
  EXPECT_EQ(Check(block, lines), "");
  EXPECT_EQ(Check(section, adopted), "");
  EXPECT_EQ(section->GetNext(), adopted.front());
  EXPECT_EQ(adopted.back()->GetNext(), rest[1000]);
}

// A section releasing its commands: its first child goes in front of a fixed sibling,
// again and again (the node after the section, or the section itself).
TEST_F(TreePatternTest, ASectionReleasesItsNodesBeforeAFixedSibling) {
  for (const bool beforeSection : {false, true}) {
    TTree tree;
    TTreeNode* block = tree.Add(nullptr, "block");
    for (int i = 0; i < 3; ++i) tree.AddChild(block, "x" + std::to_string(i));
    TTreeNode* section = tree.AddChild(block, "section");
    TTreeNode* end = tree.AddChild(block, "end");
    tree.AddChild(block, "after");
    std::vector<TTreeNode*> held;
    for (int i = 0; i < 1000; ++i) held.push_back(tree.AddChild(section, "c" + std::to_string(i)));
    TTreeNode* fixed = beforeSection ? section : end;
    struct TMoves : TTreeObserver {
      std::vector<int> To;
      void NodeAboutToMove(TTreeNode*, TTreeNode*, int index) override { To.push_back(index); }
    } moves;
    tree.AddObserver(&moves);
    for (int i = 0; i < 1000; ++i) {
      TTreeNode* first = section->GetFirstChild();
      ASSERT_EQ(first, held[i]);
      first->MoveTo(fixed, TNodeAttachMode::naInsert);
      // Released in order: in front of the section they stand before it, else after it.
      const int expected = beforeSection ? 3 + i : 4 + i;
      ASSERT_EQ(moves.To.back(), expected) << i;
      ASSERT_EQ(first->GetIndex(), expected) << i;
      ASSERT_EQ(fixed->GetIndex(), expected + 1) << i;
      ASSERT_EQ(first->GetNextSibling(), fixed);
      ASSERT_EQ(section->Count(), 999 - i);
      if (i < 999) {
        ASSERT_EQ(section->GetFirstChild()->GetIndex(), 0);
      }
      if (i % 101 == 0) {
        ASSERT_EQ(block->GetLastChild()->GetIndex(), block->Count() - 1);
      }
    }
    tree.RemoveObserver(&moves);
    std::vector<TTreeNode*> expected;
    for (int i = 0; i < 3; ++i) expected.push_back(block->Item(i));
    if (!beforeSection) expected.push_back(section);
    expected.insert(expected.end(), held.begin(), held.end());
    if (beforeSection) expected.push_back(section);
    expected.push_back(end);
    expected.push_back(block->GetLastChild());
    EXPECT_EQ(Check(block, expected), "") << beforeSection;
    EXPECT_EQ(block->GetLastChild()->GetText(), "after");
    EXPECT_FALSE(section->HasChildren());
  }
}

// A block deleted from its first command on: each removal is told at position 0, and
// the positions from either end stay right.
TEST_F(TreePatternTest, ABlockDeletedFromTheFront) {
  TTreeNode* block = Tree.Add(nullptr, "block");
  std::vector<TTreeNode*> lines = Fill(block, 1200, "line");
  TTreeNode* next = Tree.Add(nullptr, "next block");
  struct TRemovals : TTreeObserver {
    std::vector<int> At;
    std::vector<int> Asked;
    void NodeAboutToRemove(TTreeNode* node) override { Asked.push_back(node->GetIndex()); }
    void NodeRemoved(TTreeNode*, int index) override { At.push_back(index); }
  } removals;
  Tree.AddObserver(&removals);
  for (int i = 0; i < 1200; ++i) {
    block->GetFirstChild()->Delete();
    lines.erase(lines.begin());
    ASSERT_EQ(removals.At.back(), 0) << i;
    ASSERT_EQ(removals.Asked.back(), 0) << i;
    if (lines.empty()) break;
    ASSERT_EQ(lines.front()->GetIndex(), 0) << i;
    ASSERT_EQ(lines.front()->GetPrevSibling(), nullptr) << i;
    if (i % 7 == 0) {
      ASSERT_EQ(lines.back()->GetIndex(), static_cast<int>(lines.size()) - 1) << i;
    }
    if (i % 199 == 0) {
      ASSERT_EQ(Check(block, lines), "") << i;
    }
  }
  Tree.RemoveObserver(&removals);
  EXPECT_EQ(block->Count(), 0);
  EXPECT_EQ(block->GetNext(), next);
  EXPECT_EQ(next->GetIndex(), 1);
}

// Inserting at position 0 of a long list, asking positions from the end after each.
TEST_F(TreePatternTest, InsertsAtTheFrontThenPositionsFromTheEnd) {
  TTreeNode* list = Tree.Add(nullptr, "list");
  std::vector<TTreeNode*> nodes = Fill(list, 500, "old");
  for (int i = 0; i < 1500; ++i) {
    TTreeNode* added = (i % 2 ? Tree.AddChildFirst(list, "new")
                              : Tree.AddFirst(list->GetFirstChild(), "new"));
    nodes.insert(nodes.begin(), added);
    const int n = static_cast<int>(nodes.size());
    ASSERT_EQ(nodes.back()->GetIndex(), n - 1) << i;
    ASSERT_EQ(nodes[n / 2]->GetIndex(), n / 2) << i;
    ASSERT_EQ(added->GetIndex(), 0) << i;
    ASSERT_EQ(added->GetNextSibling(), nodes[1]) << i;
    ASSERT_EQ(nodes[1]->GetPrevSibling(), added) << i;
    if (i % 250 == 0) {
      // All of them, the last first.
      for (int k = n - 1; k >= 0; --k) ASSERT_EQ(nodes[k]->GetIndex(), k) << i << " " << k;
    }
  }
  EXPECT_EQ(Check(list, nodes), "");
  // Inserting before a node near the end, then asking a position at the front.
  TTreeNode* late = Tree.Insert(nodes[nodes.size() - 3], "late");
  nodes.insert(nodes.end() - 3, late);
  EXPECT_EQ(nodes.front()->GetIndex(), 0);
  EXPECT_EQ(late->GetIndex(), static_cast<int>(nodes.size()) - 4);
  EXPECT_EQ(Check(list, nodes), "");
}

}  // namespace
