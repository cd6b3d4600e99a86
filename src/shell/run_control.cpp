#include "shell/run_control.h"

#include <exception>
#include <string>
#include <utility>

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"

TRunControl::TRunControl(TRunView& view, std::function<TExperiment*()> experiment)
    : View(view), Experiment(std::move(experiment)) {}

TRunControl::~TRunControl() {
  if (!Worker) return;
  Worker->Terminate();
  Worker.reset();  // joins
  ExperimentThread = nullptr;
}

void TRunControl::SetRunControls(bool stopped) {
  View.SetRunControls(stopped);
  UiPort().SetStatusText(0, stopped ? "Stopped" : "Running");
  if (!stopped) UiPort().SetStatusText(1, "");
}

void TRunControl::StartButtonClick() {
  if (IsRunActive()) {
    SetRunControls(false);
    return;
  }
  TExperiment* experiment = Experiment();
  QORV_ASSERT(experiment!=0);
  View.BringOutputsToFront();
  SetRunControls(false);
  QORV_ASSERT(ExperimentThread==0);
  Worker = std::make_unique<TExperimentThread>([this] { ExperimentFinished(); });
  ExperimentThread = Worker.get();
  TBlock* start = nullptr;
  std::string failure;
  try {
    start = experiment->Run();
    if (start) {
      Worker->SetFirstBlock(start);
      Worker->Start();
      return;
    }
  } catch (const std::exception& error) {
    failure = error.what();
    if (start) experiment->SelectFirstBlock();  // the run never began: its mark goes
  }
  // Refused (the check has said why) or failed to start: everything as before.
  Worker.reset();
  ExperimentThread = nullptr;
  SetRunControls(true);
  if (TBlock* current = experiment->GetCurrentBlock())
    UiPort().SetStatusText(1, current->GetTitle());
  if (!failure.empty()) Inform(failure);
}

void TRunControl::StopButtonClick() {
  // A late click after the run has gone finds nothing to stop.
  if (Worker) Worker->Terminate();
}

void TRunControl::ExperimentFinished() {
  // The join must come whatever fails here, or the controls would stay on running.
  struct TStartTimer {
    TRunControl& Run;
    ~TStartTimer() {
      if (!Run.Closing) Run.View.StartFinishTimer();
    }
  } startTimer{*this};
  TExperiment* experiment = Experiment();
  QORV_ASSERT(experiment!=0);
  if (experiment->HasBlocks()) experiment->SelectFirstBlock();
  View.BringOutputsToFront();
}

void TRunControl::TimerTimer() {
  View.StopFinishTimer();
  if (!Worker) return;
  DeleteWorker();
  EndRun();
}

bool TRunControl::CloseDuringRun() {
  View.StopFinishTimer();
  if (!Worker) return false;
  Closing = true;
  Worker->Terminate();
  DeleteWorker();
  EndRun();
  Closing = false;
  return true;
}

bool TRunControl::DebugButtonClick() {
  if (!IsRunActive()) return true;
  SetRunControls(false);
  return false;
}

void TRunControl::DebuggerClosed() {
  TExperiment* experiment = Experiment();
  QORV_ASSERT(experiment!=0);
  experiment->SelectBlock(nullptr);
}

void TRunControl::DeleteWorker() {
  TExperimentThread* worker = Worker.get();
  // The worker may still wait for a hand-over ("Aborted", its last one): serve them.
  View.WaitServingHandOvers([worker] { return worker->Finished(); });
  Worker->Join();
  Worker.reset();
  ExperimentThread = nullptr;
}

void TRunControl::EndRun() {
  TExperiment* experiment = Experiment();
  QORV_ASSERT(experiment!=0);
  std::string failure;
  try {
    experiment->ResetOutputsAndFiles();  // the data files close even when an output fails
  } catch (const std::exception& error) {
    failure = error.what();
  }
  SetRunControls(true);
  ExperimentRunning = false;
  // Only now can the blank line come back: while the flag was set the selection at the
  // run's end could only empty the block's panel.
  if (experiment->HasBlocks()) experiment->SelectFirstBlock();
  if (!failure.empty()) Inform(failure);
}
