#include "shell/ui/attribute_tree_controller.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

#include "model/data.h"
#include "model/exp_attribute.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "outputs/output.h"
#include "shell/document_session.h"
#include "shell/output_windows.h"

namespace {

// The variable a node shows; none for lists, outputs, files and empty space.
TData* VariableOf(const TTreeNode* node) {
  auto* attribute = dynamic_cast<TExpAttribute*>(AttViewDataOfNode(node));
  if (!attribute) return nullptr;
  const TAttributeType type = attribute->GetAttributeType();
  if (type != SINGLEVARIABLE && type != ARRAYVARIABLE) return nullptr;
  return dynamic_cast<TData*>(attribute);
}

}  // namespace

TAttributeTreeController::TAttributeTreeController(TNodeTreeView& view, QListWidget& box,
                                                   TDocumentSession& session)
    : View(view), Box(box), Session(session) {
  Popup = new QMenu(&View);
  Popup->setObjectName("ExpAttPopup");
  ShowValueItem = Popup->addAction("Show Current Value");
  ShowValueItem->setObjectName("ShowCurrentValueDataItem");
  connect(ShowValueItem, &QAction::triggered, this,
          &TAttributeTreeController::ShowCurrentValueDataClick);
  ShowOutputItem = Popup->addAction("Show");
  ShowOutputItem->setObjectName("ShowOutputItem");
  ShowOutputItem->setCheckable(true);
  connect(ShowOutputItem, &QAction::triggered, this, &TAttributeTreeController::ShowOutputClick);

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

void TAttributeTreeController::Bind(TExperiment& experiment) { Experiment = &experiment; }

void TAttributeTreeController::Unbind() { Experiment = nullptr; }

void TAttributeTreeController::TreePressed(TTreeNode* node, Qt::MouseButton) {
  if (Experiment && node) Experiment->GetAttributeTree().SetSelected(node);
}

void TAttributeTreeController::TreeDoubleClicked(TTreeNode* node) {
  TreePressed(node, Qt::LeftButton);
  if (TOutput* output = OutputOfNode(node)) output->ShowOutputForm();
}

void TAttributeTreeController::TreeContextMenu(TTreeNode* node, const QPoint& globalPos) {
  TreePressed(node, Qt::RightButton);
  // The variable and output items; the others come with the attribute dialogs.
  ShowValueItem->setVisible(VariableOf(node) != nullptr);
  ShowValueItem->setEnabled(true);
  TOutput* output = OutputOfNode(node);
  ShowOutputItem->setVisible(output != nullptr);
  ShowOutputItem->setChecked(output && output->IsFormVisible());
  if (VariableOf(node) || output) Popup->popup(globalPos);
}

bool TAttributeTreeController::TreeKey(QKeyEvent*, bool) { return false; }

void TAttributeTreeController::ShowCurrentValueDataClick() {
  if (!Experiment) return;
  TData* data = VariableOf(Experiment->GetAttributeTree().GetSelected());
  if (!data) return;
  // The lines are read under the experiment's value lock, so a run may go on meanwhile.
  Values.Show(*data);
  ShowLines();
  Box.show();
}

void TAttributeTreeController::ShowOutputClick() {
  if (!Experiment) return;
  TOutput* output = OutputOfNode(Experiment->GetAttributeTree().GetSelected());
  if (!output) return;
  // The item is checked exactly while the window is visible (set as the menu opens);
  // the window itself decides, whatever the click did to the mark.
  ::ShowOutputClick(*output, output->IsFormVisible());
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
