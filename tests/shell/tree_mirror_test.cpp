// A tree's copy: texts follow at once, shape changes only mark it stale, a removed
// source node's copy loses its data, and a cleared copy follows nothing.
#include "shell/tree_mirror.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const TTree& tree) {
  std::vector<std::string> texts;
  for (TTreeNode* node = tree.GetFirstNode(); node; node = node->GetNext())
    texts.push_back(std::string(static_cast<std::size_t>(node->GetLevel()), '-') + node->GetText());
  return texts;
}

TEST(TreeMirrorTest, FollowsTextsAtOnceAndShapeChangesAtTheNextBuild) {
  TTree source;
  int objects[3] = {};
  TTreeNode* block = source.Add(nullptr, "Block");
  block->SetData(&objects[0]);
  TTreeNode* a = source.AddChild(block, "a");
  a->SetData(&objects[1]);
  TTreeNode* skipped = source.AddChild(block, "skip");
  TTreeMirror mirror(source, [](const TTreeNode& node) { return node.GetText() != "skip"; });
  int stale = 0;
  std::vector<void*> removing;
  mirror.OnStale = [&] { ++stale; };
  mirror.OnRemoving = [&](TTreeNode* copy) { removing.push_back(copy->GetData()); };
  mirror.Build();
  EXPECT_EQ(Texts(mirror.GetTree()), (std::vector<std::string>{"Block", "-a"}));
  EXPECT_EQ(mirror.NodeCount(), 2);
  EXPECT_EQ(mirror.CopyOf(skipped), nullptr);
  TTreeNode* copyA = mirror.CopyOf(a);
  ASSERT_NE(copyA, nullptr);
  EXPECT_EQ(copyA->GetData(), &objects[1]);
  EXPECT_TRUE(mirror.CopyOf(block)->GetExpanded());

  a->SetText("a2");
  EXPECT_EQ(copyA->GetText(), "a2");
  EXPECT_FALSE(mirror.IsStale());

  TTreeNode* b = source.AddChild(block, "b");
  b->SetData(&objects[2]);
  EXPECT_TRUE(mirror.IsStale());
  EXPECT_EQ(stale, 1);
  source.AddChild(block, "c");
  EXPECT_EQ(stale, 1);  // told once until rebuilt
  EXPECT_EQ(Texts(mirror.GetTree()), (std::vector<std::string>{"Block", "-a2"}));

  // The owner hears of the removal while the copy still holds the data, then it goes.
  a->SetData(nullptr);
  a->Delete();
  ASSERT_EQ(removing.size(), 1u);
  EXPECT_EQ(removing[0], &objects[1]);
  EXPECT_EQ(copyA->GetData(), nullptr);
  EXPECT_EQ(mirror.CopyOf(a), nullptr);

  mirror.Build();
  EXPECT_FALSE(mirror.IsStale());
  EXPECT_EQ(Texts(mirror.GetTree()), (std::vector<std::string>{"Block", "-b", "-c"}));
  EXPECT_EQ(mirror.CopyOf(b)->GetData(), &objects[2]);

  // Cleared: empty and deaf.
  mirror.Clear();
  EXPECT_EQ(mirror.GetTree().Count(), 0);
  source.AddChild(block, "d");
  b->SetText("b2");
  EXPECT_FALSE(mirror.IsStale());
  EXPECT_EQ(mirror.CopyOf(b), nullptr);
}

}  // namespace
