// The main window: menus, tool bars, the experiment tree, the block-diagram area, the
// attribute tree with the current-value box, the device list and the status bar. Its
// logic is the core's (the document session, run control, tree editing); the window
// wires its controls to them and shows what they report.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "shell/document_session.h"
#include "shell/run_control.h"

class QAction;
class QLabel;
class QMenu;
class TAttributeTreeController;
class TDeadOutputList;
class TDebugForm;
class TDeviceListController;
class TDrawBlockEditor;
class TExperimentTreeController;
class TOpenedOutputsMenu;
class TToolForm;
class TTreeModel;

namespace Ui {
class TQorvForm;
}

class TQorvForm : public QMainWindow, public TRunView, public TSessionView {
  Q_OBJECT

public:
  // The panels of the status bar, left to right.
  enum TStatusPanel {
    spRunState = 0,  // "Stopped" or "Running"
    spBlock = 1,     // the title of the current block
    spModified = 2,  // the modified mark
    spHint = 3,      // the hint of the control under the mouse
    spCount = 4,
  };

  // Makes the window with a new experiment; FormShow reads the settings and opens the
  // experiment named on the command line.
  explicit TQorvForm(QWidget* parent = nullptr);
  ~TQorvForm() override;

  // The first showing: the settings are read, the file (when it names an existing file)
  // is opened, else a new experiment stays; the ".qve" association is registered.
  void FormShow(const QString& commandLineFile = {});

  // The window title ("Qorv Current Experiment: " + the experiment's title).
  void SetCaption(const QString& caption);
  QString StatusText(int panel) const;
  void SetStatusText(int panel, const QString& text);

  // Message 2024, delivered synchronously: modified != 0 marks the experiment modified
  // ("Modified" in the status bar), 0 clears the mark; refresh == 0 also refreshes the
  // run buttons.
  void ExperimentChanged(int modified, int refresh);

  // Repaints the views of the experiment.
  void RefreshViews();

  TDocumentSession& Session() { return *DocSession; }
  TRunControl& Run() { return *RunCtl; }
  // The floating Start/Stop window (made at the first Float).
  TToolForm* ToolWindow() const;
  // The debug window, made with this window.
  TDebugForm* DebugWindow() const { return DebugForm.get(); }
  // The block diagram in the diagram area.
  TDrawBlockEditor* BlockEditor() const { return DrawBlockEditor; }
  // The detached output windows under "&Opened Outputs"; made at the first showing
  // (FormShow), deleted when the window closes.
  TDeadOutputList* GetDeadOutputList() const;

  // The handlers the controls call; public so that tests and the start-up code reach
  // them as a user would through the controls.
  void StartButtonClick();
  void StopButtonClick();
  // "&Debugger": during a run only the running controls come back; otherwise the debug
  // window shows modally and, once it has closed, the first block is current again.
  void DebugButtonClick();
  void FloatButtonClick();
  void ShrinkButtonClick();
  void ShowCurrentValueClick();
  void ExitClick();
  // "&Bring Outputs To Front", also at a run's start and end: the visible windows of the
  // experiment's outputs, then the visible detached ones.
  void BringOutputsToFrontClick();

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool event(QEvent* event) override;

private:
  // TRunView
  void SetRunControls(bool stopped) override;
  void StartFinishTimer() override;
  void StopFinishTimer() override;
  void BringOutputsToFront() override;
  void WaitServingHandOvers(const std::function<bool()>& finished) override;
  // TSessionView
  void ExperimentClosing(TExperiment& experiment) override;
  void ExperimentReplaced(TExperiment& experiment) override;
  void DevicesChanged() override;
  void UpdateRunButtons(bool canRun, bool hasNodes) override;
  void ReopenListChanged(const TReopenList& list) override;
  void OpenOutputFile(const std::string& path) override;

  void SetUpActions();
  static void MarkLater(QAction* action);
  static bool IsLater(const QAction* action);
  // A run button's enabled state as set, also while the button floats (hidden).
  static void SetRunButton(QAction* button, bool enabled);
  static bool IsRunButtonEnabled(const QAction* button);
  void SetUpStatusBar();
  void SetUpIcons();
  // The menus refresh their items as they open.
  void FileClick();
  void ExperimentMenuItemClick();
  void DevicesClick();
  // "&Reopen Experiment": the submenu and its item in the "&File" menu.
  void SetReopenEnabled(bool enabled);
  void ReadSettings();
  void WriteSettings();
  // The detached windows go, the experiment's output windows hide: nothing of the
  // program stays on the screen once the main window has closed.
  void CloseOutputWindows();
  // Every editing control follows the run state; true when no run is active.
  bool IsIdle() const;

  std::unique_ptr<Ui::TQorvForm> ui;
  std::array<QLabel*, spCount> StatusPanels{};
  // The destructor takes the views off the trees before the session and its experiment go.
  std::unique_ptr<TTreeModel> ExperimentModel;
  std::unique_ptr<TTreeModel> AttributeModel;
  std::unique_ptr<TDocumentSession> DocSession;
  std::unique_ptr<TRunControl> RunCtl;
  std::unique_ptr<TExperimentTreeController> ExperimentTree;
  std::unique_ptr<TAttributeTreeController> AttributeTree;
  std::unique_ptr<TDeviceListController> DeviceList;
  TDrawBlockEditor* DrawBlockEditor = nullptr;  // owned by the diagram area
  // A window of its own, not a child: its controls share names with this window's.
  std::unique_ptr<TDebugForm> DebugForm;
  // The settings the GPIB options dialog will edit; kept as read until then.
  struct TGpibOptions {
    bool AutoDetect = true;
    int NationalCards = 1;
    int CECCards = 1;
  } Gpib;
  QTimer Timer;  // the 500 ms end-of-run step
  QPointer<TToolForm> ToolForm;
  std::unique_ptr<TOpenedOutputsMenu> OpenedOutputs;
  int ShrunkHeight = -1;  // the client height kept while the window is shrunk
};
