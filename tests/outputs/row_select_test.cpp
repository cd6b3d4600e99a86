// The row dialog's rules: rows typed from 1 to the set's number of points, "End" for its
// last row, one-row ranges, the messages of refused texts.
#include "outputs/row_select.h"

#include <gtest/gtest.h>

namespace {

TEST(RowSelectTest, StartAndEndFromOneToTheNumberOfPoints) {
  // The fields of a range of rows 3 to 10 (0-based 2 to 9) in a set of 10 points.
  EXPECT_EQ(StartRowText(2), "3");
  EXPECT_EQ(EndRowText(9, 10), "End");
  EXPECT_EQ(EndRowText(8, 10), "9");

  TRowChoice choice = ChooseRows("3", "End", 10);
  ASSERT_TRUE(choice.Accepted);
  EXPECT_EQ(choice.First, 2);
  EXPECT_EQ(choice.Last, 9);
  // "end" in any case, blanks around it; a number.
  choice = ChooseRows(" 1", " end ", 10);
  EXPECT_TRUE(choice.Accepted);
  EXPECT_EQ(choice.Last, 9);
  choice = ChooseRows("4", "7", 10);
  EXPECT_EQ(choice.First, 3);
  EXPECT_EQ(choice.Last, 6);
  // The last row alone, and one row in the middle.
  choice = ChooseRows("10", "End", 10);
  ASSERT_TRUE(choice.Accepted);
  EXPECT_EQ(choice.First, 9);
  EXPECT_EQ(choice.Last, 9);
  choice = ChooseRows("5", "5", 10);
  ASSERT_TRUE(choice.Accepted);
  EXPECT_EQ(choice.First, choice.Last);
  // A set of one point.
  EXPECT_TRUE(ChooseRows("1", "End", 1).Accepted);
}

TEST(RowSelectTest, RefusedTextsSayWhy) {
  const std::string start = "The start row must be an integer value greater than 0 and less than 11";
  for (const char* text : {"0", "11", "-3", "", "two", "1.5"}) {
    const TRowChoice choice = ChooseRows(text, "End", 10);
    EXPECT_FALSE(choice.Accepted) << text;
    EXPECT_EQ(choice.Message, start) << text;
  }
  for (const char* end : {"3", "last", "", "en d"}) {
    const TRowChoice choice = ChooseRows("4", end, 10);
    EXPECT_FALSE(choice.Accepted) << end;
    EXPECT_EQ(choice.Message, "The end row must be an integer value greater than 4") << end;
  }
  const TRowChoice beyond = ChooseRows("4", "11", 10);
  EXPECT_FALSE(beyond.Accepted);
  EXPECT_EQ(beyond.Message, "The end row must not be greater than 10");
}

TEST(RowSelectTest, StartOnlyKeepsRoomForTheMinimumRows) {
  TRowChoice choice = ChooseStartRow("91", 100, 10);
  ASSERT_TRUE(choice.Accepted);
  EXPECT_EQ(choice.First, 90);
  EXPECT_EQ(choice.Last, 99);
  choice = ChooseStartRow("92", 100, 10);
  EXPECT_FALSE(choice.Accepted);
  EXPECT_EQ(choice.Message, "There must be at least 10 rows");
  EXPECT_TRUE(ChooseStartRow("100", 100, 1).Accepted);
  EXPECT_EQ(ChooseStartRow("101", 100, 1).Message,
            "The start row must be an integer value greater than 0 and less than 101");
}

}  // namespace
