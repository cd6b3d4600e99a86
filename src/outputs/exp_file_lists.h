// The experiment's two lists of data files, shown under "Single Files" and "Multiple
// Files". A list owns its files through the attribute tree (each file is the data of one
// child node of the list's node), keeps a table of their full names so that no two of its
// files name the same file, makes files from its dialog, prepares and closes its files
// around a run, reads and writes its sections of experiment and block files and lists its
// files in the experiment report.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/exp_attribute.h"

class TBlock;
class TExperimentFile;
class TMultiExpFile;
class TReport;
class TSingleExpFile;
struct TMultiExpFileRequest;
struct TSingleExpFileRequest;

class TExpFileList : public TExpAttList {
public:
  TExpFileList(TExperiment* owner, TTreeNode* node);
  // Destroys the files (each leaves the name table as it goes).
  ~TExpFileList() override;

  int GetCount() const;
  // The files in tree order.
  std::vector<TExperimentFile*> GetFiles() const;

  // The section of experiment files: the int32 count, then the records in tree order.
  void Save(TWriteFile& writer) const;
  // Reads the section, only from files of version 1.5 on (older ones have none). A
  // record that names a file the list already has is dropped, its users going to the
  // listed file. EReadError for a damaged section, the file being read deleted (those
  // read before it stay).
  void Load(TReadFile& reader);
  // The section of block files: the files that the exported references use, each once.
  void SaveBlock(TWriteFile& writer, TBlock* block) const;
  // As Load.
  void LoadBlock(TReadFile& reader) { Load(reader); }
  // Before a run: every file prepares; false at the first refusal (it showed why).
  bool RunCheck();
  // The end of a run: every file closes, also after a failure of another.
  void EndRun();
  // For each file its full name as a heading, then its settings line.
  void WriteReport(TReport& report) const;

  // The name table. Contains trims and upper-cases the name, Find upper-cases it; both
  // then look it up exactly.
  bool Contains(const std::string& name) const;
  TExperimentFile* Find(const std::string& name) const;
  // Enters the file under its current full name, or renews its entry.
  void Register(TExperimentFile* file);
  void Unregister(TExperimentFile* file);

protected:
  // A new file of the list's kind on the node, for a record about to be read.
  virtual TExperimentFile* NewForLoad(TTreeNode* node) = 0;
  // The smallest record of the list's kind.
  virtual std::size_t MinRecordBytes() const = 0;
  virtual void WriteFileReport(TReport& report, TExperimentFile* file) const = 0;
  // The order the files prepare in.
  virtual std::vector<TExperimentFile*> RunOrder() const { return GetFiles(); }
  // Shows the refusal of an add while a run is active; true when refused.
  static bool RefusedWhileRunning(const char* message);
  // Adds a child node for a new file, with its short name as the text.
  TTreeNode* NewNode(const std::string& shortName);
  // A file made from the dialog's entries is entered and shown; the experiment changed.
  void Added(TExperimentFile* file);

  // Upper-cased full names with their files, in the order they were entered.
  std::vector<std::pair<std::string, TExperimentFile*>> NameTable;
};

class TSingleExpFileList : public TExpFileList {
public:
  TSingleExpFileList(TExperiment* owner, TTreeNode* node);
  int GetListKind() const override { return SINGLEEXPFILE; }

  // One new file through the dialog (refused while a run is active).
  void UserAdd() override;
  // Files through the dialog with its Add button (refused while a run is active).
  void AddNew() override;

  // The dialog's check of OK and Add; a refusal shows its message and sets the focus.
  bool CheckEntry(TSingleExpFileRequest& request) const;
  // Makes a file from the dialog's entries and marks the experiment modified.
  TSingleExpFile* Create(const TSingleExpFileRequest& request);
  // The dialog's Add: a valid entry makes the file and clears the entries for the next
  // one (empty name, overwrite and close between writes on).
  bool AddEntry(TSingleExpFileRequest& request);

protected:
  TExperimentFile* NewForLoad(TTreeNode* node) override;
  std::size_t MinRecordBytes() const override;
  void WriteFileReport(TReport& report, TExperimentFile* file) const override;
};

class TMultiExpFileList : public TExpFileList {
public:
  TMultiExpFileList(TExperiment* owner, TTreeNode* node);
  int GetListKind() const override { return MULTIEXPFILE; }

  // One new file through the dialog (refused while a run is active, as single files).
  void UserAdd() override;
  // Files through the dialog with its Add button (refused while a run is active).
  void AddNew() override;

  // The dialog's check of OK and Add: cleans the directory (no doubled separators, none
  // at the end), then refuses an empty or missing directory, an empty base name or
  // extension, and a full name the list has already.
  bool CheckEntry(TMultiExpFileRequest& request) const;
  TMultiExpFile* Create(const TMultiExpFileRequest& request);
  // The dialog's Add: makes the file and empties directory, base and extension, with
  // the start number "0".
  bool AddEntry(TMultiExpFileRequest& request);

protected:
  TExperimentFile* NewForLoad(TTreeNode* node) override;
  std::size_t MinRecordBytes() const override;
  void WriteFileReport(TReport& report, TExperimentFile* file) const override;
  // The order of the name table.
  std::vector<TExperimentFile*> RunOrder() const override;
};

// A directory as the multiple-file dialog takes it: trimmed, a separator that follows
// another removed, separators at the end removed.
std::string CleanDirectory(const std::string& directory);
// The start number of the dialog's box: its integer, 0 when it is no number or negative.
std::int32_t StartNumberOf(const std::string& text);
// The multiple file's short name for base and extension: base_X.ext.
std::string MultiShortName(const std::string& baseName, const std::string& extension);
