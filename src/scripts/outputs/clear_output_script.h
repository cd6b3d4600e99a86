// The Clear Output command: erases everything an output's window shows (graph series,
// table data, big number, text) so that a run can start a fresh plot. The clear is
// handed to the main thread, where the window lives, and the worker waits for it, so
// that it stays in order with the plots around it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/script_request.h"

class TOutput;
class TVariableOutput;

class TClearPlotScript : public TAttributeScript {
public:
  // No output reference.
  TClearPlotScript(TBlock* block, TTreeNode* node);
  // Deletes the reference, which leaves the output's users.
  ~TClearPlotScript() override;

  // Unless commented out, the output's window clears itself on the main thread.
  TScript* Execute() override;
  // Commented out: "Comment(" + GetText() + ")". Otherwise clears as Execute does, then
  // "Clearing output " + the output's name.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  // Only with an output: the copy record names it.
  bool CanMakeCopyScript() override { return GetOutput() != nullptr; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // The output reference record, then the base record. A block export also takes the
  // output along.
  void Save(TWriteFile& writer) override;
  // Reads the record; the reference waits in the reader until its output is read.
  void Load(TReadFile& reader) override;
  // EReadError "Output in Clear Plot script is not set...aborting read" without the
  // output; then the node text is refreshed.
  void CheckAfterRead() override;
  // "Clear " + the output's name; "none" without a reference.
  std::string GetText() override;
  int GetScriptType() const override { return CLEARPLOT; }
  bool VariableNotify(TVariable* reference, int type) override {
    (void)reference;
    (void)type;
    return true;
  }
  // The reference never lets its output go on its own.
  bool CanReleaseVariable(TVariable* reference) override {
    (void)reference;
    return false;
  }
  bool IsStoredVariable(TVariable* reference) override {
    (void)reference;
    return false;
  }

  // The dialog's OK (and the paste): binds the output (required), making the reference
  // on first use, and refreshes the node text.
  void SetOutput(TOutput* output);
  TVariableOutput* GetOutputReference() const { return AOutput.get(); }
  // The bound output; none without.
  TOutput* GetOutput() const;

private:
  // The output's window clears itself, on the main thread.
  void Clear();

  std::unique_ptr<TVariableOutput> AOutput;
};

// The Clear Output dialog of a new command or of the command changed.
struct TClearScriptRequest : TScriptRequest {
  TClearPlotScript* Clear() const { return static_cast<TClearPlotScript*>(Script); }
  // The outputs; for a new command none gives "There are no output to clear, cannot
  // create a clear output command".
  bool CanOpen() override;

  std::vector<TOutput*> Outputs;  // in the experiment's order
};
