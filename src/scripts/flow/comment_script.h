// The Comment command: a line of text among the commands. It does nothing when run and
// leaves no trace line.
#pragma once

#include <string>
#include <vector>

#include "scripts/script.h"
#include "scripts/script_request.h"

class TCommentScript : public TScript {
public:
  TCommentScript(TBlock* block, TTreeNode* node);

  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return true; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // The text, then the base record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // "Comment: " + the text.
  std::string GetText() override { return "Comment: " + ACommentText; }
  int GetScriptType() const override { return COMMENT; }
  bool CanCommentOut() override { return false; }

  // Sets the text and refreshes the node text.
  void SetComment(const std::string& text);
  const std::string& GetComment() const { return ACommentText; }

private:
  std::string ACommentText;
};

// The Comment dialog of a new command or of the command changed.
struct TCommentScriptRequest : TScriptRequest {
  TCommentScript* Comment() const { return static_cast<TCommentScript*>(Script); }
};
