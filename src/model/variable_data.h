// References from commands to variables: a single variable, an element (or all
// elements) of an array variable, and the index of an element. Each registers as a user
// of what it names; values travel through them at run time; their records carry the
// identifiers that bind them again after a document is read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable.h"

class TCopyScript;
class TCopyVariableData;
class TVariableDataArray;

// What a reader saw of a variable's value: the address of the value (or array) object
// with the variable's generation and type when it was looked up (data.h). It stays valid
// while the variable shows that generation; a fresh sight (generation 0, which no
// variable shows) is looked up on first use. Evaluations keep one per variable they read,
// so that a read costs one comparison more than the value itself.
struct TValueSight {
  std::uint64_t Generation = 0;
  TValue* Value = nullptr;
  std::int8_t Type = eatSTRING;
};

struct TArraySight {
  std::uint64_t Generation = 0;
  TValueArray* Array = nullptr;
  std::int8_t Type = eatSTRING;
};

class TVariableData : public TVariable {
public:
  // The owner command is required and never changes.
  explicit TVariableData(TAttributeScript* owner);

  bool ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) override;
  bool LinkLoaded(TExpAttribute* object, std::int32_t identifier, bool& textStale) override;
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
  virtual TCopyVariableData* MakeCopy(TCopyScript* copyCommand) = 0;
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
  std::int32_t GetPendingId() const override { return PreadID; }

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
  std::int32_t GetInteger() override {
    TValueSight sight;
    return ReadInteger(sight);
  }
  float GetFloat() override {
    TValueSight sight;
    return ReadFloat(sight);
  }
  TCopyVariableData* MakeCopy(TCopyScript* copyCommand) override;
  std::string GetName() override;
  TData* GetData() const override;
  void SetData(TData* variable) override;
  std::int32_t GetSize() override { return 1; }
  std::string GetDescription() override;
  bool IsArray() const override { return false; }

  // GetInteger and GetFloat through the reader's sight of the value, looked up again
  // when it is not of the current value.
  [[gnu::always_inline]] std::int32_t ReadInteger(TValueSight& sight) {
    if (!Sees(sight)) LookUp(sight);
    return IntegerOf(sight);
  }
  [[gnu::always_inline]] float ReadFloat(TValueSight& sight) {
    if (!Sees(sight)) LookUp(sight);
    return FloatOf(sight);
  }
  // The same in halves, for a reader that checks its sights before it reads: is the
  // sight of the variable's current value; takes the current value into the sight.
  [[gnu::always_inline]] bool Sees(const TValueSight& sight) const {
    QORV_ASSERT(ADataSingle!=0);
    return ADataSingle->GetValueGeneration() == sight.Generation;
  }
  void LookUp(TValueSight& sight);
  // The rules of every numeric read of a single variable, through a current sight: a
  // string counts 0.
  [[gnu::always_inline]] static std::int32_t IntegerOf(const TValueSight& sight) {
    switch (sight.Type) {
      case eatINTEGER: return static_cast<TValueInt*>(sight.Value)->TValueInt::GetInt();
      case eatFLOAT: return static_cast<TValueFloat*>(sight.Value)->TValueFloat::GetInt();
      default: return 0;
    }
  }
  [[gnu::always_inline]] static float FloatOf(const TValueSight& sight) {
    if (sight.Type == eatFLOAT)
      return static_cast<TValueFloat*>(sight.Value)->TValueFloat::GetFloat();
    if (sight.Type == eatINTEGER)
      return static_cast<TValueInt*>(sight.Value)->TValueInt::GetFloat();
    return 0.0f;
  }

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
  std::int32_t GetPendingId() const override { return PreadID; }
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
  std::int32_t GetIndex() {
    TValueSight sight;
    LookUp(sight);
    return IndexOf(sight);
  }
  // The same in halves, through the reader's sight of the index variable's value (as
  // the references read values): is the sight current (always, for a constant); takes
  // the index variable's current value (an integer) into the sight; the index.
  [[gnu::always_inline]] bool Sees(const TValueSight& sight) const {
    return !ADataIndex || ADataIndex->GetValueGeneration() == sight.Generation;
  }
  void LookUp(TValueSight& sight);
  [[gnu::always_inline]] std::int32_t IndexOf(const TValueSight& sight) const {
    return ADataIndex ? static_cast<TValueInt*>(sight.Value)->TValueInt::GetInt() : AConstant;
  }
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
  std::int32_t GetInteger() override {
    TArraySight sight;
    TValueSight indexSight;
    return ReadInteger(sight, indexSight);
  }
  float GetFloat() override {
    TArraySight sight;
    TValueSight indexSight;
    return ReadFloat(sight, indexSight);
  }
  TCopyVariableData* MakeCopy(TCopyScript* copyCommand) override;
  std::string GetName() override;
  TData* GetData() const override;
  void SetData(TData* variable) override;
  std::int32_t GetSize() override;
  std::string GetDescription() override;
  bool IsArray() const override { return true; }

  // GetInteger and GetFloat through the reader's sights of the array and of the index
  // variable's value, looked up again when they are not current.
  [[gnu::always_inline]] std::int32_t ReadInteger(TArraySight& sight, TValueSight& indexSight) {
    if (!Sees(sight, indexSight)) LookUp(sight, indexSight);
    return IntegerOf(sight, indexSight);
  }
  [[gnu::always_inline]] float ReadFloat(TArraySight& sight, TValueSight& indexSight) {
    if (!Sees(sight, indexSight)) LookUp(sight, indexSight);
    return FloatOf(sight, indexSight);
  }
  // The same in halves, as for a single variable. The index of a string array is not
  // read.
  [[gnu::always_inline]] bool Sees(const TArraySight& sight, const TValueSight& indexSight) const {
    QORV_ASSERT(ADataArray!=0);
    if (ADataArray->GetValueGeneration() != sight.Generation) return false;
    if (sight.Type == eatSTRING) return true;
    QORV_ASSERT(AArrayIndex!=0);
    return AArrayIndex->Sees(indexSight);
  }
  void LookUp(TArraySight& sight, TValueSight& indexSight);
  // The rules of every numeric read of an element, through current sights: a string
  // counts 0; an index outside the array, a negative value of the index variable
  // included, is "Index <i> is out of bounds.".
  [[gnu::always_inline]] std::int32_t IntegerOf(const TArraySight& sight,
                                                const TValueSight& indexSight) const {
    switch (sight.Type) {
      case eatINTEGER:
        return static_cast<TValueIntegerArray*>(sight.Array)->TValueIntegerArray::GetElementInt(
            IndexOf(indexSight));
      case eatFLOAT:
        return static_cast<TValueFloatArray*>(sight.Array)->TValueFloatArray::GetElementInt(
            IndexOf(indexSight));
      default: return 0;
    }
  }
  [[gnu::always_inline]] float FloatOf(const TArraySight& sight,
                                       const TValueSight& indexSight) const {
    if (sight.Type == eatFLOAT)
      return static_cast<TValueFloatArray*>(sight.Array)->TValueFloatArray::GetElementFloat(
          IndexOf(indexSight));
    if (sight.Type == eatINTEGER)
      return static_cast<TValueIntegerArray*>(sight.Array)->TValueIntegerArray::GetElementFloat(
          IndexOf(indexSight));
    return 0.0f;
  }

  // The index, created on first use (constant 0).
  TVariableArrayIndex& GetArrayIndex();
  bool HasArrayIndex() const { return AArrayIndex != nullptr; }

protected:
  void ForgetData() override { ADataArray = nullptr; }
  bool BindLoaded(TExpAttribute* object) override;

private:
  // The element's index for the text and store paths: a value of the index variable
  // below 0 is refused at once; the array checks the upper bound itself.
  std::int32_t ElementIndex();
  // The element's index: the index variable's value, or the constant (never below 0:
  // that is the entire array, which has no element). A value of the index variable
  // below 0 is returned; the array refuses it with the same error as one beyond its size.
  [[gnu::always_inline]] std::int32_t IndexOf(const TValueSight& indexSight) const {
    const std::int32_t index = AArrayIndex->IndexOf(indexSight);
    QORV_ASSERT_AS(index >= 0 || AArrayIndex->GetIndexVariable() != nullptr, "index>=0");
    return index;
  }

  TDataArray* ADataArray = nullptr;
  std::unique_ptr<TVariableArrayIndex> AArrayIndex;
};

// The clipboard image of a reference: the variable, and for an array element the index
// variable or the constant index (-1 for none).
class TCopyVariableData {
public:
  TCopyVariableData(TCopyScript* owner, TData* data, TDataSingle* counter, std::int32_t index);

  // Registers the owning copy command with the variable and the index variable.
  void Enable();
  // Clears those registrations and drops the variables.
  void Disable();
  // Binds a new reference as the copied one was bound.
  void SetUpVariable(TVariableData* reference) const;

  TCopyScript* Powner;
  TData* Data;
  TDataSingle* ACounter;
  std::int32_t AIndex;
};
