// The Output to File command: appends one line to an experiment data file each time it
// runs: an optional date and time stamp, then the current values of its list of single
// variables, array elements and entire arrays, numbers in the command's notation and
// decimal places. Fields are joined by position, a delimiter before every field but the
// first, so every line of one command has the same number of fields, empty texts
// included.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/script_request.h"

class TDataSingle;
class TExpAttribute;
class TExperimentFile;
class TVariableData;
class TVariableExpFile;

// The moment a line is stamped with, as the local clock reads it.
struct TStampTime {
  int Year = 0, Month = 0, Day = 0;
  int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// One entry of the command's list, as its dialog gives it and shows it: a single
// variable, or an array with an index variable, a constant index (0 or more) or neither
// (the entire array).
struct TOutputToFileEntry {
  TData* Data = nullptr;
  TDataSingle* IndexVariable = nullptr;
  std::int32_t Index = -1;
};

// The settings of the Output to File dialog.
struct TOutputToFileSettings {
  bool TimeStamp = false;
  bool DateStamp = false;
  std::string Delimiter = ",";
  std::uint8_t Notation = 0;  // the number-format box's item index, 0 to 2
  bool DecimalPlacesShown = true;
  std::string DecimalPlacesText = "1";  // taken only while shown; -1 when no integer
};

class TOutputToFileScript : public TAttributeScript {
public:
  using TClock = std::function<TStampTime()>;

  // No list and no file; no stamps, delimiter ",", standard notation, 1 decimal place.
  TOutputToFileScript(TBlock* block, TTreeNode* node);
  // The listed references, the list, then the file reference go.
  ~TOutputToFileScript() override;

  // Writes the line (nothing when commented out). Any failure of reading a value or of
  // writing the line stops the run with EExperimentError carrying its message.
  TScript* Execute() override;
  // As Execute, and the line written is added to the trace (none when commented out).
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  // A TCopyOutputToFile with the block, the settings, the file and the listed references.
  TCopyScript* MakeCopyScript() override;
  // From a TCopyOutputToFile: the settings, the file, and a reference per copied variable
  // with the copied element choice, in order; the list must be empty before.
  void SetUp(TCopyScript* copyscript) override;
  // Time stamp, date stamp, delimiter, notation (int32), decimal places, the file's
  // identifier, the count, per entry bool "is an array" and the reference record, then
  // the base record. A block export takes the references along.
  void Save(TWriteFile& writer) override;
  // Reads the record; the references wait in the reader for their objects. EReadError
  // for a notation outside 0 to 2 or a count below 1; a damaged record leaves nothing
  // waiting.
  void Load(TReadFile& reader) override;
  // EReadError when the file, a listed variable or the index variable of a listed element
  // was not found.
  void CheckAfterRead() override;
  // "Output To File (" + the file's short name + ")".
  std::string GetText() override;
  int GetScriptType() const override { return OUTPUTTOFILE; }
  // A retype of a listed variable never removes it.
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }
  // The file going deletes the command; a variable going removes its entry (an index
  // variable the entry of its element), and the last entry going deletes the command.
  bool RemoveVariable(TVariable* reference) override;

  // The dialog's OK: the settings, the file and the entries (at least one) replace the
  // command's; the node text is refreshed.
  void SetUpFromForm(TExperimentFile* file, const TOutputToFileSettings& settings,
                     const std::vector<TOutputToFileEntry>& entries);
  // The entries in order, for the edit dialog.
  std::vector<TOutputToFileEntry> GetEntries();
  // Appends a reference of this command.
  void AddVariable(std::unique_ptr<TVariableData> reference);
  void ClearVariables();

  TExperimentFile* GetExpFile() const;
  TVariableExpFile* GetFileReference() const { return Pvarexpfile.get(); }
  std::size_t GetCount();
  bool GetTimeStamp() const { return AbTimeStamp; }
  bool GetDateStamp() const { return AbDateStamp; }
  const std::string& GetDelimiter() const { return ADelimiter; }
  std::uint8_t GetNotation() const { return ANotation; }
  std::int32_t GetDecimalPlaces() const { return ADecimalPlaces; }

  // The clock of the stamps (none: the local time); answers the previous one.
  static TClock SetClock(TClock clock);
  // month/day/year and hour:minute:second:millisecond, without leading zeros.
  static std::string DateText(const TStampTime& time);
  static std::string TimeText(const TStampTime& time);

private:
  // Writes the line and answers it (empty when commented out).
  std::string Output();
  // The fields of one entry: the element texts of an entire array, else one value.
  void AppendFields(TVariableData& reference, std::string& line, bool& first);

  std::mutex ListLock;  // guards Pvarlist between the worker and the main thread
  std::vector<std::unique_ptr<TVariableData>> Pvarlist;
  bool AbTimeStamp = false;
  bool AbDateStamp = false;
  std::string ADelimiter = ",";
  std::uint8_t ANotation = 0;
  std::int32_t ADecimalPlaces = 1;
  std::unique_ptr<TVariableExpFile> Pvarexpfile;
};

// The Output to File dialog of a new command (perhaps with a variable or data file of the
// attribute tree preselected) or of the command changed.
struct TOutputToFileRequest : TScriptRequest {
  TOutputToFileScript* OutputToFile() const { return static_cast<TOutputToFileScript*>(Script); }
  // The variables, then the data files; for a new command none of either is said and
  // keeps the dialog shut.
  bool CanOpen() override;


  std::vector<TData*> Variables;        // singles, then arrays
  std::vector<TDataSingle*> Integers;   // integer single variables: element indexes
  std::vector<TExperimentFile*> Files;  // single files, then multiple files
};
