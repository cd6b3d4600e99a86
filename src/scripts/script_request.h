// How a command asks for its dialog. Each command type with a dialog has its own request
// type (the dialog registry keys on it) derived from TScriptRequest: made for a new
// command (Script none; OK makes the command at the insertion point) or for the command
// being changed (its Edit). The dialog validates, makes or changes the command through
// the command's own operations and marks the experiment modified (TScriptForm).
#pragma once

#include <functional>

#include "model/ui_port.h"

class TBlock;
class TDevice;
class TExpAttribute;
class TExperiment;
class TScript;

struct TScriptRequest : TDialogRequest {
  // What the dialog lists that the core must find first (the Labels a Repeat may use):
  // false, having said why, keeps the dialog shut.
  virtual bool CanOpen() { return true; }

  TExperiment* Experiment = nullptr;
  TScript* Script = nullptr;  // the command changed; none for a new one
  TBlock* Block = nullptr;    // the command's block, or the one a new command goes to
  // The device a new device command starts with (the device list's "Commands..."); none
  // lets the dialog choose its default.
  TDevice* Device = nullptr;
  // Set by a CanOpen that made the new command itself, without its dialog.
  bool MadeWithoutDialog = false;
  // The attribute a new command starts with (the attribute tree's "Plot" and "Output To
  // File"); none lets the dialog choose.
  TExpAttribute* Item = nullptr;
};

// The block a new command goes to: the block selected in the step-by-step debug window
// while it shows, else the current block (the one holding the blank line). Without one:
// "You must select a block before you can add a script." and none.
TBlock* GetTargetBlock(TExperiment& experiment);
// The debug window's selected block while it shows (none: not showing); the one call
// point of the debug window into the adding of commands.
void SetDebugTargetBlock(std::function<TBlock*()> selectedBlock);

// A new command of the type at the insertion point, just before the blank line of the
// current block.
TScript* AddScriptToSelectedBlock(TExperiment& experiment, int type);

// The new entry of a type's dialog: never during a run; none without a target block;
// answers 1 when the dialog ended with OK (having made the command), else 0, also for a
// type without a dialog. A device given is the one the dialog starts with.
int NewScript(TExperiment& experiment, int type, TDevice* device = nullptr);
// The edit entry (a command's Edit): the dialog of its type on the command; answers the
// dialog's result, 0 for a type without a dialog.
int EditScript(TScript& script);
// The new entry with an attribute of the attribute tree to start with, as NewScript.
int NewScriptFor(TExperiment& experiment, int type, TExpAttribute* item);
