#include "shell/ui/attribute_tree_controller.h"

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>

#include "model/data.h"
#include "model/exp_attribute.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "shell/document_session.h"

namespace {

// The variable a node shows; none for lists, outputs, files and empty space.
TData* VariableOf(const TTreeNode* node) {
  auto* attribute = dynamic_cast<TExpAttribute*>(AttViewDataOfNode(node));
  if (!attribute) return nullptr;
  const TAttributeType type = attribute->GetAttributeType();
  if (type != SINGLEVARIABLE && type != ARRAYVARIABLE) return nullptr;
  return dynamic_cast<TData*>(attribute);
}

void Apply(QAction* item, const TMenuItemState& state) {
  item->setVisible(state.Visible);
  item->setEnabled(state.Enabled);
}

}  // namespace

TAttributeTreeController::TAttributeTreeController(TNodeTreeView& view, QListWidget& box,
                                                   TDocumentSession& session)
    : View(view), Box(box), Session(session) {
  Popup = new QMenu(&View);
  Popup->setObjectName("ExpAttPopup");
  AddExpAttItem = AddItem("AddExpAttItem", "Add", &TAttributeTreeController::AddClick);
  AddManyExpAttItem =
      AddItem("AddManyExpAttItem", "Add Many", &TAttributeTreeController::AddManyClick);
  ClearExpAttListItem =
      AddItem("ClearExpAttListItem", "Clear", &TAttributeTreeController::ClearClick);
  ClearUnusedItem =
      AddItem("ClearUnusedItem", "Clear Unused", &TAttributeTreeController::ClearUnusedClick);
  EditExpAttItem = AddItem("EditExpAttItem", "Edit", &TAttributeTreeController::EditClick);
  DeleteExpAttItem = AddItem("DeleteExpAttItem", "Delete", &TAttributeTreeController::DeleteClick);
  Popup->addSeparator();
  ShowOutputItem = AddItem("ShowOutputItem", "Show", &TAttributeTreeController::ShowOutputClick);
  ShowOutputItem->setCheckable(true);
  PlotItem = AddItem("PlotItem", "Plot", &TAttributeTreeController::PlotClick);
  ShowValueItem = AddItem("ShowCurrentValueDataItem", "Show Current Value",
                          &TAttributeTreeController::ShowCurrentValueDataClick);
  OutputToFileItem = AddItem("OutputToFileItem", "Output To File",
                             &TAttributeTreeController::OutputToFileItemClick);
  CreateNewFileItem = AddItem("CreateNewFileItem", "Create New File",
                              &TAttributeTreeController::CreateNewFileItemClick);

  BoxPopup = new QMenu(&Box);
  BoxPopup->setObjectName("ViewValuePopup");
  connect(BoxPopup->addAction("Clear"), &QAction::triggered, this,
          &TAttributeTreeController::ClearBox);
  connect(BoxPopup->addAction("Save"), &QAction::triggered, this,
          &TAttributeTreeController::SaveBox);
  connect(BoxPopup->addAction("Hide"), &QAction::triggered, this,
          &TAttributeTreeController::HideBox);
  Box.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&Box, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { BoxPopup->popup(Box.viewport()->mapToGlobal(pos)); });
  Box.hide();
  View.SetHandler(this);
}

TAttributeTreeController::~TAttributeTreeController() { View.SetHandler(nullptr); }

QAction* TAttributeTreeController::AddItem(const char* name, const char* text,
                                           void (TAttributeTreeController::*slot)()) {
  QAction* item = Popup->addAction(QString::fromUtf8(text));
  item->setObjectName(name);
  if (slot) connect(item, &QAction::triggered, this, slot);
  return item;
}

void TAttributeTreeController::Bind(TExperiment& experiment) {
  Experiment = &experiment;
  Editor = std::make_unique<TAttributeTreeEditor>(experiment);
  LastPress = {};
}

void TAttributeTreeController::Unbind() {
  Editor.reset();
  Experiment = nullptr;
  LastPress = {};
}

void TAttributeTreeController::TreePressed(TTreeNode* node, Qt::MouseButton) {
  if (Editor) LastPress = Editor->ExpAttViewMouseDown(node);
}

void TAttributeTreeController::TreeDoubleClicked(TTreeNode* node) {
  if (Editor) Editor->ExpAttViewDblClick(node);
}

void TAttributeTreeController::PreparePopup() {
  const TExpAttMenuState state = Editor->ExpAttViewPopupMenuPopup(LastPress);
  Apply(AddExpAttItem, state.Add);
  Apply(AddManyExpAttItem, state.AddMany);
  Apply(ClearExpAttListItem, state.Clear);
  Apply(ClearUnusedItem, state.ClearUnused);
  Apply(EditExpAttItem, state.Edit);
  Apply(DeleteExpAttItem, state.Delete);
  Apply(ShowOutputItem, state.Show);
  ShowOutputItem->setChecked(state.ShowChecked);
  Apply(PlotItem, state.Plot);
  Apply(ShowValueItem, state.ShowCurrentValue);
  Apply(OutputToFileItem, state.OutputToFile);
  Apply(CreateNewFileItem, state.CreateNewFile);
}

void TAttributeTreeController::TreeContextMenu(TTreeNode* node, const QPoint& globalPos) {
  if (!Editor) return;
  LastPress = Editor->ExpAttViewMouseDown(node);
  // Empty space shows no item, and so no menu.
  if (!Editor->ExpAttViewPopupMenuPopup(LastPress).AnyVisible()) return;
  PreparePopup();
  Popup->popup(globalPos);
}

bool TAttributeTreeController::TreeKey(QKeyEvent* event, bool pointerOverSelection) {
  if (!Editor || event->key() != Qt::Key_Delete || event->modifiers() != Qt::NoModifier)
    return false;
  return Editor->ExpAttViewKeyDown(TTreeKey::Delete, pointerOverSelection);
}

void TAttributeTreeController::AttributeButtonClick(TAttributeButton button) {
  if (Editor) Editor->AttributeButtonClick(button);
}

void TAttributeTreeController::EditClick() {
  if (Editor) Editor->EditExpAttClick();
}

void TAttributeTreeController::AddClick() {
  if (Editor) Editor->AddExpAttClick();
}

void TAttributeTreeController::AddManyClick() {
  if (Editor) Editor->AddManyExpAttClick();
}

void TAttributeTreeController::DeleteClick() {
  if (Editor) Editor->DeleteExpAttClick();
}

void TAttributeTreeController::ClearClick() {
  if (Editor) Editor->ClearExpAttlistClick();
}

void TAttributeTreeController::ClearUnusedClick() {
  if (Editor) Editor->ClearUnusedClick();
}

void TAttributeTreeController::ShowCurrentValueDataClick() {
  if (!Experiment) return;
  TData* data = VariableOf(Experiment->GetAttributeTree().GetSelected());
  if (!data) return;
  // The lines are read under the experiment's value lock, so a run may go on meanwhile.
  Values.Show(*data);
  ShowLines();
  Box.show();
}

void TAttributeTreeController::PlotClick() {
  if (Editor) Editor->PlotClick();
}

void TAttributeTreeController::OutputToFileItemClick() {
  if (Editor) Editor->OutputToFileItemClick();
}

void TAttributeTreeController::CreateNewFileItemClick() {
  if (Editor) Editor->CreateNewFileItemClick();
}

void TAttributeTreeController::ShowOutputClick() {
  if (Editor) Editor->ShowOutputClick();
}

void TAttributeTreeController::ShowLines() {
  Box.clear();
  for (const std::string& line : Values.GetLines()) Box.addItem(QString::fromStdString(line));
}

void TAttributeTreeController::ToggleBox() { Box.setVisible(!Box.isVisible()); }

bool TAttributeTreeController::BoxVisible() const { return !Box.isHidden(); }

void TAttributeTreeController::ClearBox() {
  Values.Clear();
  ShowLines();
}

void TAttributeTreeController::SaveBox() { Values.Save(Session.Directories.Experiment); }

void TAttributeTreeController::HideBox() { Box.hide(); }
