// The editing of the main window's experiment tree: what a press on a node selects,
// which pop-up items show for the node pressed, what the tree's shortcuts do, and the
// edits behind its menu items (edit, delete, comment out, start block, blank-line moves).
// The window forwards its events here and applies the answers; its tree view follows
// the experiment tree through the tree's observer, and the diagram redraws through its
// view. The items act on the experiment tree's selected node.
#pragma once

#include <string>

#include "model/experiment_object.h"

class TDrawParts;
class TExperiment;
class TTree;
class TTreeNode;

// What a press in the tree hit: the experiment type of the node's object, or empty
// space.
enum TTreeNodeKind : int {
  nkNONE = -2,
  nkBLANK = aiBLANK,
  nkBLOCK = aiBLOCK,
  nkSCRIPT = aiSCRIPT,
};

// What the experiment's command clipboard answers for the selection.
struct TClipboardState {
  bool CanCopy = false;   // the selected object may be copied or cut
  bool CanPaste = false;  // a command may be pasted at the selected node
};

struct TMenuItemState {
  bool Visible = false;
  bool Enabled = false;
};

// The pop-up items of the experiment tree (also of the block editor, which shares the
// block items). An item shows and is enabled with its group unless it has an entry of
// its own below, which then decides.
struct TExpObjMenuState {
  TMenuItemState BlockAction;      // "Set As Start", "Save", "Save As", "Add Script..."
  TMenuItemState ScriptAction;     // "Comment Out", "Insert...", "Cut", "Copy"
  TMenuItemState AnyScriptAction;  // the "Paste" items
  TMenuItemState ExpObjAction;     // "Edit", "Delete"
  TMenuItemState BlankAction;      // "To Beginning", "To End", the add-command items
  TMenuItemState Delete;
  TMenuItemState CommentOut;       // shown only for commands that can be commented out
  std::string CommentOutCaption;   // "Restore" on a commented-out command
  TMenuItemState Cut;
  TMenuItemState Copy;
  TMenuItemState Paste;            // "Paste"
  TMenuItemState PasteInsert;      // "Paste" of "Insert..."
};

// The tree's shortcuts.
enum class TTreeKey { Other, Delete, CtrlC, CtrlX, CtrlV };
// What a shortcut does: the handler the window runs (Delete runs here already).
enum class TTreeKeyAction {
  None,
  Delete,       // DeleteExpObjClick
  Copy,         // CopyScriptClick
  Cut,          // CutScriptClick
  PasteScript,  // PasteScriptClick: onto the blank line
  PasteInsert,  // PasteInsertClick: in front of the selected command
};

extern const char* const CommentOutCaption;  // "Comment Out"
extern const char* const RestoreCaption;     // "Restore"

class TExperimentTreeEditor {
public:
  // Holds no state of its own: make one whenever the experiment is replaced.
  TExperimentTreeEditor(TExperiment& experiment, TDrawParts& parts)
      : Exp(experiment), Parts(parts) {}

  // A press at a node (none: empty space): the node is selected and, unless a run is
  // active, its block becomes the current block, the pressed node keeping the
  // selection. Answers the node's kind, which the pop-up menu follows.
  TTreeNodeKind ExperimentViewMouseDown(TTreeNode* node);

  // What the experiment's clipboard answers for the selected node. Asking may drop a
  // held command whose variable, device, output or data file has gone.
  TClipboardState ClipboardState() const;

  // The pop-up items for the kind of the last press and the selected node.
  TExpObjMenuState ExpObjPopupPopup(TTreeNodeKind kind) const;

  // The shortcut's action on the selected node. Nothing while a run is active, without
  // a selected node, or when the mouse pointer is outside the selected node's rectangle.
  TTreeKeyAction KeyAction(TTreeKey key, bool pointerInside) const;
  // Decides as KeyAction and runs the action's handler; answers the action.
  TTreeKeyAction ExperimentViewKeyDown(TTreeKey key, bool pointerInside);

  // The menu handlers. Those that change the experiment mark it modified (which also
  // refreshes the run buttons) and answer true; each refuses while a run is active.
  // Opens the selected object's dialog (also during a run: the dialogs refuse changes
  // themselves); answers the dialog's result, 0 without an object.
  int EditExpObjClick();
  // A command is deleted (a Decision refuses with its message, the blank line stays);
  // a block goes with its commands and its box, without a question.
  bool DeleteExpObjClick();
  // Inverts the commented-out flag of the selected command.
  bool CommentOutScriptClick();
  // The current block becomes the start block.
  bool SetAsStartBlockClick();
  // The blank line moves in front of the first command of the current block, or to the
  // end of its block. The insertion point is no part of the saved experiment: answers
  // whether it moved, and marks nothing.
  bool BlankToBeginBMIClick();
  bool BlankToEndBMIClick();

  // The command clipboard (tree_clipboard.cpp). Copy and Cut take the selected command
  // when the clipboard can hold it; copying marks the experiment modified too, as every
  // clipboard edit does.
  bool CopyScriptClick();
  bool CutScriptClick();
  // Pastes at the selected node: onto the blank line or a block it adds the command,
  // onto a command it replaces it after the overwrite question (No: false, nothing
  // changes). Nothing when the clipboard has nothing to paste there.
  bool PasteScriptClick();
  // Pastes in front of the selected command: the blank line moves there first, so
  // nothing is overwritten and no question is asked.
  bool PasteInsertClick();

private:
  TTree& Tree() const;
  TExperimentObject* Selected() const;

  TExperiment& Exp;
  TDrawParts& Parts;
};

// The object of a node of the experiment tree; none for none or a node without one.
TExperimentObject* ObjectOfNode(const TTreeNode* node);
