// The array-element choice of command dialogs: one combo box whose items are the integer
// single variables that may serve as index (and perhaps an item for the entire array),
// and whose free text may be a constant index. The dialog fills the variable items with
// AddIndexVariableItem and keeps one selection object for its box.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QComboBox;
class TDataSingle;
class TVarListObject;
class TVariableArrayIndex;

// The marker object of the item that names the entire array ("Entire Array").
class TEntireArray {
public:
  static const char* Text() { return "Entire Array"; }
};

class TVariableArrayComboSelection {
public:
  TVariableArrayComboSelection();
  ~TVariableArrayComboSelection();

  // Appends an item naming the variable as index.
  static void AddIndexVariableItem(QComboBox& box, TDataSingle* variable);

  // The entire-array item's index, appended when the box does not list it yet.
  int AddEntireArrayItem(QComboBox& box);
  void RemoveEntireArrayItem(QComboBox& box);
  // True for a selected item or a text that names an item; otherwise the text must be a
  // constant index of an array of the size (message: the core's ArrayIndexFault).
  bool ValidateIndex(QComboBox& box, std::int32_t size, std::string& message) const;
  // The chosen item (selected, or named by the trimmed text) or constant goes into the
  // element reference: an index variable, the entire array, or the constant.
  void ReadIndex(QComboBox& box, TVariableArrayIndex& index) const;
  void ReadIndex(QComboBox& box, TVarListObject& choice) const;
  // Shows the reference's index: its variable's item, its constant as text, or the
  // entire-array item (added when missing).
  void ShowIndex(QComboBox& box, const TVariableArrayIndex& index);
  void ShowIndex(QComboBox& box, const TVarListObject& choice);

private:
  // The item chosen: the one selected whose text the box shows, else the one named by
  // the trimmed text; -1 for none.
  static int ChosenItem(const QComboBox& box);
  int MarkerItem(const QComboBox& box) const;
  template <class TTarget>
  void Read(QComboBox& box, TTarget& target) const;
  void Show(QComboBox& box, TDataSingle* variable, std::int32_t constant);

  std::unique_ptr<TEntireArray> Marker;  // made on first use
};
