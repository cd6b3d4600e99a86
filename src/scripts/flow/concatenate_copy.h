// The clipboard image of a Concatenate command: its pieces (literal texts, and copies of
// the variables of the variable pieces), the target with its element choice, the number
// format and both options. It belongs to the block of the copied command, whose
// variables it names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scripts/copy_script.h"

class TCopyVariableData;
class TConcatenateScript;
class TData;

// One piece: the literal text, or the copy of a variable piece's reference.
class TCopyPiece {
public:
  explicit TCopyPiece(std::string text);
  explicit TCopyPiece(std::unique_ptr<TCopyVariableData> variable);
  ~TCopyPiece();
  TCopyPiece(const TCopyPiece&) = delete;
  TCopyPiece& operator=(const TCopyPiece&) = delete;

  bool IsVariable() const { return Pcopyvariable != nullptr; }

  std::string AText;
  std::unique_ptr<TCopyVariableData> Pcopyvariable;  // none for a literal piece
};

class TCopyConcatenate : public TBlockCopyScript {
public:
  // The command's target is required.
  explicit TCopyConcatenate(TConcatenateScript& command);
  ~TCopyConcatenate() override;

  // Leaves the target and the pieces' variables and forgets them all.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  const std::vector<std::unique_ptr<TCopyPiece>>& GetPieces() const { return Pieces; }
  const TCopyVariableData& GetTargetCopy() const { return *Pcopyvariable; }
  // The target variable; none once disabled.
  TData* GetTarget() const;

  const bool AbTrimResult;
  const bool AbDisableVariableCheck;
  const std::int32_t ANotation;
  const std::int32_t ADecimalPlaces;

private:
  std::vector<std::unique_ptr<TCopyPiece>> Pieces;
  std::unique_ptr<TCopyVariableData> Pcopyvariable;
};
