// The version table and how a reader keeps the version of the file it reads.
#include <gtest/gtest.h>

#include <string>

#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"

namespace {

const char* const TableTexts[] = {"Qorv 1.0", "Qorv 1.1", "Qorv 1.2",
                                  "Qorv 1.3", "Qorv 1.4", "Qorv 1.5"};

// Puts the regional decimal separator back after a test that changes it.
class TSeparatorGuard {
public:
  explicit TSeparatorGuard(char separator) : Previous(NumberText::DecimalSeparator()) {
    NumberText::SetDecimalSeparator(separator);
  }
  ~TSeparatorGuard() { NumberText::SetDecimalSeparator(Previous); }

private:
  char Previous;
};

}  // namespace

TEST(QorvVersion, TableNumbersTheVersionsFromOne) {
  ASSERT_NE(QorvVersion, nullptr);
  EXPECT_EQ(QorvVersion->GetCurrentVersion(), "Qorv 1.5");
  EXPECT_EQ(QorvVersion->GetCurrentNumberText(), "1.5");
  EXPECT_EQ(QorvVersion->GetNumberOfVersions(), 6);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(QorvVersion->GetVersionNumber(TableTexts[i]), i + 1) << TableTexts[i];
  EXPECT_EQ(QorvVersion->GetVersionNumber(QorvVersion->GetCurrentVersion()), 6);
  // The loaders' thresholds name the same numbers.
  EXPECT_EQ(QorvVersion->GetVersionNumber("Qorv 1.1"), qvV1_1);
  EXPECT_EQ(QorvVersion->GetVersionNumber("Qorv 1.4"), qvV1_4);
  EXPECT_EQ(QorvVersion->GetVersionNumber("Qorv 1.5"), qvV1_5);
}

TEST(QorvVersion, NumbersNeedAnExactMatch) {
  for (const char* text : {"", "qorv 1.5", "QORV 1.5", " Qorv 1.5", "Qorv 1.5 ", "Qorv  1.5",
                           "Qorv 1.50", "Qorv 1,5", "Qorv 1.6", "Qorv 9.9", "Qorv", "1.5"})
    EXPECT_EQ(QorvVersion->GetVersionNumber(text), 0) << '"' << text << '"';
}

TEST(QorvVersion, CanReadTheTableVersionsOnly) {
  for (const char* text : TableTexts) EXPECT_TRUE(QorvVersion->CanReadVersion(text)) << text;
  EXPECT_TRUE(QorvVersion->CanReadVersion("Qorv 1.5 "));  // the rest is trimmed
  for (const char* text : {"Qorv", "Qorv x", "Qorv 9.9", "Qorv 1.6", "Qorv 0.9", "", "Qorv 1.x"})
    EXPECT_FALSE(QorvVersion->CanReadVersion(text)) << '"' << text << '"';
}

TEST(QorvVersion, RegionalSeparatorDoesNotMatter) {
  {
    TSeparatorGuard comma(',');
    for (const char* text : TableTexts) EXPECT_TRUE(QorvVersion->CanReadVersion(text)) << text;
    EXPECT_FALSE(QorvVersion->CanReadVersion("Qorv 9,9"));
    EXPECT_FALSE(QorvVersion->CanReadVersion("Qorv 1,5"));
    EXPECT_EQ(QorvVersion->GetVersionNumber("Qorv 1.2"), 3);
  }
  EXPECT_EQ(NumberText::DecimalSeparator(), '.');
}

TEST(QorvVersion, ReaderKeepsTheTrimmedTextAndItsNumber) {
  TReadFile file("unused.doc");  // SetVersion does not touch the file
  file.SetVersion("  Qorv 1.5 ");
  EXPECT_EQ(file.GetVersionText(), "Qorv 1.5");
  EXPECT_EQ(file.GetVersionNumber(), 6);
  file.SetVersion("Qorv 1.3");
  EXPECT_EQ(file.GetVersionText(), "Qorv 1.3");
  EXPECT_EQ(file.GetVersionNumber(), 4);
  EXPECT_LT(file.GetVersionNumber(), qvV1_4);  // such a file has no commented-out flags
  file.SetVersion("");
  EXPECT_EQ(file.GetVersionText(), "");
  EXPECT_EQ(file.GetVersionNumber(), 0);
  file.SetVersion("   ");
  EXPECT_EQ(file.GetVersionText(), "");
  EXPECT_EQ(file.GetVersionNumber(), 0);
  file.SetVersion("Qorv 9.9");  // outside the table: every later field counts as absent
  EXPECT_EQ(file.GetVersionText(), "Qorv 9.9");
  EXPECT_EQ(file.GetVersionNumber(), 0);
  file.SetVersion("\tQorv 1.0\n");
  EXPECT_EQ(file.GetVersionNumber(), 1);
}
