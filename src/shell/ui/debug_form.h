// "Debug Experiment": runs the current experiment step by step on the main thread. The
// window renders the core's step engine (TDebugRun): the command tree with the next
// command, stops and the abort mark, the attributes with traced variables in italics,
// the devices, the coloured log and the trace lines; it owns the run timer and wires
// buttons, menus, pop-ups and keys to the engine.
#pragma once

#include <QDialog>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "shell/debug_log.h"
#include "shell/debug_run.h"

class QAction;
class QMenu;
class QMenuBar;
class QTreeWidgetItem;
class TDebugOutputActions;
class TDevice;
class TDeviceList;
class TExperiment;
class TTreeModel;

namespace Ui {
class TDebugForm;
}

class TDebugForm : public QDialog, private TDebugRunView {
  Q_OBJECT

public:
  explicit TDebugForm(QWidget* parent = nullptr);
  ~TDebugForm() override;

  // The main window's entry: when the experiment's pre-run check accepts, the window
  // binds to the experiment and its devices and shows modally until closed; false
  // (nothing shown) when the check refuses.
  bool Execute(TExperiment& experiment, TDeviceList& devices);
  // Execute's binding without the modal loop: the caller shows the window itself.
  bool Prepare(TExperiment& experiment, TDeviceList& devices);

  TDebugRun& Engine() { return Run; }
  TDebugLog& Log() { return OutputLog; }
  QTimer& RunTimer() { return Timer; }
  // The block of the command tree's selected node (none without a selection).
  TBlock* GetSelectedBlock() const { return Run.GetSelectedBlock(); }
  // One line of the output log.
  void AddOutput(const std::string& text, std::uint32_t colour, std::int8_t style);
  // The run timer fired: the engine runs one command.
  void RunTimerTimer() { Run.Tick(); }

  // The buttons, also behind the "Debug" menu's items.
  void StartButtonClick();
  void StopButtonClick();
  void PauseButtonClick();
  void StepButtonClick();
  // "Close": Stop first, then the window hides; Escape and the close box do the same.
  void CloseClick();

  // The pop-up menus, made up for the node or item they would open on.
  QMenu* DebugPopupMenu() const { return DebugPopup; }
  QMenu* ExpAttPopup() const { return AttPopup; }
  QMenu* DeviceDebugPopup() const { return DevicePopup; }
  QMenu* TraceViewPopup() const { return TracePopup; }
  void UpdateDebugPopup();
  void UpdateAttributePopup();
  void UpdateDevicePopup();
  void UpdateTracePopup();

protected:
  // Close, Escape and the close box come here.
  void done(int result) override;
  void hideEvent(QHideEvent* event) override;

private:
  class TCommandTreeHandler;
  class TAttributeTreeHandler;

  // TDebugRunView
  void SetRunTimer(bool on, int interval) override;
  void StateChanged() override;
  void TreeStale() override;
  void BindTrees(TTree* commands, TTree* attributes) override;
  void ProcessEvents() override;
  void TracesChanged() override;

  void SetUpMenus();
  void SetUpPopups();
  void ShowButtons();
  void ShowTraces();
  void ShowDevices();
  TDevice* SelectedDevice() const;
  TTreeNode* SelectedCommandNode() const;
  TTreeNode* SelectedAttributeNode() const;
  void EditDevice();
  void AttributeDoubleClicked(TTreeNode* node);
  void ToggleOutputWindow(TTreeNode* node);
  // Ends the window's showing in the engine once (Close, Escape, the close box).
  void Unbind();

  std::unique_ptr<Ui::TDebugForm> ui;
  TDebugLog OutputLog;
  TDebugRun Run{*this, OutputLog};
  QTimer Timer;
  std::unique_ptr<TTreeModel> CommandModel;
  std::unique_ptr<TTreeModel> AttributeModel;
  std::unique_ptr<TCommandTreeHandler> CommandHandler;
  std::unique_ptr<TAttributeTreeHandler> AttributeHandler;
  TDeviceList* Devices = nullptr;
  std::size_t TracesShown = 0;  // the trace lines the list shows
  bool SyncPosted = false;

  QMenuBar* MenuBar = nullptr;
  QAction* StartItem = nullptr;
  QAction* StopItem = nullptr;
  QAction* PauseItem = nullptr;
  QAction* StepItem = nullptr;
  QAction* ScrollOutputItem = nullptr;
  QAction* CloseItem = nullptr;
  TDebugOutputActions* OutputActions = nullptr;  // owned by the window

  QMenu* DebugPopup = nullptr;
  QAction* EditItem = nullptr;
  QAction* DeleteItem = nullptr;
  QAction* CommentOutItem = nullptr;
  QAction* AddStopItem = nullptr;
  QMenu* AttPopup = nullptr;
  QAction* AttEditItem = nullptr;
  QAction* ShowItem = nullptr;
  QAction* TraceItem = nullptr;
  QMenu* DevicePopup = nullptr;
  QAction* DeviceEditItem = nullptr;
  QAction* InteractItem = nullptr;
  QAction* ResetItem = nullptr;
  QMenu* TracePopup = nullptr;
  QAction* ClearViewItem = nullptr;
  QAction* ClearAllTracesItem = nullptr;
};
