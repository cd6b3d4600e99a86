#include "shell/ui/experiment_tree_controller.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>

#include "model/experiment.h"
#include "shell/document_session.h"
#include "shell/tree_drag.h"

TExperimentTreeController::TExperimentTreeController(TNodeTreeView& view,
                                                     TDocumentSession& session)
    : View(view), Session(session) {
  Popup = new QMenu(&View);
  Popup->setObjectName("ExpObjPopup");
  EditItem = AddItem("EditExpObjItem", "Edit", &TExperimentTreeController::EditClick);
  DeleteItem = AddItem("DeleteExpObjItem", "Delete", &TExperimentTreeController::DeleteClick);
  CommentOutItem =
      AddItem("CommentOutItem", CommentOutCaption, &TExperimentTreeController::CommentOutClick);
  Insert = Popup->addMenu("Insert...");
  Insert->setObjectName("InsertMenu");
  Insert->menuAction()->setObjectName("InsertMenu");  // the item, named as the others
  // The add-command items of "Insert..." follow (the window's).
  PasteInsertItem = Insert->addAction("Paste");
  PasteInsertItem->setObjectName("PasteInsertItem");
  connect(PasteInsertItem, &QAction::triggered, this, &TExperimentTreeController::PasteInsertClick);
  Insert->addSeparator();
  Popup->addSeparator();
  CutItem = AddItem("CutScriptItem", "Cut", &TExperimentTreeController::CutClick);
  CopyItem = AddItem("CopyScriptItem", "Copy", &TExperimentTreeController::CopyClick);
  PasteItem = AddItem("PasteScriptItem", "Paste", &TExperimentTreeController::PasteClick);
  // The shortcuts show in the menu and act only while it is open; in the tree the keys
  // go through TreeKey, which wants the pointer over the selected node.
  CutItem->setShortcut(QKeySequence::Cut);
  CopyItem->setShortcut(QKeySequence::Copy);
  PasteItem->setShortcut(QKeySequence::Paste);
  for (QAction* item : {CutItem, CopyItem, PasteItem})
    item->setShortcutContext(Qt::WidgetShortcut);
  Popup->addSeparator();
  SetAsStartItem =
      AddItem("SetAsStartItem", "Set As Start", &TExperimentTreeController::SetAsStartClick);
  SaveItem = AddItem("SaveBlockItem", "Save", &TExperimentTreeController::SaveBlockClick);
  SaveAsItem = AddItem("SaveAsBlockItem", "Save As", &TExperimentTreeController::SaveAsBlockClick);
  Popup->addSeparator();
  ToBeginningItem =
      AddItem("BlankToBeginItem", "To Beginning", &TExperimentTreeController::ToBeginningClick);
  ToEndItem = AddItem("BlankToEndItem", "To End", &TExperimentTreeController::ToEndClick);
  AddScript = Popup->addMenu("Add Script...");
  AddScript->setObjectName("AddScriptMenu");
  AddScript->menuAction()->setObjectName("AddScriptMenu");
  View.SetHandler(this);
}

TExperimentTreeController::~TExperimentTreeController() { View.SetHandler(nullptr); }

QAction* TExperimentTreeController::AddItem(const char* name, const char* text,
                                            void (TExperimentTreeController::*slot)()) {
  QAction* item = Popup->addAction(QString::fromUtf8(text));
  item->setObjectName(name);
  connect(item, &QAction::triggered, this, slot);
  return item;
}

void TExperimentTreeController::Bind(TExperiment& experiment, TDrawParts& parts) {
  Drag.reset();
  Editor = std::make_unique<TExperimentTreeEditor>(experiment, parts);
}

void TExperimentTreeController::Unbind() {
  Drag.reset();
  Editor.reset();
  LastKind = nkNONE;
}

void TExperimentTreeController::TreePressed(TTreeNode* node, Qt::MouseButton) {
  if (Editor) LastKind = Editor->ExperimentViewMouseDown(node);
}

void TExperimentTreeController::TreeDoubleClicked(TTreeNode* node) {
  if (!Editor) return;
  Editor->ExperimentViewMouseDown(node);
  Editor->EditExpObjClick();
}

void TExperimentTreeController::PreparePopup() {
  const TExpObjMenuState state = Editor->ExpObjPopupPopup(LastKind);
  auto apply = [](QAction* item, const TMenuItemState& item_state) {
    item->setVisible(item_state.Visible);
    item->setEnabled(item_state.Enabled);
  };
  apply(EditItem, state.ExpObjAction);
  apply(DeleteItem, state.Delete);
  apply(CommentOutItem, state.CommentOut);
  apply(Insert->menuAction(), state.ScriptAction);
  CommentOutItem->setText(QString::fromStdString(state.CommentOutCaption));
  for (QAction* item : {SetAsStartItem, SaveItem, SaveAsItem}) apply(item, state.BlockAction);
  for (QAction* item : {ToBeginningItem, ToEndItem}) apply(item, state.BlankAction);
  apply(CutItem, state.Cut);
  apply(CopyItem, state.Copy);
  apply(PasteItem, state.Paste);
  apply(PasteInsertItem, state.PasteInsert);
  const TMenuItemState& adds = state.BlockAction.Visible ? state.BlockAction : state.BlankAction;
  apply(AddScript->menuAction(), adds);
}

void TExperimentTreeController::TreeContextMenu(TTreeNode* node, const QPoint& globalPos) {
  if (!Editor) return;
  LastKind = Editor->ExperimentViewMouseDown(node);
  PreparePopup();
  Popup->popup(globalPos);
}

QString TExperimentTreeController::TreeDragStart(TTreeNode* node) {
  Drag = ExperimentViewStartDrag(node);
  if (!Drag) return {};
  const QString text = QString::fromStdString(Drag->GetLabelText());
  // A block's empty title still gets a label to hold.
  return text.isEmpty() ? QStringLiteral(" ") : text;
}

bool TExperimentTreeController::TreeDragOver(TTreeNode* node) {
  return Drag && Drag->DragOver(node);
}

void TExperimentTreeController::TreeDragEnd(TTreeNode* node, bool accepted) {
  if (!Drag) return;
  std::unique_ptr<TDragExperimentObject> drag = std::move(Drag);
  drag->Finished(node, accepted);
}

bool TExperimentTreeController::TreeKey(QKeyEvent* event, bool pointerOverSelection) {
  if (!Editor) return false;
  TTreeKey key = TTreeKey::Other;
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier)
    key = TTreeKey::Delete;
  else if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_C)
    key = TTreeKey::CtrlC;
  else if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_X)
    key = TTreeKey::CtrlX;
  else if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_V)
    key = TTreeKey::CtrlV;
  if (key == TTreeKey::Other) return false;
  Editor->ExperimentViewKeyDown(key, pointerOverSelection);
  return true;
}

void TExperimentTreeController::EditClick() {
  if (Editor) Editor->EditExpObjClick();
}

void TExperimentTreeController::DeleteClick() {
  if (Editor) Editor->DeleteExpObjClick();
}

void TExperimentTreeController::CommentOutClick() {
  if (Editor) Editor->CommentOutScriptClick();
}

void TExperimentTreeController::CutClick() {
  if (Editor) Editor->CutScriptClick();
}

void TExperimentTreeController::CopyClick() {
  if (Editor) Editor->CopyScriptClick();
}

void TExperimentTreeController::PasteClick() {
  if (Editor) Editor->PasteScriptClick();
}

void TExperimentTreeController::PasteInsertClick() {
  if (Editor) Editor->PasteInsertClick();
}

void TExperimentTreeController::SetAsStartClick() {
  if (Editor) Editor->SetAsStartBlockClick();
}

void TExperimentTreeController::SaveBlockClick() { Session.SaveBlockClick(); }

void TExperimentTreeController::SaveAsBlockClick() { Session.SaveAsBlockClick(); }

void TExperimentTreeController::ToBeginningClick() {
  if (Editor) Editor->BlankToBeginBMIClick();
}

void TExperimentTreeController::ToEndClick() {
  if (Editor) Editor->BlankToEndBMIClick();
}
