// What the tests of blocks, commands and runs share: the fake UI port, a temporary
// directory and an experiment with its block diagram; blocks, boxes and lines; stand-ins
// and commands on new nodes, linked as their dialogs link them; a block run through
// Execute and ExecuteTrace after PrepareForRun, or on the worker thread; records written
// and read.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "expressions/comparison.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/experiment.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/write_file.h"
#include "scripts/experiment_thread.h"
#include "shell/draw_parts.h"
#include "support/fake_ui_port.h"
#include "support/stub_script.h"
#include "support/temp_dir.h"

class TCommentScript;
class TElseScript;
class TEndIfScript;
class TIfThenScript;
class TIncrementScript;
class TLabelScript;
class TRepeatScript;
class TRepeatUntilScript;
class TVariable;

using TTexts = std::vector<std::string>;

// Document bytes besides those of temp_dir.h: a bool, a signed int32 little-endian.
TBytes B(bool value);
TBytes I32(std::int32_t value);

// The comparisons of conditions.
enum : int {
  EQ = TComparison::EQUAL,
  GT = TComparison::GREATERTHAN,
  GE = TComparison::GREATEREQUAL,
  LT = TComparison::LESSTHAN,
  LE = TComparison::LESSEQUAL,
};

class TExperimentFixture : public ::testing::Test {
protected:
  // The run flag is left clear for the next test.
  void TearDown() override;

  // A block on a new box as a file's reading makes it: titled, neither the start block
  // nor the current one, without the blank line.
  TBlock* NewBlock(const std::string& title);
  // A block on a new box as the user adds one: the first is "Start Block", the start
  // block and the current one, holding the blank line.
  TBlock* AddBlock(const std::string& caption);
  TDrawLine* Line(TBlock* from, TBlock* to);
  // A new node at the end of the parent command's lines or, without one, of the block's;
  // in front of the blank line when it stands there.
  TTreeNode* NewNode(TBlock* block, TScript* parent = nullptr, const std::string& text = "none");
  // A stand-in of the type whose node shows its text.
  template <class T = TStub>
  T* Stub(TBlock* block, const std::string& text, int type = TScript::CALCULATE,
          TScript* parent = nullptr) {
    return new T(block, NewNode(block, parent, text), type, text);
  }
  // A stand-in that logs its text to Ran when it runs.
  TLogStub* Logged(TBlock* block, const std::string& text, TScript* parent = nullptr);
  // Variables of the block; a single one takes the initial value unless it is empty.
  TDataSingle* Single(TBlock* block, const std::string& name, int type = eatINTEGER,
                      const std::string& initial = "");
  TDataArray* Array(TBlock* block, const std::string& name, int type, std::int32_t size);

  // The node texts below a node, sections in brackets: "L[Comment: a] | R".
  static std::string Outline(const TTreeNode* node, const std::string& separator = " | ");
  // The texts of the node's children.
  static TTexts Children(const TTreeNode* node);
  static int Times(const TTexts& texts, const std::string& text);
  // The trace lines of one ExecuteTrace of the command.
  static TTexts TraceOf(TScript* command);

  // The run check as the main window's Start makes it, the insertion point brought back
  // first: the start block (the check must pass).
  TBlock* StartRun();
  // Prepares the block as the start block (it must accept).
  void Prepare(TBlock* block);
  // Prepares the block and walks Execute from its first command: the texts of the
  // commands run, in order.
  TTexts Run(TBlock* block);
  // The same through ExecuteTrace: the trace lines, less those of the commands of the
  // type skipped.
  TTexts Trace(TBlock* block, int skipped = -1);
  // Runs from the block to the end on a new worker (Thread) whose end-of-run step is
  // finished, Ran cleared first; answers the texts shown. The run is stopped and the
  // test fails when the run does not end within 20 s.
  TTexts RunOnWorker(TBlock* first, std::function<void()> finished = {});
  // Joins Thread, failing the test (and stopping the run) when the run does not end
  // within the time, which only a run that cannot end exceeds.
  void JoinWithin(std::chrono::seconds limit);

  // The bytes write leaves in a new file of the name; a block export when exported is
  // given, which then receives the references the export takes along.
  TBytes Written(const std::function<void(TWriteFile&)>& write, const std::string& name = "w.qrv",
                 std::vector<TVariable*>* exported = nullptr);
  TBytes Written(const std::vector<TScript*>& scripts, std::vector<TVariable*>* exported = nullptr);
  // The read error that reading the records into a new block (as ReadInto), then
  // checking the block, ends with; "" when none. The block goes afterwards.
  std::string ReadingError(const TBytes& bytes, const std::vector<int>& types, TData* variable,
                           std::int32_t id);
  // The read error of the command's check after reading; "" when it passes.
  static std::string CheckError(TScript* script);
  // A reader of the bytes, a file of the version.
  std::unique_ptr<TReadFile> Reader(const TBytes& bytes, const std::string& version = "Qorv 1.5");
  // Reads the records into the block as its reading does: for each type the block's
  // factory makes a command on a new node at the end of the block, which reads its
  // record; the bytes must end there. The references left waiting are bound to the
  // variable under the identifier when one is given. Answers the commands read.
  std::vector<TScript*> ReadInto(TBlock* block, const TBytes& bytes, const std::vector<int>& types,
                                 TData* variable = nullptr, std::int32_t id = 0);

  // Flow commands in the current block Cur, on new nodes at the end of the block's lines
  // or of the parent command's.
  TCommentScript* Comment(const std::string& text, TScript* parent = nullptr);
  TLabelScript* Label(const std::string& title, TScript* parent = nullptr);
  // A Repeat after the commands added so far, linked to its Label.
  TRepeatScript* Repeat(TLabelScript* label, std::int32_t count, TScript* parent = nullptr);
  TIncrementScript* Increment(TDataSingle* variable, const std::string& step = "1",
                              TScript* parent = nullptr);
  // An If-Then comparing the variable with the constant.
  TIfThenScript* If(TData* variable, const std::string& constant, int comparison = EQ,
                    TScript* parent = nullptr);
  TElseScript* Else(TScript* parent = nullptr);
  // The End If after the lines added so far, linking the section as reading does.
  TEndIfScript* EndIf(TIfThenScript* ifthen, TElseScript* elsescript = nullptr,
                      TScript* parent = nullptr);
  // A Repeat-Until after the commands added so far, linked to its Label, repeating until
  // the variable compares so with the constant.
  TRepeatUntilScript* Until(TLabelScript* label, TData* variable, const std::string& constant,
                            int comparison, TScript* parent = nullptr);
  // Reads one record into a command of the class on a new node at the end of Cur; the
  // references left waiting in the reader go to waiting, also when the record is
  // refused (EReadError).
  template <class T>
  T* ReadOne(const TBytes& bytes, std::vector<TVariable*>* waiting = nullptr,
             const std::string& version = "Qorv 1.5") {
    std::unique_ptr<TReadFile> reader = Reader(bytes, version);
    auto* command = new T(Cur, NewNode(Cur));
    try {
      command->Load(*reader);
    } catch (...) {
      if (waiting) *waiting = reader->GetVariableList().Waiting();
      throw;
    }
    if (waiting) *waiting = reader->GetVariableList().Waiting();
    return command;
  }

  TFakeUiPort Ui;
  TTempDir Temp;
  TDrawParts Parts;
  TExperiment Exp;  // destroyed before the boxes: its blocks take theirs along
  TTree& Tree = Exp.GetExperimentTree();
  TBlock* Cur = nullptr;                      // where the flow commands go
  TTexts Ran;                                 // what the logging stand-ins ran
  std::unique_ptr<TExperimentThread> Thread;  // the worker of RunOnWorker
};

// Two blocks on boxes, B1 and B2; the commands go to B1 unless the test changes Cur.
class TCommandFixture : public TExperimentFixture {
protected:
  TCommandFixture() { Cur = B1; }
  // Prepares B1 as the start block and runs it on the worker: the texts shown.
  TTexts RunB1() {
    Prepare(B1);
    return RunOnWorker(B1);
  }

  TBlock* B1 = NewBlock("B1");
  TBlock* B2 = NewBlock("B2");
};
