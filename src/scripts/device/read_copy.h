// The clipboard image of a Read command: the device, copies of the target and of the
// byte-count and point-count variables (when there are), the response description
// without its variable links, and both text options. It belongs to the block of the
// copied command, whose variables it names.
#pragma once

#include <memory>

#include "communication/read_response.h"
#include "scripts/device/device_copy.h"

class TCopyVariableData;
class TData;
class TReadScript;

class TCopyRead : public TDeviceCopyScript {
public:
  // The command must have its device, its target and its descriptor.
  explicit TCopyRead(TReadScript& command);
  ~TCopyRead() override;

  // Leaves the device and every variable, and forgets them.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  // The response as the command read it, its byte-count and point-count variables taken
  // from the copies. The record must be enabled.
  TReadResponse GetResponse() const;
  // The target; none once disabled.
  TData* GetVariable() const;

  const bool DoCleanString;
  const bool WSDelimiter;

private:
  std::unique_ptr<TCopyVariableData> ACopyVariable;
  std::unique_ptr<TCopyVariableData> PReadBytesVar;
  std::unique_ptr<TCopyVariableData> PReadPointsVar;
  TReadResponse AResponse;
};
