// The copy record of a Serial Poll command: the device and the variable the status byte
// goes to. The variable belongs to the block, so the record goes only into that block.
#pragma once

#include "scripts/device/device_copy.h"

class TDataSingle;
class TExpAttribute;

class TCopySerialPoll : public TDeviceCopyScript {
public:
  // Block, device and variable are required.
  TCopySerialPoll(TBlock* block, TDevice* device, TDataSingle* variable);
  ~TCopySerialPoll() override;
  // Also lets go of the variable and forgets it.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;
  // None once disabled.
  TDataSingle* GetVariable() const { return ADataSingle; }

private:
  TDataSingle* ADataSingle;
  // The same variable as an attribute, for the registration: a variable being deleted
  // disables the record when only its attribute part is left.
  TExpAttribute* Pattribute;
};
