// What the tests of the main window's logic share: a fake window recording what run
// control and the session ask of it, a UI port passing message 2024 on to the session,
// and a session with its run control, whose blocks and stand-ins the tests build.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "model/block.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/blank_script.h"
#include "shell/document_session.h"
#include "shell/draw_block.h"
#include "shell/run_control.h"
#include "support/fake_ui_port.h"
#include "support/stub_script.h"
#include "support/temp_dir.h"

using TTexts = std::vector<std::string>;

// Whether the condition came true within 20 s.
inline bool WithinTwentySeconds(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return done();
}

class TFakeWindow : public TRunView, public TSessionView {
public:
  void SetRunControls(bool stopped) override {
    Note(stopped ? "controls stopped" : "controls running");
  }
  void StartFinishTimer() override {
    ++TimerStarts;
    TimerOn = true;
    Note("timer on");
  }
  void StopFinishTimer() override { TimerOn = false; }
  void BringOutputsToFront() override { Note("outputs to front"); }
  // The fake port runs hand-overs on the worker itself, so waiting is enough.
  void WaitServingHandOvers(const std::function<bool()>& finished) override {
    if (!WithinTwentySeconds(finished)) ADD_FAILURE() << "the run did not end";
  }

  void ExperimentClosing(TExperiment& experiment) override {
    EXPECT_EQ(&experiment, Bound);
    Bound = nullptr;
    Note("experiment closing");
  }
  void ExperimentReplaced(TExperiment& experiment) override {
    Bound = &experiment;
    Note("experiment replaced");
  }
  void DevicesChanged() override { ++DeviceChanges; }
  void UpdateRunButtons(bool canRun, bool hasNodes) override {
    CanRun = canRun;
    HasNodes = hasNodes;
  }
  void ReopenListChanged(const TReopenList& list) override { Menu = list.GetCaptions(); }
  void OpenOutputFile(const std::string& path) override { Outputs.push_back(path); }

  TTexts Calls() const {
    std::lock_guard guard(Lock);
    return Log;
  }
  void ClearCalls() {
    std::lock_guard guard(Lock);
    Log.clear();
  }

  std::atomic<int> TimerStarts{0};
  std::atomic<bool> TimerOn{false};
  TExperiment* Bound = nullptr;  // the experiment the views show
  int DeviceChanges = 0;
  bool CanRun = false;
  bool HasNodes = false;
  TTexts Menu;  // the Reopen menu's recent-file items
  TTexts Outputs;

private:
  void Note(const std::string& call) {
    std::lock_guard guard(Lock);
    Log.push_back(call);
  }
  mutable std::mutex Lock;
  TTexts Log;
};

// The fake port with message 2024 reaching the session, and a look at the state of
// things whenever a question is asked.
class TSessionUi : public TFakeUiPort {
public:
  void ExperimentChanged(int modified, int refresh) override {
    TFakeUiPort::ExperimentChanged(modified, refresh);
    if (Session) Session->ExperimentChanged(modified, refresh);
  }
  TMessageButton Ask(const std::string& text, const std::string& caption, TMessageKind kind,
                     TMessageButtons buttons, TMessageButton defaultButton = mbNone) override {
    if (OnQuestion) OnQuestion(text);
    return TFakeUiPort::Ask(text, caption, kind, buttons, defaultButton);
  }

  TDocumentSession* Session = nullptr;
  std::function<void(const std::string&)> OnQuestion;
};

class TSessionFixture : public ::testing::Test {
protected:
  TSessionFixture() {
    StopWaits = 0;
    Ui.Session = &Session;
    Window.Bound = &Session.GetExperiment();
  }
  ~TSessionFixture() override {
    Ui.Session = nullptr;
    ExperimentRunning = false;
  }

  TExperiment& Exp() { return Session.GetExperiment(); }
  // The first block of the experiment: in a new one, its start block.
  TBlock* StartBlock() { return BlockOfNode(Exp().GetExperimentTree().GetFirstNode()); }
  // A block on a new box at the point, as the user adds one; into an experiment without
  // blocks it becomes the start block and takes the blank line.
  TBlock* AddBlock(const std::string& caption, TPoint at = {}) {
    return Exp().AddBlock(Session.GetDrawParts().AddBlock(caption, at));
  }
  // Deletes the block's box, which takes the block, as the diagram's Delete does.
  void DeleteBlock(TBlock* block) {
    ASSERT_NE(block, nullptr);
    Session.GetDrawParts().DeletePart(block->GetDrawBlock());
    Ui.ExperimentChanged(1, 0);
  }
  void Line(TBlock* from, TBlock* to) {
    Session.GetDrawParts().Connect(from->GetDrawBlock(), to->GetDrawBlock());
  }
  // A stand-in at the end of the block's lines (before the blank line) that logs its
  // text to Ran when it runs, then does its action.
  TLogStub* Logged(TBlock* block, const std::string& text) {
    TTree& tree = Exp().GetExperimentTree();
    TBlankScript* blank = Exp().GetBlankScript();
    TTreeNode* node = blank && blank->AExpNode->GetParent() == block->AExpNode
                          ? tree.Insert(blank->AExpNode, text)
                          : tree.AddChild(block->AExpNode, text);
    return new TLogStub(block, node, text, Ran);
  }
  void WaitForRunEnd() {  // until the worker has made its last hand-over
    const auto ended = [] { return ExperimentThread && ExperimentThread->Finished(); };
    ASSERT_TRUE(WithinTwentySeconds(ended)) << "the run did not end";
  }
  void WaitForRunning() {  // until the worker has set the running flag
    ASSERT_TRUE(WithinTwentySeconds([] { return ExperimentRunning.load(); }))
        << "the run did not start";
  }
  // Until the run has begun a command that waits for Stop (UntilStopped), once for each
  // such command: a Stop that comes before the run's first command ends the run without
  // running it, which a slow machine (a sanitizer build) lets happen after the running
  // flag alone.
  void WaitForStopWait() {
    ASSERT_TRUE(WithinTwentySeconds([] { return StopWaits.load() > 0; }))
        << "no command began waiting for Stop";
    --StopWaits;
  }
  // Runs until a Stop: the stand-in's action for a command that waits on an instrument.
  static void UntilStopped() {
    ++StopWaits;
    while (!TExperimentThread::StopRequested())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // The UntilStopped commands begun and not yet waited for with WaitForStopWait.
  static inline std::atomic<int> StopWaits{0};

  TSessionUi Ui;  // installed first, so that the session's experiment talks to it
  TTempDir Temp;
  TTexts Ran;  // what the logging stand-ins ran, read after their runs
  TFakeWindow Window;
  TDocumentSession Session{Window};
  TRunControl Run{Window, [this] { return &Session.GetExperiment(); }};
};
