// The experiment's list of outputs: the attribute list whose children are the outputs,
// its sections in experiment and block files, the end of a run and the report's listing.
//
// The outputs work fills it: until outputs can be made, saved and read, the list is
// always empty, writes its sections with a count of 0 and refuses a file that holds
// outputs.
#pragma once

#include "model/exp_attribute.h"

class TBlock;
class TReport;

class TOutputList : public TExpAttList {
public:
  // Gives the list's root node its text, "Outputs".
  TOutputList(TExperiment* owner, TTreeNode* node);

  // Outputs are added through the output dialog, which comes with the outputs.
  void UserAdd() override {}
  void AddNew() override {}
  int GetListKind() const override { return OUTPUT; }

  // The number of outputs.
  int GetCount() const;
  // The section of experiment files: the int32 count, then the outputs.
  void Save(TWriteFile& writer) const;
  // EReadError "Outputs are not supported in this version" for a count other than 0.
  void Load(TReadFile& reader);
  // The section of block files: the outputs that the exported commands use.
  void SaveBlock(TWriteFile& writer, TBlock* block) const;
  void LoadBlock(TReadFile& reader);
  // Every output window's end of run.
  void EndRun() {}
  // The outputs' lines of the experiment report.
  void WriteReport(TReport& report) const;
};
