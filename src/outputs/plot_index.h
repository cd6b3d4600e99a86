// The channel of a Plot command: a fixed index, or an integer single variable whose
// current value is the index.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TAttributeScript;
class TDataSingle;
class TReadFile;
class TVariableDataSingle;
class TWriteFile;

class TPlotIndex {
public:
  // Index -1, no variable. The owner command is required.
  explicit TPlotIndex(TAttributeScript* owner);
  // Deletes the variable reference, which leaves its variable's users.
  ~TPlotIndex();
  TPlotIndex(const TPlotIndex&) = delete;
  TPlotIndex& operator=(const TPlotIndex&) = delete;

  // The variable's integer value when bound to one, else the fixed index.
  std::int32_t GetIndex();
  // Binds the channel to the integer single variable (required); the fixed index
  // becomes -1.
  void SetVariable(TDataSingle* variable);
  // Drops any variable; the fixed index becomes the index (0 or more).
  void SetIndex(std::int32_t index);
  // True when bound to a variable, else the fixed index is below the count.
  bool IsValidFor(std::int32_t count) const;
  // "(" + the variable's name, or the decimal fixed index, + ")".
  std::string GetText();
  // The text a channel box shows: the variable's name when bound, else the decimal
  // fixed index. (The dialog selects the variable's item when IsVariable.)
  std::string GetBoxText();
  // bool bound; then the variable reference's record (also listed in a block export),
  // or the int32 fixed index.
  void Write(TWriteFile& writer);
  // Reads the record of Write; a read reference replaces any old one and waits in the
  // reader for its variable. EReadError for a damaged record.
  void Read(TReadFile& reader);

  bool IsVariable() const { return PvIndex != nullptr; }
  // The reference to the index variable; none for a fixed index.
  TVariableDataSingle* GetVariableReference() const { return PvIndex.get(); }
  // The bound variable; none for a fixed index or before a read reference is bound.
  TDataSingle* GetVariable() const;
  // The fixed index; -1 while bound to a variable.
  std::int32_t GetFixedIndex() const { return iIndex; }

private:
  std::int32_t iIndex = -1;
  TAttributeScript* Powner;
  std::unique_ptr<TVariableDataSingle> PvIndex;
};
