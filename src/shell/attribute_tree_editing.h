// The editing of the main window's attribute tree (outputs, variables, data files): what
// a press selects, which pop-up items show for the node pressed, what a double click and
// the Delete key do, the edits behind the items (add, add many, edit, delete, clear,
// clear unused, show an output's window) and the attribute buttons of the main tool
// bar. The window forwards its events here and applies the answers; the dialogs are the
// attributes' and lists' own. The items act on the attribute tree's selected node.
#pragma once

#include "shell/tree_editing.h"

class TExpAttList;
class TExpAttribute;
class TExperiment;
class TTreeNode;

// What a press in the attribute tree hit: the node's view kind (ATTRIBUTE or
// ATTRIBUTELIST) and, for an attribute, its TAttributeType; -1 for what it did not hit.
struct TExpAttPress {
  int ViewKind = -1;
  int Type = -1;
  bool operator==(const TExpAttPress&) const = default;
};

// The pop-up items of the attribute tree, each shown and enabled as its entry says.
struct TExpAttMenuState {
  // A list node: "Add", "Add Many", "Clear", "Clear Unused".
  TMenuItemState Add;
  TMenuItemState AddMany;
  TMenuItemState Clear;
  TMenuItemState ClearUnused;
  // Any attribute: "Edit", "Delete".
  TMenuItemState Edit;
  TMenuItemState Delete;
  // An output: "Show", checked while the output's window is visible.
  TMenuItemState Show;
  bool ShowChecked = false;
  // Outputs and variables: "Plot".
  TMenuItemState Plot;
  // Single and array variables: "Show Current Value".
  TMenuItemState ShowCurrentValue;
  // Variables and data files: "Output To File".
  TMenuItemState OutputToFile;
  // A multiple data file: "Create New File".
  TMenuItemState CreateNewFile;

  // Whether any item shows: a press on empty space shows none.
  bool AnyVisible() const;
};

// The attribute buttons of the main tool bar.
enum class TAttributeButton { Output, Variable, Array, SingleFile, MultiFile };

class TAttributeTreeEditor {
public:
  // Holds no state of its own: make one whenever the experiment is replaced.
  explicit TAttributeTreeEditor(TExperiment& experiment) : Exp(experiment) {}

  // A press at a node (none: empty space): the node is selected. Answers what it hit,
  // which the pop-up menu follows.
  TExpAttPress ExpAttViewMouseDown(TTreeNode* node);
  // A double click at a node: it is pressed, then a list adds several attributes
  // through its dialog, an output shows its window and any other attribute opens its
  // dialog. Nothing happens on empty space.
  void ExpAttViewDblClick(TTreeNode* node);

  // The pop-up items for the last press and the selected node.
  TExpAttMenuState ExpAttViewPopupMenuPopup(const TExpAttPress& press) const;

  // The Delete key: runs DeleteExpAttClick while no run is active, on a selected
  // attribute (not a list) and only while the mouse pointer lies inside its node.
  // Answers whether the key was the tree's.
  bool ExpAttViewKeyDown(TTreeKey key, bool pointerInside);

  // The menu handlers, on the selected node. Those that change the experiment mark it
  // modified and answer true.
  // The selected attribute's dialog; answers its result, 0 without an attribute.
  int EditExpAttClick();
  // The selected list adds one attribute, or several, through its dialog (each list
  // refuses during a run with its own message).
  void AddExpAttClick();
  void AddManyExpAttClick();
  // Deletes the selected attribute once the user agrees where commands use it (those
  // commands go with it). Refused during a run.
  bool DeleteExpAttClick();
  // Empties the selected list after its question. Refused during a run.
  bool ClearExpAttlistClick();
  // Deletes the attributes of the selected list that no command uses.
  bool ClearUnusedClick();
  // "Show" of the selected output: a visible window hides, a hidden one shows.
  void ShowOutputClick();
  // The commands that start from the selected attribute; each refuses during a run
  // (CanAddCommand) and answers 1 when it made a command. "Plot": the Plot dialog with
  // the variable or output preselected. "Output To File": its dialog with the variable or
  // data file preselected (nothing for an output). "Create New File": for a multiple
  // data file the command is made at once, without a dialog; nothing for another node.
  int PlotClick();
  int OutputToFileItemClick();
  int CreateNewFileItemClick();

  // A button of the tool bar: during a run "Cannot add " + its name + " while running an
  // experiment."; otherwise the list of its kind adds one attribute through its dialog.
  void AttributeButtonClick(TAttributeButton button);

private:
  TTreeNode* SelectedNode() const;
  TExpAttribute* SelectedAttribute() const;
  TExpAttList* SelectedList() const;

  TExperiment& Exp;
};

// The two ways a list adds: one attribute through its dialog, or several.
void AddOneAttribute(TExpAttList& list);
void AddManyAttributes(TExpAttList& list);
