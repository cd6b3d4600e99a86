// The attribute tree's behaviour in the main window and the current-value box below
// it: a press selects, the pop-up offers "Show Current Value" for variables and "Show"
// for outputs (checked while the output's window is visible; a double click shows it
// too), and the box (DataListBox) shows the lines the core's current-value box holds,
// with its own pop-up "Clear", "Save" and "Hide". The other attribute items come with
// their dialogs.
#pragma once

#include <QObject>

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

  // "Show Current Value" for the selected node: a variable's lines go to the top of the
  // box, which shows.
  void ShowCurrentValueDataClick();
  // "Show" for the selected output: hides its visible window, shows a hidden one.
  void ShowOutputClick();
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

  void ShowLines();

  TNodeTreeView& View;
  QListWidget& Box;
  TDocumentSession& Session;
  TExperiment* Experiment = nullptr;
  TCurrentValueBox Values;
  QMenu* Popup = nullptr;
  QAction* ShowValueItem = nullptr;
  QAction* ShowOutputItem = nullptr;
  QMenu* BoxPopup = nullptr;
};
