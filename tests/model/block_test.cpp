// Blocks: the block record and the block-export record byte by byte and read back, the
// read errors of damaged records, the Decision made and removed by the diagram's lines,
// run preparation, editing, deletion, the listing, and the blank line.
#include "model/block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/data_list.h"
#include "model/errors.h"
#include "model/node_style.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/dec_script.h"
#include "support/experiment_fixture.h"
#include "support/line_report.h"

namespace {

class BlockTest : public TExperimentFixture {
protected:
  TBlankScript* Blank(TBlock* block) {
    auto* blank = new TBlankScript(block, Tree.AddChild(block->AExpNode, "      "), &Exp);
    Exp.SetBlankScript(blank);
    return blank;
  }
  // Reads a block record from the bytes into a new block of Exp, offered a fresh box.
  TBlock* ReadBlock(const TBytes& bytes) {
    const auto reader = Reader(bytes);
    std::vector<TDrawBlock*> boxes{Parts.AddBlock("Read", {})};
    auto* block = new TBlock(&Exp, Tree.Add(nullptr, "No Title"));
    block->Load(*reader, boxes);
    return block;
  }
};

TEST_F(BlockTest, BlockRecordsByteByByte) {
  TBlock* empty = NewBlock("Empty");
  empty->SetAsStartBlock();
  EXPECT_EQ(Written([&](TWriteFile& w) { empty->Save(w); }), Cat({Le32(100), B(true), B(false)}));

  TBlock* b = NewBlock("Three");
  Stub(b, "A", TScript::CALCULATE);
  Stub(b, "B", TScript::COMMENT)->SetCommentedOut(true);
  Stub(b, "C", TScript::WAIT);
  EXPECT_EQ(Written([&](TWriteFile& w) { b->Save(w); }),
            Cat({Le32(100), B(false), B(true),                      // identifier, start, has
                 Le32(6), Le32(101), B(false), B(true),             // type, record, more
                 Le32(17), Le32(102), B(true), B(true),
                 Le32(7), Le32(103), B(false), B(false)}));

  // The blank line and a block export's Decision stand with their type alone.
  TBlock* x = NewBlock("X");
  TBlock* y = NewBlock("Y");
  TBlankScript* blank = Blank(b);
  Line(b, x);
  Line(b, y);
  ASSERT_NE(b->GetDecScript(), nullptr);
  const TBytes commands = Cat({Le32(6), Le32(101), B(false), B(true), Le32(17), Le32(102),
                               B(true), B(true), Le32(7), Le32(103), B(false), B(true)});
  std::vector<TScript*> exported;
  const TBytes blockFile = Written([&](TWriteFile& w) {
    b->SaveBlock(w);
    exported = w.GetBlockScriptList();
  }, "three.blk");
  EXPECT_EQ(blockFile, Cat({Le32(100), B(true), commands, Le32(16), B(true), Le32(10), B(false)}));
  EXPECT_EQ(exported.size(), 3u);
  EXPECT_EQ(std::count(exported.begin(), exported.end(), blank), 0);
  EXPECT_EQ(b->GetBlockFileName(), Temp.PathOf("three.blk"));
  // In an experiment file the Decision writes its record: identifiers of its true and
  // false blocks and no condition.
  delete blank;
  EXPECT_EQ(Written([&](TWriteFile& w) { b->Save(w); }),
            Cat({Le32(100), B(false), B(true), commands, Le32(10), Le32(104), B(false),
                 Le32(105), Le32(106), B(false), B(false)}));
}

TEST_F(BlockTest, ExperimentRecordsReadBackWithTheirBoxesAndDecisions) {
  TBlock* a = NewBlock("Start");
  TBlock* b = NewBlock("Yes");
  TBlock* c = NewBlock("No");
  a->SetAsStartBlock();
  Line(a, b);
  Line(a, c);
  Line(b, c);
  const auto saveAll = [](TDrawParts& parts, std::vector<TBlock*> blocks) {
    return [&parts, blocks](TWriteFile& w) {
      parts.Save(&w);
      for (TBlock* block : blocks) block->Save(w);
    };
  };
  const TBytes first = Written(saveAll(Parts, {a, b, c}), "first.qve");

  TExperiment exp;
  TDrawParts parts;
  const auto reader = Reader(first);
  std::vector<TDrawBlock*> boxes;
  parts.Load(reader.get(), boxes);
  std::vector<TBlock*> read;
  for (int i = 0; i < 3; ++i) {
    read.push_back(new TBlock(&exp, exp.GetExperimentTree().Add(nullptr, "No Title")));
    read.back()->Load(*reader, boxes);
  }
  EXPECT_EQ(reader->BytesLeft(), 0u);
  EXPECT_TRUE(boxes.empty());
  for (TBlock* block : read) block->SetBlockPaths();
  EXPECT_EQ(read[0]->AExpNode->GetText(), "Start");
  EXPECT_TRUE(read[0]->AExpNode->GetExpanded());
  EXPECT_TRUE(read[0]->IsStartBlock() && !read[1]->IsStartBlock());
  EXPECT_EQ(read[1]->GetDrawBlock()->GetBlock(), read[1]);
  EXPECT_EQ(read[1]->GetNextBlock(), read[2]);
  TDecScript* decision = read[0]->GetDecScript();
  ASSERT_NE(decision, nullptr);
  EXPECT_EQ(decision->ATrueBlock, read[1]);
  EXPECT_EQ(decision->AFalseBlock, read[2]);
  EXPECT_EQ(decision->AExpNode->GetText(), "Decision: Not Defined");
  // Saved again, the file is the same.
  EXPECT_EQ(Written(saveAll(parts, read), "second.qve"), first);
  // A Decision saved without condition reads back without one: the check lets it be,
  // and the run refuses it until it is defined.
  EXPECT_EQ(CheckError(decision), "");
  EXPECT_FALSE(decision->SetNextScript());
  EXPECT_EQ(Ui.Texts().back(), "You must define the Decision Scipt in Start.");
}

TEST_F(BlockTest, DamagedRecordsEndInReadErrors) {
  const TBytes head = Cat({Le32(100), B(false), B(true)});
  const struct {
    TBytes bytes;
    const char* message;
  } cases[] = {
      {Cat({head, Le32(25), B(false)}), "Error Openning Script"},
      {Cat({head, Le32(-1), B(false)}), "Error Openning Script"},
      {Cat({head, Le32(0x7FFFFFFF), B(false)}), "Error Openning Script"},
      {Cat({head, Le32(10), Le32(101), B(false), Le32(1), Le32(2), B(false), B(true),
            Le32(10)}),
       "A block holds two Decision scripts...aborting read"},
      {Cat({head, Le32(10), Le32(101), B(false), Le32(1), Le32(2), B(true), Le32(2)}),
       "Error reading condition: condition type 2"},  // neither variable nor constant
      {Cat({head, Le32(10), Le32(101), B(false), Le32(1), Le32(2), B(true)}),
       "Stream read error"},
      {Cat({head, Le32(10), Le32(101)}), "Stream read error"},
      {Cat({Le32(100), B(false)}), "Stream read error"},
  };
  for (const auto& c : cases) {
    const int before = Tree.Count();
    try {
      ReadBlock(c.bytes);
      ADD_FAILURE() << "read without error: " << c.message;
    } catch (const EReadError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
    // The block read so far stays in the tree for the experiment to discard, without a
    // node for the command that could not be made.
    ASSERT_EQ(Tree.Count(), before + 1);
    TBlock* block = BlockOfNode(Tree.Item(before));
    for (TTreeNode* n = block->AExpNode->GetFirstChild(); n; n = n->GetNextSibling())
      EXPECT_NE(n->GetData(), nullptr);
    delete block;
  }
  // The blank line's type stands without record and makes nothing.
  TBlock* block = ReadBlock(Cat({head, Le32(16), B(false)}));
  EXPECT_FALSE(block->AExpNode->HasChildren());
  EXPECT_EQ(block->GetTitle(), "Read");
}

TEST_F(BlockTest, BoxesMustClaimTheBlockRead) {
  TBlock* saved = NewBlock("Saved");
  const TBytes diagram = Written([&](TWriteFile& w) { Parts.Save(&w); }, "diagram.qrv");
  const TBytes record = Written([&](TWriteFile& w) { saved->Save(w); }, "record.qrv");
  const TBytes otherRecord = Cat({Le32(555), B(false), B(false)});
  const struct {
    TBytes bytes;
    bool readBoxes;
  } cases[] = {{record, false}, {Cat({diagram, otherRecord}), true}};
  for (const auto& c : cases) {
    TReadFile reader(Temp.WriteBytes("claims.qrv", c.bytes));
    TDrawParts parts;
    std::vector<TDrawBlock*> boxes;
    if (c.readBoxes) parts.Load(&reader, boxes);
    TBlock block(&Exp, Tree.Add(nullptr, "No Title"));
    EXPECT_THROW(block.Load(reader, boxes), EReadError);
  }
}

TEST_F(BlockTest, BlockFilesReadBackWithoutTheDecision) {
  TBlock* a = NewBlock("Exported");
  Blank(a);
  Line(a, NewBlock("Next"));
  Line(a, NewBlock("Other"));
  const TBytes file = Written([&](TWriteFile& w) {
    a->GetDrawBlock()->Save(&w);
    a->SaveBlock(w);
  }, "a.blk");
  // The Decision's type stands without its record.
  const TBytes record = Cat({Le32(100), B(true), Le32(16), B(true), Le32(10), B(false)});
  ASSERT_GT(file.size(), record.size());
  EXPECT_TRUE(std::equal(record.begin(), record.end(), file.end() - record.size()));

  // The box of a block file, read as a diagram of one box.
  const auto readBack = [&](const TBytes& record) {
    TReadFile reader(Temp.WriteBytes("in.blk", Cat({Le32(1), Le32(0), record})));
    std::vector<TDrawBlock*> boxes;
    Parts.Load(&reader, boxes);
    auto* block = new TBlock(&Exp, Tree.Add(nullptr, "No Title"), boxes.at(0));
    block->LoadBlock(reader);
    return block;
  };
  TBlock* read = readBack(file);
  EXPECT_EQ(read->GetTitle(), "Exported");
  EXPECT_EQ(read->GetDrawBlock()->GetBlock(), read);
  EXPECT_EQ(read->ReadBlockID(), -1);
  EXPECT_EQ(read->GetDecScript(), nullptr);
  EXPECT_FALSE(read->AExpNode->HasChildren());
  // A block record whose identifier is not its box's.
  TBytes wrong = file;
  wrong[wrong.size() - record.size()] = 0x77;
  EXPECT_THROW(readBack(wrong), EReadError);
}

TEST_F(BlockTest, OneStartBlockWhateverTheFileSays) {
  // Two records flagged as start: the first one read keeps the flag.
  TBlock* r1 = ReadBlock(Cat({Le32(1), B(true), B(false)}));
  TBlock* r2 = ReadBlock(Cat({Le32(2), B(true), B(false)}));
  EXPECT_TRUE(r1->IsStartBlock());
  EXPECT_FALSE(r2->IsStartBlock());
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  b1->SetAsStartBlock();
  b2->SetAsStartBlock();
  for (TBlock* block : {r1, r2, b1, b2}) EXPECT_EQ(block->IsStartBlock(), block == b2);

  // Deleting the start block passes the flag to the first block left.
  delete b2;
  EXPECT_TRUE(r1->IsStartBlock());
  delete r2;
  delete b1;
  EXPECT_TRUE(Ui.Texts().empty());
  delete r1;  // the last block
  EXPECT_EQ(Ui.Texts(),
            std::vector<std::string>{"There are no blocks, the experiment will not run."});
}

TEST_F(BlockTest, LinesMakeAndRemoveTheDecision) {
  TBlock* a = NewBlock("A");
  TBlock* b = NewBlock("B");
  TBlock* c = NewBlock("C");
  TStub* first = Stub(a, "first");
  Line(a, b);
  EXPECT_EQ(a->GetNextBlock(), b);
  EXPECT_EQ(a->GetDecScript(), nullptr);
  TDrawLine* toC = Line(a, c);
  TDecScript* decision = a->GetDecScript();
  ASSERT_NE(decision, nullptr);
  EXPECT_EQ(Children(a->AExpNode), (std::vector<std::string>{"first", "Decision: Not Defined"}));
  EXPECT_EQ(decision->ATrueBlock, b);
  EXPECT_EQ(decision->AFalseBlock, c);
  EXPECT_EQ(a->GetNextBlock(), b);

  a->DeleteScript(decision);  // refused, the block unchanged
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{
                            "You cannot delete a decision script.\rDelete the second line from "
                            "the block to delete the decision script."});
  EXPECT_EQ(a->GetDecScript(), decision);
  delete a->ReplaceScript(TScript::DECISION, decision);  // pasting over it keeps it too
  EXPECT_EQ(a->GetDecScript(), decision);
  EXPECT_EQ(Ui.Texts().size(), 2u);

  decision->SetTrueBlock(c);
  EXPECT_EQ(decision->ATrueBlock, c);
  EXPECT_EQ(decision->AFalseBlock, b);
  Parts.DeletePart(toC);  // the true block's line: the false block stays as next block
  EXPECT_EQ(a->GetDecScript(), nullptr);
  EXPECT_EQ(a->GetNextBlock(), b);
  EXPECT_EQ(Children(a->AExpNode), std::vector<std::string>{"first"});
  TDrawLine* again = Line(a, c);
  EXPECT_EQ(a->GetDecScript()->AFalseBlock, c);
  Parts.DeletePart(again);  // the false block's line: the true block stays
  EXPECT_EQ(a->GetNextBlock(), b);
  EXPECT_EQ(a->GetDecScript(), nullptr);
  EXPECT_EQ(first->Pblock, a);

  // From a file a second successor needs the Decision read with the block.
  TBlock* d = NewBlock("D");
  d->AddNextBlock(b);
  EXPECT_THROW(d->AddNextBlock(c), EReadError);
  EXPECT_EQ(d->GetNextBlock(), b);
}

TEST_F(BlockTest, DecisionTakesItsBlocksByTheIdentifiersRead) {
  TBlock* a = NewBlock("A");
  TBlock* yes = NewBlock("Yes");
  TBlock* no = NewBlock("No");
  yes->SetReadBlockID(120);
  no->SetReadBlockID(130);
  const struct {
    TBlock* first;
    TBlock* second;
    std::int32_t trueID, falseID;
    TBlock* trueBlock;
  } cases[] = {
      {yes, no, 120, 130, yes}, {no, yes, 120, 130, yes},
      {yes, no, 130, 120, no},  {yes, no, 120, 999, nullptr},
      {yes, no, 999, 120, nullptr}, {yes, no, 120, 120, nullptr},
  };
  for (const auto& c : cases) {
    TDecScript decision(a, nullptr);
    decision.PtrueblockID = c.trueID;
    decision.PfalseblockID = c.falseID;
    if (!c.trueBlock) {
      EXPECT_THROW(decision.ResolveBlocks(c.first, c.second), EReadError);
      continue;
    }
    decision.ResolveBlocks(c.first, c.second);
    EXPECT_EQ(decision.ATrueBlock, c.trueBlock);
    EXPECT_EQ(decision.AFalseBlock, c.trueBlock == yes ? no : yes);
    EXPECT_EQ(decision.PtrueblockID, -1);
    EXPECT_EQ(decision.PfalseblockID, -1);
    EXPECT_THROW(decision.ResolveBlocks(c.first, c.second), EReadError);  // a third line
  }
  TDecScript decision(a, Tree.AddChild(a->AExpNode, "None"), yes, no);
  EXPECT_FALSE(decision.CanMakeCopyScript() || decision.CanCommentOut());
  decision.SetCommentedOut(true);
  EXPECT_FALSE(decision.AbCommentedOut);
  EXPECT_FALSE(decision.RemoveVariable(nullptr));  // kept, showing it has no condition
  EXPECT_EQ(decision.AExpNode->GetText(), "Decision: Not Defined");
  EXPECT_TRUE(decision.CanMoveTo(a, a->AExpNode));
  EXPECT_FALSE(decision.CanMoveTo(yes, yes->AExpNode));
  EXPECT_FALSE(decision.CanMoveTo(a, nullptr));
}

TEST_F(BlockTest, RunPreparation) {
  TBlock* start = NewBlock("Start");
  TBlock* second = NewBlock("Second");
  start->SetAsStartBlock();
  TStub* a = Stub(start, "A");
  TStub* b = Stub(start, "B");
  EXPECT_TRUE(start->PrepareForRun());
  EXPECT_EQ(a->Pnextscript, b);
  EXPECT_EQ(b->Pnextscript, nullptr);

  EXPECT_FALSE(second->PrepareForRun());  // no line reaches it
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"Error: Block Second has no paths to it."});
  Line(start, second);
  EXPECT_TRUE(second->PrepareForRun());

  a->Runs = false;
  b->Pnextscript = b;
  EXPECT_FALSE(start->PrepareForRun());  // the first refusal ends the check
  EXPECT_EQ(b->Pnextscript, b);
  a->Runs = true;

  // A Decision without condition refuses; the previous run's choice is forgotten.
  TBlock* third = NewBlock("Third");
  Line(start, third);
  TDecScript* decision = start->GetDecScript();
  ASSERT_NE(decision, nullptr);
  decision->ChooseBlock(false);
  EXPECT_EQ(start->GetRunNextBlock(), third);
  Ui.Clear();
  EXPECT_FALSE(start->PrepareForRun());
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"You must define the Decision Scipt in Start."});
  EXPECT_EQ(decision->GetChosenBlock(), nullptr);
  EXPECT_EQ(start->GetRunNextBlock(), second);

  Blank(second);
  EXPECT_DEATH(OnConsole([&] { second->PrepareForRun(); }), "Assertion failed: Pblankscript==0");
}

TEST_F(BlockTest, AddingDeletingAndMovingCommands) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TStub* a = Stub(b1, "A");
  TStub* c = Stub(b1, "C");
  TBlankScript* blank = Blank(b1);
  constexpr int unknownType = 25;  // above 24 the factory makes nothing
  EXPECT_EQ(b1->AddScript(unknownType), nullptr);  // nothing added
  EXPECT_EQ(Children(b1->AExpNode), (std::vector<std::string>{"A", "C", "      "}));
  EXPECT_EQ(Tree.GetSelected(), blank->AExpNode);
  TScript* added = b1->AddScript(TScript::DECISION);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->AExpNode->GetNextSibling(), blank->AExpNode);
  EXPECT_EQ(added->AExpNode->GetText(), "none");
  EXPECT_EQ(b1->InsertScript(unknownType, c), nullptr);
  TScript* inserted = b1->InsertScript(TScript::DECISION, c);
  EXPECT_EQ(inserted->AExpNode->GetNextSibling(), c->AExpNode);
  EXPECT_EQ(b1->ReplaceScript(unknownType, blank), nullptr);  // the blank line stays
  b1->DeleteScript(blank);
  EXPECT_EQ(b1->GetBlankScript(), blank);
  EXPECT_EQ(Children(b1->AExpNode).size(), 5u);

  // The selection follows a deleted selected command; an unselected one leaves it.
  Tree.SetSelected(a->AExpNode);
  TTreeNode* following = a->AExpNode->GetNextSibling();
  b1->DeleteScript(a);
  EXPECT_EQ(Tree.GetSelected(), following);
  TStub* d = Stub(b2, "D");
  TStub* e = Stub(b2, "E");
  b2->DeleteScript(d);
  EXPECT_EQ(Tree.GetSelected(), following);

  b1->MoveScript(e);  // before the blank line
  EXPECT_EQ(e->AExpNode->GetNextSibling(), blank->AExpNode);
  EXPECT_EQ(e->Pblock, b1);
  b2->MoveScript(c);  // no blank line there: the end of the block
  EXPECT_EQ(b2->AExpNode->GetLastChild(), c->AExpNode);
  EXPECT_EQ(c->Pblock, b2);
}

TEST_F(BlockTest, ListingTextsChecksAndRepeatLabels) {
  TBlock* b1 = NewBlock("B1");
  TStub* l1 = Stub(b1, "L1", TScript::LABEL);
  TStub* l2 = Stub(b1, "L2", TScript::LABEL);
  TStub* l3 = Stub(b1, "L3", TScript::LABEL);
  auto* l4 = new TStub(b1, Tree.AddChild(l3->AExpNode, "L4"), TScript::LABEL, "L4");
  auto* l5 = new TStub(b1, Tree.AddChild(l3->AExpNode, "L5"), TScript::LABEL, "L5");
  TStub* r3 = Stub(b1, "R3", TScript::REPEAT);
  TStub* r2 = Stub(b1, "R2", TScript::REPEAT);
  TBlankScript* blank = Blank(b1);
  l2->Repeat = r2;
  l3->Repeat = r3;
  l5->Repeat = r2;
  std::vector<TScript*> labels;
  b1->GetRepeatLabels(labels, nullptr, nullptr);  // a new Repeat at the blank line
  EXPECT_EQ(labels, std::vector<TScript*>{l1});
  labels.clear();
  b1->GetRepeatLabels(labels, r3, l3);  // R3's own Label and the free ones in its section
  EXPECT_EQ(labels, (std::vector<TScript*>{l1, l3, l4}));

  TLineReport listing;
  b1->ListScripts(listing);
  EXPECT_EQ(listing.Lines,
            (std::vector<std::string>{"B1", "\tL1", "\tL2", "\tL3", "\tR3", "\tR2"}));

  l1->Text = "renamed";
  blank->AExpNode->SetText("blank");
  b1->RefreshTexts(true);
  EXPECT_EQ(l1->AExpNode->GetText(), "L1");
  b1->RefreshTexts(false);
  EXPECT_EQ(l1->AExpNode->GetText(), "renamed");
  EXPECT_EQ(blank->AExpNode->GetText(), "blank");

  b1->CheckAfterRead();
  EXPECT_EQ(l1->Checks + l2->Checks + l3->Checks + r3->Checks + r2->Checks, 5);
  EXPECT_EQ(l4->Checks, 0);  // the section's line passes it on itself

  TNodeStyle style;
  EXPECT_TRUE(b1->DrawNode(style));  // the current block
  EXPECT_EQ(style.ImageIndex, 1);
  EXPECT_EQ(style.Text, "B1");
  TBlock* b2 = NewBlock("B2");
  EXPECT_FALSE(b2->DrawNode(style));
}

TEST_F(BlockTest, DeletingABlockTakesItsBoxLinesCommandsAndVariables) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TBlock* b3 = NewBlock("B3");
  Line(b1, b2);
  Line(b2, b3);
  Stub(b2, "A");
  Blank(b2);
  TDataSingleList& singles = *Exp.GetDataSingleList();
  singles.Add(b1, eatINTEGER, 1, "kept");
  singles.Add(b2, eatINTEGER, 1, "gone");
  Exp.GetDataArrayList()->Add(b2, eatINTEGER, 3, "gone2");
  EXPECT_EQ(Parts.Count(), 5);

  delete b2;
  EXPECT_EQ(Parts.Count(), 2);  // the box and both its lines
  EXPECT_EQ(b1->GetNextBlock(), nullptr);
  EXPECT_EQ(singles.GetCount(), 1);
  EXPECT_EQ(Exp.GetDataArrayList()->GetCount(), 0);
  EXPECT_EQ(Exp.GetBlankScript(), nullptr);
  EXPECT_EQ(Exp.GetCurrentBlock(), nullptr);
  EXPECT_EQ(Tree.Count(), 2);

  // A box deleted from the diagram takes its block along.
  Parts.DeletePart(b3->GetDrawBlock());
  EXPECT_EQ(Tree.Count(), 1);
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(BlockTest, EditTakesTheDialogsAnswers) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  b1->SetAsStartBlock();
  TData* variable = Exp.GetDataSingleList()->Add(b2, eatINTEGER, 1, "x");
  TEditBlockRequest asked;
  int answer = 0;
  Ui.SetDialogHandler([&](TDialogRequest& request) {
    auto& edit = dynamic_cast<TEditBlockRequest&>(request);
    asked = edit;
    edit.Title = "Heater";
    edit.SetAsStart = true;
    return answer;
  });
  Ui.Clear();  // the experiment's creation
  EXPECT_EQ(b2->Edit(), 0);  // cancelled: nothing changes
  EXPECT_EQ(asked.Title, "B2");
  EXPECT_FALSE(asked.SetAsStart);
  EXPECT_EQ(b2->GetTitle(), "B2");
  EXPECT_TRUE(Ui.ExperimentChanges().empty());

  answer = 1;
  EXPECT_EQ(b2->Edit(), 1);
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_EQ(b2->GetTitle(), "Heater");
  EXPECT_EQ(b2->AExpNode->GetText(), "Heater");
  EXPECT_EQ(b2->GetDrawBlock()->GetCaption(), "Heater");
  EXPECT_TRUE(b2->IsStartBlock());
  EXPECT_FALSE(b1->IsStartBlock());
  EXPECT_EQ(variable->GetName(), "Heater: x");
}

TEST_F(BlockTest, TheBlankLine) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TBlankScript* blank = Blank(b1);
  EXPECT_EQ(blank->GetText(), "          ");
  EXPECT_EQ(blank->AExpNode->GetImageIndex(), 2);
  EXPECT_EQ(blank->AExpNode->GetSelectedIndex(), 2);
  EXPECT_FALSE(blank->CanCommentOut() || blank->CanMakeCopyScript());
  EXPECT_EQ(blank->Execute(), nullptr);
  EXPECT_TRUE(b1->HasBlankScript());
  EXPECT_TRUE(Written([&](TWriteFile& w) { blank->Save(w); }).empty());

  blank->AExpNode->MoveTo(b2->AExpNode, TNodeAttachMode::naAddChild);
  blank->SetBlock();
  EXPECT_FALSE(b1->HasBlankScript());
  EXPECT_EQ(b2->GetBlankScript(), blank);
  EXPECT_EQ(blank->Pblock, b2);

  blank->ClearExperiment();
  EXPECT_EQ(blank->GetExperiment(), nullptr);
  Exp.SetBlankScript(nullptr);
  Blank(b1);  // a second one, still known to the experiment
  delete blank;
  EXPECT_FALSE(b2->HasBlankScript());
  EXPECT_NE(Exp.GetBlankScript(), nullptr);
  delete Exp.GetBlankScript();
  EXPECT_EQ(Exp.GetBlankScript(), nullptr);
  EXPECT_FALSE(b1->HasBlankScript());
}

TEST(BlockDeathTest, ConsistencyChecks) {
  TExperiment exp;
  TBlock* block = exp.AddBlock("B");
  EXPECT_DEATH(OnConsole([&] { TBlock::CreateScriptByType(block, TScript::BLANK, nullptr); }),
               "Assertion failed: type!=TScript::BLANK");
  EXPECT_DEATH(OnConsole([&] { block->AddScript(TScript::DECISION); }),
               "Pblankscript!=0&&Pblankscript->ExperimentNode!=0");
  EXPECT_DEATH(OnConsole([&] { block->ClearDrawBlock(); }), "Assertion failed: Pdrawblock!=0");
  EXPECT_DEATH(OnConsole([&] { TBlock(nullptr, nullptr); }), "Assertion failed: Powner!=0");
}

}  // namespace
