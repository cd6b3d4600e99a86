// The text of an expression as the user typed it: one entry per token, in which every
// variable token is bound to a reference of the owning command. It gives the command's
// display text with the current names, the trace text with the current values, its
// record in files and its clipboard image.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TAttributeScript;
class TCopyScript;
class TCopyVariableData;
class TData;
class TDataSingle;
class TReadFile;
class TVariableData;
class TWriteFile;
class TMathExpressionCopy;

class TMathExpression {
public:
  // The owner (required) owns every reference made here.
  explicit TMathExpression(TAttributeScript* owner);
  ~TMathExpression();
  TMathExpression(const TMathExpression&) = delete;
  TMathExpression& operator=(const TMathExpression&) = delete;

  // Appends a token's text.
  void AddToken(const std::string& text);
  // Appends a single variable (an array is a consistency failure) by a new reference.
  void AddVariable(TData* variable);
  // Appends an element of an array chosen by an integer single variable.
  void AddArrayElementByVariable(TData* array, TData* indexVariable);
  // Appends an element of an array at a constant index.
  void AddArrayElementByIndex(TData* array, std::int32_t index);

  // The entries joined; each variable entry first takes its reference's description.
  std::string GetText();
  // The same with each variable entry replaced by its current value text.
  std::string GetValueText();

  // The entry count (0 when there is no list), then each entry's text, bound flag and,
  // when bound, the array flag and the reference's record.
  void Save(TWriteFile& writer);
  // Reads the record into an expression without entries; the references wait in the
  // reader's list for their variables.
  void Load(TReadFile& reader);
  // Fills the copy (without entries) with the texts and a copy of each reference.
  void MakeCopy(TMathExpressionCopy& copy);
  // Takes the copy's texts, with new references of this owner bound as the copied ones.
  void SetUp(const TMathExpressionCopy& copy);

  std::int32_t GetCount() const;
  // The reference of an entry; none for a plain text.
  TVariableData* GetReference(std::int32_t index) const;
  TAttributeScript* GetOwner() const { return Powner; }

private:
  struct TEntry {
    std::string Text;
    std::unique_ptr<TVariableData> Reference;
  };
  std::vector<TEntry>& List();
  void Append(std::string text, std::unique_ptr<TVariableData> reference);

  std::unique_ptr<std::vector<TEntry>> AStringList;
  TAttributeScript* Powner;
};

// The clipboard image of an expression text: the texts and, for variable entries, a copy
// of the reference that names the variable.
class TMathExpressionCopy {
public:
  explicit TMathExpressionCopy(TCopyScript* owner);
  ~TMathExpressionCopy();
  TMathExpressionCopy(const TMathExpressionCopy&) = delete;
  TMathExpressionCopy& operator=(const TMathExpressionCopy&) = delete;

  struct TEntry {
    std::string Text;
    std::unique_ptr<TCopyVariableData> Variable;
  };

  TCopyScript* GetOwner() const { return Powner; }
  bool HasList() const { return AStringList != nullptr; }
  // The entries, created on first use.
  std::vector<TEntry>& List();
  const std::vector<TEntry>* GetList() const { return AStringList.get(); }

private:
  TCopyScript* Powner;
  std::unique_ptr<std::vector<TEntry>> AStringList;
};
