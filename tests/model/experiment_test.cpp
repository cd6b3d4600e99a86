// The experiment: creation and caption, adding and selecting blocks, the blank line and
// its moves, the check before a run with its messages, the end of a run, the body's
// title and bytes, the blank line around saves and refused runs, start flags from
// files, and the report.
#include "model/experiment.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/write_file.h"
#include "outputs/output_list.h"
#include "scripts/flow/blank_script.h"
#include "shell/draw_parts.h"
#include "support/fake_ui_port.h"
#include "support/stub_script.h"
#include "support/temp_dir.h"

namespace {

using TTexts = std::vector<std::string>;

TBytes B(bool value) { return TBytes{static_cast<std::uint8_t>(value)}; }

// A command whose record cannot be written.
class TFailingSave : public TStub {
public:
  using TStub::TStub;
  void Save(TWriteFile&) override { throw EFileError("disk full"); }
};

// The report's lines; headings marked with "#".
struct TLines : TReport {
  void AddHeading(const std::string& line) override { Lines.push_back("#" + line); }
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  TTexts Lines;
};

class ExperimentTest : public ::testing::Test {
protected:
  TBlock* NewBlock(const std::string& caption) {
    return Exp.AddBlock(Parts.AddBlock(caption, {}));
  }
  // A command at the end of the block, before the blank line when it stands there.
  template <typename T = TStub>
  T* Add(TBlock* block, const std::string& text) {
    TBlankScript* blank = Exp.GetBlankScript();
    TTreeNode* node = blank && blank->AExpNode->GetParent() == block->AExpNode
                          ? Tree.Insert(blank->AExpNode, text)
                          : Tree.AddChild(block->AExpNode, text);
    return new T(block, node, TScript::CALCULATE, text);
  }
  TTreeNode* BlankNode() { return Exp.GetBlankScript()->AExpNode; }
  TTexts Children(const TTreeNode* node) {
    TTexts texts;
    for (TTreeNode* n = node->GetFirstChild(); n; n = n->GetNextSibling())
      texts.push_back(n->GetText());
    return texts;
  }

  TFakeUiPort Ui;
  TTempDir Temp;
  TDrawParts Parts;
  TExperiment Exp;  // destroyed first: its blocks take their boxes along
  TTree& Tree = Exp.GetExperimentTree();
};

TEST_F(ExperimentTest, ANewExperimentHasItsTitleCaptionAndLists) {
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
}

TEST_F(ExperimentTest, TheFirstBlockStartsAndIsCurrent) {
  TBlock* first = NewBlock("Box 1");
  EXPECT_EQ(first->GetTitle(), "Start Block");
  EXPECT_EQ(first->GetDrawBlock()->GetCaption(), "Start Block");
  EXPECT_TRUE(first->IsStartBlock());
  EXPECT_EQ(Exp.GetCurrentBlock(), first);
  EXPECT_EQ(Children(first->AExpNode), TTexts{"      "});
  EXPECT_EQ(Tree.GetSelected(), BlankNode());
  EXPECT_TRUE(first->AExpNode->GetExpanded());
  EXPECT_EQ(Ui.StatusText(1), "Start Block");
  TBlock* second = NewBlock("Heater");
  EXPECT_EQ(second->GetTitle(), "Heater");
  EXPECT_FALSE(second->IsStartBlock());
  EXPECT_EQ(Exp.GetCurrentBlock(), first);
}

TEST_F(ExperimentTest, SelectingBlocksAndMovingTheBlankLine) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TStub* a = Add(b1, "A");
  TStub* section = Add(b1, "S");
  section->Opens = true;
  TStub* c = Add(b1, "C");
  TStub* d = Add(b2, "D");

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
  EXPECT_EQ(Exp.PreRunCheck(), nullptr);  // no blocks: refused with the reason
  EXPECT_EQ(Ui.Texts(), TTexts{"There are no blocks, the experiment will not run."});
  Ui.Clear();
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TBlock* b3 = NewBlock("B3");
  TStub* a = Add(b1, "A");
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

  // Deleting the blocks leaves the start flag with the first block left; the last one
  // says that nothing will run.
  delete b1;
  EXPECT_TRUE(b2->IsStartBlock());
  delete b3;
  EXPECT_EQ(Exp.PreRunCheck(), b2);  // one block and no line runs
  Ui.Clear();
  delete b2;
  EXPECT_EQ(Ui.Texts(), TTexts{"There are no blocks, the experiment will not run."});
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
    TReadFile reader(Temp.WriteBytes("flags.qrv", Cat({StringBytes("Flags"), B(true),
        record(100, c.first, true), record(101, c.second, false), Le32(0), Le32(0), Le32(0),
        Le32(0), Le32(0)})));
    reader.SetVersion("Qorv 1.5");
    exp.Load(reader, boxes);
    EXPECT_EQ(reader.BytesLeft(), 0u);
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
    const std::string path = Temp.PathOf(c.file);
    {
      TWriteFile writer(path);
      Exp.Save(writer);
      writer.Commit();
    }
    EXPECT_EQ(Exp.GetTitle(), c.title);
    EXPECT_EQ(Ui.Caption(), std::string("Qorv Current Experiment: ") + c.title);
    EXPECT_EQ(Exp.GetFileName(), path);
    EXPECT_EQ(Ui.ExperimentChanges().back(), (std::pair<int, int>{0, 0}));
    // Without blocks: title, false, the output and file sections, no variable sections.
    EXPECT_EQ(Temp.ReadBytes(c.file),
              Cat({StringBytes(c.title), B(false), Le32(0), Le32(0), Le32(0)}));
  }
}

TEST_F(ExperimentTest, TheBlankLineStandsWhereItStoodAfterEverySave) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TStub* a = Add(b2, "A");
  Add(b2, "C");
  Exp.SelectBlock(b2->AExpNode);
  Exp.MoveBlankScript(a->AExpNode->GetNextSibling());
  Tree.SetSelected(a->AExpNode);
  const TTexts before = Children(b2->AExpNode);
  ASSERT_EQ(before, (TTexts{"A", "      ", "C"}));
  const auto save = [&](const char* name) {
    TWriteFile writer(Temp.PathOf(name));
    Exp.Save(writer);
    writer.Commit();
  };
  save("good.qve");
  EXPECT_EQ(Children(b2->AExpNode), before);
  EXPECT_EQ(Exp.GetCurrentBlock(), b2);
  EXPECT_EQ(Tree.GetSelected(), a->AExpNode);
  const TBytes saved = Temp.ReadBytes("good.qve");

  // A command that cannot be written: the save fails, the blank line and the old file
  // stay, the experiment is not taken as saved.
  Ui.Clear();
  Add<TFailingSave>(b1, "F");
  try {
    save("good.qve");
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
  TLines outputs;
  TReportOptions only;
  only.Outputs = true;
  Exp.WriteReport(outputs, only);
  EXPECT_EQ(outputs.Lines, (TTexts{"", "#Output Listing", "", "No outputs"}));

  TBlock* block = NewBlock("B");
  Add(block, "A");
  Exp.GetDataSingleList()->Add(block, 1, 1, "x");
  TLines all;
  Exp.WriteReport(all, {true, true, true, true, true, true});
  EXPECT_EQ(all.Lines, (TTexts{"#Command Listing", "", "Start Block", "\tA",
                               "", "#Output Listing", "", "No outputs",
                               "", "#Single Varible Listing", "",
                               "#Name\t\tType\tBlock\t\tCommands Using",
                               "x\t\tInteger\tStart Block\t0",
                               "", "#Array Variable Listing", "", "No array variables",
                               "", "#Single File Listings", "", "No single files",
                               "", "#Multiple File Listings", "", "No multiple files"}));
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
