// The experiment's one-command clipboard: copy, cut and paste at the tree's selection,
// the overwrite question, the record of every command type (settings kept twice over a
// cut, the block rule), and records dropped once what they name changes kind.
#include "scripts/exp_obj_clipboard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/copy_script.h"
#include "scripts/device/device_fixture.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "support/copy_samples.h"

namespace {

const char* const OverwriteQuestion =
    "This will overwrite the old script.\r\nDo you still wish to do this?";

class ClipboardTest : public TDeviceFixture {
protected:
  void SetUp() override {
    B1->SetAsStartBlock();
    Exp.SelectBlock(B1->AExpNode);  // B1 holds the blank line
  }
  TExpObjClipboard& Clip() { return Exp.GetClipboard(); }
  TTreeNode* BlankNode() { return Exp.GetBlankScript()->AExpNode; }
  // The command on the node just before the blank line.
  TScript* BeforeBlank() { return ScriptOfNode(BlankNode()->GetPrevSibling()); }
  TWaitScript* Wait(std::int32_t time, TBlock* block = nullptr) {
    auto* wait = Make<TWaitScript>(block);
    wait->SetTime(time);
    return wait;
  }
  // Pastes on the node; the command made, none when nothing was pasted.
  TScript* PasteOn(TTreeNode* node) {
    Tree.SetSelected(node);
    if (!Clip().PasteScript()) return nullptr;
    return BeforeBlank();
  }
  TOutput* NewOutput(const std::string& name) {
    TTreeNode* node = Exp.GetAttributeTree().AddChild(Exp.GetOutputList()->AExpAttNode, name);
    return new TOutput(name, node, otGRAPH, 1);
  }
  // The command's record as a file holds it.
  TBytes Record(TScript* script) { return Written(std::vector<TScript*>{script}); }
  // How many questions the user was asked.
  int Questions() const {
    int count = 0;
    for (const auto& shown : Ui.Shown()) count += shown.Buttons != mbNone;
    return count;
  }
};

TEST_F(ClipboardTest, CopyAndPasteFollowTheSelection) {
  TExpObjClipboard& clip = Clip();
  EXPECT_EQ(&clip, &Exp.GetClipboard());  // one clipboard, made once
  EXPECT_EQ(clip.GetCopyScript(), nullptr);
  Tree.SetSelected(B1->AExpNode);
  EXPECT_FALSE(clip.CanPaste());  // nothing held
  EXPECT_FALSE(clip.PasteScript());

  // What may be copied: commands that say so, never blocks or the blank line (section
  // lines: tree_clipboard_test).
  TCommentScript* note = Comment("note");
  TLabelScript* label = Label("Top");
  EXPECT_FALSE(clip.CanCopy(nullptr));
  EXPECT_FALSE(clip.CanCopy(B1));
  EXPECT_FALSE(clip.CanCopy(Exp.GetBlankScript()));
  EXPECT_TRUE(clip.CanCopy(note));
  EXPECT_TRUE(clip.CanCopy(label));

  TWaitScript* wait = Wait(250);
  clip.Copy(wait);
  TCopyScript* record = clip.GetCopyScript();
  ASSERT_NE(record, nullptr);
  EXPECT_FALSE(record->Disabled());
  EXPECT_EQ(record->GetExperiment(), &Exp);
  EXPECT_EQ(record->GetScriptType(), TScript::WAIT);

  // No selection, or a block that is not the current one: nothing is offered.
  Tree.SetSelected(nullptr);
  EXPECT_FALSE(clip.CanPaste());
  EXPECT_FALSE(clip.PasteScript());
  Tree.SetSelected(B2->AExpNode);
  EXPECT_FALSE(clip.CanPaste());
  EXPECT_FALSE(clip.PasteScript());
  EXPECT_TRUE(Children(B2->AExpNode).empty());

  // On the current block: at its end, in front of the blank line, without a question.
  const std::size_t lines = Children(B1->AExpNode).size();
  Tree.SetSelected(B1->AExpNode);
  EXPECT_TRUE(clip.CanPaste());
  ASSERT_TRUE(clip.PasteScript());
  TTexts texts = Children(B1->AExpNode);
  ASSERT_EQ(texts.size(), lines + 1);
  EXPECT_EQ(texts[lines - 1], "Wait 250 milliseconds");
  EXPECT_EQ(texts.back(), BlankNode()->GetText());
  EXPECT_EQ(clip.GetCopyScript(), record);  // still held for the next paste

  // On the blank line: in front of it, the blank line stays, no question either.
  TScript* pasted = PasteOn(BlankNode());
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->GetText(), "Wait 250 milliseconds");
  EXPECT_NE(pasted, wait);
  EXPECT_EQ(Children(B1->AExpNode).size(), lines + 2);
  EXPECT_EQ(Questions(), 0);

  // On a command: asked first; No changes nothing.
  Ui.ScriptAnswers({mbNo});
  const TTexts beforeNo = Children(B1->AExpNode);
  Tree.SetSelected(note->AExpNode);
  EXPECT_TRUE(clip.CanPaste());
  EXPECT_FALSE(clip.PasteScript());
  EXPECT_EQ(Children(B1->AExpNode), beforeNo);
  ASSERT_EQ(Questions(), 1);
  EXPECT_EQ(Ui.Shown().back().Text, OverwriteQuestion);
  EXPECT_EQ(Ui.Shown().back().Caption, "Qorv Message");
  EXPECT_EQ(Ui.Shown().back().Buttons, mbYes | mbNo);
  // Yes replaces it in place.
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(clip.PasteScript());
  TTexts afterYes = beforeNo;
  afterYes[0] = "Wait 250 milliseconds";
  EXPECT_EQ(Children(B1->AExpNode), afterYes);
  EXPECT_EQ(Questions(), 2);

  // A command of another block takes an unbound record too, once its block is current.
  TScript* inB2 = Wait(5, B2);
  Exp.SelectBlock(B2->AExpNode);
  Tree.SetSelected(inB2->AExpNode);
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(clip.CanPaste());
  EXPECT_TRUE(clip.PasteScript());
  EXPECT_EQ(Children(B2->AExpNode)[0], "Wait 250 milliseconds");
  Exp.SelectBlock(B1->AExpNode);

  // A new copy replaces the held record.
  clip.Copy(label);
  EXPECT_EQ(clip.GetCopyScript()->GetScriptType(), TScript::LABEL);
}

TEST_F(ClipboardTest, EveryRecordPastesItsCommandTwiceAfterACutAndKeepsItsBlockRule) {
  TCopySamples samples(Exp, Devices, B1, Temp.Path().string());
  for (int type : CopyableCommandTypes()) {
    const std::vector<TCopySample> made = samples.Make(type);
    ASSERT_FALSE(made.empty()) << CommandName(type) << " has no sample";
    const bool bound = BlockBoundTypes().count(type) > 0;
    for (const TCopySample& sample : made) {
      TScript* original = sample.Command;
      const std::string text = original->GetText();
      SCOPED_TRACE(CommandName(type) + ": " + text);
      const TBytes record = Record(original);
      ASSERT_TRUE(MakesCopyRecord(original));
      ASSERT_TRUE(Clip().CanCopy(original));

      // A cut: the command goes, its record stays whole with everything it names.
      Clip().Cut(original);
      ASSERT_NE(Clip().GetCopyScript(), nullptr);
      EXPECT_FALSE(Clip().GetCopyScript()->Disabled());
      EXPECT_EQ(Clip().GetCopyScript()->GetScriptType(), type);
      // Two pastes give two commands of the same text and record, each on its own.
      TScript* first = PasteOn(BlankNode());
      TScript* second = PasteOn(BlankNode());
      ASSERT_TRUE(first && second);
      EXPECT_NE(first, second);
      for (TScript* pasted : {first, second}) {
        EXPECT_EQ(pasted->GetScriptType(), type);
        EXPECT_EQ(pasted->GetText(), text);
        EXPECT_EQ(pasted->AExpNode->GetText(), text);
        EXPECT_EQ(pasted->Pblock, B1);
        EXPECT_EQ(Record(pasted), record);
      }
      delete first;
      EXPECT_EQ(Record(second), record);
      EXPECT_FALSE(Clip().GetCopyScript()->Disabled());

      // Into another block: only records not bound to their block.
      Exp.SelectBlock(B2->AExpNode);
      Tree.SetSelected(B2->AExpNode);
      const std::size_t inB2 = Children(B2->AExpNode).size();
      EXPECT_EQ(Clip().CanPaste(), !bound);
      EXPECT_EQ(Clip().PasteScript(), !bound);
      EXPECT_EQ(Children(B2->AExpNode).size(), inB2 + (bound ? 0 : 1));
      if (!bound) {
        EXPECT_EQ(BeforeBlank()->GetText(), text);
        EXPECT_EQ(BeforeBlank()->Pblock, B2);
        EXPECT_EQ(Record(BeforeBlank()), record);
      }
      Exp.SelectBlock(B1->AExpNode);
    }
  }
}

// Deleting each thing a record names is swept in copy_records_test; here what changes a
// named thing without deleting it, and what leaves the record alone.
TEST_F(ClipboardTest, ARecordIsDroppedWhenWhatItNamesChangesKind) {
  TDataArray* arr = Array(B1, "A", eatINTEGER, 4);
  TOutput* graph = NewOutput("G");
  // Whether the clipboard still offers the held record at the blank line; a dropped
  // record leaves the clipboard empty.
  const auto offered = [&] {
    Tree.SetSelected(BlankNode());
    const bool can = Clip().CanPaste();
    EXPECT_EQ(Clip().GetCopyScript() != nullptr, can);
    return can;
  };

  // Send Binary: its array retyped.
  auto* whole = Make<TSendBinaryScript>();
  whole->SetUpWholeArray(Scope, arr, TSendBinaryScript::sbINT32);
  Clip().Copy(whole);
  EXPECT_TRUE(offered());
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(arr->SetDataType(eatFLOAT));
  EXPECT_FALSE(offered());

  // Clear Output: the output's kind or fewer channels, not its name or more channels.
  auto* clear = Make<TClearPlotScript>();
  clear->SetOutput(graph);
  Clip().Copy(clear);
  graph->ApplyEdit(otGRAPH, "Renamed", 1);
  EXPECT_TRUE(offered());
  graph->ApplyEdit(otTABLE, "Renamed", 1);
  EXPECT_FALSE(offered());
  Clip().Copy(clear);
  graph->ApplyEdit(otTABLE, "Renamed", 3);
  EXPECT_TRUE(offered());
  graph->ApplyEdit(otTABLE, "Renamed", 2);  // fewer channels
  EXPECT_FALSE(offered());

  // What the record does not name leaves it alone.
  auto* gpib = Make<TSendGPIBScript>();
  gpib->SetUpSendGPIB(Meter, TSendGPIBScript::DCL);
  Clip().Copy(gpib);
  delete Single(B1, "u");
  Devices.RemoveDevice(Scope);
  EXPECT_TRUE(offered());

  // A record that names nothing outlives every deletion.
  Clip().Copy(Comment("stays"));
  Devices.RemoveDevice(Meter);
  Devices.RemoveDevice(Pump);
  delete arr;
  delete graph;
  EXPECT_TRUE(offered());
}

TEST_F(ClipboardTest, ANewExperimentHasNothingToPasteAndLetsGoOfTheDevice) {
  // The held record goes with its experiment and no longer names the device.
  auto other = std::make_unique<TExperiment>();
  TBlock* block = other->AddBlock("Start Block");
  other->SelectBlock(block->AExpNode);
  TTreeNode* node = other->GetExperimentTree().Insert(other->GetBlankScript()->AExpNode, "none");
  auto* gpib = new TSendGPIBScript(block, node);
  gpib->SetUpSendGPIB(Meter, TSendGPIBScript::GTL);
  other->GetClipboard().Copy(gpib);
  EXPECT_NE(Meter->GetCopyScript(), nullptr);
  other.reset();
  EXPECT_EQ(Meter->GetCopyScript(), nullptr);
  // The experiment after New: no record.
  TExperiment fresh;
  TBlock* start = fresh.AddBlock("Start Block");
  fresh.SelectBlock(start->AExpNode);
  fresh.GetExperimentTree().SetSelected(start->AExpNode);
  EXPECT_FALSE(fresh.GetClipboard().CanPaste());
}

}  // namespace
