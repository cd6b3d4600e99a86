// References from commands to variables: a single variable, an element (or all
// elements) of an array variable, and the index of an element. Each registers as a user
// of what it names; values travel through them at run time; their records carry the
// identifiers that bind them again after a document is read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/variable.h"

class TData;
class TDataSingle;
class TDataArray;
class TBlockCopyScript;
class TCopyVariableData;
class TVariableDataArray;

class TVariableData : public TVariable {
public:
  // The owner command is required and never changes.
  explicit TVariableData(TAttributeScript* owner);

  bool ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) override;
  bool NotifyOwner(int type) override;
  bool ReleaseRef() override;
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  TAttributeScript* GetScriptOwner() const override { return AScriptOwner; }

  // A new reference of the same owner to the same variable (and index).
  virtual TVariableData* Clone() = 0;
  // Values, through the variable's current value or array (created on first use).
  virtual void SetValueText(const std::string& text) = 0;
  // A raw 32-bit number: an integer, or the bits of an IEEE single for floats.
  virtual void SetValueNumber(std::int32_t raw) = 0;
  virtual std::string GetValueString() = 0;
  virtual std::string GetValueFormatted(int notation, int decimals) = 0;
  // 0 and 0.0 for string variables.
  virtual std::int32_t GetInteger() = 0;
  virtual float GetFloat() = 0;
  // The clipboard image of this reference, owned by the caller.
  virtual TCopyVariableData* MakeCopy(TBlockCopyScript* copyCommand) = 0;
  // The variable's name (arrays: with the index text when there is an index).
  virtual std::string GetName() = 0;
  virtual TData* GetData() const = 0;
  // Binds to the variable (none to unbind), registering as its user.
  virtual void SetData(TData* variable) = 0;
  virtual std::int32_t GetSize() = 0;
  // The name, or the empty text when unbound.
  virtual std::string GetDescription() = 0;
  virtual bool IsArray() const = 0;

  // Does the owner command store into this reference's variable.
  bool IsStoredByOwner();
  // The identifier read from a document until the reference is bound; -1 when none.
  std::int32_t GetPendingId() const { return PreadID; }

protected:
  // Forgets the variable without RemoveUser (ReleaseRef, ClearRef).
  virtual void ForgetData() = 0;
  // Binds a loaded object of the right kind; false for any other kind.
  virtual bool BindLoaded(TExpAttribute* object) = 0;

  std::int32_t PreadID = -1;
  TAttributeScript* AScriptOwner;
};

class TVariableDataSingle : public TVariableData {
public:
  explicit TVariableDataSingle(TAttributeScript* owner);
  // Leaves the variable's users.
  ~TVariableDataSingle() override;

  void ClearRef() override { ForgetData(); }
  TVariableData* Clone() override;
  void SetValueText(const std::string& text) override;
  void SetValueNumber(std::int32_t raw) override;
  std::string GetValueString() override;
  std::string GetValueFormatted(int notation, int decimals) override;
  std::int32_t GetInteger() override;
  float GetFloat() override;
  TCopyVariableData* MakeCopy(TBlockCopyScript* copyCommand) override;
  std::string GetName() override;
  TData* GetData() const override;
  void SetData(TData* variable) override;
  std::int32_t GetSize() override { return 1; }
  std::string GetDescription() override;
  bool IsArray() const override { return false; }

protected:
  void ForgetData() override { ADataSingle = nullptr; }
  bool BindLoaded(TExpAttribute* object) override;

private:
  TDataSingle* ADataSingle = nullptr;
};

// The index of an array element: an integer single variable's value, a constant, or
// neither (the entire array).
class TVariableArrayIndex : public TVariable {
public:
  explicit TVariableArrayIndex(TVariableDataArray* owner);
  // Leaves the index variable's users.
  ~TVariableArrayIndex() override;

  void ClearRef() override { ADataIndex = nullptr; }
  // Drops an index variable that is no longer an integer.
  bool ReleaseRef() override;
  bool ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) override;
  // Only an integer can index.
  bool NotifyOwner(int type) override;
  // The index record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  TAttributeScript* GetScriptOwner() const override;

  void SetIndexVariable(TDataSingle* variable);
  void SetIndexConstant(std::int32_t index);
  // The entire array.
  void ClearIndex();
  void Assign(const TVariableArrayIndex* other);
  // The index variable's value, or the constant.
  std::int32_t GetIndex();
  // "[" + the index variable's name, the constant, or "..." + "]".
  std::string GetText();

  TDataSingle* GetIndexVariable() const { return ADataIndex; }
  std::int32_t GetConstant() const { return AConstant; }
  bool IsEntireArray() const { return ADataIndex == nullptr && AConstant < 0; }

private:
  void DropIndexVariable();
  void UpdateOwnerText();

  TVariableDataArray* AVariableDataArray;
  TDataSingle* ADataIndex = nullptr;
  std::int32_t AConstant = 0;
  std::int32_t PreadID = -1;
};

class TVariableDataArray : public TVariableData {
public:
  explicit TVariableDataArray(TAttributeScript* owner);
  // Deletes the index (which leaves its variable's users), then leaves the array's users.
  ~TVariableDataArray() override;

  void ClearRef() override { ForgetData(); }
  // The record: the array's identifier, then the index record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  TVariableData* Clone() override;
  void SetValueText(const std::string& text) override;
  void SetValueNumber(std::int32_t raw) override;
  std::string GetValueString() override;
  std::string GetValueFormatted(int notation, int decimals) override;
  std::int32_t GetInteger() override;
  float GetFloat() override;
  TCopyVariableData* MakeCopy(TBlockCopyScript* copyCommand) override;
  std::string GetName() override;
  TData* GetData() const override;
  void SetData(TData* variable) override;
  std::int32_t GetSize() override;
  std::string GetDescription() override;
  bool IsArray() const override { return true; }

  // The index, created on first use (constant 0).
  TVariableArrayIndex& GetArrayIndex();
  bool HasArrayIndex() const { return AArrayIndex != nullptr; }

protected:
  void ForgetData() override { ADataArray = nullptr; }
  bool BindLoaded(TExpAttribute* object) override;

private:
  // The element's index: checked against the array by the array itself.
  std::int32_t ElementIndex();

  TDataArray* ADataArray = nullptr;
  std::unique_ptr<TVariableArrayIndex> AArrayIndex;
};

// The clipboard image of a reference: the variable, and for an array element the index
// variable or the constant index (-1 for none).
class TCopyVariableData {
public:
  TCopyVariableData(TBlockCopyScript* owner, TData* data, TDataSingle* counter, std::int32_t index);

  // Registers the owning copy command with the variable and the index variable.
  void Enable();
  // Clears those registrations and drops the variables.
  void Disable();
  // Binds a new reference as the copied one was bound.
  void SetUpVariable(TVariableData* reference) const;

  TBlockCopyScript* Powner;
  TData* Data;
  TDataSingle* ACounter;
  std::int32_t AIndex;
};
