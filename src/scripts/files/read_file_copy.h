// The clipboard image of a Read File command: the array it fills, the variable that
// takes the count of values (or none), the path, both delimiters and both text options.
// It belongs to the block of the copied command, whose variables it names.
#pragma once

#include <memory>
#include <string>

#include "scripts/copy_script.h"

class TCopyVariableData;
class TData;
class TReadFileScript;

class TCopyReadFile : public TBlockCopyScript {
public:
  // The command must read into an array.
  explicit TCopyReadFile(TReadFileScript& command);
  ~TCopyReadFile() override;

  // Leaves both variables and forgets them.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  // The copied array and count variable; none once disabled (the count: also without one).
  TData* GetArray() const;
  TData* GetCountVariable() const;

  const std::string AFileToRead;
  const std::string PDelimiter1;
  const std::string PDelimiter2;
  const bool DoCleanString;
  const bool WSDelimiter;

private:
  std::unique_ptr<TCopyVariableData> AArrayCopy;
  std::unique_ptr<TCopyVariableData> ACountCopy;
};
