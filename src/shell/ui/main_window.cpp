#include "shell/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

#include "model/experiment.h"
#include "model/ui_port.h"
#include "model/ui/tree_model.h"
#include "outputs/dead_output_list.h"
#include "outputs/output.h"
#include "outputs/output_form.h"
#include "outputs/output_list.h"
#include "outputs/ui/opened_outputs_menu.h"
#include "outputs/ui/output_window_kinds.h"
#include "platform/ui/help_window.h"
#include "platform/ui/help_wiring.h"
#include "shell/file_association.h"
#include "shell/output_windows.h"
#include "shell/preferences.h"
#include "shell/settings.h"
#include "shell/ui/about_box.h"
#include "shell/ui/attribute_tree_controller.h"
#include "shell/ui/block_icons.h"
#include "shell/ui/command_actions.h"
#include "shell/ui/device_list_controller.h"
#include "shell/ui/debug_form.h"
#include "shell/ui/device_view_items.h"
#include "shell/ui/draw_block_editor.h"
#include "shell/ui/experiment_report_dialog.h"
#include "shell/ui/experiment_tree_controller.h"
#include "shell/ui/icons.h"
#include "shell/ui/qt_settings_store.h"
#include "shell/ui/qt_ui_port.h"
#include "shell/ui/tool_form.h"
#include "ui_main_window.h"

namespace {

const char* const StoppedText = "Stopped";

}  // namespace

TQorvForm::TQorvForm(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TQorvForm>()) {
  ui->setupUi(this);
  // F1 and the Help buttons of every window while Qorv runs (this one's context is set
  // in the form).
  InstallHelp();
  setAcceptDrops(true);
  SetUpStatusBar();
  // The experiment made below already names its start block in the status bar.
  if (auto* port = dynamic_cast<TQtUiPort*>(&UiPort())) port->AttachWindow(this);
  SetUpIcons();

  // Each node's object decides how it is drawn (a commented-out command, the current
  // block, a read-only variable).
  ExperimentModel = std::make_unique<TTreeModel>(nullptr, ExperimentNodeStyle);
  AttributeModel = std::make_unique<TTreeModel>(nullptr, AttributeNodeStyle);
  ExperimentModel->SetImages(ExperimentTreeImages());
  AttributeModel->SetImages(AttributeTreeImages());
  ui->ExperimentView->SetTreeModel(ExperimentModel.get());
  ui->ExpAttView->SetTreeModel(AttributeModel.get());

  Timer.setInterval(500);
  Timer.setSingleShot(false);
  connect(&Timer, &QTimer::timeout, this, [this] { RunCtl->TimerTimer(); });

  // Every output window made from now on, also while the first experiment loads, gets
  // its Qt window.
  InstallOutputWindows();
  DocSession = std::make_unique<TDocumentSession>(*this);
  RunCtl = std::make_unique<TRunControl>(
      *this, [this] { return DocSession ? &DocSession->GetExperiment() : nullptr; });
  ExperimentTree = std::make_unique<TExperimentTreeController>(*ui->ExperimentView, *DocSession);
  AttributeTree = std::make_unique<TAttributeTreeController>(*ui->ExpAttView, *ui->DataListBox,
                                                              *DocSession);
  DeviceList = std::make_unique<TDeviceListController>(*ui->DeviceView, *DocSession);
  // The diagram area holds the editor at the diagram's size, scrolling when it is larger.
  DrawBlockEditor = new TDrawBlockEditor(ui->EditScrollBox->viewport());
  ui->EditScrollBox->setWidgetResizable(false);
  ui->EditScrollBox->setWidget(DrawBlockEditor);
  ExperimentReplaced(DocSession->GetExperiment());
  DebugForm = std::make_unique<TDebugForm>();
  SetUpActions();

  SetStatusText(spRunState, StoppedText);
  SetRunControls(true);
  DocSession->UpdateRunButtons();

  // 80 % of the screen each way, centred.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    resize(qRound(area.width() * 0.8), qRound(area.height() * 0.8));
    move(area.center() - rect().center());
  }
}

TQorvForm::~TQorvForm() {
  // A window destroyed without closing still ends its run in full, serving the worker's
  // last hand-overs: a plain join would wait for a worker that waits for this thread.
  if (IsRunActive()) RunCtl->CloseDuringRun();
  Timer.stop();
  OpenedOutputs.reset();
  DebugForm.reset();
  // The views let go of the trees before the experiment goes.
  ExperimentTree.reset();
  AttributeTree.reset();
  ui->ExperimentView->SetTreeModel(nullptr);
  ui->ExpAttView->SetTreeModel(nullptr);
  ExperimentModel->SetTree(nullptr);
  AttributeModel->SetTree(nullptr);
  DrawBlockEditor->SetDiagram(nullptr, nullptr);
  RunCtl.reset();
  DocSession.reset();
  RemoveHelp();
  // Output forms made once the window has gone get no Qt window: the hook it installed
  // goes with it, as the help does (a later window installs its own).
  TOutputForm::SetCreatedHook({});
}

void TQorvForm::SetUpStatusBar() {
  static constexpr std::array<int, spCount> panelWidths{100, 200, 60, 50};
  for (int panel = 0; panel < spCount; ++panel) {
    auto* label = new QLabel(statusBar());
    label->setObjectName(QString("StatusPanel%1").arg(panel));
    label->setMinimumWidth(panelWidths[panel]);
    label->setFrameShape(QFrame::StyledPanel);
    // The last panel takes the width that is left, the others keep theirs.
    statusBar()->addWidget(label, panel == spHint ? 1 : 0);
    StatusPanels[panel] = label;
  }
}

void TQorvForm::SetUpIcons() {
  const std::pair<QAction*, QIcon> icons[] = {
      {ui->OpenButton, ThemedIcon("document-open", "open")},
      {ui->SaveButton, ThemedIcon("document-save", "save")},
      {ui->OutputButton, QorvIcon("add-output")},
      {ui->AddVariableButton, QorvIcon("add-variable")},
      {ui->AddArrayButton, QorvIcon("add-array")},
      {ui->AddSingleFileButton, QorvIcon("add-single-file")},
      {ui->MultiFileBtn, QorvIcon("add-multiple-file")},
      {ui->StartButton, QorvIcon("start")},
      {ui->StopButton, QorvIcon("stop")},
      {ui->FloatButton, QorvIcon("float")},
      {ui->ShrinkButton, QorvIcon("shrink")},
      {ui->DebugButton, QorvIcon("debug")},
      {ui->HelpButton, ThemedIcon("help-contents", "help")},
      {ui->InteractButton, QorvIcon("interact")},
      {ui->AddDeviceButton, QorvIcon("add-device")},
      {ui->OpenDeviceButton, QorvIcon("open-device")},
      {ui->OpenDeviceConfigurationButton, QorvIcon("open")},
      {ui->SaveDeviceConfigurationButton, QorvIcon("save-device")},
      {ui->SearchButton, QorvIcon("scan")},
      {ui->RemoveAllDevicesBtn, QorvIcon("delete")},
      {ui->StartMenuItem, QorvIcon("start")},
      {ui->StopMenuItem, QorvIcon("stop")},
  };
  for (const auto& [action, icon] : icons) action->setIcon(icon);
}

void TQorvForm::SetUpActions() {
  auto on = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, handler);
  };
  // Run control.
  on(ui->StartButton, &TQorvForm::StartButtonClick);
  on(ui->StartMenuItem, &TQorvForm::StartButtonClick);
  on(ui->StopButton, &TQorvForm::StopButtonClick);
  on(ui->StopMenuItem, &TQorvForm::StopButtonClick);
  on(ui->FloatButton, &TQorvForm::FloatButtonClick);
  on(ui->ShrinkButton, &TQorvForm::ShrinkButtonClick);
  on(ui->ShowCurrentValueMenuItem, &TQorvForm::ShowCurrentValueClick);
  on(ui->ExitMenuItem, &TQorvForm::ExitClick);
  // Files.
  on(ui->NewExperimentMenuItem, [this] { DocSession->NewExperimentClick(true); });
  on(ui->OpenButton, [this] { DocSession->OpenClick(); });
  on(ui->OpenMenuItem, [this] { DocSession->OpenClick(); });
  on(ui->SaveButton, [this] { DocSession->SaveClick(); });
  on(ui->SaveMenuItem, [this] { DocSession->SaveClick(); });
  on(ui->SaveAsMenuItem, [this] { DocSession->SaveAsClick(); });
  on(ui->OpenBlockMenuItem, [this] { DocSession->OpenBlockDialog(0, 0); });
  on(ui->NewBlockMenuItem, [this] { DrawBlockEditor->AddBlockClick(); });
  connect(DrawBlockEditor, &TDrawBlockEditor::OpenBlockRequested, this,
          [this](int x, int y) { DocSession->OpenBlockDialog(x, y); });
  connect(DrawBlockEditor, &TDrawBlockEditor::SaveBlockRequested, this,
          [this] { DocSession->SaveBlockClick(); });
  connect(DrawBlockEditor, &TDrawBlockEditor::SaveAsBlockRequested, this,
          [this] { DocSession->SaveAsBlockClick(); });
  on(ui->ClearReopenMenuItem, [this] { DocSession->ClearClick(); });
  on(ui->OpenOutputMenuItem, [this] { DocSession->OpenOutputClick(); });
  on(ui->BringOutputsToFrontMenuItem, &TQorvForm::BringOutputsToFrontClick);
  // The attribute buttons add through the attribute tree's editor.
  const std::pair<QAction*, TAttributeButton> attributeButtons[] = {
      {ui->OutputButton, TAttributeButton::Output},
      {ui->AddVariableButton, TAttributeButton::Variable},
      {ui->AddArrayButton, TAttributeButton::Array},
      {ui->AddSingleFileButton, TAttributeButton::SingleFile},
      {ui->MultiFileBtn, TAttributeButton::MultiFile}};
  for (const auto& [action, button] : attributeButtons)
    on(action, [this, button = button] { AttributeTree->AttributeButtonClick(button); });
  on(ui->PreferencesMenuItem, [this] { PreferencesClick(*DocSession); });
  on(ui->ReportMenuItem, [this] {
    ShowExperimentReport(this, DocSession->GetExperiment(), DocSession->GetDeviceList());
  });
  on(ui->ContentsMenuItem, [] { ShowHelpContents(); });
  on(ui->IndexMenuItem, [] { ShowHelpIndex(); });
  on(ui->AboutMenuItem, [this] {
    TAboutBox box(this);
    box.exec();
  });

  // The add-command tool bar and pop-up items.
  new TCommandActions(*this, *DocSession, *ExperimentTree->InsertMenu(),
                      *ExperimentTree->AddScriptMenu(), [this] {
                        return DocSession->GetExperiment().GetExperimentTree().GetSelected();
                      });

  connect(ui->FileMenu, &QMenu::aboutToShow, this, &TQorvForm::FileClick);
  connect(ui->ExperimentMenu, &QMenu::aboutToShow, this, &TQorvForm::ExperimentMenuItemClick);
  connect(ui->DevicesMenu, &QMenu::aboutToShow, this, &TQorvForm::DevicesClick);

  on(ui->DebugButton, &TQorvForm::DebugButtonClick);
  on(ui->DebugMenuItem, &TQorvForm::DebugButtonClick);
  // "&Opened Outputs" is disabled while it lists no window.
  ui->OpenedOutputsMenu->setEnabled(false);
  ui->OpenedOutputsMenu->menuAction()->setEnabled(false);
  // The device tool bar, the device items of the file menus and the device list.
  DeviceList->BindActions(*this);
}

// The menus and tool bars enable and disable their items by the run state; an item
// marked here stays disabled until its window or dialog exists.
void TQorvForm::MarkLater(QAction* action) {
  action->setProperty("qorvLater", true);
  action->setEnabled(false);
}

bool TQorvForm::IsLater(const QAction* action) {
  return action->property("qorvLater").toBool();
}

// Start and Stop are hidden while they float, and Qt reports a hidden action disabled:
// the state set is kept beside it, for the menu items that follow the buttons.
void TQorvForm::SetRunButton(QAction* button, bool enabled) {
  button->setProperty("qorvEnabled", enabled);
  button->setEnabled(enabled);
}

bool TQorvForm::IsRunButtonEnabled(const QAction* button) {
  return button->property("qorvEnabled").toBool();
}

// --- Status, caption and message 2024 ---

void TQorvForm::SetCaption(const QString& caption) { setWindowTitle(caption); }

QString TQorvForm::StatusText(int panel) const {
  return panel >= 0 && panel < spCount ? StatusPanels[panel]->text() : QString();
}

void TQorvForm::SetStatusText(int panel, const QString& text) {
  if (panel >= 0 && panel < spCount) StatusPanels[panel]->setText(text);
}

void TQorvForm::ExperimentChanged(int modified, int refresh) {
  if (DocSession) DocSession->ExperimentChanged(modified, refresh);
}

void TQorvForm::RefreshViews() {
  if (!DocSession) return;  // the session is being made or destroyed
  ShowDevices(*ui->DeviceView, DocSession->GetDeviceList());
  ui->ExperimentView->viewport()->update();
  ui->ExpAttView->viewport()->update();
}

bool TQorvForm::event(QEvent* event) {
  // The hint of the control under the mouse goes to the last panel.
  if (event->type() == QEvent::StatusTip) {
    SetStatusText(spHint, static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

// --- Run control ---

bool TQorvForm::IsIdle() const { return !IsRunActive(); }

void TQorvForm::StartButtonClick() { RunCtl->StartButtonClick(); }

void TQorvForm::StopButtonClick() { RunCtl->StopButtonClick(); }

void TQorvForm::DebugButtonClick() {
  if (!RunCtl->DebugButtonClick()) return;
  // Refused by the pre-run check (which has said why and put the blank line back):
  // nothing changed.
  if (!DebugForm->Execute(DocSession->GetExperiment(), DocSession->GetDeviceList())) return;
  RunCtl->DebuggerClosed();
  RefreshViews();
}

void TQorvForm::SetRunControls(bool stopped) {
  SetRunButton(ui->StopButton, !stopped);
  if (ToolForm && ToolForm->isVisible())
    ToolForm->SetRunButtons(stopped, !stopped);
  SetRunButton(ui->StartButton, stopped);
  ui->StartMenuItem->setEnabled(stopped);
  ui->StopMenuItem->setEnabled(!stopped);
  SetRunButton(ui->DebugButton, stopped);
  ui->DebugMenuItem->setEnabled(stopped && !IsLater(ui->DebugMenuItem));
  for (QAction* action : ui->DeviceToolBar->actions())
    action->setEnabled(stopped && !IsLater(action));
  // The run state and the current block's panel are the run control's.
}

void TQorvForm::UpdateRunButtons(bool canRun, bool hasNodes) {
  SetRunButton(ui->StartButton, canRun);
  SetRunButton(ui->DebugButton, canRun);
  ui->SaveButton->setEnabled(hasNodes);
  // The attribute buttons stay enabled during a run: they say why they refuse.
}

void TQorvForm::StartFinishTimer() { Timer.start(); }

void TQorvForm::StopFinishTimer() { Timer.stop(); }

void TQorvForm::BringOutputsToFront() { BringOutputsToFrontClick(); }

void TQorvForm::BringOutputsToFrontClick() {
  if (DocSession) ::BringOutputsToFront(DocSession->GetExperiment(), GetDeadOutputList());
}

TDeadOutputList* TQorvForm::GetDeadOutputList() const {
  return OpenedOutputs ? &OpenedOutputs->List() : nullptr;
}

void TQorvForm::OpenOutputFile(const std::string& path) {
  if (TDeadOutputList* list = GetDeadOutputList()) list->OpenOutputFile(path);
}

void TQorvForm::CloseOutputWindows() {
  OpenedOutputs.reset();
  if (TOutputList* outputs = DocSession->GetExperiment().GetOutputList())
    for (TOutput* output : outputs->GetOutputs())
      if (output->IsFormVisible()) output->HideOutputForm();
}

void TQorvForm::WaitServingHandOvers(const std::function<bool()>& finished) {
  ::WaitServingHandOvers(finished);
}

TToolForm* TQorvForm::ToolWindow() const { return ToolForm.data(); }

void TQorvForm::FloatButtonClick() {
  if (!ToolForm) {
    ToolForm = new TToolForm(this);
    ToolForm->setObjectName("ToolForm");
    ToolForm->SetButtonIcons(QorvIcon("start"), QorvIcon("stop"));
    ToolForm->SetCloseHandler([this] { FloatButtonClick(); });
    ToolForm->Bind([this] { StartButtonClick(); }, [this] { StopButtonClick(); });
  }
  const bool docked = ui->StartButton->isVisible();
  ui->StartButton->setVisible(!docked);
  ui->StopButton->setVisible(!docked);
  if (docked) {
    ToolForm->show();
    ToolForm->raise();
  } else if (ToolForm->isVisible()) {
    ToolForm->hide();
  }
  SetRunControls(!IsRunActive());
}

void TQorvForm::ShrinkButtonClick() {
  if (ShrunkHeight < 0) {
    ShrunkHeight = height();
    ui->ShrinkButton->setIcon(QorvIcon("restore"));
    ui->ShrinkButton->setToolTip("Restore Qorv Main View");
    ui->ShrinkButton->setStatusTip("Restore Qorv Main View");
    centralWidget()->hide();
    statusBar()->hide();
    // The window's minimum height is the layout's, which would keep the hidden parts'
    // room until the layout next runs: run it now.
    layout()->activate();
    resize(width(), menuBar()->height() + ui->MainToolBar->height());
  } else {
    centralWidget()->show();
    statusBar()->show();
    resize(width(), ShrunkHeight);
    ShrunkHeight = -1;
    ui->ShrinkButton->setIcon(QorvIcon("shrink"));
    ui->ShrinkButton->setToolTip("Hide Qorv Main View");
    ui->ShrinkButton->setStatusTip("Hide Qorv Main View");
  }
}

void TQorvForm::ShowCurrentValueClick() { AttributeTree->ToggleBox(); }

// --- Menus ---

void TQorvForm::FileClick() {
  const TFileMenuState state = DocSession->FileMenuState();
  for (QAction* action : ui->FileMenu->actions())
    if (!action->isSeparator() && action != ui->ExitMenuItem && !IsLater(action))
      action->setEnabled(state.Idle);
  SetReopenEnabled(state.Idle && state.Reopen);
  ui->SaveMenuItem->setEnabled(state.Idle && state.Save);
  ui->SaveAsMenuItem->setEnabled(state.Idle && state.Save);
  ui->ExitMenuItem->setEnabled(true);
}

void TQorvForm::ExperimentMenuItemClick() {
  ui->StartMenuItem->setEnabled(IsRunButtonEnabled(ui->StartButton));
  ui->StopMenuItem->setEnabled(IsRunButtonEnabled(ui->StopButton));
  ui->DebugMenuItem->setEnabled(IsRunButtonEnabled(ui->DebugButton) &&
                                !IsLater(ui->DebugMenuItem));
  ui->ReportMenuItem->setEnabled(IsIdle() && DocSession->GetExperiment().HasBlocks());
  ui->ShowCurrentValueMenuItem->setText(
      QString(AttributeTree->BoxVisible() ? "Hide " : "Show ") + "&Current Value List Box");
}

void TQorvForm::DevicesClick() {
  for (QAction* action : ui->DevicesMenu->actions())
    if (!IsLater(action)) action->setEnabled(IsIdle());
}

void TQorvForm::ReopenListChanged(const TReopenList& list) {
  QMenu* menu = ui->Reopen;
  // The first two items ("&Clear" and a separator) stay; the recent files follow.
  const QList<QAction*> items = menu->actions();
  for (int index = 2; index < items.size(); ++index) {
    menu->removeAction(items[index]);
    items[index]->deleteLater();
  }
  for (std::size_t index = 0; index < list.Count(); ++index) {
    QAction* item = menu->addAction(QString::fromStdString(list.Caption(index)));
    item->setObjectName(QString("ReopenItem%1").arg(index));
    connect(item, &QAction::triggered, this, [this, index] {
      // The list may change while the session opens the file: look it up afresh.
      DocSession->ReopenItemClick(index);
    });
  }
  SetReopenEnabled(!list.IsEmpty());
}

void TQorvForm::SetReopenEnabled(bool enabled) {
  // The "&File" menu draws the item from the submenu's action, which follows the
  // submenu only when the submenu's state changes: set both.
  ui->Reopen->setEnabled(enabled);
  ui->Reopen->menuAction()->setEnabled(enabled);
}

// --- The experiment ---

void TQorvForm::ExperimentClosing(TExperiment&) {
  // The diagram empties as the experiment goes: the editor still shows it, without
  // the experiment.
  DrawBlockEditor->SetDiagram(&DocSession->GetDrawParts(), nullptr);
  ExperimentTree->Unbind();
  AttributeTree->Unbind();
  ExperimentModel->SetTree(nullptr);
  AttributeModel->SetTree(nullptr);
}

void TQorvForm::ExperimentReplaced(TExperiment& experiment) {
  ExperimentModel->SetTree(&experiment.GetExperimentTree());
  AttributeModel->SetTree(&experiment.GetAttributeTree());
  ExperimentTree->Bind(experiment, DocSession->GetDrawParts());
  AttributeTree->Bind(experiment);
  DrawBlockEditor->SetDiagram(&DocSession->GetDrawParts(), &experiment);
}

void TQorvForm::DevicesChanged() {
  if (DocSession) ShowDevices(*ui->DeviceView, DocSession->GetDeviceList());
}

// --- Files dropped on the window ---

void TQorvForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TQorvForm::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  event->acceptProposedAction();
  // The files are taken once the drop has ended: the program that the files came from
  // waits for the drop to end, and must not wait while a question here waits for the
  // user or a large experiment is read.
  QTimer::singleShot(0, this, [this, paths] { DocSession->WMDropFiles(paths); });
}

// --- Start-up and closing ---

void TQorvForm::FormShow(const QString& commandLineFile) {
  if (!OpenedOutputs) {
    OpenedOutputs = std::make_unique<TOpenedOutputsMenu>(*ui->OpenedOutputsMenu);
    SetMainDeadOutputList(&OpenedOutputs->List());
  }
  ReadSettings();
  // The ports and boards of this machine, before any device is read; a configured board
  // that is missing lowers the count kept.
  TGpibSettings gpib{Gpib.AutoDetect, Gpib.NationalCards, Gpib.CECCards};
  DocSession->GetDeviceList().BuildCommunicationsTree(gpib);
  Gpib.NationalCards = gpib.NationalCards;
  Gpib.CECCards = gpib.CECCards;
  if (!commandLineFile.isEmpty() && QFileInfo(commandLineFile).isFile())
    DocSession->OpenExperimentFile(commandLineFile.toStdString());
  TFileAssociation(QCoreApplication::applicationFilePath().toStdString()).Register();
}

void TQorvForm::ReadSettings() {
  const std::string program = QCoreApplication::applicationFilePath().toStdString();
  TQtSettingsStore store;
  TIniregQorv settings(program);
  settings.Read(store);
  TFileAssociation(program).RepairOpenCommand();
  DocSession->LoadReopenList(settings.GetFiles());
  Gpib = {settings.GetAutoDetect(), settings.GetNumberOfNationalCards(),
          settings.GetNumberOfCECCards()};
  // The file choosers start there, the output windows' save choosers too.
  ApplyDirectories(*DocSession, {settings.GetOutputDirectory(), settings.GetDeviceDirectory(),
                                 settings.GetExperimentDirectory(), settings.GetBlockDirectory()});
  // The block dialog's icon list; files gone since are left out.
  BlockIcons().Clear();
  for (const std::string& icon : settings.GetIconFiles()) BlockIcons().AddIconFile(icon);
}

void TQorvForm::WriteSettings() {
  // The device dialog's "Change Settings" keeps its GPIB settings in the tree.
  const TCommunicationsTree& tree = DocSession->GetDeviceList().GetCommunicationsTree();
  if (tree.IsBuilt())
    Gpib = {tree.GetGpibSettings().AutoDetect, tree.GetGpibSettings().NationalCards,
            tree.GetGpibSettings().CECCards};
  TIniregQorv settings;
  settings.SetAutoDetect(Gpib.AutoDetect);
  settings.SetNumberOfNationalCards(Gpib.NationalCards);
  settings.SetNumberOfCECCards(Gpib.CECCards);
  for (const std::string& caption : DocSession->GetReopenList().GetCaptions())
    settings.AddFile(caption);
  const TSessionDirectories& folders = DocSession->Directories;
  settings.SetOutputDirectory(folders.Output);
  settings.SetDeviceDirectory(folders.Device);
  settings.SetExperimentDirectory(folders.Experiment);
  settings.SetBlockDirectory(folders.Block);
  for (const std::string& icon : BlockIcons().IconFiles()) settings.AddIconFile(icon);
  TQtSettingsStore store;
  settings.Write(store);
}

void TQorvForm::closeEvent(QCloseEvent* event) {
  Timer.stop();
  // A run is shut down in full, then the save question; a save that the user asked for
  // and that did not complete keeps the window open, so nothing unsaved is lost.
  if (!DocSession->FormClose(*RunCtl)) {
    event->ignore();
    return;
  }
  WriteSettings();
  if (ToolForm) ToolForm->hide();
  CloseOutputWindows();
  event->accept();
}

void TQorvForm::ExitClick() { close(); }
