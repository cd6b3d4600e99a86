// The main window's document: the open experiment with its block diagram and its
// devices; New, Open, Save, Save As, Reopen and the save question before anything
// unsaved is discarded; block files; files dropped on the window; the modified mark
// (message 2024) and the recent-file list.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "communication/device_list.h"
#include "shell/draw_parts.h"
#include "shell/reopen_list.h"

class TBlock;
class TDevice;
class TExperiment;
class TRunControl;

// What the session needs of the main window.
class TSessionView {
public:
  virtual ~TSessionView() = default;
  // The experiment is about to be deleted: views over its trees let go of them.
  virtual void ExperimentClosing(TExperiment& experiment) = 0;
  // A new experiment is the open one (New, Open, a failed open): the trees, the block
  // editor and the device view bind to it.
  virtual void ExperimentReplaced(TExperiment& experiment) = 0;
  // Devices were added or removed: the device view shows the list again.
  virtual void DevicesChanged() = 0;
  // The buttons that need an experiment: Start and Debug (canRun) and Output, Add
  // Variable and Save (hasNodes).
  virtual void UpdateRunButtons(bool canRun, bool hasNodes) = 0;
  // The recent-file list changed: the "&Reopen Experiment" menu mirrors it again and is
  // enabled while it holds an item.
  virtual void ReopenListChanged(const TReopenList& list) = 0;
  // An output file (".opt") chosen or dropped: the detached-output list opens it.
  virtual void OpenOutputFile(const std::string& path) { (void)path; }
};

// The preference directories the file choosers start in (used only when they exist).
struct TSessionDirectories {
  std::string Output;
  std::string Device;
  std::string Experiment;
  std::string Block;
};

// What the "&File" menu shows while it opens.
struct TFileMenuState {
  bool Idle = true;     // every item but "E&xit" (enabled always): no run is active
  bool Reopen = false;  // "&Reopen Experiment": a recent file is listed
  bool Save = false;    // "&Save Experiment" and "Save &As": the experiment has a node
};

class TDocumentSession {
public:
  // Makes a new experiment (its start block in the diagram's one box) and an empty device
  // list bound to it.
  explicit TDocumentSession(TSessionView& view);
  // Deletes the experiment (its blocks take their boxes), then the devices.
  ~TDocumentSession();
  TDocumentSession(const TDocumentSession&) = delete;
  TDocumentSession& operator=(const TDocumentSession&) = delete;

  TExperiment& GetExperiment() const { return *Experiment; }
  TDeviceList& GetDeviceList() { return Devices; }
  // The diagram the block editor shows (it sets itself as the diagram's view).
  TDrawParts& GetDrawParts() { return Parts; }
  TReopenList& GetReopenList() { return Reopen; }
  // Start-up: the stored recent files, those that still exist.
  void LoadReopenList(const std::vector<std::string>& captions);
  TSessionDirectories Directories;

  // Message 2024 (the UI port's ExperimentChanged reaches the window, which passes it
  // here): modified != 0 sets the mark ("Modified" in status panel 2) and, without a
  // current block, makes the first block current; 0 clears it. refresh == 0 also clears
  // the mark of an experiment without nodes and refreshes the run buttons.
  void ExperimentChanged(int modified, int refresh);
  bool IsModified() const { return Modified; }
  // Start and Debug need a node and no run; the other buttons a node.
  void UpdateRunButtons();
  TFileMenuState FileMenuState() const;

  // The save question when the experiment is modified; Yes saves (Save As when it has
  // no file yet). Answers whether the caller may go on: false only when the user chose
  // to save and the save did not complete, so that nothing unsaved is lost.
  bool AskSaveIfModified();

  // New experiment, after the save question; refused during a run. With devices, the
  // user's "New &Experiment" (fromMenu) asks whether to clear them too; the program's
  // call clears them. Answers whether a new one was made.
  bool NewExperimentClick(bool fromMenu = true);
  // Open: refused during a run; the save question, the chooser, the file; an opened
  // file joins the recent files.
  void OpenClick();
  // Save on the experiment's file, or Save As without one; true once the file is
  // complete. Refused during a run.
  bool SaveClick();
  // The chooser (named after the title), then the save; true once the file is complete.
  bool SaveAsClick();
  // Writes the experiment file; on success the path joins the recent files. A failure
  // shows "Error writing to file:" + its reason and leaves the old file, the
  // experiment's name and its mark as they were. An empty path does nothing.
  bool SaveExperimentFile(const std::string& path);
  // Replaces the experiment by the one read from the file, which gets no block besides
  // its own. A failure shows the read error and leaves a new experiment, as New makes
  // one, with no devices. No question is asked.
  bool OpenExperimentFile(const std::string& path);

  // A recent file chosen (index into the list): one that exists is opened after the
  // save question (a failed open takes it out of the list); one that does not shows
  // "File " + path + " no longer exists" and leaves the list.
  void ReopenItemClick(std::size_t index);
  // "&Clear" of the Reopen menu: forgets every recent file.
  void ClearClick();

  // "Save" of the block menus: the current block to its own file when that exists,
  // otherwise through the chooser. "No Block selected" without a current block.
  bool SaveBlockClick();
  // "Save As" of the block menus: through the chooser.
  bool SaveAsBlockClick();
  // Asks "Save Block " + title + "?", chooses a file when the path is empty, writes.
  bool SaveBlockFile(TBlock* block, const std::string& path);
  // The open chooser for blocks, then the block file placed at the point.
  void OpenBlockDialog(int x, int y);
  // Adds the block of the file at the point; a failure shows "Error reading " + path +
  // ": " + the reason and leaves the experiment as it was. Answers the new block.
  TBlock* OpenBlockFile(const std::string& path, int x, int y);
  // "&Output" of "O&pen...": the chooser, then the view opens the output file.
  void OpenOutputClick();

  // The device commands of the main window (session_devices.cpp). Each refreshes the
  // device view and does nothing during a run.
  // The device dialog for new devices.
  void AddDeviceClick();
  // The chooser for a device file (".dev"), then the device it holds.
  void OpenDeviceClick();
  // Adds the device of the file, placed in the communications tree, and marks the
  // experiment modified; a device that cannot be read or placed is not added. Answers
  // whether it was.
  bool OpenDeviceFile(const std::string& path);
  // The chooser for a device configuration (".dcg"), then its devices are appended.
  void OpenDeviceConfigurationClick();
  // "No Devices to save." without devices; else the chooser (named after the
  // experiment's title + "Devices"), then the configuration file.
  bool SaveDeviceConfigurationClick();
  // The device to its file; without one (or for Save As) through the chooser, named
  // after the device.
  bool SaveDeviceClick(TDevice& device);
  bool SaveAsDeviceClick(TDevice& device);

  // Files dropped on the window, in the drop's order, by their ending: ".qve" opens the
  // experiment after the save question and ends the drop (the recent files stay as they
  // are), ".blk" adds the block at (0, 0), ".opt" opens the output, ".dev" adds a device
  // from its file, ".dcg" appends a device configuration; other files are ignored.
  // During a run nothing opens.
  void WMDropFiles(const std::vector<std::string>& paths);

  // Closing the window: a run is shut down in full, then the save question. Answers
  // whether the window may close (false: the user chose to save and the save did not
  // complete); the window then writes its settings.
  bool FormClose(TRunControl& run);

private:
  // Deletes the experiment; the diagram is empty afterwards.
  void DeleteExperiment();
  // A new experiment with its start block in a box of the (empty) diagram.
  std::unique_ptr<TExperiment> NewExperiment();
  // The experiment becomes the open one.
  void InstallExperiment(std::unique_ptr<TExperiment> experiment);
  void SetModified(bool modified);
  void AddToReopenList(const std::string& path);
  // The current block for Save and Save As; none (with its message) during a run or
  // without one.
  TBlock* BlockToSave() const;

  TSessionView& View;
  TDrawParts Parts;  // declared first: the experiment goes before its boxes
  TDeviceList Devices;
  std::unique_ptr<TExperiment> Experiment;
  TReopenList Reopen;
  bool Modified = false;
};
