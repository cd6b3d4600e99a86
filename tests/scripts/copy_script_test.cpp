// The copy-record base: taken by an experiment once, enabled then; the block rule over
// nodes at any depth; misuse of the clipboard ends the program with its check.
#include "scripts/copy_script.h"

#include <gtest/gtest.h>

#include "scripts/exp_obj_clipboard.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "support/experiment_fixture.h"

namespace {

class TCountingRecord : public TBlockCopyScript {
public:
  using TBlockCopyScript::TBlockCopyScript;
  void Enable() override {
    ++Enables;
    ADisabled = Refuses;
  }
  int GetScriptType() override { return TScript::COMMENT; }
  int Enables = 0;
  bool Refuses = false;
};

using CopyScriptTest = TCommandFixture;

TEST_F(CopyScriptTest, RecordsAreEnabledByTheirExperimentAndKeepToTheirBlock) {
  TCountingRecord any(nullptr);
  EXPECT_TRUE(any.Disabled());  // disabled until an experiment takes it
  EXPECT_EQ(any.GetExperiment(), nullptr);
  any.SetExperiment(&Exp);
  EXPECT_EQ(any.Enables, 1);
  EXPECT_FALSE(any.Disabled());
  EXPECT_EQ(any.GetExperiment(), &Exp);
  any.Disable();
  EXPECT_TRUE(any.Disabled());

  // Bound to B1: B1's node and its commands at every depth, nothing of B2.
  TLabelScript* label = Label("L");
  TCommentScript* inner = Comment("inner", label);
  Repeat(label, 2);
  ASSERT_EQ(inner->AExpNode->GetLevel(), 2);
  TCountingRecord bound(B1);
  EXPECT_TRUE(bound.CanPasteAt(B1->AExpNode));
  EXPECT_TRUE(bound.CanPasteAt(label->AExpNode));
  EXPECT_TRUE(bound.CanPasteAt(inner->AExpNode));
  Cur = B2;
  TCommentScript* other = Comment("other");
  EXPECT_FALSE(bound.CanPasteAt(B2->AExpNode));
  EXPECT_FALSE(bound.CanPasteAt(other->AExpNode));
  EXPECT_TRUE(any.CanPasteAt(other->AExpNode));
}

using CopyScriptDeathTest = CopyScriptTest;

TEST_F(CopyScriptDeathTest, MisuseEndsWithItsCheck) {
  TCountingRecord twice(nullptr);
  twice.SetExperiment(&Exp);
  EXPECT_DEATH(OnConsole([&] { twice.SetExperiment(&Exp); }), "Assertion failed: Pexperiment==0");
  TCountingRecord refusing(nullptr);
  refusing.Refuses = true;
  EXPECT_DEATH(OnConsole([&] { refusing.SetExperiment(&Exp); }), "Assertion failed: !ADisabled");
  TCountingRecord bound(B1);
  EXPECT_DEATH(OnConsole([&] { bound.CanPasteAt(nullptr); }), "Assertion failed: node!=0");

  TLabelScript* label = Label("L");
  TRepeatScript* repeat = Repeat(label, 2);
  EXPECT_DEATH(OnConsole([&] { Exp.GetClipboard().Copy(repeat); }),
               "Assertion failed: script->CanMakeCopyScript");
  EXPECT_DEATH(OnConsole([&] { Exp.GetClipboard().Cut(nullptr); }), "Assertion failed: script!=0");
}

}  // namespace
