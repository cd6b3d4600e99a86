// The experiment's two lists of data files: single files and numbered (multiple) files.
// Each is an attribute list with its sections in experiment and block files, a check
// before a run, the end of a run and the report's listing.
//
// The outputs work fills them: until data files can be made, saved and read, the lists
// are always empty, write their sections with a count of 0 and refuse a file that holds
// data files.
#pragma once

#include "model/exp_attribute.h"

class TBlock;
class TReport;

class TExpFileList : public TExpAttList {
public:
  TExpFileList(TExperiment* owner, TTreeNode* node);

  // Data files are added through their dialog, which comes with the data files.
  void UserAdd() override {}
  void AddNew() override {}

  // The number of data files.
  int GetCount() const;
  // The section of experiment files: the int32 count, then the files.
  void Save(TWriteFile& writer) const;
  // Reads the section only from files of version 1.5 on; EReadError "Data files are
  // not supported in this version" for a count other than 0.
  void Load(TReadFile& reader);
  // The section of block files: the files that the exported commands use.
  void SaveBlock(TWriteFile& writer, TBlock* block) const;
  // As Load.
  void LoadBlock(TReadFile& reader);
  // Before a run; false stops it (the list has shown why).
  bool RunCheck() { return true; }
  // Closes every open data file at the end of a run.
  void EndRun() {}
  // The files' lines of the experiment report.
  void WriteReport(TReport& report) const;
};

class TSingleExpFileList : public TExpFileList {
public:
  using TExpFileList::TExpFileList;
  int GetListKind() const override { return SINGLEEXPFILE; }
};

class TMultiExpFileList : public TExpFileList {
public:
  using TExpFileList::TExpFileList;
  int GetListKind() const override { return MULTIEXPFILE; }
};
