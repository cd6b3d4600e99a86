// The version table and how a reader keeps the version of the file it reads.
#include <gtest/gtest.h>

#include <string>

#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"

namespace {

const char* const TableTexts[] = {"Qorv 1.0", "Qorv 1.1", "Qorv 1.2",
                                  "Qorv 1.3", "Qorv 1.4", "Qorv 1.5"};

}  // namespace

TEST(QorvVersion, TableNumbersTheVersionsFromOne) {
  ASSERT_NE(QorvVersion, nullptr);
  EXPECT_EQ(QorvVersion->GetCurrentVersion(), "Qorv 1.5");
  EXPECT_EQ(QorvVersion->GetCurrentNumberText(), "1.5");
  EXPECT_EQ(QorvVersion->GetNumberOfVersions(), 6);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(QorvVersion->GetVersionNumber(TableTexts[i]), i + 1) << TableTexts[i];
  // The loaders' thresholds name the same numbers.
  EXPECT_EQ(QorvVersion->GetVersionNumber("Qorv 1.1"), qvV1_1);
  EXPECT_EQ(QorvVersion->GetVersionNumber("Qorv 1.4"), qvV1_4);
  EXPECT_EQ(QorvVersion->GetVersionNumber("Qorv 1.5"), qvV1_5);
  for (const char* text : {"", "qorv 1.5", "QORV 1.5", " Qorv 1.5", "Qorv 1.5 ", "Qorv  1.5",
                           "Qorv 1.50", "Qorv 1,5", "Qorv 1.6", "Qorv 9.9", "Qorv", "1.5"})
    EXPECT_EQ(QorvVersion->GetVersionNumber(text), 0) << '"' << text << '"';
}

TEST(QorvVersion, CanReadTheTableVersionsOnlyWhateverTheSeparator) {
  for (const char separator : {'.', ','}) {
    NumberText::SetDecimalSeparator(separator);
    for (const char* text : TableTexts) EXPECT_TRUE(QorvVersion->CanReadVersion(text)) << text;
    for (const char* text : {"Qorv", "Qorv x", "Qorv 9.9", "Qorv 9,9", "Qorv 1,5", "Qorv 1.6",
                             "Qorv 0.9", "", "Qorv 1.x"})
      EXPECT_FALSE(QorvVersion->CanReadVersion(text)) << '"' << text << '"' << separator;
  }
  NumberText::SetDecimalSeparator('.');
  EXPECT_TRUE(QorvVersion->CanReadVersion("Qorv 1.5 "));  // the rest is trimmed
}

TEST(QorvVersion, ReaderKeepsTheTrimmedTextAndItsNumber) {
  const struct {
    const char *set, *text;
    int number;
  } cases[] = {
      {"  Qorv 1.5 ", "Qorv 1.5", 6}, {"Qorv 1.3", "Qorv 1.3", 4}, {"\tQorv 1.0\n", "Qorv 1.0", 1},
      {"", "", 0}, {"   ", "", 0},
      {"Qorv 9.9", "Qorv 9.9", 0},  // outside the table: every later field counts as absent
  };
  TReadFile file("unused.doc");  // SetVersion does not touch the file
  for (const auto& c : cases) {
    file.SetVersion(c.set);
    EXPECT_EQ(file.GetVersionText(), c.text);
    EXPECT_EQ(file.GetVersionNumber(), c.number) << '"' << c.set << '"';
  }
  file.SetVersion("Qorv 1.3");
  EXPECT_LT(file.GetVersionNumber(), qvV1_4);  // such a file has no commented-out flags
}
