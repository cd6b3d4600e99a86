// What the tests of data files and their commands share: one start block, data files
// made as their dialogs make them (in the test's temporary directory), Output to File and
// Create-new-file commands set up as their dialogs set them up, a variable x of 5, a fixed
// stamp clock, the text of a file, and a whole run on the worker with the end-of-run step.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "scripts/files/create_new_file_script.h"
#include "scripts/files/output_to_file_script.h"
#include "support/experiment_fixture.h"

class TDataFileFixture : public TExperimentFixture {
protected:
  TDataFileFixture() {
    Cur = Start;
    PreviousClock = TOutputToFileScript::SetClock([this] { return Clock; });
  }
  ~TDataFileFixture() override { TOutputToFileScript::SetClock(PreviousClock); }

  TSingleExpFileList* Singles() { return Exp.GetSingleExpFileList(); }
  TMultiExpFileList* Multis() { return Exp.GetMultiExpFileList(); }
  std::string Dir() const { return Temp.Path().string(); }

  TSingleExpFile* SingleFile(const std::string& name, bool overwrite = true, bool close = false,
                             bool writeName = false) {
    TSingleExpFileRequest request;
    request.FileName = Temp.PathOf(name);
    request.Overwrite = overwrite;
    request.CloseBetweenWrites = close;
    request.WriteFileName = writeName;
    return Singles()->Create(request);
  }
  TMultiExpFile* MultiFile(std::int32_t mode, const std::string& start = "0", bool close = false,
                           bool writeName = false, const std::string& base = "run") {
    TMultiExpFileRequest request;
    request.Directory = Dir();
    request.BaseName = base;
    request.Extension = "txt";
    request.StartNumber = start;
    request.Mode = mode;
    request.CloseBetweenWrites = close;
    request.WriteFileName = writeName;
    return Multis()->Create(request);
  }
  TOutputToFileScript* Output(TExperimentFile* file, const std::vector<TOutputToFileEntry>& entries,
                              const TOutputToFileSettings& settings = {}) {
    auto* command = new TOutputToFileScript(Cur, NewNode(Cur));
    command->SetUpFromForm(file, settings, entries);
    return command;
  }
  TCreateNewFileScript* NewFile(TMultiExpFile* file) {
    auto* command = new TCreateNewFileScript(Cur, NewNode(Cur));
    command->SetFile(file);
    return command;
  }

  std::string Text(const std::string& name) const {
    const TBytes bytes = Temp.ReadBytes(name);
    return std::string(bytes.begin(), bytes.end());
  }
  void Touch(const std::string& name, const std::string& text = "") const {
    std::ofstream(Temp.PathOf(name), std::ios::binary) << text;
  }
  // The numbered files run_from.txt to run_to.txt, each holding a line "old".
  void Files(int from, int to) const {
    for (int i = from; i <= to; ++i) Touch("run_" + std::to_string(i) + ".txt", "old\r\n");
  }
  // The run as the main window makes it: the check before the run, the run on the worker
  // with the end-of-run step as its last hand-over, the running mark cleared. Answers
  // the texts shown.
  TTexts RunAll() {
    TBlock* start = StartRun();
    if (!start) return Ui.Texts();
    const TTexts shown = RunOnWorker(start, [this] { Exp.ResetOutputsAndFiles(); });
    Exp.SelectFirstBlock();
    return shown;
  }

  TBlock* Start = AddBlock("Start");
  TDataSingle* X = Single(Start, "x", eatINTEGER, "5");
  TStampTime Clock{2024, 3, 7, 9, 5, 3, 27};

private:
  TOutputToFileScript::TClock PreviousClock;
};
