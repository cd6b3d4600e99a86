// The pieces of a Concatenate command's expression: literal text, or a variable whose
// value is formatted with the command's number format when the command runs.
#pragma once

#include <memory>
#include <string>

class TConcatenateScript;
class TCopyPiece;
class TCopyScript;
class TReadFile;
class TVariableData;
class TWriteFile;

class TConcatenatePiece {
public:
  explicit TConcatenatePiece(TConcatenateScript* owner);
  virtual ~TConcatenatePiece() = default;
  TConcatenatePiece(const TConcatenatePiece&) = delete;
  TConcatenatePiece& operator=(const TConcatenatePiece&) = delete;

  // The piece's text at this moment.
  virtual std::string GetText() = 0;
  // After a document is read: EReadError when the piece lacks what it names.
  virtual void CheckAfterRead() = 0;
  virtual void Load(TReadFile& reader) = 0;
  virtual void Save(TWriteFile& writer) = 0;
  virtual bool IsVariable() const = 0;
  // The piece as the expression shows it.
  virtual std::string GetExpressionText() = 0;
  // The piece's clipboard image, owned by the copy record.
  virtual std::unique_ptr<TCopyPiece> MakeCopyPiece(TCopyScript* owner) = 0;

protected:
  TConcatenateScript* PsOwner;
};

class TStringPiece : public TConcatenatePiece {
public:
  explicit TStringPiece(TConcatenateScript* owner, std::string text = std::string());

  std::string GetText() override { return AText; }
  void CheckAfterRead() override {}
  // One string.
  void Load(TReadFile& reader) override;
  void Save(TWriteFile& writer) override;
  bool IsVariable() const override { return false; }
  std::string GetExpressionText() override { return AText; }
  std::unique_ptr<TCopyPiece> MakeCopyPiece(TCopyScript* owner) override;

private:
  std::string AText;
};

class TVariablePiece : public TConcatenatePiece {
public:
  // Without a reference until one is given or read.
  explicit TVariablePiece(TConcatenateScript* owner);
  // Owns the reference, whose owner must be the command.
  TVariablePiece(TConcatenateScript* owner, std::unique_ptr<TVariableData> reference);
  ~TVariablePiece() override;

  // The value formatted with the command's notation and decimal places; empty without
  // a bound reference. EExperimentError for a reference to a whole array.
  std::string GetText() override;
  // The reference must be bound.
  void CheckAfterRead() override;
  // A bool (the variable is an array), then the reference record; the reference joins
  // the reader's list of references waiting for their variables.
  void Load(TReadFile& reader) override;
  // The same; a block export also lists the reference as travelling with the block.
  void Save(TWriteFile& writer) override;
  bool IsVariable() const override { return true; }
  // "{" + the reference's description + "}"; empty without a bound reference.
  std::string GetExpressionText() override;
  // The reference must be bound.
  std::unique_ptr<TCopyPiece> MakeCopyPiece(TCopyScript* owner) override;

  TVariableData* GetVariable() const { return Pvariable.get(); }

private:
  std::unique_ptr<TVariableData> Pvariable;
};

// A reference that names the whole of an array has no single value to give or take:
// EExperimentError with the array's name.
void RequireElement(TVariableData& reference);
