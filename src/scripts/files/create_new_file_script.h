// The Create-new-file command: moves a multiple data file on to its next numbered file,
// so that the following Output to File lines of the run go to a new file of the series.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/script_request.h"

class TExperiment;
class TMultiExpFile;
class TVariableExpFile;

class TCreateNewFileScript : public TAttributeScript {
public:
  // No file yet.
  TCreateNewFileScript(TBlock* block, TTreeNode* node);
  // The file reference leaves its file.
  ~TCreateNewFileScript() override;

  // Moves the file to its next number (nothing when commented out). A failure, the
  // user's No to the search for an unused number included, stops the run with
  // EExperimentError carrying its message.
  TScript* Execute() override;
  // As Execute, then "Creating new file " + the new current file name (no line when
  // commented out).
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  // A TCopyCreateNewFile with the block and the file.
  TCopyScript* MakeCopyScript() override;
  // From a TCopyCreateNewFile: its file.
  void SetUp(TCopyScript* copyscript) override;
  // The file's identifier, then the base record; a block export takes the reference
  // along.
  void Save(TWriteFile& writer) override;
  // Reads the record; the reference waits in the reader for its file.
  void Load(TReadFile& reader) override;
  // EReadError when the reference found no multiple file.
  void CheckAfterRead() override;
  // "Create New File(" + the file's short name + ")".
  std::string GetText() override;
  int GetScriptType() const override { return CREATENEWFILE; }
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }

  // The dialog's OK (or the command made for the file selected in the attribute tree):
  // binds the command to the multiple file and refreshes the node text.
  void SetFile(TMultiExpFile* file);
  // The bound file; none before one is set or read.
  TMultiExpFile* GetFile() const;
  TVariableExpFile* GetFileReference() const { return PvefExperimentFile.get(); }

private:
  // Moves the file on; answers it.
  TMultiExpFile* StartNewFile();

  std::unique_ptr<TVariableExpFile> PvefExperimentFile;
};

// The Create-new-file dialog ("Create a New File") of a new command or of the command
// changed.
struct TCreateNewFileRequest : TScriptRequest {
  TCreateNewFileScript* CreateNewFile() const { return static_cast<TCreateNewFileScript*>(Script); }
  // The multiple files; for a new command none gives "There are no Multiple Files, cannot
  // create this command.".
  bool CanOpen() override;

  std::vector<TMultiExpFile*> Files;
};

// The command made without its dialog for the multiple file selected in the attribute
// tree, in the block that receives new commands (none: the block is asked for first and
// nothing is made); the experiment is marked modified. Never during a run.
TCreateNewFileScript* CreateScriptFor(TExperiment& experiment, TMultiExpFile& file);
