// Detached output windows: those opened from an output file or taken off-line, which
// belong to no output of the experiment. One list, made by the main window, owns them
// and mirrors each as an entry of a menu ("&Opened Outputs"), whose sub-items show or
// hide the window, bring it to the front or delete it.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TOutputForm;

// The menu item under which the entries stand; the user interface implements it.
// Positions count the parent's items from 0.
class TDeadOutputMenu {
public:
  virtual ~TDeadOutputMenu() = default;
  virtual int ItemCount() const = 0;
  // Appends an entry with the caption and the sub-items "&Show", "&Bring To Front" and
  // "&Delete", whose clicks come back to the list by the entry's position.
  virtual void AddEntry(const std::string& caption) = 0;
  virtual void SetEntryCaption(int position, const std::string& caption) = 0;
  virtual void RemoveEntry(int position) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // A window the list took without a display of its own (one opened from a file) gets
  // one here.
  virtual void AttachWindow(TOutputForm& form) = 0;
};

// What an entry's submenu shows as it opens.
struct TDeadOutputEntryState {
  bool ShowChecked = false;          // "&Show": the window is visible
  bool BringToFrontEnabled = false;  // "&Bring To Front": only for a visible window
};

class TDeadOutputList {
public:
  // The base count is the parent's number of items now (-1 without a parent). The
  // renames of detached windows (their Title or Labels items) reach their list from now
  // on.
  explicit TDeadOutputList(TDeadOutputMenu* parent);
  // Deletes every window.
  ~TDeadOutputList();
  TDeadOutputList(const TDeadOutputList&) = delete;
  TDeadOutputList& operator=(const TDeadOutputList&) = delete;

  // Reads the output file into a new detached window, lists it and shows it. Any read
  // error shows "Error openning " + path and lists nothing. Answers the window listed.
  TOutputForm* OpenOutputFile(const std::string& path);
  // Takes the window: an entry "&" + its one-based position among the parent's items +
  // " " + the window's name + "..." is appended and the parent enabled.
  void AddForm(std::unique_ptr<TOutputForm> form);
  // The window's entry is captioned with the window's name alone.
  void RenameForm(TOutputForm* form);
  // Every listed window that is visible comes to the front.
  void BringToFront();

  // The entry handlers, by the entry's position among the parent's items.
  TDeadOutputEntryState EntryOpened(int position) const;
  // Hides a visible window, shows a hidden one.
  void ShowClick(int position);
  void BringToFrontClick(int position);
  // The window goes with its entry; the parent is disabled when it has no items left.
  void DeleteClick(int position);

  int Count() const { return static_cast<int>(Forms.size()); }
  TOutputForm* GetForm(int i) const;
  int IndexOf(const TOutputForm* form) const;

private:
  // The window of the entry at the position; none for another item of the parent.
  TOutputForm* FormAt(int position) const;

  std::vector<std::unique_ptr<TOutputForm>> Forms;
  TDeadOutputMenu* Pparentitem;
  int BaseCount;
};

// The main window's list, which windows taken off-line join; none while there is none.
TDeadOutputList* MainDeadOutputList();
void SetMainDeadOutputList(TDeadOutputList* list);
