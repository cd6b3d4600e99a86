// The core tree: building, walking, moving, observers, data and sorting.
#include "model/tree_node.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every notification as one line, to check order and arguments.
class TRecorder : public TTreeObserver {
public:
  std::vector<std::string> Events;

  static std::string Name(const TTreeNode* node) { return node ? node->GetText() : "<top>"; }
  void Log(const std::string& what, const TTreeNode* node, const std::string& more = "") {
    Events.push_back(what + " " + Name(node) + more);
  }
  void NodeAboutToInsert(TTreeNode* parent, int index) override {
    Log("about to insert", parent, " " + std::to_string(index));
  }
  void NodeInserted(TTreeNode* node) override { Log("inserted", node); }
  void NodeAboutToRemove(TTreeNode* node) override { Log("about to remove", node); }
  void NodeRemoved(TTreeNode* parent, int index) override {
    Log("removed", parent, " " + std::to_string(index));
  }
  void NodeAboutToMove(TTreeNode* node, TTreeNode* parent, int index) override {
    Log("about to move", node, " to " + Name(parent) + " " + std::to_string(index));
  }
  void NodeMoved(TTreeNode* node) override { Log("moved", node); }
  void NodeChanged(TTreeNode* node) override { Log("changed", node); }
  void SelectionChanged(TTreeNode* node) override { Log("selected", node); }
  void ChildrenReordered(TTreeNode* parent) override { Log("reordered", parent); }
};

// The texts of the nodes in depth-first order, each prefixed by its level.
std::string Walk(const TTree& tree) {
  std::string text;
  for (TTreeNode* node = tree.GetFirstNode(); node; node = node->GetNext())
    text += std::to_string(node->GetLevel()) + node->GetText() + " ";
  return text;
}

}  // namespace

TEST(TreeNode, BuildsAndWalksInDepthFirstOrder) {
  TTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* c = tree.Add(a, "C");
  tree.Insert(c, "B");
  TTreeNode* a2 = tree.AddChild(a, "a2");
  tree.AddChildFirst(a, "a1");
  tree.AddChild(a2, "x");
  tree.AddFirst(a, "Z");

  EXPECT_EQ(Walk(tree), "0Z 0A 1a1 1a2 2x 0B 0C ");
  EXPECT_EQ(tree.Count(), 4);
  EXPECT_EQ(a->GetIndex(), 1);
  EXPECT_EQ(a2->GetParent(), a);
  EXPECT_EQ(a2->GetPrevSibling()->GetText(), "a1");
  EXPECT_EQ(a2->GetNextSibling(), nullptr);
  EXPECT_EQ(tree.Item(3), c);
  EXPECT_EQ(tree.Item(4), nullptr);
  EXPECT_EQ(a->Item(-1), nullptr);
  EXPECT_TRUE(a2->GetFirstChild()->HasAsParent(a));
  EXPECT_FALSE(a->HasAsParent(a2));
}

TEST(TreeNode, MovesInEveryAttachMode) {
  TTree tree;
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* b = tree.Add(nullptr, "B");
  TTreeNode* c = tree.Add(nullptr, "C");
  TTreeNode* x = tree.AddChild(a, "x");
  tree.AddChild(x, "y");

  x->MoveTo(c, TNodeAttachMode::naAddChild);  // children travel along
  EXPECT_EQ(Walk(tree), "0A 0B 0C 1x 2y ");
  x->MoveTo(b, TNodeAttachMode::naInsert);
  EXPECT_EQ(Walk(tree), "0A 0x 1y 0B 0C ");
  a->MoveTo(c, TNodeAttachMode::naAdd);  // forward within the same level
  EXPECT_EQ(Walk(tree), "0x 1y 0B 0C 0A ");
  a->MoveTo(b, TNodeAttachMode::naAddFirst);
  EXPECT_EQ(Walk(tree), "0A 0x 1y 0B 0C ");
  c->MoveTo(x, TNodeAttachMode::naAddChildFirst);
  EXPECT_EQ(Walk(tree), "0A 0x 1C 1y 0B ");
  b->MoveTo(a, TNodeAttachMode::naInsert);
  EXPECT_EQ(Walk(tree), "0B 0A 0x 1C 1y ");
  EXPECT_DEATH(x->MoveTo(x->GetFirstChild(), TNodeAttachMode::naAddChild), "Assertion failed: ");
}

TEST(TreeNode, NotifiesObserversBeforeAndAfterEachChange) {
  TTree tree;
  TRecorder recorder;
  tree.AddObserver(&recorder);
  TTreeNode* a = tree.Add(nullptr, "A");
  TTreeNode* b = tree.Add(nullptr, "B");
  TTreeNode* x = tree.AddChild(a, "x");
  x->SetText("y");
  b->MoveTo(a, TNodeAttachMode::naInsert);
  a->MoveTo(b, TNodeAttachMode::naAdd);  // already last: stays at index 1
  tree.SetSelected(x);
  a->Delete();

  const std::vector<std::string> expected = {
      "about to insert <top> 0", "inserted A",
      "about to insert <top> 1", "inserted B",
      "about to insert A 0",     "inserted x",
      "changed y",
      "about to move B to <top> 0", "moved B",
      "about to move A to <top> 1", "moved A",
      "selected y",
      "about to remove A",       "selected <top>", "removed <top> 1",
  };
  EXPECT_EQ(recorder.Events, expected);
  EXPECT_EQ(tree.GetSelected(), nullptr);  // the selection went with its parent
  EXPECT_EQ(Walk(tree), "0B ");

  tree.RemoveObserver(&recorder);
  tree.Add(nullptr, "C");
  EXPECT_EQ(recorder.Events.size(), expected.size());
}

TEST(TreeNode, KeepsDataAndClearsCleanly) {
  TTree tree;
  int payload = 7;
  TTreeNode* a = tree.Add(nullptr, "A");
  EXPECT_EQ(a->GetImageIndex(), -1);
  EXPECT_EQ(a->GetData(), nullptr);
  a->SetData(&payload);
  EXPECT_EQ(a->GetData(), &payload);
  for (int i = 0; i < 3; ++i) tree.AddChild(tree.AddChild(a, "c"), "g");
  a->DeleteChildren();
  EXPECT_FALSE(a->HasChildren());
  tree.Add(a, "B");
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
  EXPECT_EQ(tree.GetFirstNode(), nullptr);
}

TEST(TreeNode, SortsChildrenStablyAndCountsAbsolutePositions) {
  TTree tree;
  TRecorder recorder;
  TTreeNode* list = tree.Add(nullptr, "L");
  for (const char* text : {"b2", "a1", "b1", "a2"}) tree.AddChild(list, text);
  TTreeNode* other = tree.Add(nullptr, "M");
  tree.AddObserver(&recorder);

  // By first letter only: equal keys keep their order.
  list->SortChildren([](TTreeNode* x, TTreeNode* y) { return x->GetText()[0] < y->GetText()[0]; });
  EXPECT_EQ(Walk(tree), "0L 1a1 1a2 1b2 1b1 0M ");
  EXPECT_EQ(recorder.Events, std::vector<std::string>{"reordered L"});
  EXPECT_EQ(list->GetAbsoluteIndex(), 0);
  EXPECT_EQ(list->Item(2)->GetAbsoluteIndex(), 3);
  EXPECT_EQ(other->GetAbsoluteIndex(), 5);
}
