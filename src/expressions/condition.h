// The condition of a branching command (If-Then, Repeat-Until, Decision): a variable (a
// single variable or an array element) compared with a second variable or with a typed
// constant. It evaluates at run time, gives the texts of the command's node and of the
// debug trace, answers the command's part in a variable's retype, and writes and reads
// its record inside the command record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "expressions/comparison.h"

class TAttributeScript;
class TData;
class TReadFile;
class TVariableData;
class TWriteFile;

// What kind of second operand a condition has; stands in the command record.
enum TConditionType : std::int8_t {
  ectCONDVARIABLE = 0,  // a second variable
  ectCONDCONSTANT = 1,  // a typed constant
};

// The text of a condition record that cannot be read: a type or a comparison out of
// range, a constant whose text does not fit its type, or (after the document is read)
// a reference that names no variable or types the condition cannot compare.
extern const char* const ConditionReadError;

// A typed constant: its text, and the type it is read as.
class TConstant {
public:
  static constexpr std::uint8_t NotSet = 255;

  // The text must be non-empty and valid for the type (string, integer or float).
  void SetConstant(const std::string& text, int type);
  // The text as the constant's own type; the type must match.
  std::string GetString() const;
  std::int32_t GetInteger() const;
  float GetFloat() const;
  // May the constant follow its variable to this type: a string constant whose text is
  // no number cannot become a number.
  bool CanConvertTo(int type) const;
  // Takes the variable's new type. True when it cannot, so that the command must go; a
  // float text becoming an integer is first offered, truncated, to the user.
  bool ChangeType(int type);
  // Text, then the type.
  void Save(TWriteFile& writer) const;
  // EReadError for a type out of range or a text the type does not accept.
  void Load(TReadFile& reader);

  std::uint8_t GetType() const { return AExpAttType; }
  const std::string& GetText() const { return AConstant; }

private:
  std::string AConstant;
  std::uint8_t AExpAttType = NotSet;
};

class TCondition {
public:
  // References are made with the owner command as their owner.
  explicit TCondition(TAttributeScript* owner);
  virtual ~TCondition();
  TCondition(const TCondition&) = delete;
  TCondition& operator=(const TCondition&) = delete;

  // May a variable of the condition take this type.
  virtual bool AcceptsType(int type) = 0;
  // After a variable's retype: true when the condition can no longer compare, so that
  // the command must go.
  virtual bool ValidateTypes() = 0;
  // The comparison with the current values; index errors of array elements propagate.
  virtual bool Evaluate() = 0;
  // The condition record; in a block export the references join the writer's list.
  virtual void Save(TWriteFile& writer);
  // Reads the record into an empty condition; the references wait in the reader's list
  // for their variables. EReadError for a comparison out of range.
  virtual void Load(TReadFile& reader);
  virtual TConditionType GetConditionType() const = 0;
  // The values and the operator, for the debug trace; empty while incomplete.
  virtual std::string GetValueText() = 0;
  // The names and the operator, for the node text; empty while incomplete.
  virtual std::string GetText() = 0;
  // After a document is read: true when every reference names a variable (an element,
  // for an array) and the types can be compared as Evaluate compares them.
  virtual bool IsComplete();

  // Keeps the comparison of the type; the type must be 0 to 4.
  void SetComparison(int type);
  // Binds the first reference, made single or array as the variable is.
  void SetVariable1(TData* variable);

  TVariableData* GetVariable1() const { return AVariable1.get(); }
  const TComparison* GetComparison() const { return AComparison.get(); }
  TAttributeScript* GetScriptOwner() const { return AScriptOwner; }

protected:
  // A reference made or kept to match the variable, then bound to it.
  void SetReference(std::unique_ptr<TVariableData>& reference, TData* variable);
  // Writes whether the reference is an array element, then its record.
  void SaveReference(TWriteFile& writer, TVariableData* reference);
  // Reads what SaveReference wrote into a new reference.
  std::unique_ptr<TVariableData> LoadReference(TReadFile& reader);
  // The type of the variable a reference names; the reference must be bound.
  static int TypeOf(const TVariableData* reference);
  static bool IsBound(const TVariableData* reference);

  std::unique_ptr<TVariableData> AVariable1;
  TAttributeScript* AScriptOwner;
  std::unique_ptr<TComparison> AComparison;
};

// A variable compared with a second variable.
class TConditionVariable : public TCondition {
public:
  explicit TConditionVariable(TAttributeScript* owner);
  ~TConditionVariable() override;

  // A string condition cannot become numeric; anything else may change.
  bool AcceptsType(int type) override;
  // A string against a number must go; an integer and a float compared for equality
  // stay only when the user agrees.
  bool ValidateTypes() override;
  bool Evaluate() override;
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  TConditionType GetConditionType() const override { return ectCONDVARIABLE; }
  std::string GetValueText() override;
  std::string GetText() override;
  bool IsComplete() override;

  // Binds both variables and keeps the comparison.
  void SetCondition(TData* variable1, TData* variable2, int type);
  void SetVariable2(TData* variable);

  TVariableData* GetVariable2() const { return AVariable2.get(); }

private:
  std::unique_ptr<TVariableData> AVariable2;
};

// A variable compared with a constant of the variable's type.
class TConditionConstant : public TCondition {
public:
  explicit TConditionConstant(TAttributeScript* owner);
  ~TConditionConstant() override;

  bool AcceptsType(int type) override;
  bool ValidateTypes() override;
  bool Evaluate() override;
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  TConditionType GetConditionType() const override { return ectCONDCONSTANT; }
  std::string GetValueText() override;
  std::string GetText() override;
  bool IsComplete() override;

  // Binds the variable, the constant (typed as the variable) and the comparison; the
  // text must not be empty.
  void SetCondition(TData* variable, const std::string& text, int type);
  void SetConstant(TData* variable, const std::string& text);

  const TConstant* GetConstant() const { return AConstant2.get(); }

private:
  std::unique_ptr<TConstant> AConstant2;
};
