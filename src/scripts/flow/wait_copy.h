// The copy record of a Wait command: its time in milliseconds.
// It names nothing that can go away, so once enabled it stays so.
#pragma once

#include <cstdint>

#include "scripts/copy_script.h"
#include "scripts/script.h"

class TCopyWait : public TCopyScript {
public:
  explicit TCopyWait(std::int32_t value) : Time(value) {}
  bool CanPasteAt(TTreeNode*) override { return true; }
  void Enable() override { ADisabled = false; }
  int GetScriptType() override { return TScript::WAIT; }

  const std::int32_t Time;
};
