// The clipboard image of an Output to File command: the data file, copies of the listed
// variables in order (each with its element choice), the stamps, the delimiter and the
// number format. It belongs to the block of the copied command, whose variables it names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scripts/copy_script.h"

class TCopyVariableData;
class TExperimentFile;
class TVariableData;

class TCopyOutputToFile : public TBlockCopyScript {
public:
  using TVarList = std::vector<std::unique_ptr<TCopyVariableData>>;

  // The file is required; the list may be empty, and then the record has no list.
  TCopyOutputToFile(TBlock* block, bool timeStamp, bool dateStamp, std::string delimiter,
                    std::uint8_t notation, std::int32_t decimalPlaces, TExperimentFile* file,
                    const std::vector<std::unique_ptr<TVariableData>>& list);
  ~TCopyOutputToFile() override;

  // Leaves the file and the variables; the file is forgotten and the list goes.
  void Disable() override;
  // The file and every listed variable; a record without a list enables as an empty one.
  void Enable() override;
  int GetScriptType() override;

  // The variable copies, an empty list made on first use.
  TVarList& GetVarList();
  bool HasVarList() const { return Pvarlist != nullptr; }
  // The data file; none once disabled.
  TExperimentFile* GetExpFile() const { return Pexpfile; }

  const bool AbTimeStamp;
  const bool AbDateStamp;
  const std::string ADelimiter;
  const std::uint8_t ANotation;
  const std::int32_t ADecimalPlaces;

private:
  TExperimentFile* Pexpfile;
  std::unique_ptr<TVarList> Pvarlist;
};
