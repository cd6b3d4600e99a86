#include "shell/document_session.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "communication/device.h"
#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/text.h"
#include "model/ui_port.h"
#include "scripts/command_devices.h"
#include "shell/experiment_file.h"
#include "shell/run_control.h"

namespace {

const char* const SaveQuestion = "The experiment has been changed, do you wish to save it?";
const char* const ClearDevicesQuestion = "Do you wish to clear the devices as well?";
const char* const CannotOpen = "Experiment Running, cannot open a new experiment.";
const char* const CannotSave = "Experiment Running, cannot save the experiment.";
const char* const ExperimentFilter = "Experiment (*.qve) | *.qve";
const char* const BlockFilter = "Block (*.blk) | *.blk";
const char* const OutputFilter = "Output (*.opt) | *.opt";


bool AskYes(const std::string& text, const std::string& caption, TMessageKind kind) {
  return UiPort().Ask(text, caption, kind, mbYes | mbNo) == mbYes;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

// The last four characters of the name, upper-cased: the ending that decides what a
// dropped file is.
std::string EndingOf(const std::string& path) {
  return UpperText(path.size() < 4 ? path : path.substr(path.size() - 4));
}

}  // namespace

TDocumentSession::TDocumentSession(TSessionView& view) : View(view), Experiment(NewExperiment()) {
  Devices.SetExperiment(Experiment.get());
  SetCommandDevices(&Devices);
}

TDocumentSession::~TDocumentSession() {
  SetCommandDevices(nullptr);
  Experiment.reset();  // before the devices, so that no command is left to them
}

void TDocumentSession::LoadReopenList(const std::vector<std::string>& captions) {
  Reopen.Load(captions);
  View.ReopenListChanged(Reopen);
}

void TDocumentSession::SetModified(bool modified) {
  Modified = modified;
  UiPort().SetStatusText(2, modified ? "Modified" : "");
}

void TDocumentSession::ExperimentChanged(int modified, int refresh) {
  if (modified != 0) {
    SetModified(true);
    // Something was added while no block was current: the first block takes the
    // insertion point, so that commands can go somewhere.
    if (Experiment && !Experiment->GetCurrentBlock()) {
      if (TTreeNode* first = Experiment->GetExperimentTree().GetFirstNode())
        Experiment->SelectBlock(first);
    }
  } else {
    SetModified(false);
  }
  if (refresh == 0) {
    if (!Experiment || Experiment->GetExperimentTree().Count() == 0) SetModified(false);
    UpdateRunButtons();
  }
}

void TDocumentSession::UpdateRunButtons() {
  const bool hasNodes = Experiment && Experiment->GetExperimentTree().Count() > 0;
  View.UpdateRunButtons(hasNodes && !IsRunActive(), hasNodes);
}

TFileMenuState TDocumentSession::FileMenuState() const {
  TFileMenuState state;
  state.Idle = !IsRunActive();
  state.Reopen = !Reopen.IsEmpty();
  state.Save = Experiment && Experiment->GetExperimentTree().Count() > 0;
  return state;
}

bool TDocumentSession::AskSaveIfModified() {
  if (!Modified) return true;
  if (!AskYes(SaveQuestion, "Qorv Warning", TMessageKind::Warning)) return true;
  // Yes: whatever asked goes on only once the experiment is safe in its file.
  return SaveClick();
}

void TDocumentSession::DeleteExperiment() {
  if (!Experiment) return;
  View.ExperimentClosing(*Experiment);
  Experiment.reset();  // its blocks take their boxes, its commands leave their devices
  Devices.SetExperiment(nullptr);
  while (Parts.Count() > 0) Parts.DeletePart(Parts.GetPart(Parts.Count() - 1));
}

std::unique_ptr<TExperiment> TDocumentSession::NewExperiment() {
  // A new experiment starts with a block to put commands in: the diagram's first box,
  // which the experiment makes its start block.
  auto experiment = std::make_unique<TExperiment>();
  experiment->AddBlock(Parts.AddBlock("Block " + std::to_string(Parts.Count()), {0, 0}));
  return experiment;
}

void TDocumentSession::InstallExperiment(std::unique_ptr<TExperiment> experiment) {
  QORV_ASSERT(experiment!=0);
  Experiment = std::move(experiment);
  Devices.SetExperiment(Experiment.get());
  SetModified(false);
  View.ExperimentReplaced(*Experiment);
  View.DevicesChanged();
  UpdateRunButtons();
}

bool TDocumentSession::NewExperimentClick(bool fromMenu) {
  if (IsRunActive()) {
    Inform(CannotOpen);
    return false;
  }
  if (!AskSaveIfModified()) return false;
  DeleteExperiment();
  if (!Devices.IsEmpty() &&
      (!fromMenu || AskYes(ClearDevicesQuestion, "Qorv message", TMessageKind::Confirmation)))
    Devices.ClearDevices(false);
  InstallExperiment(NewExperiment());
  return true;
}

void TDocumentSession::OpenClick() {
  if (IsRunActive()) {
    Inform(CannotOpen);
    return;
  }
  if (!AskSaveIfModified()) return;
  const std::string path = ChooseFile(false, ExperimentFilter, "qve", "", Directories.Experiment);
  if (path.empty()) return;
  if (OpenExperimentFile(path)) AddToReopenList(path);
}

bool TDocumentSession::SaveClick() {
  if (IsRunActive()) {
    Inform(CannotSave);
    return false;
  }
  const std::string fileName = Experiment->GetFileName();
  return fileName.empty() ? SaveAsClick() : SaveExperimentFile(fileName);
}

bool TDocumentSession::SaveAsClick() {
  if (IsRunActive()) {
    Inform(CannotSave);
    return false;
  }
  const std::string path =
      ChooseFile(true, ExperimentFilter, "qve", Experiment->GetTitle(), Directories.Experiment);
  return !path.empty() && SaveExperimentFile(path);
}

bool TDocumentSession::SaveExperimentFile(const std::string& path) {
  if (path.empty()) return false;
  const bool wasModified = Modified;
  std::string error;
  if (!::SaveExperimentFile(path, *Experiment, Parts, &Devices, error)) {
    // The file on disk is still the old one: so is the experiment's account of it.
    SetModified(wasModified);
    Inform("Error writing to file:" + error);
    return false;
  }
  SetModified(false);
  AddToReopenList(path);
  return true;
}

bool TDocumentSession::OpenExperimentFile(const std::string& path) {
  DeleteExperiment();
  Devices.ClearDevices(false);
  std::string error;
  std::unique_ptr<TExperiment> read = ::OpenExperimentFile(path, Parts, &Devices, error);
  if (!read) {
    Inform(error);
    // As New does after a failed open: nothing asked, no devices (the read took back
    // those it had added).
    InstallExperiment(NewExperiment());
    return false;
  }
  InstallExperiment(std::move(read));
  return true;
}

void TDocumentSession::AddToReopenList(const std::string& path) {
  if (Reopen.Add(path)) View.ReopenListChanged(Reopen);
}

void TDocumentSession::ReopenItemClick(std::size_t index) {
  if (index >= Reopen.Count()) return;
  if (IsRunActive()) {
    Inform(CannotOpen);
    return;
  }
  const std::string path = Reopen.Path(index);
  if (FileExists(path)) {
    if (!AskSaveIfModified()) return;
    if (OpenExperimentFile(path)) return;  // the list keeps its order
  } else {
    Inform("File " + path + " no longer exists");
  }
  // The save question may have added a file at the top: find the item again.
  Reopen.Remove(Reopen.Find(path));
  View.ReopenListChanged(Reopen);
}

void TDocumentSession::ClearClick() {
  Reopen.Clear();
  View.ReopenListChanged(Reopen);
}

TBlock* TDocumentSession::BlockToSave() const {
  if (IsRunActive()) {
    Inform(CannotSave);
    return nullptr;
  }
  TBlock* block = Experiment->GetCurrentBlock();
  if (!block) Inform("No Block selected");
  return block;
}

bool TDocumentSession::SaveBlockClick() {
  TBlock* block = BlockToSave();
  if (!block) return false;
  const std::string& fileName = block->GetBlockFileName();
  return SaveBlockFile(block, FileExists(fileName) ? fileName : std::string());
}

bool TDocumentSession::SaveAsBlockClick() {
  TBlock* block = BlockToSave();
  return block && SaveBlockFile(block, "");
}

bool TDocumentSession::SaveBlockFile(TBlock* block, const std::string& path) {
  QORV_ASSERT(block!=0);
  if (!AskYes("Save Block " + block->GetTitle() + "?", "Qorv Message", TMessageKind::Confirmation))
    return false;
  const std::string target =
      path.empty() ? ChooseFile(true, BlockFilter, "blk", block->GetTitle(), Directories.Block)
                   : path;
  if (target.empty()) return false;
  std::string error;
  if (!::SaveBlockFile(target, *Experiment, block, &Devices, error)) {
    Inform("Error writing to file:" + error);
    return false;
  }
  return true;
}

void TDocumentSession::OpenBlockDialog(int x, int y) {
  QORV_ASSERT(Experiment!=0);
  if (IsRunActive()) {
    Inform(CannotOpen);
    return;
  }
  const std::string path = ChooseFile(false, BlockFilter, "blk", "", Directories.Block);
  if (!path.empty()) OpenBlockFile(path, x, y);
}

TBlock* TDocumentSession::OpenBlockFile(const std::string& path, int x, int y) {
  std::string error;
  TBlock* block = ::OpenBlockFile(path, *Experiment, Parts, {x, y}, &Devices, error);
  if (!block) {
    Inform("Error reading " + path + ": " + error);
    return nullptr;
  }
  ExperimentChanged(1, 0);  // modified; the run buttons see the new block
  View.DevicesChanged();
  return block;
}

void TDocumentSession::OpenOutputClick() {
  const std::string path = ChooseFile(false, OutputFilter, "opt", "", Directories.Output);
  if (!path.empty()) View.OpenOutputFile(path);
}

void TDocumentSession::WMDropFiles(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  if (IsRunActive()) {
    Inform(CannotOpen);
    return;
  }
  for (const std::string& path : paths) {
    const std::string ending = EndingOf(path);
    if (ending == ".QVE") {
      // The files dropped with it are not opened into the new experiment.
      if (AskSaveIfModified()) OpenExperimentFile(path);
      return;
    }
    if (ending == ".BLK") {
      OpenBlockFile(path, 0, 0);
    } else if (ending == ".OPT") {
      View.OpenOutputFile(path);
    } else if (ending == ".DEV") {
      OpenDeviceFile(path);
    } else if (ending == ".DCG") {
      Devices.LoadDeviceConfiguration(path);
      View.DevicesChanged();
    }
  }
}

bool TDocumentSession::FormClose(TRunControl& run) {
  run.CloseDuringRun();
  return AskSaveIfModified();
}

