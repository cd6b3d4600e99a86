// The Read File command: reads a whole text file and stores the values it holds, one
// after the other, in an array variable; optionally the number of values read goes to an
// integer variable. Values are cut out as instrument responses are: control characters
// always separate them, blanks when the whitespace option is on, and up to two delimiter
// characters of the user's.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/script_request.h"

class TData;
class TDataArray;
class TVariableDataArray;
class TVariableDataSingle;

class TReadFileScript : public TAttributeScript {
public:
  // No path, no references, no delimiters; D to E on, whitespace off.
  TReadFileScript(TBlock* block, TTreeNode* node);
  // Deletes both references (each leaves its variable).
  ~TReadFileScript() override;

  // An integer or float array turns the whitespace option on, then the command's dialog.
  int Edit() override;
  // Reads the file into the array and stores the count. EExperimentError
  // "Aborting...file <path> does not exist.", "Aborting...Cannot open file <path>.",
  // "Aborting...Cannot read file <path>." and the conversion errors of the array.
  TScript* Execute() override;
  // As Execute, with the count line before and the values line after the reading.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  // A TCopyReadFile with the block, the path, both variables, delimiters and options.
  TCopyScript* MakeCopyScript() override;
  // From a TCopyReadFile: its settings through SetUpReadFile.
  void SetUp(TCopyScript* copyscript) override;
  // An integer or float array turns the whitespace option on for good; then the default.
  bool SetNextScript() override;
  // The array reference, bool count, [its reference], the path, each delimiter after a
  // bool, bool D to E, bool whitespace, the base record. A block export takes the
  // references along.
  void Save(TWriteFile& writer) override;
  // Reads the record (the options only from files of version 1.4 on; older ones set
  // both); the references wait in the reader for their variables.
  void Load(TReadFile& reader) override;
  // Only within its own block.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // EReadError when the array or the count reference names no variable.
  void CheckAfterRead() override;
  // "Read Nothing", or "Read " + file name + " into " + array + " SC(" + count + ")" or
  // " SCN".
  std::string GetText() override;
  int GetScriptType() const override { return READFILE; }
  TData* GetStoredData() override;
  TData* GetSecondStoredData() override;
  // The count reference keeps an integer variable only.
  bool VariableNotify(TVariable* reference, int type) override;
  bool CanReleaseVariable(TVariable* reference) override;
  bool IsStoredVariable(TVariable* reference) override;

  // The dialog's OK: path, array (required), both options, both delimiters (only the
  // first character of each counts) and the count variable or none.
  void SetUpReadFile(const std::string& path, TData* array, bool wsDelimiter, bool cleanString,
                     const std::string& delimiter1, const std::string& delimiter2,
                     TData* countVariable);
  void SetReadVariable(TData* array);
  void SetCountVariable(TData* variable);

  const std::string& GetFileToRead() const { return AFileToRead; }
  TVariableDataArray* GetReadVariable() const { return PReadVariable.get(); }
  TVariableDataSingle* GetCountVariable() const { return PCountVariable.get(); }
  const std::string& GetDelimiter1() const { return PDelimiter1; }
  const std::string& GetDelimiter2() const { return PDelimiter2; }
  bool GetCleanString() const { return DoCleanString; }
  bool GetWSDelimiter() const { return WSDelimiter; }

private:
  // Reads the file into the array; answers the number of values stored. The trace, when
  // given, gets the values line.
  std::int32_t ReadValues(std::vector<std::string>* trace);
  // Stores the values of the text in the array's elements from 0; answers how many.
  std::int32_t ParseValues(const char* buffer, std::int64_t length, TDataArray& array);
  void CheckFileExists() const;

  std::string AFileToRead;
  std::unique_ptr<TVariableDataArray> PReadVariable;
  std::unique_ptr<TVariableDataSingle> PCountVariable;
  std::string PDelimiter1;
  std::string PDelimiter2;
  bool DoCleanString = true;
  bool WSDelimiter = false;
};

// The Read From File dialog of a new command or of the command changed.
struct TReadFileScriptRequest : TScriptRequest {
  TReadFileScript* ReadFile() const { return static_cast<TReadFileScript*>(Script); }
};
