// The experiment: creation and caption, adding and selecting blocks, the blank line and
// its moves, the check before a run with its messages, the end of a run, the body's
// title and bytes, the blank line around saves and refused runs, start flags from
// files, and the report.
#include "model/experiment.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment_running.h"
#include "outputs/output_list.h"
#include "scripts/flow/blank_script.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

// A command whose record cannot be written.
class TFailingSave : public TStub {
public:
  using TStub::TStub;
  void Save(TWriteFile&) override { throw EFileError("disk full"); }
};

class ExperimentTest : public TExperimentFixture {
protected:
  TTreeNode* BlankNode() { return Exp.GetBlankScript()->AExpNode; }
};

TEST_F(ExperimentTest, ANewExperimentAndItsFirstBlocks) {
  EXPECT_EQ(Exp.GetTitle(), "Experiment 1");
  EXPECT_EQ(Ui.Caption(), "Qorv Current Experiment: Experiment 1");
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{0, 1}}));
  TTree& attributes = Exp.GetAttributeTree();
  TTexts roots;
  for (int i = 0; i < attributes.Count(); ++i) roots.push_back(attributes.Item(i)->GetText());
  EXPECT_EQ(roots, (TTexts{"Outputs", "Single Variables", "Array Variables", "Single Files",
                           "Multiple Files"}));
  Exp.SelectBlock(nullptr);  // nothing to select
  EXPECT_EQ(Exp.GetCurrentBlock(), nullptr);
  Exp.SetTitle("Oven");
  EXPECT_EQ(Ui.Caption(), "Qorv Current Experiment: Oven");

  // The first block starts and is current, holding the blank line.
  TBlock* first = AddBlock("Box 1");
  EXPECT_EQ(first->GetDrawBlock()->GetCaption(), "Start Block");
  EXPECT_TRUE(first->IsStartBlock());
  EXPECT_EQ(Exp.GetCurrentBlock(), first);
  EXPECT_EQ(Children(first->AExpNode), TTexts{"      "});
  EXPECT_EQ(Tree.GetSelected(), BlankNode());
  EXPECT_TRUE(first->AExpNode->GetExpanded());
  EXPECT_EQ(Ui.StatusText(1), "Start Block");
  TBlock* second = AddBlock("Heater");
  EXPECT_EQ(second->GetTitle(), "Heater");
  EXPECT_FALSE(second->IsStartBlock());
  EXPECT_EQ(Exp.GetCurrentBlock(), first);
}

TEST_F(ExperimentTest, SelectingBlocksAndMovingTheBlankLine) {
  TBlock* b1 = AddBlock("B1");
  TBlock* b2 = AddBlock("B2");
  TStub* a = Stub(b1, "A");
  TStub* section = Stub(b1, "S");
  section->Opens = true;
  TStub* c = Stub(b1, "C");
  TStub* d = Stub(b2, "D");

  Tree.SetSelected(d->AExpNode);
  Exp.SelectBlock(d->AExpNode);  // from a command: the blank line moves, the selection stays
  EXPECT_EQ(Tree.GetSelected(), d->AExpNode);
  EXPECT_EQ(Exp.GetCurrentBlock(), b2);
  EXPECT_EQ(Children(b2->AExpNode), (TTexts{"D", "      "}));
  EXPECT_EQ(Ui.StatusText(1), "B2");
  Exp.SelectBlock(nullptr);  // the first block; from a block the blank line is selected
  EXPECT_EQ(Exp.GetCurrentBlock(), b1);
  EXPECT_EQ(Tree.GetSelected(), BlankNode());

  ExperimentRunning = true;  // during a run only the panel is emptied
  Exp.SelectBlock(b2->AExpNode);
  ExperimentRunning = false;
  EXPECT_EQ(Ui.StatusText(1), "");
  EXPECT_EQ(Exp.GetCurrentBlock(), b1);

  EXPECT_EQ(Exp.MoveBlankScript(c->AExpNode), nullptr);  // after a section: into it
  EXPECT_EQ(BlankNode()->GetParent(), section->AExpNode);
  EXPECT_EQ(Exp.MoveBlankScript(a->AExpNode), nullptr);
  EXPECT_EQ(Children(b1->AExpNode), (TTexts{"      ", "A", "S", "C"}));
  EXPECT_EQ(Exp.MoveBlankScript(d->AExpNode), a->AExpNode);  // into the other block
  EXPECT_EQ(Exp.GetCurrentBlock(), b2);
  EXPECT_EQ(Exp.MoveBlankScript(nullptr), d->AExpNode);  // the end of its block
  EXPECT_EQ(Children(b2->AExpNode), (TTexts{"D", "      "}));
  EXPECT_EQ(Tree.GetSelected(), BlankNode());
}

TEST_F(ExperimentTest, PreRunCheckMessagesInTheirOrder) {
  EXPECT_EQ(Exp.PreRunCheck(), nullptr);  // no blocks: refused without a word
  EXPECT_TRUE(Ui.Texts().empty());
  Ui.Clear();
  TBlock* b1 = AddBlock("B1");
  TBlock* b2 = AddBlock("B2");
  TBlock* b3 = AddBlock("B3");
  TStub* a = Stub(b1, "A");
  Exp.MoveBlankScript(a->AExpNode);
  const auto refused = [&](const char* message) {
    Ui.Clear();
    EXPECT_EQ(Exp.Run(), nullptr);
    EXPECT_EQ(Ui.Texts(), TTexts{message});
    EXPECT_FALSE(Exp.IsRunning());
    // The insertion line is back where it stood, selected as before.
    EXPECT_EQ(Children(b1->AExpNode), (TTexts{"      ", "A"}));
    EXPECT_EQ(Tree.GetSelected(), BlankNode());
  };
  // Every block prepares before the start block's link is looked at.
  refused("Error: Block B2 has no paths to it.");
  Parts.Connect(b2->GetDrawBlock(), b3->GetDrawBlock());
  Parts.Connect(b3->GetDrawBlock(), b2->GetDrawBlock());
  refused("Start block must point to the next block");

  Parts.Connect(b1->GetDrawBlock(), b2->GetDrawBlock());
  Ui.Clear();
  EXPECT_EQ(Exp.Run(), b1);
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_TRUE(Exp.IsRunning());
  EXPECT_EQ(Exp.GetBlankScript(), nullptr);  // removed for the run
  EXPECT_EQ(a->Pnextscript, nullptr);
  Exp.ResetOutputsAndFiles();
  Exp.SelectFirstBlock();
  EXPECT_FALSE(Exp.IsRunning());
  EXPECT_EQ(Children(b1->AExpNode), (TTexts{"A", "      "}));

  // One block left, the start block now, runs without lines.
  delete b1;
  delete b3;
  EXPECT_EQ(Exp.PreRunCheck(), b2);
}

TEST_F(ExperimentTest, StartFlagsFromAFileNeverEndTheProgram) {
  const struct {
    bool first, second;
    const char* message;  // none: the first flagged block starts
  } cases[] = {{false, false, "There is no start block, the experiment will not run."},
               {true, true, nullptr},
               {false, true, nullptr}};
  for (const auto& c : cases) {
    TDrawParts parts;
    TExperiment exp;
    // Boxes that were read without identifiers claim the blocks in order; their lines
    // become the blocks' links once the blocks are read.
    std::vector<TDrawBlock*> boxes{parts.AddBlock("A", {}), parts.AddBlock("B", {})};
    parts.Connect(boxes[0], boxes[1]);
    parts.Connect(boxes[1], boxes[0]);
    const auto record = [](int id, bool start, bool more) {
      return Cat({Le32(id), B(start), B(false), B(more)});
    };
    const auto reader = Reader(Cat({StringBytes("Flags"), B(true), record(100, c.first, true),
                                    record(101, c.second, false), Le32(0), Le32(0), Le32(0),
                                    Le32(0), Le32(0)}));
    exp.Load(*reader, boxes);
    EXPECT_EQ(reader->BytesLeft(), 0u);
    TBlock* a = BlockOfNode(exp.GetExperimentTree().Item(0));
    TBlock* b = BlockOfNode(exp.GetExperimentTree().Item(1));
    EXPECT_FALSE(a->IsStartBlock() && b->IsStartBlock());
    Ui.Clear();
    TBlock* start = exp.PreRunCheck();
    if (c.message) {
      EXPECT_EQ(start, nullptr);
      EXPECT_EQ(Ui.Texts(), TTexts{c.message});
      EXPECT_EQ(exp.GetCurrentBlock(), a);  // the blank line is back
    } else {
      EXPECT_EQ(start, c.first ? a : b);
      EXPECT_TRUE(Ui.Texts().empty());
    }
  }
}

TEST_F(ExperimentTest, TheBodyTakesItsTitleFromTheFileName) {
  const struct {
    const char *file, *title;
  } cases[] = {{"C:\\data\\run7.qve", "run7.qve"}, {"C:\\data\\old.exp", "old"}};
  for (const auto& c : cases) {
    const TBytes body = Written([this](TWriteFile& writer) { Exp.Save(writer); }, c.file);
    EXPECT_EQ(Exp.GetTitle(), c.title);
    EXPECT_EQ(Ui.Caption(), std::string("Qorv Current Experiment: ") + c.title);
    EXPECT_EQ(Exp.GetFileName(), Temp.PathOf(c.file));
    EXPECT_EQ(Ui.ExperimentChanges().back(), (std::pair<int, int>{0, 0}));  // saved
    // Without blocks: title, false, the output and file sections, no variable sections.
    EXPECT_EQ(body, Cat({StringBytes(c.title), B(false), Le32(0), Le32(0), Le32(0)}));
  }
}

TEST_F(ExperimentTest, TheBlankLineStandsWhereItStoodAfterEverySave) {
  TBlock* b1 = AddBlock("B1");
  TBlock* b2 = AddBlock("B2");
  TStub* a = Stub(b2, "A");
  Stub(b2, "C");
  Exp.SelectBlock(b2->AExpNode);
  Exp.MoveBlankScript(a->AExpNode->GetNextSibling());
  Tree.SetSelected(a->AExpNode);
  const TTexts before = Children(b2->AExpNode);
  ASSERT_EQ(before, (TTexts{"A", "      ", "C"}));
  const auto save = [this] { return Written([this](TWriteFile& w) { Exp.Save(w); }, "good.qve"); };
  const TBytes saved = save();
  EXPECT_EQ(Children(b2->AExpNode), before);
  EXPECT_EQ(Exp.GetCurrentBlock(), b2);
  EXPECT_EQ(Tree.GetSelected(), a->AExpNode);

  // A command that cannot be written: the save fails, the blank line and the old file
  // stay, the experiment is not taken as saved.
  Ui.Clear();
  Stub<TFailingSave>(b1, "F");
  try {
    save();
    ADD_FAILURE() << "the failing command was written";
  } catch (const EFileError& error) {
    EXPECT_STREQ(error.what(), "disk full");
  }
  EXPECT_EQ(Children(b2->AExpNode), before);
  EXPECT_EQ(Tree.GetSelected(), a->AExpNode);
  EXPECT_EQ(Temp.ReadBytes("good.qve"), saved);
  EXPECT_TRUE(Ui.ExperimentChanges().empty());
  // Adding commands keeps working.
  EXPECT_NE(b2->AddScript(TScript::DECISION), nullptr);
}

TEST_F(ExperimentTest, TheReportListsTheChosenParts) {
  TLineReport outputs("#");
  TReportOptions only;
  only.Outputs = true;
  Exp.WriteReport(outputs, only);
  EXPECT_EQ(outputs.Lines, (TTexts{"", "#Output Listing", "", "No outputs"}));

  TBlock* block = AddBlock("B");
  Stub(block, "A");
  Exp.GetDataSingleList()->Add(block, 1, 1, "x");
  TLineReport all("#");
  Exp.WriteReport(all, {true, true, true, true, true, true});
  EXPECT_EQ(all.Lines, (TTexts{"#Command Listing", "", "Start Block", "\tA",
                               "", "#Output Listing", "", "No outputs",
                               "", "#Single Varible Listing", "",
                               "#Name\t\tType\tBlock\t\tCommands Using",
                               "x\t\tInteger\tStart Block\t0",
                               "", "#Array Variable Listing", "", "No array variables",
                               "", "#Single File Listings", "", "No single files",
                               "", "#Multiple File Listings", "", "No multiple files"}));
  // The sections' headings are bold and underlined, a list's column heading bold only.
  const TReportStyle section{.Bold = true, .Underline = true};
  EXPECT_EQ(all.Styles[0], section);
  EXPECT_EQ(all.Styles[9], section);
  EXPECT_EQ(all.Styles[11], TReportStyle{.Bold = true});
  EXPECT_EQ(all.Styles[12], TReportStyle{});
}

TEST_F(ExperimentTest, DestroyingTheExperimentTakesEverythingQuietly) {
  {
    TExperiment exp;
    TBlock* b1 = exp.AddBlock(Parts.AddBlock("B1", {}));
    TBlock* b2 = exp.AddBlock(Parts.AddBlock("B2", {}));
    Parts.Connect(b1->GetDrawBlock(), b2->GetDrawBlock());
    exp.GetDataSingleList()->Add(b1, 1, 1, "x");
    Ui.Clear();
  }
  EXPECT_TRUE(Ui.Texts().empty());  // no start flag passed on, no "no blocks" message
  EXPECT_EQ(Parts.Count(), 0);
}

}  // namespace
