// The copy record of a Label command: its title.
// It names nothing that can go away, so once enabled it stays so.
#pragma once

#include <string>
#include <utility>

#include "scripts/copy_script.h"
#include "scripts/script.h"

class TCopyLabel : public TCopyScript {
public:
  explicit TCopyLabel(std::string value) : Title(std::move(value)) {}
  bool CanPasteAt(TTreeNode*) override { return true; }
  void Enable() override { ADisabled = false; }
  int GetScriptType() override { return TScript::LABEL; }

  const std::string Title;
};
