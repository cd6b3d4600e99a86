// The array-element choice of command dialogs on a real combo box: its check of a typed
// index, the entire-array item, and the index read into and shown from element
// references and choice objects.
#include "model/ui/array_index_combo.h"

#include <QComboBox>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/var_list_object.h"
#include "model/variable_data.h"
#include "scripts/flow/increment_script.h"
#include "support/experiment_fixture.h"

namespace {

class ArrayIndexComboTest : public TCommandFixture {
protected:
  ArrayIndexComboTest() {
    Box.setEditable(true);
    TVariableArrayComboSelection::AddIndexVariableItem(Box, N);
    TVariableArrayComboSelection::AddIndexVariableItem(Box, M);
  }
  // Types the text as the user does, no item selected.
  void Type(const std::string& text) {
    Box.setCurrentIndex(-1);
    Box.setEditText(QString::fromStdString(text));
  }
  std::string Fault(std::int32_t size) {
    std::string message;
    return Selection.ValidateIndex(Box, size, message) ? "" : message;
  }
  TVariableArrayIndex& IndexOf(TVariableData& reference) {
    return static_cast<TVariableDataArray&>(reference).GetArrayIndex();
  }

  TDataArray* A = Array(B1, "A", eatFLOAT, 10);
  TDataSingle* N = Single(B1, "N", eatINTEGER, "1");
  TDataSingle* M = Single(B1, "M", eatINTEGER, "2");
  TIncrementScript* Owner = Increment(N);
  QComboBox Box;
  TVariableArrayComboSelection Selection;
};

TEST_F(ArrayIndexComboTest, ATypedIndexMustNameAnElementOrAnItem) {
  Type("9");
  EXPECT_EQ(Fault(10), "");
  Type("10");
  EXPECT_EQ(Fault(10), "The maximum index for this array is 9");
  Type("-1");
  EXPECT_EQ(Fault(10), "Invalid index for the array");
  Type("x");
  EXPECT_EQ(Fault(10), "Invalid index for the array");
  Type(" ");
  EXPECT_EQ(Fault(10), "You must enter/select and index for the array");
  Type("M");  // an item's text
  EXPECT_EQ(Fault(10), "");
  Box.setCurrentIndex(0);
  EXPECT_EQ(Fault(10), "");
}

TEST_F(ArrayIndexComboTest, TheEntireArrayItemIsListedOnce) {
  const int item = Selection.AddEntireArrayItem(Box);
  EXPECT_EQ(item, 2);
  EXPECT_EQ(Selection.AddEntireArrayItem(Box), item);
  EXPECT_EQ(Box.count(), 3);
  EXPECT_EQ(Box.itemText(item), "Entire Array");
  Selection.RemoveEntireArrayItem(Box);
  Selection.RemoveEntireArrayItem(Box);
  EXPECT_EQ(Box.count(), 2);
}

TEST_F(ArrayIndexComboTest, TheChoiceGoesIntoReferencesAndComesBack) {
  TVarListObject choice(A);
  choice.SetIndexConstant(0);
  std::unique_ptr<TVariableData> reference = choice.CreateVariable(Owner);
  TVariableArrayIndex& index = IndexOf(*reference);

  Box.setCurrentIndex(1);
  Selection.ReadIndex(Box, index);
  EXPECT_EQ(index.GetIndexVariable(), M);
  Type(" 7 ");
  Selection.ReadIndex(Box, index);
  EXPECT_EQ(index.GetIndexVariable(), nullptr);
  EXPECT_EQ(index.GetConstant(), 7);
  Type("N");  // typed as listed: the variable
  Selection.ReadIndex(Box, choice);
  EXPECT_EQ(choice.GetIndexVariable(), N);
  Box.setCurrentIndex(Selection.AddEntireArrayItem(Box));
  Selection.ReadIndex(Box, index);
  EXPECT_TRUE(index.IsEntireArray());

  // Shown again: a variable's item, a constant's text, the entire array's item.
  Selection.RemoveEntireArrayItem(Box);
  Selection.ShowIndex(Box, index);  // the item comes back, selected
  EXPECT_EQ(Box.currentText(), "Entire Array");
  EXPECT_EQ(Box.count(), 3);
  index.SetIndexVariable(M);
  Selection.ShowIndex(Box, index);
  EXPECT_EQ(Box.currentIndex(), 1);
  choice.SetIndexConstant(4);
  Selection.ShowIndex(Box, choice);
  EXPECT_EQ(Box.currentText(), "4");
  EXPECT_EQ(Box.currentIndex(), -1);
}

}  // namespace
