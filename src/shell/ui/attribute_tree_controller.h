// The attribute tree's behaviour in the main window and the current-value box below
// it: a press selects, the pop-up offers the items of the node pressed (the lists' add,
// add many, clear and clear unused; the attributes' edit and delete; "Show" for outputs,
// checked while the output's window is visible; "Show Current Value" for variables), a
// double click adds to a list, shows an output's window or edits any other attribute,
// and the Delete key deletes the attribute under the mouse. The decisions are the core's
// attribute tree editor's. The box (DataListBox) shows the lines the core's
// current-value box holds, with its own pop-up "Clear", "Save" and "Hide".
#pragma once

#include <QObject>

#include <memory>

#include "shell/attribute_tree_editing.h"
#include "shell/current_value.h"
#include "shell/ui/node_tree_view.h"

class QAction;
class QListWidget;
class QMenu;
class TDocumentSession;
class TExperiment;

class TAttributeTreeController final : public QObject, private TNodeTreeHandler {
  Q_OBJECT

public:
  TAttributeTreeController(TNodeTreeView& view, QListWidget& box, TDocumentSession& session);
  ~TAttributeTreeController() override;

  void Bind(TExperiment& experiment);
  void Unbind();

  QMenu* PopupMenu() const { return Popup; }
  QMenu* BoxMenu() const { return BoxPopup; }

  // The attribute buttons of the main tool bar ("Add Output", "Add Single Variable",
  // "Add an Array", "Add a Single File", "Add a Multiple File").
  void AttributeButtonClick(TAttributeButton button);

  // "Show Current Value" for the selected node: a variable's lines go to the top of the
  // box, which shows.
  void ShowCurrentValueDataClick();
  // "Show" for the selected output: hides its visible window, shows a hidden one.
  void ShowOutputClick();
  // "Plot", "Output To File" and "Create New File" for the selected node: the commands
  // that start from an attribute.
  void PlotClick();
  void OutputToFileItemClick();
  void CreateNewFileItemClick();
  // "Show Current Value Box": the box shows or hides.
  void ToggleBox();
  bool BoxVisible() const;
  void ClearBox();
  void SaveBox();
  void HideBox();

private:
  // TNodeTreeHandler
  void TreePressed(TTreeNode* node, Qt::MouseButton button) override;
  void TreeDoubleClicked(TTreeNode* node) override;
  void TreeContextMenu(TTreeNode* node, const QPoint& globalPos) override;
  bool TreeKey(QKeyEvent* event, bool pointerOverSelection) override;

  QAction* AddItem(const char* name, const char* text, void (TAttributeTreeController::*slot)());
  // Shows and enables the items for the last press (ExpAttViewPopupMenuPopup).
  void PreparePopup();
  void ShowLines();
  // The handlers of the items that act through the editor.
  void EditClick();
  void AddClick();
  void AddManyClick();
  void DeleteClick();
  void ClearClick();
  void ClearUnusedClick();

  TNodeTreeView& View;
  QListWidget& Box;
  TDocumentSession& Session;
  TExperiment* Experiment = nullptr;
  std::unique_ptr<TAttributeTreeEditor> Editor;
  TExpAttPress LastPress;
  TCurrentValueBox Values;
  QMenu* Popup = nullptr;
  QAction* AddExpAttItem = nullptr;
  QAction* AddManyExpAttItem = nullptr;
  QAction* ClearExpAttListItem = nullptr;
  QAction* ClearUnusedItem = nullptr;
  QAction* EditExpAttItem = nullptr;
  QAction* DeleteExpAttItem = nullptr;
  QAction* ShowOutputItem = nullptr;
  QAction* PlotItem = nullptr;
  QAction* ShowValueItem = nullptr;
  QAction* OutputToFileItem = nullptr;
  QAction* CreateNewFileItem = nullptr;
  QMenu* BoxPopup = nullptr;
};
