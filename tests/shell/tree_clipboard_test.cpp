// Cut, Copy and Paste in the experiment tree, over a command of every type: what may be
// copied, where the copy may go, the settings a pasted command takes, the copy dropped
// when something it names is deleted, the overwrite question, the shortcuts, and the
// refusals while a run is active.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>

#include <string>
#include <vector>

#include "communication/device_list.h"
#include "model/experiment_running.h"
#include "model/value.h"
#include "model/value_array.h"
#include "scripts/command_table.h"
#include "scripts/copy_script.h"
#include "scripts/exp_obj_clipboard.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/wait_script.h"
#include "shell/tree_editing.h"
#include "shell/tree_test_fixture.h"
#include "support/copy_samples.h"

namespace {

// The question's two lines, whatever breaks them.
bool IsOverwriteQuestion(const std::string& text) {
  const std::string first = "This will overwrite the old script.";
  const std::string second = "Do you still wish to do this?";
  return text.rfind(first, 0) == 0 && text.size() > first.size() + second.size() &&
         text.compare(text.size() - second.size(), second.size(), second) == 0;
}

class TreeClipboardFixture : public TTreeFixture {
protected:
  ~TreeClipboardFixture() override { ExperimentRunning = false; }

  TTreeNodeKind Press(TTreeNode* node) { return Editor.ExperimentViewMouseDown(node); }
  // The commands of the block in order, the blank line left out.
  std::vector<TScript*> Commands(const TBlock* block) const {
    std::vector<TScript*> commands;
    for (TTreeNode* node = block->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
      if (TScript* script = ScriptOfNode(node); script && script->GetScriptType() != TScript::BLANK)
        commands.push_back(script);
    return commands;
  }
  TWaitScript* Wait(TBlock* block, int milliseconds) {
    auto* wait = new TWaitScript(block, NewNode(block));
    wait->SetTime(milliseconds);
    return wait;
  }
  TExpObjClipboard& Clipboard() { return Exp.GetClipboard(); }
  // Whether the command's copy record is part of the program yet.
  static bool HasRecord(TScript* command) {
    TCopyScript* record = command->MakeCopyScript();
    delete record;
    return record != nullptr;
  }

  TDeviceList Devices{&Exp};  // goes before the experiment, with its commands
  TExperimentTreeEditor Editor{Exp, Parts};
};

// One test per row of the command table.
class ClipboardTypeTest : public TreeClipboardFixture,
                          public ::testing::WithParamInterface<int> {
protected:
  void SetUp() override {
    Ui.Clear();
    Samples = std::make_unique<TCopySamples>(Exp, Devices, A, Temp.Path().string());
  }
  // The sample of the row's type in A, or (for a type without one) skips the test after
  // checking that the type cannot be copied. Skips too while the type's copy record is
  // not part of the program.
  TScript* Sample() {
    const int type = GetParam();
    TScript* sample = Samples->Make(type);
    if (!sample) {
      const TCommandKind* kind = CommandKindOf(type);
      TScript* plain = kind->Create(A, NewNode(A));
      Ui.Clear();
      EXPECT_FALSE(plain->CanMakeCopyScript()) << CommandName(type) << " can be copied: give it a sample";
      Press(plain->AExpNode);
      EXPECT_FALSE(Editor.ClipboardState().CanCopy);
      EXPECT_FALSE(Editor.CopyScriptClick());
      EXPECT_FALSE(Editor.CutScriptClick());
      EXPECT_EQ(Clipboard().GetCopyScript(), nullptr);
      EXPECT_EQ(Marks(), 0);
      delete plain;
      return nullptr;
    }
    EXPECT_TRUE(sample->CanMakeCopyScript()) << CommandName(type);
    if (TCopyScript* record = sample->MakeCopyScript()) {
      delete record;
    } else {
      delete sample;
      Missing = true;
      return nullptr;
    }
    Ui.Clear();
    return sample;
  }
  // Ends the test when the type has no sample or its record is missing.
  bool Skipped() const { return Missing; }

  std::unique_ptr<TCopySamples> Samples;
  bool Missing = false;
};

// Skips the test while a command's copy record is not part of the program yet.
#define RECORDS_OR_SKIP(...)                                                            \
  for (TScript* command : std::initializer_list<TScript*>{__VA_ARGS__}) {               \
    if (!HasRecord(command)) {                                                          \
      GTEST_SKIP() << CommandName(command->GetScriptType()) << " has no copy record yet"; \
    }                                                                                   \
  }                                                                                     \
  static_assert(true)

#define SAMPLE_OR_RETURN(name)                                                          \
  TScript* name = Sample();                                                             \
  if (Skipped()) GTEST_SKIP() << CommandName(GetParam()) << " has no copy record yet";     \
  if (!name) return

TEST_P(ClipboardTypeTest, CopiesGoIntoTheirOwnBlockAndBlockFreeOnesAnywhere) {
  SAMPLE_OR_RETURN(sample);
  const std::string text = sample->GetText();
  const int type = GetParam();
  const bool bound = BlockBoundTypes().count(type) > 0;

  EXPECT_EQ(Press(sample->AExpNode), nkSCRIPT);
  EXPECT_TRUE(Editor.ClipboardState().CanCopy);
  EXPECT_FALSE(Editor.ClipboardState().CanPaste);  // nothing held yet
  EXPECT_TRUE(Editor.CopyScriptClick());
  EXPECT_EQ(Marks(), 1);  // copying marks the experiment modified too
  ASSERT_NE(Clipboard().GetCopyScript(), nullptr);
  EXPECT_EQ(Clipboard().GetCopyScript()->GetScriptType(), type);
  EXPECT_EQ(Commands(A).size(), 1u);  // the original stays

  // Onto the blank line of its own block: a new command behind the original, alike.
  Press(BlankNode());
  EXPECT_TRUE(Editor.ClipboardState().CanPaste);
  EXPECT_TRUE(Editor.PasteScriptClick());
  std::vector<TScript*> commands = Commands(A);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], sample);
  EXPECT_EQ(commands[1]->GetScriptType(), type);
  EXPECT_EQ(commands[1]->GetText(), text);
  EXPECT_EQ(Marks(), 2);
  EXPECT_TRUE(Ui.Shown().empty());  // onto the blank line nothing is asked

  // Another block: its node and its blank line take the copy only when it is free of
  // its block.
  EXPECT_EQ(Press(B->AExpNode), nkBLOCK);
  ASSERT_EQ(Exp.GetCurrentBlock(), B);
  EXPECT_EQ(Editor.ClipboardState().CanPaste, !bound) << CommandName(type);
  Press(BlankNode());
  EXPECT_EQ(Editor.ClipboardState().CanPaste, !bound);
  EXPECT_EQ(Editor.ExpObjPopupPopup(nkBLANK).Paste.Enabled, !bound);
  EXPECT_EQ(Editor.PasteScriptClick(), !bound);
  if (bound) {
    EXPECT_TRUE(Commands(B).empty());
    EXPECT_EQ(Marks(), 2);
    // Still held for its own block.
    Press(commands[1]->AExpNode);
    EXPECT_TRUE(Editor.ClipboardState().CanPaste);
  } else {
    ASSERT_EQ(Commands(B).size(), 1u);
    EXPECT_EQ(Commands(B)[0]->GetText(), text);
    EXPECT_EQ(Commands(B)[0]->Pblock, B);
    EXPECT_EQ(Marks(), 3);
  }
  EXPECT_EQ(Commands(A).size(), 2u);
}

TEST_P(ClipboardTypeTest, ACutCommandPastesTwiceWithTheSameSettings) {
  SAMPLE_OR_RETURN(sample);
  const std::string text = sample->GetText();
  Press(sample->AExpNode);
  EXPECT_TRUE(Editor.CutScriptClick());
  EXPECT_TRUE(Commands(A).empty());
  EXPECT_EQ(Marks(), 1);

  Press(BlankNode());
  EXPECT_TRUE(Editor.PasteScriptClick());
  EXPECT_TRUE(Editor.PasteScriptClick());  // the copy stays held
  const std::vector<TScript*> commands = Commands(A);
  ASSERT_EQ(commands.size(), 2u);
  for (TScript* command : commands) {
    EXPECT_EQ(command->GetScriptType(), GetParam());
    EXPECT_EQ(command->GetText(), text);
  }
  EXPECT_NE(commands[0], commands[1]);
  EXPECT_EQ(Marks(), 3);
}

TEST_P(ClipboardTypeTest, DeletingWhatACopyNamesEmptiesTheClipboard) {
  SAMPLE_OR_RETURN(sample);
  const int type = GetParam();
  const std::vector<TCopySamples::TNamed> named = Samples->NamedBy(type);
  if (named.empty()) {
    // A copy that names nothing outlives everything but the experiment.
    Press(sample->AExpNode);
    ASSERT_TRUE(Editor.CopyScriptClick());
    delete Samples->Volts;
    Samples->Volts = nullptr;
    Devices.RemoveDevice(Samples->Meter);
    Press(BlankNode());
    EXPECT_TRUE(Editor.ClipboardState().CanPaste);
    return;
  }
  for (std::size_t i = 0; i < named.size(); ++i) {
    SCOPED_TRACE(CommandName(type) + ", its " + named[i].What);
    // Each thing on a fresh set of samples: deleting it takes its users along.
    if (i > 0) {
      Samples = std::make_unique<TCopySamples>(Exp, Devices, A, Temp.Path().string(),
                                               std::to_string(i));
      sample = Samples->Make(type);
    }
    Press(sample->AExpNode);
    ASSERT_TRUE(Editor.CopyScriptClick());
    Samples->NamedBy(type)[i].Delete();
    Press(BlankNode());
    EXPECT_FALSE(Editor.ClipboardState().CanPaste);
    EXPECT_EQ(Clipboard().GetCopyScript(), nullptr);
    const TExpObjMenuState menu = Editor.ExpObjPopupPopup(nkBLANK);
    EXPECT_TRUE(menu.Paste.Visible);
    EXPECT_FALSE(menu.Paste.Enabled);
    const std::size_t before = Commands(A).size();
    EXPECT_FALSE(Editor.PasteScriptClick());
    EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, true), TTreeKeyAction::None);
    EXPECT_EQ(Commands(A).size(), before);
  }
}

std::vector<int> TableTypes() {
  std::vector<int> types;
  for (const TCommandKind& kind : CommandKinds()) types.push_back(kind.Type);
  return types;
}

INSTANTIATE_TEST_SUITE_P(EveryCommandType, ClipboardTypeTest, ::testing::ValuesIn(TableTypes()),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string name;
                           for (char c : CommandName(info.param))
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           return name;
                         });

using TreeClipboardTest = TreeClipboardFixture;

TEST_F(TreeClipboardTest, PastingOntoACommandAsksBeforeReplacingIt) {
  TWaitScript* w100 = Wait(A, 100);
  TWaitScript* w200 = Wait(A, 200);
  RECORDS_OR_SKIP(w100);
  Press(w100->AExpNode);
  ASSERT_TRUE(Editor.CopyScriptClick());
  Ui.Clear();

  // No: nothing changes, nothing is marked.
  Press(w200->AExpNode);
  Ui.ScriptAnswers({mbNo});
  EXPECT_FALSE(Editor.PasteScriptClick());
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_TRUE(IsOverwriteQuestion(Ui.Shown()[0].Text)) << Ui.Shown()[0].Text;
  EXPECT_EQ(Ui.Shown()[0].Caption, "Qorv Message");
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds Wait 200 milliseconds _");
  EXPECT_EQ(Marks(), 0);

  // Yes: the copy takes the command's place.
  Ui.Clear();
  Press(w200->AExpNode);
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(Editor.PasteScriptClick());
  EXPECT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds Wait 100 milliseconds _");
  EXPECT_EQ(Marks(), 1);

  // Onto a block: at the end of the block, without a question.
  Ui.Clear();
  Press(A->AExpNode);
  EXPECT_TRUE(Editor.PasteScriptClick());
  EXPECT_TRUE(Ui.Shown().empty());
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds Wait 100 milliseconds Wait 100 milliseconds _");
}

TEST_F(TreeClipboardTest, PasteInsertGoesInFrontOfTheCommandWithoutAQuestion) {
  TWaitScript* w100 = Wait(A, 100);
  TWaitScript* w200 = Wait(A, 200);
  TWaitScript* w300 = Wait(B, 300);
  RECORDS_OR_SKIP(w300);
  Press(w300->AExpNode);
  ASSERT_TRUE(Editor.CopyScriptClick());
  Ui.Clear();

  Press(w200->AExpNode);
  const TExpObjMenuState menu = Editor.ExpObjPopupPopup(nkSCRIPT);
  EXPECT_TRUE(menu.PasteInsert.Visible && menu.PasteInsert.Enabled);
  EXPECT_TRUE(Editor.PasteInsertClick());
  EXPECT_TRUE(Ui.Shown().empty());
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds Wait 300 milliseconds _ Wait 200 milliseconds");
  EXPECT_EQ(Marks(), 1);

  // Ctrl+V over a command inserts in front of it; over the blank line at the blank line.
  Press(w100->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, true), TTreeKeyAction::PasteInsert);
  EXPECT_TRUE(Ui.Shown().empty());
  EXPECT_EQ(Shape(A),
            "Wait 300 milliseconds _ Wait 100 milliseconds Wait 300 milliseconds "
            "Wait 200 milliseconds");
  Press(BlankNode());
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, true), TTreeKeyAction::PasteScript);
  EXPECT_EQ(Commands(A).size(), 5u);
  EXPECT_EQ(Commands(A)[0]->GetText(), "Wait 300 milliseconds");
  // Not over the selection, or on a block: nothing.
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, false), TTreeKeyAction::None);
  Press(A->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, true), TTreeKeyAction::None);
  EXPECT_EQ(Commands(A).size(), 5u);
  EXPECT_EQ(Marks(), 3);
}

TEST_F(TreeClipboardTest, ShortcutsCopyAndCutTheSelectedCommand) {
  TWaitScript* w100 = Wait(A, 100);
  TCommentScript* note = new TCommentScript(A, NewNode(A));
  note->SetComment("note");
  RECORDS_OR_SKIP(w100, note);
  Press(w100->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlC, false), TTreeKeyAction::None);
  EXPECT_EQ(Clipboard().GetCopyScript(), nullptr);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlC, true), TTreeKeyAction::Copy);
  ASSERT_NE(Clipboard().GetCopyScript(), nullptr);
  EXPECT_EQ(Clipboard().GetCopyScript()->GetScriptType(), TScript::WAIT);
  Press(note->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlX, true), TTreeKeyAction::Cut);
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds _");
  EXPECT_EQ(Clipboard().GetCopyScript()->GetScriptType(), TScript::COMMENT);
  EXPECT_EQ(Marks(), 2);
  // A block cannot be copied.
  Press(B->AExpNode);
  EXPECT_FALSE(Editor.ClipboardState().CanCopy);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlC, true), TTreeKeyAction::None);
  EXPECT_FALSE(Editor.CopyScriptClick());
  EXPECT_EQ(Clipboard().GetCopyScript()->GetScriptType(), TScript::COMMENT);
}

TEST_F(TreeClipboardTest, NothingIsCopiedOrPastedWhileARunIsActive) {
  TWaitScript* w100 = Wait(A, 100);
  RECORDS_OR_SKIP(w100);
  Press(w100->AExpNode);
  ASSERT_TRUE(Editor.CopyScriptClick());
  Ui.Clear();

  ExperimentRunning = true;
  const TExpObjMenuState menu = Editor.ExpObjPopupPopup(Press(w100->AExpNode));
  EXPECT_TRUE(menu.Copy.Visible && menu.Cut.Visible && menu.PasteInsert.Visible);
  EXPECT_FALSE(menu.Copy.Enabled || menu.Cut.Enabled || menu.Paste.Enabled ||
               menu.PasteInsert.Enabled);
  EXPECT_FALSE(Editor.CopyScriptClick());
  EXPECT_FALSE(Editor.CutScriptClick());
  EXPECT_FALSE(Editor.PasteScriptClick());
  EXPECT_FALSE(Editor.PasteInsertClick());
  for (TTreeKey key : {TTreeKey::CtrlC, TTreeKey::CtrlX, TTreeKey::CtrlV})
    EXPECT_EQ(Editor.ExperimentViewKeyDown(key, true), TTreeKeyAction::None);
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds _");
  EXPECT_TRUE(Ui.Shown().empty());
  EXPECT_EQ(Marks(), 0);

  ExperimentRunning = false;
  Press(BlankNode());
  EXPECT_TRUE(Editor.PasteScriptClick());
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds Wait 100 milliseconds _");
}

TEST_F(TreeClipboardTest, WithoutASelectionNothingIsOffered) {
  TWaitScript* w100 = Wait(A, 100);
  RECORDS_OR_SKIP(w100);
  Press(w100->AExpNode);
  ASSERT_TRUE(Editor.CopyScriptClick());
  Tree.SetSelected(nullptr);
  EXPECT_EQ(Editor.ClipboardState().CanPaste, false);
  EXPECT_EQ(Editor.ClipboardState().CanCopy, false);
  EXPECT_FALSE(Editor.PasteScriptClick());
  EXPECT_FALSE(Editor.PasteInsertClick());
  EXPECT_FALSE(Editor.CopyScriptClick());
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds _");
  // A block node that is not the current block takes nothing either.
  Tree.SetSelected(B->AExpNode);
  ASSERT_EQ(Exp.GetCurrentBlock(), A);
  EXPECT_FALSE(Editor.ClipboardState().CanPaste);
  EXPECT_FALSE(Editor.PasteScriptClick());
  EXPECT_TRUE(Commands(B).empty());
}

}  // namespace
