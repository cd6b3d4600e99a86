// The copy record of a Comment command: its text.
// It names nothing that can go away, so once enabled it stays so.
#pragma once

#include <string>
#include <utility>

#include "scripts/copy_script.h"
#include "scripts/script.h"

class TCopyComment : public TCopyScript {
public:
  explicit TCopyComment(std::string value) : Text(std::move(value)) {}
  bool CanPasteAt(TTreeNode*) override { return true; }
  void Enable() override { ADisabled = false; }
  int GetScriptType() override { return TScript::COMMENT; }

  const std::string Text;
};
