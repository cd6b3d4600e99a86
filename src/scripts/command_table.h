// The command types of an experiment: one row per type number with what makes the
// command and which dialog writes and changes it. Blocks make commands through it (the
// files' loader and the add operations), the main window's add handlers open the
// dialogs through it and the clipboard pastes through it, so that a new command type is
// one row here. The blank line (16) is the experiment's own and has no row.
#pragma once

#include <memory>
#include <vector>

class TBlock;
class TScript;
class TTreeNode;
struct TScriptRequest;

struct TCommandKind {
  int Type;
  // The command on the node, owned by the block.
  TScript* (*Create)(TBlock* block, TTreeNode* node);
  // A request for the command's dialog (UiPort().OpenDialog); none while the type has no
  // dialog, whose commands are then made and changed only by code.
  std::unique_ptr<TScriptRequest> (*Dialog)();
};

// Every row, in type order.
const std::vector<TCommandKind>& CommandKinds();
// The row of a type; none for the blank line and numbers that name no command.
const TCommandKind* CommandKindOf(int type);
