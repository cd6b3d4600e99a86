// The checks of the variable dialogs: the names an expression can reference, the
// Variables dialog's entries in their order with their messages (array sizes up to the
// bound file reading keeps), the rename-or-choose dialog's typed name, and a typed array
// index.
#include "model/variable_checks.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/array_index_check.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/number_text.h"
#include "support/experiment_fixture.h"

namespace {

class VariableChecksTest : public TExperimentFixture {
protected:
  VariableChecksTest() { Single(B1, "Temp"); }

  // The field a check answers, with the texts it showed.
  std::pair<TDataFormField, TTexts> Check(const TDataFormRequest& request,
                                          const TDataFormEntries& entries) {
    Ui.Clear();
    const TDataFormField field = CheckDataEntries(request, entries);
    return {field, Ui.Texts()};
  }
  TDataFormRequest ArrayRequest(TDataFormRequest::TMode mode, std::int32_t minimum) {
    TDataFormRequest request;
    request.Mode = mode;
    request.ShowArraySize = true;
    request.NameList = &Exp.GetDataArrayList()->GetDataNameList();
    request.MinimumArraySize = minimum;
    return request;
  }

  TBlock* B1 = NewBlock("B1");
  TDataNameList& Names = Exp.GetDataSingleList()->GetDataNameList();
};

TEST(VariableNames, OnlyNamesThatExpressionsCanReferenceAreGood) {
  const std::string blanks = "There can be no blanks in the name.";
  const std::string invalid = "Invalid characters in variable name.";
  const std::string letter = "There must be at least one letter in the variable name.";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"x2", ""},        {"x_2", ""},         {"Temp", ""},        {"a b", blanks},
      {"2x", letter},    {"_a", letter},      {"a-b", invalid},    {"a.b", invalid},
      {"a\tb", invalid}, {"\xC3\xA9t\xC3\xA9", invalid},           {"", letter},
      {"2 x", blanks},   {"2$", invalid},
  };
  for (const auto& [name, fault] : cases) EXPECT_EQ(VariableNameFault(name), fault) << name;
}

TEST_F(VariableChecksTest, TheVariablesDialogChecksItsEntriesInOrder) {
  TDataFormRequest request;
  request.NameList = &Names;
  TDataFormEntries entries;
  using F = TDataFormField;
  EXPECT_EQ(Check(request, entries),
            (std::pair{F::Name, TTexts{"You must enter a name for the variable or press cancel."}}));
  entries.Name = " temp ";  // taken, whatever the case and the blanks around it
  EXPECT_EQ(Check(request, entries),
            (std::pair{F::Name, TTexts{"There is already a variable with this name."}}));
  entries.Name = "a b";
  EXPECT_EQ(Check(request, entries),
            (std::pair{F::Name, TTexts{"There can be no blanks in the name."}}));
  entries.Name = "a$";
  EXPECT_EQ(Check(request, entries),
            (std::pair{F::Name, TTexts{"Invalid characters in variable name."}}));
  entries.Name = "2x";
  EXPECT_EQ(Check(request, entries),
            (std::pair{F::Name, TTexts{"There must be at least one letter in the variable name."}}));

  // A variable edited keeps its own name; another name of another case is taken.
  request.Name = "Temp";
  entries.Name = "Temp ";
  EXPECT_EQ(Check(request, entries), (std::pair{F::None, TTexts{}}));
  entries.Name = "TEMP";
  EXPECT_EQ(Check(request, entries).first, F::Name);

  // The initial value by the value rules of the type, with their own message.
  entries.Name = "n";
  entries.Type = eatINTEGER;
  entries.InitialValue = "1.5";
  EXPECT_EQ(Check(request, entries),
            (std::pair{F::InitialValue, TTexts{"The value 1.5 is not an integer."}}));
  entries.Type = eatFLOAT;
  entries.InitialValue = "abc";
  EXPECT_EQ(Check(request, entries),
            (std::pair{F::InitialValue, TTexts{"The value abc is not a float value"}}));
  entries.Type = eatSTRING;
  entries.InitialValue = "";
  entries.ReadOnly = true;
  EXPECT_EQ(Check(request, entries),
            (std::pair{F::InitialValue, TTexts{"A read only variable MUST have an initial value."}}));
  entries.InitialValue = "abc";
  EXPECT_EQ(Check(request, entries), (std::pair{F::None, TTexts{}}));

  // Taken, trimmed.
  entries.Name = "  n2 ";
  entries.Type = eatSTRING;
  TakeDataEntries(request, entries);
  EXPECT_EQ(request.Name, "n2");
  EXPECT_TRUE(request.HasInitialValue && request.ReadOnly);
  EXPECT_EQ(request.InitialValueText, "abc");
  entries.InitialValue.clear();
  TakeDataEntries(request, entries);
  EXPECT_FALSE(request.HasInitialValue);
}

TEST_F(VariableChecksTest, ArraySizesRunFromTwoToTheBoundOfFileReading) {
  const std::string size = "The array size must be an integer value greater than one.";
  const std::string beyond = "The array size must be an integer value greater than one and no "
                             "more than 16777216.";
  ASSERT_EQ(NumberText::IntToText(MaxArraySize), "16777216");
  TDataFormRequest request = ArrayRequest(TDataFormRequest::dmADD, -1);
  TDataFormEntries entries;
  entries.Name = "A";
  const std::vector<std::pair<std::string, TTexts>> cases = {
      {"", {size}},   {"1", {size}},     {"-3", {size}},    {"abc", {size}},
      {"2.5", {size}}, {"99999999999", {size}},            {"2", {}},
      {" 10 ", {}},   {"16777216", {}},  {"16777217", {beyond}}, {"2147483647", {beyond}},
  };
  for (const auto& [text, shown] : cases) {
    entries.ArraySize = text;
    const auto [field, texts] = Check(request, entries);
    EXPECT_EQ(texts, shown) << text;
    EXPECT_EQ(field, shown.empty() ? TDataFormField::None : TDataFormField::ArraySize) << text;
  }
  entries.ArraySize = "16777216";
  TakeDataEntries(request, entries);
  EXPECT_EQ(request.ArraySize, MaxArraySize);

  // An array that Read commands fill keeps room for their points; a new one knows none.
  const std::string reads = "A read command using this variable reads in 5 values.\r  The "
                            "array size needs to be equal to or greater than 5.";
  request = ArrayRequest(TDataFormRequest::dmEDIT, 5);
  request.Name = "A";
  entries.ArraySize = "4";
  EXPECT_EQ(Check(request, entries), (std::pair{TDataFormField::ArraySize, TTexts{reads}}));
  entries.ArraySize = "5";
  EXPECT_EQ(Check(request, entries).first, TDataFormField::None);
  request = ArrayRequest(TDataFormRequest::dmADD, 5);
  entries.ArraySize = "3";
  EXPECT_EQ(Check(request, entries).first, TDataFormField::None);
}

TEST_F(VariableChecksTest, ATypedNewNameIsTrimmedFreeAndReferencable) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"   ", "You must enter a variable name"},
      {" TEMP ", "This variable name is already in use, please use another."},
      {"2x", "There must be at least one letter in the variable name."},
      {"a b", "There can be no blanks in the name."},
      {"a%", "Invalid characters in variable name."},
      {" x_2 ", ""},
  };
  for (const auto& [typed, message] : cases) {
    Ui.Clear();
    EXPECT_EQ(CheckNewVariableName(&Names, typed), message.empty()) << typed;
    EXPECT_EQ(Ui.Texts(), message.empty() ? TTexts{} : TTexts{message}) << typed;
  }
}

TEST(ArrayIndexTexts, AConstantIndexMustNameAnElement) {
  EXPECT_EQ(ArrayIndexFault("9", 10), "");
  EXPECT_EQ(ArrayIndexFault(" 0 ", 10), "");
  EXPECT_EQ(ArrayIndexFault("10", 10), "The maximum index for this array is 9");
  EXPECT_EQ(ArrayIndexFault("-1", 10), "Invalid index for the array");
  EXPECT_EQ(ArrayIndexFault("x", 10), "Invalid index for the array");
  EXPECT_EQ(ArrayIndexFault("1.5", 10), "Invalid index for the array");
  EXPECT_EQ(ArrayIndexFault("  ", 10), "You must enter/select and index for the array");
}

}  // namespace
