// The Decision in runs on the worker thread: choosing the block that follows (and its
// trace), a loop through blocks closed by a Decision, and a condition failing in the
// middle of a run.
#include "scripts/flow/dec_script.h"

#include "expressions/condition.h"
#include "model/errors.h"
#include "model/value.h"
#include "model/variable_data.h"
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

  const struct { const char* n; TBlock* trueBlock; TTexts ran; } cases[] = {
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
  const struct { const char* n; TTexts trace; TBlock* chosen; } traces[] = {
      {"3", {"3>0 evaluates to true.", "Next block is Yes"}, yes},
      {"0", {"0>0 evaluates to false.", "Next block is No"}, no}};
  for (const auto& t : traces) {
    n->GetValue().SetText(t.n);
    TTexts trace;
    EXPECT_EQ(decision->ExecuteTrace(trace), decision->Pnextscript);
    EXPECT_EQ(trace, t.trace);
    EXPECT_EQ(decision->GetChosenBlock(), t.chosen);
  }

  // A condition failing in the run ends it with only its text.
  TDataArray* x = Array(start, "X", eatINTEGER, 2);
  decision->SetConstantCondition(x, "1", EQ);
  static_cast<TVariableDataArray*>(decision->GetCondition()->GetVariable1())
      ->GetArrayIndex().SetIndexConstant(5);  // outside the array
  std::string expected;
  try {
    decision->GetCondition()->Evaluate();
  } catch (const EExperimentError& error) {
    expected = error.GetMessage();
  }
  ASSERT_NE(expected, "");
  EXPECT_EQ(RunOnWorker(StartRun()), TTexts{expected});
  EXPECT_EQ(Ran, TTexts{"start"});

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

}  // namespace
