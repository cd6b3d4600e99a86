// Clipboard images of a compiled expression: one record per object of the list, which
// names the variables it uses instead of holding references, and rebuilds the objects
// for the command that is pasted.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TAttributeScript;
class TCopyScript;
class TCopyVariableData;
class TQorvMath;
class TQorvMathList;
class TZyqMathListCopy;

class TZyqMathCopy {
public:
  explicit TZyqMathCopy(TCopyScript* owner) : Powner(owner) {}
  virtual ~TZyqMathCopy() = default;
  TZyqMathCopy(const TZyqMathCopy&) = delete;
  TZyqMathCopy& operator=(const TZyqMathCopy&) = delete;

  // A new run-time object for the command; none for a kind the record cannot make.
  virtual std::unique_ptr<TQorvMath> MakeMathObject(TAttributeScript* command) = 0;
  // Releases (Disable) or registers (Enable) the copy command with the copied variables.
  virtual void Disable() {}
  virtual void Enable() {}

  TCopyScript* Powner;
};

class TZyqOperatorCopy : public TZyqMathCopy {
public:
  TZyqOperatorCopy(TCopyScript* owner, std::int8_t kind) : TZyqMathCopy(owner), Kind(kind) {}
  std::unique_ptr<TQorvMath> MakeMathObject(TAttributeScript* command) override;

  std::int8_t Kind;
};

class TZyqOperandCopy : public TZyqMathCopy {
public:
  TZyqOperandCopy(TCopyScript* owner, std::int8_t kind);
  ~TZyqOperandCopy() override;
  std::unique_ptr<TQorvMath> MakeMathObject(TAttributeScript* command) override;
  void Disable() override;
  void Enable() override;

  std::int8_t Kind;
  std::unique_ptr<TCopyVariableData> Pcopyvariable;
  std::int32_t IntegerValue = 0;
  float FloatValue = 0.0f;
  std::uint32_t BinaryValue = 0;
};

class TZyqFunctionCopy : public TZyqMathCopy {
public:
  TZyqFunctionCopy(TCopyScript* owner, std::int8_t kind);
  ~TZyqFunctionCopy() override;
  std::unique_ptr<TQorvMath> MakeMathObject(TAttributeScript* command) override;
  void Disable() override;
  void Enable() override;
  // Copies the argument's list into a new list copy (the record must have none yet).
  void CopyArgument(const TQorvMathList& argument);

  std::int8_t Kind;
  std::unique_ptr<TZyqMathListCopy> Pmathlist;

protected:
  // The argument's list rebuilt for the command.
  std::unique_ptr<TQorvMathList> MakeArgument(TAttributeScript* command) const;
};

class TZyqTrigFunctionCopy : public TZyqFunctionCopy {
public:
  TZyqTrigFunctionCopy(TCopyScript* owner, std::int8_t kind, bool radians)
      : TZyqFunctionCopy(owner, kind), Radians(radians) {}
  std::unique_ptr<TQorvMath> MakeMathObject(TAttributeScript* command) override;

  bool Radians;
};

class TZyqMathListCopy {
public:
  TZyqMathListCopy() = default;
  ~TZyqMathListCopy();
  TZyqMathListCopy(const TZyqMathListCopy&) = delete;
  TZyqMathListCopy& operator=(const TZyqMathListCopy&) = delete;

  // Fills the empty copy with a record of every object of the list.
  void CopyMathList(const TQorvMathList& list, TCopyScript* copyCommand);
  // A new compiled list owned by the command, rebuilt from the records.
  std::unique_ptr<TQorvMathList> MakeMathList(TAttributeScript* command) const;
  void Disable();
  void Enable();

  bool HasList() const { return Pmathlist != nullptr; }
  const std::vector<std::unique_ptr<TZyqMathCopy>>& GetRecords() const;

private:
  std::unique_ptr<std::vector<std::unique_ptr<TZyqMathCopy>>> Pmathlist;
};
