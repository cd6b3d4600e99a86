#include "shell/ui/debug_form.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTreeWidget>

#include <deque>
#include <string>

#include "communication/console.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "model/data.h"
#include "model/exp_attribute.h"
#include "model/experiment.h"
#include "model/node_style.h"
#include "model/ui/tree_model.h"
#include "outputs/output.h"
#include "scripts/script.h"
#include "shell/ui/debug_list_box.h"
#include "shell/ui/debug_output_actions.h"
#include "shell/ui/device_view_items.h"
#include "shell/ui/icons.h"
#include "shell/ui/node_tree_view.h"
#include "ui_debug_form.h"

namespace {

QAction* AddItem(QMenu* menu, const char* name, const char* text) {
  QAction* item = menu->addAction(QString::fromUtf8(text));
  item->setObjectName(QString::fromUtf8(name));
  return item;
}

}  // namespace

// The command tree: presses select, the pop-up follows the node, F5 sets stops, a double
// click on a selected command edits it. Nothing is dragged.
class TDebugForm::TCommandTreeHandler final : public TNodeTreeHandler {
public:
  explicit TCommandTreeHandler(TDebugForm& form) : Form(form) {}
  void TreePressed(TTreeNode* node, Qt::MouseButton) override {
    if (TDebugTree* tree = Form.Run.GetDebugTree()) tree->GetTree().SetSelected(node);
  }
  void TreeDoubleClicked(TTreeNode* node) override {
    if (node && node->GetLevel() > 0 && node == Form.SelectedCommandNode())
      Form.Run.EditNode(node);
  }
  void TreeContextMenu(TTreeNode* node, const QPoint& globalPos) override {
    TreePressed(node, Qt::RightButton);
    Form.UpdateDebugPopup();
    Form.DebugPopup->popup(globalPos);
  }
  bool TreeKey(QKeyEvent* event, bool) override {
    if (event->key() != Qt::Key_F5 || event->modifiers() != Qt::NoModifier) return false;
    Form.Run.ToggleStop(Form.SelectedCommandNode());
    return true;
  }

private:
  TDebugForm& Form;
};

// The attribute tree: presses select, the pop-up follows the attribute, a double click
// shows an output or edits any other attribute.
class TDebugForm::TAttributeTreeHandler final : public TNodeTreeHandler {
public:
  explicit TAttributeTreeHandler(TDebugForm& form) : Form(form) {}
  void TreePressed(TTreeNode* node, Qt::MouseButton) override {
    if (TTreeMirror* tree = Form.Run.GetAttributeTree()) tree->GetTree().SetSelected(node);
  }
  void TreeDoubleClicked(TTreeNode* node) override { Form.AttributeDoubleClicked(node); }
  void TreeContextMenu(TTreeNode* node, const QPoint& globalPos) override {
    TreePressed(node, Qt::RightButton);
    Form.UpdateAttributePopup();
    Form.AttPopup->popup(globalPos);
  }
  bool TreeKey(QKeyEvent*, bool) override { return false; }

private:
  TDebugForm& Form;
};

TDebugForm::TDebugForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDebugForm>()) {
  ui->setupUi(this);
  setObjectName("DebugForm");
  setModal(true);
  ui->StartButton->setIcon(QorvIcon("start"));
  ui->StopButton->setIcon(QorvIcon("stop"));
  ui->PauseButton->setIcon(QorvIcon("pause"));
  ui->StepButton->setIcon(QorvIcon("step"));
  ui->HelpButton->setIcon(ThemedIcon("help-contents", "help"));

  Timer.setObjectName("RunTimer");
  Timer.setSingleShot(false);
  Timer.setInterval(TDebugRun::FirstTickInterval);
  connect(&Timer, &QTimer::timeout, this, &TDebugForm::RunTimerTimer);

  ui->DebugListBox->SetLog(&OutputLog);

  CommandModel = std::make_unique<TTreeModel>(nullptr, [this](TTreeNode& node, TNodeStyle& style) {
    TDebugTree* tree = Run.GetDebugTree();
    return tree && tree->DrawNode(node, style, Run.IsPaused());
  });
  CommandModel->SetImages(ExperimentTreeImages());
  AttributeModel =
      std::make_unique<TTreeModel>(nullptr, [this](TTreeNode& node, TNodeStyle& style) {
        TData* variable = TDebugRun::VariableOf(&node);
        const bool traced = variable && Run.GetTraces().IsTraced(variable);
        if (AttributeNodeStyle(node, style)) {
          style.Italic = style.Italic || traced;
          return true;
        }
        if (!traced) return false;
        style.Text = node.GetText();
        style.ImageIndex = node.GetImageIndex();
        style.Italic = true;
        return true;
      });
  AttributeModel->SetImages(AttributeTreeImages());
  ui->DebugTreeView->SetTreeModel(CommandModel.get());
  ui->AttributeDebugView->SetTreeModel(AttributeModel.get());
  CommandHandler = std::make_unique<TCommandTreeHandler>(*this);
  AttributeHandler = std::make_unique<TAttributeTreeHandler>(*this);
  ui->DebugTreeView->SetHandler(CommandHandler.get());
  ui->AttributeDebugView->SetHandler(AttributeHandler.get());

  connect(ui->StartButton, &QToolButton::clicked, this, [this] { StartButtonClick(); });
  connect(ui->StopButton, &QToolButton::clicked, this, [this] { StopButtonClick(); });
  connect(ui->PauseButton, &QToolButton::clicked, this, [this] { PauseButtonClick(); });
  connect(ui->StepButton, &QToolButton::clicked, this, [this] { StepButtonClick(); });

  SetUpMenus();
  SetUpPopups();
  ShowButtons();
}

TDebugForm::~TDebugForm() {
  Timer.stop();
  Unbind();
  ui->DebugTreeView->SetTreeModel(nullptr);
  ui->AttributeDebugView->SetTreeModel(nullptr);
  CommandModel->SetTree(nullptr);
  AttributeModel->SetTree(nullptr);
  // The log goes with this object's members, before the child widgets that follow it.
  ui->DebugListBox->SetLog(nullptr);
  delete OutputActions;
  OutputActions = nullptr;
}

void TDebugForm::SetUpMenus() {
  MenuBar = new QMenuBar(this);
  MenuBar->setObjectName("DebugMainMenu");
  layout()->setMenuBar(MenuBar);
  QMenu* debug = MenuBar->addMenu("&Debug");
  debug->setObjectName("DebugMenu");
  StartItem = AddItem(debug, "StartMenuItem", "Start");
  StopItem = AddItem(debug, "StopMenuItem", "Stop");
  PauseItem = AddItem(debug, "PauseMenuItem", "Pause");
  StepItem = AddItem(debug, "StepMenuItem", "Step");
  debug->addSeparator();
  ScrollOutputItem = AddItem(debug, "ScrollOutputMenuItem", "Scroll Output");
  ScrollOutputItem->setCheckable(true);
  ScrollOutputItem->setChecked(true);
  debug->addSeparator();
  CloseItem = AddItem(debug, "CloseMenuItem", "Close");
  connect(StartItem, &QAction::triggered, this, [this] { StartButtonClick(); });
  connect(StopItem, &QAction::triggered, this, [this] { StopButtonClick(); });
  connect(PauseItem, &QAction::triggered, this, [this] { PauseButtonClick(); });
  connect(StepItem, &QAction::triggered, this, [this] { StepButtonClick(); });
  connect(ScrollOutputItem, &QAction::toggled, this,
          [this](bool on) { ui->DebugListBox->SetScrollOutput(on); });
  connect(CloseItem, &QAction::triggered, this, [this] { CloseClick(); });

  QMenu* output = MenuBar->addMenu("Debug &Output");
  output->setObjectName("DebugOutputMenu");
  OutputActions = new TDebugOutputActions(OutputLog, *output, this, [this] {
    TExperiment* experiment = Run.GetExperiment();
    return experiment ? experiment->GetTitle() : std::string();
  });

  QMenu* help = MenuBar->addMenu("&Help");
  help->setObjectName("DebugHelpMenu");
  QAction* debugHelp = AddItem(help, "DebugHelpMenuItem", "Debug Help");
  QAction* commandHelp = AddItem(help, "CommandHelpMenuItem", "Command Help");
  // The help wiring enables these and opens their contexts.
  debugHelp->setProperty("helpContext", 28);
  debugHelp->setEnabled(false);
  commandHelp->setProperty("helpContext", 1);
  commandHelp->setEnabled(false);
}

void TDebugForm::SetUpPopups() {
  DebugPopup = new QMenu(this);
  DebugPopup->setObjectName("DebugPopupMenu");
  EditItem = AddItem(DebugPopup, "DebugEditItem", "Edit");
  DeleteItem = AddItem(DebugPopup, "DebugDeleteItem", "Delete");
  CommentOutItem = AddItem(DebugPopup, "CommentOutItem", "Comment Out");
  AddStopItem = AddItem(DebugPopup, "AddStopItem", "Add Stop");
  connect(DebugPopup, &QMenu::aboutToShow, this, &TDebugForm::UpdateDebugPopup);
  connect(EditItem, &QAction::triggered, this, [this] { Run.EditNode(SelectedCommandNode()); });
  connect(DeleteItem, &QAction::triggered, this,
          [this] { Run.DeleteNode(SelectedCommandNode()); });
  connect(CommentOutItem, &QAction::triggered, this,
          [this] { Run.ToggleCommentOut(SelectedCommandNode()); });
  connect(AddStopItem, &QAction::triggered, this,
          [this] { Run.ToggleStop(SelectedCommandNode()); });

  AttPopup = new QMenu(this);
  AttPopup->setObjectName("ExpAttPopup");
  AttEditItem = AddItem(AttPopup, "AttEditItem", "Edit");
  ShowItem = AddItem(AttPopup, "ShowItem", "Show");
  ShowItem->setCheckable(true);
  TraceItem = AddItem(AttPopup, "TraceItem", "Trace");
  connect(AttPopup, &QMenu::aboutToShow, this, &TDebugForm::UpdateAttributePopup);
  connect(AttEditItem, &QAction::triggered, this, [this] {
    Run.EditAttribute(SelectedAttributeNode());
  });
  connect(ShowItem, &QAction::triggered, this,
          [this] { ToggleOutputWindow(SelectedAttributeNode()); });
  connect(TraceItem, &QAction::triggered, this, [this] {
    Run.ToggleTrace(SelectedAttributeNode());
    ui->AttributeDebugView->viewport()->update();
  });

  DevicePopup = new QMenu(this);
  DevicePopup->setObjectName("DeviceDebugPopup");
  DeviceEditItem = AddItem(DevicePopup, "DeviceEditItem", "Edit");
  InteractItem = AddItem(DevicePopup, "InteractItem", "Interact");
  ResetItem = AddItem(DevicePopup, "ResetItem", "Reset");
  connect(DevicePopup, &QMenu::aboutToShow, this, &TDebugForm::UpdateDevicePopup);
  connect(DeviceEditItem, &QAction::triggered, this, [this] { EditDevice(); });
  connect(InteractItem, &QAction::triggered, this, [this] {
    if (Devices && SelectedDevice())
      Run.OpenDialog([this] { return Interact(*Devices, SelectedDevice(), true) ? 1 : 0; });
  });
  connect(ResetItem, &QAction::triggered, this, [this] {
    TDevice* device = SelectedDevice();
    if (!device) return;
    device->Reset();
    ShowDevices();
  });
  ui->DeviceDebugView->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ui->DeviceDebugView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& point) {
            QTreeWidgetItem* item = ui->DeviceDebugView->itemAt(point);
            if (item)
              ui->DeviceDebugView->setCurrentItem(item);
            else
              ui->DeviceDebugView->clearSelection();
            UpdateDevicePopup();
            DevicePopup->popup(ui->DeviceDebugView->viewport()->mapToGlobal(point));
          });
  connect(ui->DeviceDebugView, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    ui->DeviceDebugView->setCurrentItem(item);
    EditDevice();
  });

  TracePopup = new QMenu(this);
  TracePopup->setObjectName("TraceViewPopup");
  ClearViewItem = AddItem(TracePopup, "ClearViewItem", "Clear View");
  ClearAllTracesItem = AddItem(TracePopup, "ClearAllTracesItem", "Clear All Traces");
  connect(TracePopup, &QMenu::aboutToShow, this, &TDebugForm::UpdateTracePopup);
  connect(ClearViewItem, &QAction::triggered, this, [this] { Run.GetTraces().ClearView(); });
  connect(ClearAllTracesItem, &QAction::triggered, this, [this] {
    Run.GetTraces().ClearAll();
    ui->AttributeDebugView->viewport()->update();
  });
  connect(ui->TraceListBox, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& point) {
            UpdateTracePopup();
            TracePopup->popup(ui->TraceListBox->viewport()->mapToGlobal(point));
          });
}

// --- Showing and hiding ---

bool TDebugForm::Prepare(TExperiment& experiment, TDeviceList& devices) {
  if (Run.IsShowing()) return false;
  Devices = &devices;
  if (!Run.Show(experiment)) {
    Devices = nullptr;
    return false;
  }
  ShowDevices();
  ScrollOutputItem->setChecked(true);
  ui->DebugTreeView->expandAll();
  ui->AttributeDebugView->expandAll();
  ShowTraces();
  ShowButtons();
  return true;
}

bool TDebugForm::Execute(TExperiment& experiment, TDeviceList& devices) {
  if (!Prepare(experiment, devices)) return false;
  exec();
  Unbind();
  return true;
}

void TDebugForm::Unbind() {
  Timer.stop();
  Run.Hide();
  ui->DeviceDebugView->clear();
  ui->TraceListBox->clear();
  TracesShown = 0;
  Devices = nullptr;
}

void TDebugForm::CloseClick() { done(QDialog::Accepted); }

void TDebugForm::done(int result) {
  // Stop first, so that a Wait executing ends within its slice; the bindings go once
  // the command has returned.
  Run.Stop();
  Unbind();
  QDialog::done(result);
}

void TDebugForm::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  Unbind();
}

// --- The engine's view ---

void TDebugForm::AddOutput(const std::string& text, std::uint32_t colour, std::int8_t style) {
  ui->DebugListBox->AddOutput(text, colour, style);
}

void TDebugForm::SetRunTimer(bool on, int interval) {
  Timer.setInterval(interval);
  if (on)
    Timer.start();
  else
    Timer.stop();
}

void TDebugForm::StateChanged() {
  ShowButtons();
  ui->DebugTreeView->viewport()->update();
  ui->AttributeDebugView->viewport()->update();
}

void TDebugForm::TreeStale() {
  if (SyncPosted) return;
  SyncPosted = true;
  // Outside the edit that changed the experiment tree: its objects are whole by then.
  QTimer::singleShot(0, this, [this] {
    SyncPosted = false;
    if (Run.IsExecuting()) {
      TreeStale();  // after the command
      return;
    }
    Run.SyncTree();
    ui->DebugTreeView->expandAll();
    ui->AttributeDebugView->expandAll();
  });
}

void TDebugForm::BindTrees(TTree* commands, TTree* attributes) {
  CommandModel->SetTree(commands);
  AttributeModel->SetTree(attributes);
  if (commands) ui->DebugTreeView->expandAll();
  if (attributes) ui->AttributeDebugView->expandAll();
}

void TDebugForm::ProcessEvents() { QApplication::processEvents(QEventLoop::AllEvents, 50); }

// --- Buttons ---

void TDebugForm::StartButtonClick() {
  Run.Start();
  ShowButtons();
}

void TDebugForm::StopButtonClick() {
  Run.Stop();
  ShowButtons();
}

void TDebugForm::PauseButtonClick() {
  Run.Pause();
  ShowButtons();
}

void TDebugForm::StepButtonClick() {
  Run.Step();
  ShowButtons();
}

void TDebugForm::ShowButtons() {
  const TDebugButtons& state = Run.Buttons();
  const auto show = [](QToolButton* button, bool down, bool enabled) {
    button->setChecked(down);
    button->setEnabled(enabled);
  };
  show(ui->StartButton, state.StartDown, state.StartEnabled);
  show(ui->StopButton, state.StopDown, true);
  show(ui->PauseButton, state.PauseDown, state.PauseEnabled);
  show(ui->StepButton, state.StepDown, state.StepEnabled);
  StartItem->setEnabled(Run.CanStartItem());
  StopItem->setEnabled(Run.CanStopItem());
  PauseItem->setEnabled(Run.CanPauseItem());
  StepItem->setEnabled(Run.CanStepItem());
}

void TDebugForm::TracesChanged() { ShowTraces(); }

void TDebugForm::ShowTraces() {
  // New lines come in at the top: only they are added, so that a long traced run does not
  // fill the whole list again at every step.
  const std::deque<std::string>& lines = Run.GetTraces().Lines();
  if (lines.size() < TracesShown) {
    ui->TraceListBox->clear();
    TracesShown = 0;
  }
  for (std::size_t line = lines.size() - TracesShown; line-- > 0;)
    ui->TraceListBox->insertItem(0, QString::fromStdString(lines[line]));
  TracesShown = lines.size();
  ClearAllTracesItem->setEnabled(Run.GetTraces().HasTraces());
}

void TDebugForm::ShowDevices() {
  if (Devices) ::ShowDevices(*ui->DeviceDebugView, *Devices);
}

// --- Pop-ups ---

TTreeNode* TDebugForm::SelectedCommandNode() const {
  TDebugTree* tree = Run.GetDebugTree();
  return tree ? tree->GetTree().GetSelected() : nullptr;
}

TTreeNode* TDebugForm::SelectedAttributeNode() const {
  TTreeMirror* tree = Run.GetAttributeTree();
  return tree ? tree->GetTree().GetSelected() : nullptr;
}

TDevice* TDebugForm::SelectedDevice() const {
  QTreeWidgetItem* item = ui->DeviceDebugView->currentItem();
  return item && item->isSelected() ? DeviceOfItem(item) : nullptr;
}

void TDebugForm::UpdateDebugPopup() {
  TTreeNode* node = SelectedCommandNode();
  TScript* script = TDebugTree::ScriptOf(node);
  const bool command = script && node->GetLevel() > 0;
  EditItem->setVisible(command);
  DeleteItem->setVisible(command);
  AddStopItem->setVisible(command);
  CommentOutItem->setVisible(command && script->CanCommentOut());
  if (!command) return;
  CommentOutItem->setText(script->AbCommentedOut ? "Restore Script" : "Comment Out");
  AddStopItem->setText(Run.GetDebugTree()->HasStop(node) ? "Remove Stop" : "Add Stop");
}

void TDebugForm::UpdateAttributePopup() {
  TTreeNode* node = SelectedAttributeNode();
  auto* data = node ? static_cast<TExpAttViewData*>(node->GetData()) : nullptr;
  TExpAttribute* attribute =
      data && data->ExpAttDataType() == ATTRIBUTE ? static_cast<TExpAttribute*>(data) : nullptr;
  AttEditItem->setVisible(attribute != nullptr);
  auto* output = dynamic_cast<TOutput*>(attribute);
  ShowItem->setVisible(output != nullptr);
  if (output) ShowItem->setChecked(output->IsFormVisible());
  TData* variable = TDebugRun::VariableOf(node);
  TraceItem->setVisible(variable != nullptr);
  if (variable)
    TraceItem->setText(Run.GetTraces().IsTraced(variable) ? "Remove Trace" : "Trace");
}

void TDebugForm::UpdateDevicePopup() {
  const bool device = SelectedDevice() != nullptr;
  DeviceEditItem->setVisible(device);
  InteractItem->setVisible(device);
  ResetItem->setVisible(device);
}

void TDebugForm::UpdateTracePopup() {
  ClearAllTracesItem->setEnabled(Run.GetTraces().HasTraces());
}

void TDebugForm::EditDevice() {
  TDevice* device = SelectedDevice();
  if (!device) return;
  Run.OpenDialog([device] { return device->Edit() ? 1 : 0; });
  ShowDevices();
}

void TDebugForm::ToggleOutputWindow(TTreeNode* node) {
  auto* data = node ? static_cast<TExpAttViewData*>(node->GetData()) : nullptr;
  if (!data || data->ExpAttDataType() != ATTRIBUTE) return;
  auto* output = dynamic_cast<TOutput*>(static_cast<TExpAttribute*>(data));
  if (!output) return;
  if (output->IsFormVisible())
    output->HideOutputForm();
  else
    output->ShowOutputForm();
}

void TDebugForm::AttributeDoubleClicked(TTreeNode* node) {
  auto* data = node ? static_cast<TExpAttViewData*>(node->GetData()) : nullptr;
  if (!data || data->ExpAttDataType() != ATTRIBUTE) return;
  if (auto* output = dynamic_cast<TOutput*>(static_cast<TExpAttribute*>(data))) {
    output->ShowOutputForm();
    return;
  }
  Run.EditAttribute(node);
}
