#include "model/data_name_list.h"

#include <gtest/gtest.h>

// Entries only compare variables by address, so plain markers stand in for them.
TEST(DataNameList, NamesIgnoreLetterCaseAndFollowRenames) {
  TDataNameList names;
  auto* first = reinterpret_cast<TData*>(0x10);
  auto* second = reinterpret_cast<TData*>(0x20);
  names.AddName("Volts", first);
  names.AddName("current_2", second);
  for (const char* name : {"VOLTS", "volts", "Current_2"}) EXPECT_TRUE(names.HasDataName(name));
  EXPECT_FALSE(names.HasDataName("Volt"));

  names.AddName("Amps", first);  // a rename keeps one entry per variable
  EXPECT_EQ(names.Count(), 2);
  EXPECT_FALSE(names.HasDataName("volts"));
  EXPECT_TRUE(names.HasDataName("aMPS"));
  names.Remove(first);
  names.Remove(first);  // nothing left to remove
  EXPECT_FALSE(names.HasDataName("Amps"));
  EXPECT_TRUE(names.HasDataName("CURRENT_2"));
  EXPECT_EQ(names.Count(), 1);
}
