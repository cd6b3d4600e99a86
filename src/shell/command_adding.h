// Adding commands from the main window: one add handler per row of AddCommands(), reached
// from the command tool bar, the menus, the "Insert..." submenu of a command's pop-up
// menu and, for device commands, the device list's "Commands..." submenu. A handler
// refuses during a run, decides where the new command goes and opens the command's
// dialog through its new-command entry (NewScript, through the command table).
#pragma once

#include <string>
#include <vector>

class TDevice;
class TExperiment;
class TTreeNode;

struct TAddCommand {
  const char* Button;   // the tool button's name (the handler is Button + "Click")
  const char* Hint;     // the tool button's hint
  const char* Name;     // the command's name in CanAddCommand's message
  const char* Caption;  // the menu items' caption
  int Type;             // the command type the dialog makes; SendAndReadType for the pair
  bool Device;          // offered in the device list's "Commands..." submenu
};

// The Send-and-Read dialog makes a Send and a Read command: no one command type.
constexpr int SendAndReadType = -1;

// Every add handler, in the tool bar's order.
const std::vector<TAddCommand>& AddCommands();
// The row of the button name ("WaitButton"); none for another name.
const TAddCommand* AddCommandOf(const std::string& button);

// Where an add handler was reached from.
enum class TAddSender {
  ToolButton,  // the command tool bar
  InsertItem,  // "Insert..." of a command's pop-up menu: in front of that command
  DeviceItem,  // the device list's "Commands...": the blank line, with the device chosen
  MenuItem,    // the block and blank-line pop-up menus, the main menu: the blank line
};

// Whether the command of the row has its dialog (its add controls are offered).
bool HasAddDialog(const TAddCommand& row);

// The add handler of a row. For "Insert..." the blank line moves in front of the
// selected command for the dialog and back to where it stood when the dialog is
// cancelled (or refused to open). From the device list the device (required) is the one
// the dialog starts with. Answers 1 when a command was made, else 0.
int AddCommandClick(TExperiment& experiment, const TAddCommand& row, TAddSender sender,
                    TTreeNode* selected = nullptr, TDevice* device = nullptr);
