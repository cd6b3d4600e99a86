// The experiment's list of outputs: the attribute list whose children are the outputs,
// its sections in experiment and block files, the end of a run and the report's listing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/exp_attribute.h"

class TBlock;
class TOutput;
class TReport;

class TOutputList : public TExpAttList {
public:
  // Gives the list's root node its text, "Outputs".
  TOutputList(TExperiment* owner, TTreeNode* node);

  // The Add Output dialog in add-several mode ("Cannot add output while experiment is
  // running" during a run).
  void UserAdd() override { AddMany(); }
  // The Add Output dialog for one output (the same message during a run).
  void AddNew() override;
  void AddMany();
  int GetListKind() const override { return OUTPUT; }

  // A new output on a new child node, which the list's node shows expanded.
  TOutput* NewOutput(const std::string& title, std::uint8_t kind, std::int32_t channels);
  // Every output in list order.
  std::vector<TOutput*> GetOutputs() const;
  // None when i is out of range.
  TOutput* GetOutput(std::int32_t i) const;
  int GetCount() const;

  // The section of experiment files: the int32 count, then the outputs.
  void Save(TWriteFile& writer) const;
  // Reads the section; EReadError for a damaged one, the output being read deleted
  // (those read before it stay).
  void Load(TReadFile& reader);
  // The section of block files: the outputs that the exported Plot and Clear Output
  // commands use, each once, in list order.
  void SaveBlock(TWriteFile& writer, TBlock* block) const;
  void LoadBlock(TReadFile& reader) { Load(reader); }
  // Every output window's end of run (windows made when missing).
  void EndRun();
  // The outputs' lines of the experiment report.
  void WriteReport(TReport& report) const;

private:
  // The dialog for one output (list none) or in add-several mode (the list).
  void OpenAddDialog(TOutputList* list);
};
