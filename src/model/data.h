// The experiment's variables: typed, named values that belong to one block and are
// listed in the attribute tree. Commands reach them through references (variable_data.h).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "model/exp_attribute.h"

class TBlock;
class TDataList;
class TValue;
class TValueArray;
struct TNodeStyle;

class TData : public TExpAttribute {
public:
  // The list and the block are required. A given node shows the display name and the
  // image of kind and type.
  TData(TTreeNode* node, const std::string& name, TDataList* datalist, int type, TBlock* block);
  // Removes the name from the list's name list; the attribute then clears its users.
  ~TData() override;

  // Edits the variable through the variable dialog; answers 1 after OK.
  int Edit() override;
  // Current value := initial value (arrays: every element).
  virtual void ResetValue() = 0;
  // Drops the current value or array; answers true.
  virtual bool ClearValue() = 0;
  virtual std::int32_t GetSize() = 0;
  virtual bool IsArray() const = 0;
  // The variable's fields of its record; arrays write their size first.
  virtual void SaveValue(TWriteFile& writer);
  virtual void LoadValue(TReadFile& reader);
  // The current value's text; "No current value" without one (never creates it).
  virtual std::string GetValueText() = 0;

  // Retypes the variable after asking the users; false when the user declines.
  bool SetDataType(int type);
  // Renames the variable in the name list and the display name.
  void SetDataName(const std::string& name);
  // Rebuilds the display name from the block's title and the name.
  void UpdateDisplayName();
  // Empty text removes the initial value; then the value is reset.
  void SetInitialValue(const std::string& text);
  // "0", "0.0" or "" without an initial value.
  std::string GetInitialValueText() const;
  // True unless a command stores into this variable.
  bool CanSetAsReadOnly();
  // Setting succeeds only when CanSetAsReadOnly; otherwise the flag stays false.
  void SetReadOnly(bool readOnly);
  // A read-only variable is drawn in blue.
  bool DrawNode(TNodeStyle& style);

  // The variable record (the type is written by the list before it).
  void Save(TWriteFile& writer);
  // Reads the record of an experiment file and binds the waiting references.
  void Load(TReadFile& reader);
  // Reads the record of a block file; false when the user gave its users to another
  // variable (the caller then deletes this one).
  bool LoadImported(TReadFile& reader);

  int GetDataType() const { return DataType; }
  TBlock* GetBlockOwner() const { return ABlockOwner; }
  TDataList* GetDataList() const { return Pdatalist; }
  bool IsReadOnly() const { return ReadOnlyFlag; }
  const std::string& GetDataName() const { return Name; }
  const TValue* GetInitialValue() const { return Pinitialvalue.get(); }
  int GetImage() const { return AttributeImage(IsArray(), DataType); }

  // Holds the experiment's value lock (none without an experiment) while values are
  // written, or read for display, so that neither sees a value half replaced.
  std::unique_lock<std::recursive_mutex> LockValues() const;

  // Changes whenever the current value (or array) object is created, replaced or
  // dropped, and never repeats, across all variables: an address of the value object
  // taken while the variable showed a generation stays valid while it shows that
  // generation (readers keep the pair and compare one number per read).
  std::uint64_t GetValueGeneration() const { return ValueGeneration; }

protected:
  // Sets the node's image from kind and type; called once the object is complete.
  void ShowImage();
  // The largest number of points read into this array by a Read command; -1 for none.
  std::int32_t MinimumSizeForReads();
  // Takes the dialog's answer after OK.
  void ApplyEdit(const struct TDataFormRequest& request);
  // The value object for the type (the initial value's kind).
  std::unique_ptr<TValue> NewValue() const;
  // Takes a new generation; called with the value lock held, right after the current
  // value (or array) object was created, replaced or dropped.
  void NewValueGeneration();

  std::int8_t DataType;
  TBlock* ABlockOwner;
  TDataList* Pdatalist;
  bool ReadOnlyFlag = false;
  std::string Name;
  std::unique_ptr<TValue> Pinitialvalue;

private:
  std::uint64_t ValueGeneration;
};

class TDataSingle : public TData {
public:
  TDataSingle(TTreeNode* node, const std::string& name, TDataList* datalist, int type, TBlock* block);
  // A held copy record lets go while the variable is still whole.
  ~TDataSingle() override;

  TAttributeType GetAttributeType() const override { return SINGLEVARIABLE; }
  void ResetValue() override;
  bool ClearValue() override;
  std::int32_t GetSize() override { return 1; }
  bool IsArray() const override { return false; }
  std::string GetValueText() override;

  // The current value, created on first use.
  TValue& GetValue();
  bool HasValue() const { return Pvalue != nullptr; }

private:
  std::unique_ptr<TValue> Pvalue;
};

// The most elements an array may have: a file's record of a larger one is refused, and
// the variable dialog is to keep to it too. 2^24 is the last count whose every index the
// single-precision arithmetic of expressions holds exactly, and it keeps the largest
// array small enough to make: 64 MiB of integers or floats, 512 MiB of empty strings.
inline constexpr std::int32_t MaxArraySize = 16777216;

class TDataArray : public TData {
public:
  TDataArray(TTreeNode* node, const std::string& name, TDataList* datalist, int type, TBlock* block);
  // A held copy record lets go while the variable is still whole.
  ~TDataArray() override;

  TAttributeType GetAttributeType() const override { return ARRAYVARIABLE; }
  void ResetValue() override;
  bool ClearValue() override;
  std::int32_t GetSize() override;
  bool IsArray() const override { return true; }
  void SaveValue(TWriteFile& writer) override;
  // EReadError for a size below 1 or above MaxArraySize. The initial value waits for
  // the elements' first use, so that reading costs no memory for them.
  void LoadValue(TReadFile& reader) override;
  std::string GetValueText() override;

  // The current array, created on first use with 10 elements.
  TValueArray& GetValueArray();
  bool HasValueArray() const { return PValueArray != nullptr; }
  // n > 0; creates the array first when missing.
  void SetSize(std::int32_t size);

private:
  std::unique_ptr<TValueArray> PValueArray;
};
