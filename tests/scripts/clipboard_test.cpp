// The experiment's one-command clipboard: copy, cut and paste at the tree's selection,
// the overwrite question, the records of the flow, device and Clear Output commands
// (settings kept, the block rule) and records dropped once what they name is deleted.
#include "scripts/exp_obj_clipboard.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/number_text.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/copy_script.h"
#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/device/device_fixture.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_rs232_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "shell/experiment_file.h"

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

TEST_F(ClipboardTest, CopyCutAndPasteFollowTheSelection) {
  TExpObjClipboard& clip = Clip();
  EXPECT_EQ(&clip, &Exp.GetClipboard());  // one clipboard, made once
  EXPECT_EQ(clip.GetCopyScript(), nullptr);
  Tree.SetSelected(B1->AExpNode);
  EXPECT_FALSE(clip.CanPaste());  // nothing held
  EXPECT_FALSE(clip.PasteScript());

  // What may be copied: commands that say so, never blocks, section lines or the blank.
  TCommentScript* note = Comment("note");
  TLabelScript* label = Label("Top");
  TRepeatScript* repeat = Repeat(label, 3);
  TIfThenScript* ifthen = If(Single(B1, "x"), "1");
  EXPECT_FALSE(clip.CanCopy(nullptr));
  EXPECT_FALSE(clip.CanCopy(B1));
  EXPECT_FALSE(clip.CanCopy(repeat));
  EXPECT_FALSE(clip.CanCopy(ifthen));
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

  // Cut: the command goes, and two pastes give two commands with its settings.
  TWaitScript* cut = Wait(1234);
  const TBytes cutRecord = Record(cut);
  const std::size_t withCut = Children(B1->AExpNode).size();
  clip.Cut(cut);
  EXPECT_EQ(Children(B1->AExpNode).size(), withCut - 1);
  EXPECT_EQ(Times(Children(B1->AExpNode), "Wait 1234 milliseconds"), 0);
  TScript* first = PasteOn(BlankNode());
  TScript* second = PasteOn(BlankNode());
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_EQ(Times(Children(B1->AExpNode), "Wait 1234 milliseconds"), 2);
  EXPECT_EQ(Record(first), cutRecord);
  EXPECT_EQ(Record(second), cutRecord);
  // The two are independent.
  static_cast<TWaitScript*>(first)->SetTime(7);
  EXPECT_EQ(static_cast<TWaitScript*>(second)->GetTime(), 1234);

  // A new copy replaces the held record.
  clip.Copy(label);
  EXPECT_EQ(clip.GetCopyScript()->GetScriptType(), TScript::LABEL);
}

// One case per command type: a command made as its dialog makes it, and whether its
// record goes only into its own block.
struct TCopyCase {
  std::string Name;
  std::function<TScript*()> Make;
  bool BlockBound;
};

TEST_F(ClipboardTest, EveryRecordKeepsItsCommandsSettingsAndItsBlockRule) {
  TDataArray* floats = Array(B1, "F", eatFLOAT, 5);
  TDataArray* ints = Array(B1, "I", eatINTEGER, 4);
  TDataSingle* index = Single(B1, "k", eatINTEGER, "2");
  TDataSingle* count = Single(B1, "n", eatINTEGER, "3");
  TDataSingle* status = Single(B1, "status");
  TOutput* graph = NewOutput("G");
  const std::vector<TCopyCase> cases = {
      {"Comment", [&] { return Comment("copied text"); }, false},
      {"Label", [&] { return Label("Again"); }, false},
      {"Wait", [&] { return Wait(3210); }, false},
      {"Send GPIB",
       [&] {
         auto* s = Make<TSendGPIBScript>();
         s->SetUpSendGPIB(Meter, TSendGPIBScript::REN | TSendGPIBScript::LLO);
         return s;
       },
       false},
      {"Send RS232",
       [&] {
         auto* s = Make<TSendRS232Script>();
         s->SetUpSendRS232(Pump, false, true);
         return s;
       },
       false},
      {"Send text only",
       [&] {
         auto* s = Make<TSendScript>();
         s->SetUpSend(Scope, "VOLT?", false, nullptr, ntSTANDARD, -1, false);
         return s;
       },
       false},
      {"Send with an element",
       [&] {
         auto* s = Make<TSendScript>();
         s->SetUpSend(Meter, "SET", true, floats, ntSCIENTIFIC, 3, true);
         static_cast<TVariableDataArray*>(s->GetVariable())
             ->GetArrayIndex()
             .SetIndexVariable(index);
         s->UpdateNodeText();
         return s;
       },
       false},
      {"Send with a constant element",
       [&] {
         auto* s = Make<TSendScript>();
         s->SetUpSend(Meter, "", true, floats, ntFIXED, 2, false);
         static_cast<TVariableDataArray*>(s->GetVariable())->GetArrayIndex().SetIndexConstant(4);
         s->UpdateNodeText();
         return s;
       },
       false},
      {"Send Binary counted by a variable",
       [&] {
         auto* s = Make<TSendBinaryScript>();
         s->SetUpWithCountVariable(Scope, ints, TSendBinaryScript::sbINT16, count);
         return s;
       },
       false},
      {"Send Binary with a count",
       [&] {
         auto* s = Make<TSendBinaryScript>();
         s->SetUpWithCount(Meter, floats, TSendBinaryScript::sbFLOAT, 2);
         return s;
       },
       false},
      {"Send Binary of the whole array",
       [&] {
         auto* s = Make<TSendBinaryScript>();
         s->SetUpWholeArray(Meter, ints, TSendBinaryScript::sbINT32);
         return s;
       },
       false},
      {"Serial Poll",
       [&] {
         auto* s = Make<TSerialPollScript>();
         s->SetUpSerialPoll(Scope, status);
         return s;
       },
       true},
      {"Clear Device Buffer",
       [&] {
         auto* s = Make<TClearDeviceBufferScript>();
         s->SetDevice(Scope);
         return s;
       },
       false},
      {"Clear Output",
       [&] {
         auto* s = Make<TClearPlotScript>();
         s->SetOutput(graph);
         return s;
       },
       false},
  };
  for (const TCopyCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Exp.SelectBlock(B1->AExpNode);
    TScript* original = c.Make();
    const std::string text = original->GetText();
    const TBytes record = Record(original);
    ASSERT_TRUE(Clip().CanCopy(original));
    Clip().Copy(original);
    ASSERT_NE(Clip().GetCopyScript(), nullptr);
    EXPECT_EQ(Clip().GetCopyScript()->GetScriptType(), original->GetScriptType());

    // Within the block: the same text and the same record as the original.
    TScript* pasted = PasteOn(BlankNode());
    ASSERT_NE(pasted, nullptr);
    EXPECT_NE(pasted, original);
    EXPECT_EQ(pasted->GetScriptType(), original->GetScriptType());
    EXPECT_EQ(pasted->GetText(), text);
    EXPECT_EQ(pasted->AExpNode->GetText(), text);
    EXPECT_EQ(Record(pasted), record);

    // Into another block: only records not bound to their block.
    Exp.SelectBlock(B2->AExpNode);
    Tree.SetSelected(B2->AExpNode);
    EXPECT_EQ(Clip().CanPaste(), !c.BlockBound);
    const std::size_t inB2 = Children(B2->AExpNode).size();
    EXPECT_EQ(Clip().PasteScript(), !c.BlockBound);
    EXPECT_EQ(Children(B2->AExpNode).size(), inB2 + (c.BlockBound ? 0 : 1));
    if (!c.BlockBound) {
      EXPECT_EQ(BeforeBlank()->GetText(), text);
      EXPECT_EQ(Record(BeforeBlank()), record);
    }
    // The held record is still whole: it pastes into its own block again.
    Exp.SelectBlock(B1->AExpNode);
    EXPECT_NE(PasteOn(B1->AExpNode), nullptr);
    EXPECT_EQ(BeforeBlank()->GetText(), text);
  }
}

TEST_F(ClipboardTest, DeletingWhatARecordNamesDropsTheRecord) {
  TDataSingle* x = Single(B1, "x", eatFLOAT, "1.5");
  TDataArray* arr = Array(B1, "A", eatINTEGER, 4);
  TDataSingle* n = Single(B1, "n", eatINTEGER, "2");
  TOutput* graph = NewOutput("G");
  // Whether the clipboard still offers the held record at the blank line; a dropped
  // record leaves the clipboard empty.
  const auto offered = [&] {
    Tree.SetSelected(BlankNode());
    const bool can = Clip().CanPaste();
    EXPECT_EQ(Clip().GetCopyScript() != nullptr, can);
    return can;
  };

  // A Send naming a variable: deleting the variable.
  auto* send = Make<TSendScript>();
  send->SetUpSend(Meter, "V", true, x, ntFIXED, 2, false);
  Clip().Copy(send);
  EXPECT_EQ(x->GetCopyScript(), Clip().GetCopyScript());
  EXPECT_EQ(Meter->GetCopyScript(), Clip().GetCopyScript());
  EXPECT_TRUE(offered());
  delete x;
  EXPECT_TRUE(Clip().GetCopyScript()->Disabled());
  EXPECT_EQ(Meter->GetCopyScript(), nullptr);  // all of it was released
  EXPECT_FALSE(offered());
  EXPECT_FALSE(Clip().PasteScript());

  // Send Binary: its count variable; then its array retyped.
  auto* binary = Make<TSendBinaryScript>();
  binary->SetUpWithCountVariable(Scope, arr, TSendBinaryScript::sbINT32, n);
  Clip().Copy(binary);
  EXPECT_EQ(n->GetCopyScript(), Clip().GetCopyScript());
  delete n;
  EXPECT_EQ(arr->GetCopyScript(), nullptr);
  EXPECT_EQ(Scope->GetCopyScript(), nullptr);
  EXPECT_FALSE(offered());
  auto* whole = Make<TSendBinaryScript>();
  whole->SetUpWholeArray(Scope, arr, TSendBinaryScript::sbINT32);
  Clip().Copy(whole);
  EXPECT_TRUE(offered());
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(arr->SetDataType(eatFLOAT));
  EXPECT_FALSE(offered());

  // Clear Output: the output deleted; Serial Poll and Send GPIB: the device deleted.
  auto* clear = Make<TClearPlotScript>();
  clear->SetOutput(graph);
  Clip().Copy(clear);
  EXPECT_TRUE(offered());
  graph->ApplyEdit(otGRAPH, "Renamed", 1);  // neither kind nor channels change
  EXPECT_TRUE(offered());
  graph->ApplyEdit(otTABLE, "Renamed", 1);
  EXPECT_FALSE(offered());
  Clip().Copy(clear);
  graph->ApplyEdit(otTABLE, "Renamed", 3);
  EXPECT_TRUE(offered());
  graph->ApplyEdit(otTABLE, "Renamed", 2);  // fewer channels
  EXPECT_FALSE(offered());
  Clip().Copy(clear);
  EXPECT_TRUE(offered());
  delete graph;
  EXPECT_FALSE(offered());
  auto* poll = Make<TSerialPollScript>();
  poll->SetUpSerialPoll(Scope, Single(B1, "status"));
  Clip().Copy(poll);
  EXPECT_TRUE(offered());
  Devices.RemoveDevice(Scope);  // takes its commands along
  EXPECT_FALSE(offered());
  auto* gpib = Make<TSendGPIBScript>();
  gpib->SetUpSendGPIB(Meter, TSendGPIBScript::DCL);
  Clip().Copy(gpib);
  TDataSingle* unrelated = Single(B1, "u");
  delete unrelated;  // what the record does not name leaves it alone
  EXPECT_TRUE(offered());
  Devices.RemoveDevice(Meter);
  EXPECT_FALSE(offered());

  // A record that names nothing outlives every deletion.
  Clip().Copy(Comment("stays"));
  Devices.RemoveDevice(Pump);
  delete arr;
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

TEST_F(ClipboardTest, PastedCommandsAreSavedReopenedAndRunLikeTheirOriginals) {
  Line(B1, B2);
  TDataSingle* level = Single(B1, "level", eatINTEGER, "20");
  TDataSingle* status = Single(B1, "status");
  auto* send = Make<TSendScript>();
  send->SetUpSend(Scope, "SET", true, level, ntSTANDARD, -1, true);
  auto* gpib = Make<TSendGPIBScript>();
  gpib->SetUpSendGPIB(Meter, TSendGPIBScript::REN);
  auto* poll = Make<TSerialPollScript>();
  poll->SetUpSerialPoll(Meter, status);
  auto* clear = Make<TClearDeviceBufferScript>();
  clear->SetDevice(Scope);
  auto* wait = Wait(20);
  // Each copied into B2, whose run goes after B1's.
  for (TScript* original : std::vector<TScript*>{send, gpib, clear, wait}) {
    Clip().Copy(original);
    Exp.SelectBlock(B2->AExpNode);
    ASSERT_NE(PasteOn(B2->AExpNode), nullptr);
    Exp.SelectBlock(B1->AExpNode);
  }
  Clip().Copy(poll);
  ASSERT_NE(PasteOn(BlankNode()), nullptr);
  const std::string b1 = Outline(B1->AExpNode);
  const std::string b2 = Outline(B2->AExpNode);
  EXPECT_EQ(Times(Children(B2->AExpNode), send->GetText()), 1);

  std::string error;
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("pasted.qve"), Exp, Parts, &Devices, error)) << error;
  TDeviceList read(nullptr);
  TDrawParts parts;
  std::unique_ptr<TExperiment> reopened =
      OpenExperimentFile(Temp.PathOf("pasted.qve"), parts, &read, error);
  ASSERT_NE(reopened, nullptr) << error;
  read.SetExperiment(reopened.get());
  std::vector<TBlock*> blocks;
  for (TTreeNode* node = reopened->GetExperimentTree().GetFirstNode(); node;
       node = node->GetNextSibling())
    blocks.push_back(static_cast<TBlock*>(node->GetData()));
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(Outline(blocks[0]->AExpNode), b1);
  EXPECT_EQ(Outline(blocks[1]->AExpNode), b2);

  // The reopened experiment runs: the pasted commands reach the bus as the originals.
  TBlock* start = reopened->PreRunCheck();
  ASSERT_EQ(start, blocks[0]);
  Sim.ClearLog();
  EXPECT_EQ(RunOnWorker(start), TTexts{"Experiment Complete"});
  reopened->ResetOutputsAndFiles();
  EXPECT_EQ(NiReceived(), "SET 20\r\nSET 20\r\n");  // the original, then the pasted copy
  int rens = 0, clears = 0;
  for (const std::string& line : Sim.Log()) {
    rens += line.find("\"REN\"") != std::string::npos;
    clears += line.rfind("ibrd ", 0) == 0;  // an empty buffer is read once
  }
  EXPECT_EQ(rens, 2);
  EXPECT_EQ(clears, 2);
}

}  // namespace
