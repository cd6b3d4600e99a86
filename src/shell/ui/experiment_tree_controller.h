// The experiment tree's behaviour in the main window: presses select and make a block
// current, the pop-up menu offers the items of the node pressed, the shortcuts act
// while the pointer is over the selection, and nodes are dragged to move them. The
// decisions are the core's tree editor's and drag objects'; this class turns Qt events
// into their calls and their answers into menu states.
#pragma once

#include <QObject>

#include <memory>

#include "shell/tree_editing.h"
#include "shell/ui/node_tree_view.h"

class QAction;
class QMenu;
class TDocumentSession;
class TDragExperimentObject;
class TDrawParts;
class TExperiment;

class TExperimentTreeController final : public QObject, private TNodeTreeHandler {
  Q_OBJECT

public:
  TExperimentTreeController(TNodeTreeView& view, TDocumentSession& session);
  ~TExperimentTreeController() override;

  // The experiment the tree shows now; Unbind before it goes.
  void Bind(TExperiment& experiment, TDrawParts& parts);
  void Unbind();

  // The pop-up menu (also shown by the tests' right clicks) and its items by name.
  QMenu* PopupMenu() const { return Popup; }
  // "Insert...": shown for a command; its items (the add handlers) are the window's.
  QMenu* InsertMenu() const { return Insert; }
  // "Add Script...": shown for a block and the blank line; the command goes to the blank
  // line of the block pressed. Its items are the window's too.
  QMenu* AddScriptMenu() const { return AddScript; }

private:
  // TNodeTreeHandler
  void TreePressed(TTreeNode* node, Qt::MouseButton button) override;
  void TreeDoubleClicked(TTreeNode* node) override;
  void TreeContextMenu(TTreeNode* node, const QPoint& globalPos) override;
  QString TreeDragStart(TTreeNode* node) override;
  bool TreeDragOver(TTreeNode* node) override;
  void TreeDragEnd(TTreeNode* node, bool accepted) override;
  bool TreeKey(QKeyEvent* event, bool pointerOverSelection) override;

  // Shows and enables the items for the kind of the last press (ExpObjPopupPopup).
  void PreparePopup();
  QAction* AddItem(const char* name, const char* text, void (TExperimentTreeController::*slot)());
  void EditClick();
  void DeleteClick();
  void CommentOutClick();
  void CutClick();
  void CopyClick();
  void PasteClick();
  void PasteInsertClick();
  void SetAsStartClick();
  void SaveBlockClick();
  void SaveAsBlockClick();
  void ToBeginningClick();
  void ToEndClick();

  TNodeTreeView& View;
  TDocumentSession& Session;
  std::unique_ptr<TExperimentTreeEditor> Editor;
  std::unique_ptr<TDragExperimentObject> Drag;
  TTreeNodeKind LastKind = nkNONE;
  QMenu* Popup = nullptr;
  QMenu* Insert = nullptr;
  QMenu* AddScript = nullptr;
  QAction* EditItem = nullptr;
  QAction* DeleteItem = nullptr;
  QAction* CommentOutItem = nullptr;
  QAction* CutItem = nullptr;
  QAction* CopyItem = nullptr;
  QAction* PasteItem = nullptr;
  QAction* PasteInsertItem = nullptr;  // the "Paste" of "Insert..."
  QAction* SetAsStartItem = nullptr;
  QAction* SaveItem = nullptr;
  QAction* SaveAsItem = nullptr;
  QAction* ToBeginningItem = nullptr;
  QAction* ToEndItem = nullptr;
};
