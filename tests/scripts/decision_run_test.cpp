// The flow commands in runs on the worker thread: the Decision choosing the block that
// follows (and its trace), a loop through blocks closed by a Decision, If/Else and
// Repeat-Until sections, a Repeat-Until that never holds ended by Stop, and a condition
// failing in the middle of a block.
#include "scripts/flow/dec_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expressions/condition.h"
#include "model/errors.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "support/experiment_fixture.h"

namespace {

// Blocks as the user adds them, the first the start block; the run check as Start
// makes it.
using FlowRunTest = TExperimentFixture;

TEST_F(FlowRunTest, TheDecisionChoosesTheBlockThatFollows) {
  TBlock* start = AddBlock("Begin");  // the first block: "Start Block"
  TBlock* yes = AddBlock("Yes");
  TBlock* no = AddBlock("No");
  Line(start, yes);
  Line(start, no);  // the second line makes the Decision: true Yes, false No
  TDecScript* decision = start->GetDecScript();
  ASSERT_NE(decision, nullptr);
  TDataSingle* n = Single(start, "N", eatINTEGER, "0");
  decision->SetConstantCondition(n, "0", GT);
  Logged(start, "start");
  Logged(yes, "yes");
  Logged(no, "no");

  const struct {
    const char* n;
    TBlock* trueBlock;
    TTexts ran;
  } cases[] = {
      {"1", yes, {"start", "yes"}},
      {"0", yes, {"start", "no"}},
      {"-5", yes, {"start", "no"}},
      // "Go to block" No: the two places swap.
      {"1", no, {"start", "no"}},
      {"0", no, {"start", "yes"}},
  };
  for (const auto& c : cases) {
    decision->SetTrueBlock(c.trueBlock);
    TBlock* first = StartRun();
    ASSERT_EQ(first, start);
    // The choice of an earlier run is forgotten when the run is prepared.
    EXPECT_EQ(start->GetRunNextBlock(), start->GetNextBlock());
    n->GetValue().SetText(c.n);
    EXPECT_EQ(RunOnWorker(first), TTexts{"Experiment Complete"}) << c.n;
    EXPECT_EQ(Ran, c.ran) << c.n;
    // The choice is kept apart from the block's next block, which the diagram owns.
    EXPECT_EQ(start->GetNextBlock(), yes);
    EXPECT_EQ(start->GetRunNextBlock(), c.ran.back() == "yes" ? yes : no);
  }

  // The trace: the condition's values, then the block chosen.
  decision->SetTrueBlock(yes);
  StartRun();
  const struct {
    const char* n;
    TTexts trace;
  } traces[] = {{"3", {"3>0 evaluates to true.", "Next block is Yes"}},
                {"0", {"0>0 evaluates to false.", "Next block is No"}}};
  for (const auto& t : traces) {
    n->GetValue().SetText(t.n);
    TTexts trace;
    EXPECT_EQ(decision->ExecuteTrace(trace), decision->Pnextscript);
    EXPECT_EQ(trace, t.trace);
    EXPECT_EQ(decision->GetChosenBlock(), t.n == std::string("3") ? yes : no);
  }

  // A Decision that lost its condition after the check stops the run with the check's
  // advice instead of ending the program.
  decision->ClearCondition();
  for (const bool traced : {false, true}) {
    try {
      TTexts trace;
      traced ? decision->ExecuteTrace(trace) : decision->Execute();
      ADD_FAILURE() << "a Decision ran without condition";
    } catch (const EExperimentError& error) {
      EXPECT_EQ(error.GetMessage(), "You must define the Decision Scipt in Start Block.");
    }
  }
}

TEST_F(FlowRunTest, ALoopThroughBlocksEndsByTheDecision) {
  TBlock* start = AddBlock("Begin");
  TBlock* done = AddBlock("Done");
  TBlock* again = AddBlock("Again");
  Line(start, done);
  Line(start, again);
  Line(again, start);
  TDataSingle* n = Single(start, "N", eatINTEGER, "0");
  Cur = start;
  Increment(n);
  Logged(start, "start");
  Logged(again, "again");
  Logged(done, "done");
  start->GetDecScript()->SetConstantCondition(n, "3", GE);
  // N counts the passes through the start block: the third one goes on to Done.
  EXPECT_EQ(RunOnWorker(StartRun()), TTexts{"Experiment Complete"});
  EXPECT_EQ(Ran, (TTexts{"start", "again", "start", "again", "start", "done"}));
  EXPECT_EQ(n->GetValue().GetText(), "3");
}

TEST_F(FlowRunTest, SectionsAndLoopsRunOnTheWorker) {
  TBlock* start = AddBlock("Begin");
  TDataSingle* n = Single(start, "N", eatINTEGER, "0");
  // Loop [ Increment N; If N==2 [two] Else [other] End If ] Until N>=3; done
  Cur = start;
  TLabelScript* label = Label("Loop");
  Increment(n);
  TIfThenScript* ifthen = If(n, "2", EQ);
  Logged(start, "two");
  TElseScript* elsescript = Else();
  Logged(start, "other");
  EndIf(ifthen, elsescript);
  TRepeatUntilScript* until = Until(label, n, "3", GE);
  Logged(start, "done");
  EXPECT_EQ(RunOnWorker(StartRun()), TTexts{"Experiment Complete"});
  EXPECT_EQ(Ran, (TTexts{"other", "two", "other", "done"}));

  // A condition that never holds repeats until Stop.
  until->SetConstantCondition(n, "-1", EQ);
  static_cast<TLogStub*>(ScriptOfNode(ifthen->AExpNode->GetFirstChild()))->Action = [this] {
    Thread->Terminate();
  };
  ifthen->SetConstantCondition(n, "500", EQ);
  EXPECT_EQ(RunOnWorker(StartRun()), TTexts{"Aborted"});
  EXPECT_EQ(Ran.size(), 500u);  // "other" 499 times, then "two", which stops the run
  EXPECT_EQ(Ran.back(), "two");
}

TEST_F(FlowRunTest, AFailingConditionEndsTheRunWithItsText) {
  TBlock* start = AddBlock("Begin");
  TBlock* yes = AddBlock("Yes");
  TBlock* no = AddBlock("No");
  Line(start, yes);
  Line(start, no);
  TDataArray* x = Array(start, "X", eatINTEGER, 2);
  TDecScript* decision = start->GetDecScript();
  decision->SetConstantCondition(x, "1", EQ);
  static_cast<TVariableDataArray*>(decision->GetCondition()->GetVariable1())
      ->GetArrayIndex()
      .SetIndexConstant(5);  // outside the array
  std::string expected;
  try {
    decision->GetCondition()->Evaluate();
  } catch (const EExperimentError& error) {
    expected = error.GetMessage();
  }
  ASSERT_NE(expected, "");
  Logged(start, "before");
  Logged(yes, "yes");
  Logged(no, "no");
  EXPECT_EQ(RunOnWorker(StartRun()), TTexts{expected});  // only its text
  EXPECT_EQ(Ran, TTexts{"before"});
}

}  // namespace
