// Settings between runs: defaults without the key, every value under its name and read
// back, numbered values missing, unreadable or beyond their count, impossible card
// counts, a shorter list over a longer one, an unwritable store, the index checks.
#include "shell/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "shell/memory_settings_store.h"
#include "support/fake_ui_port.h"

namespace {

const std::string Program = "/opt/qorv/qorv";

std::string Text(const TMemorySettingsStore& store, const std::string& name) {
  const auto* value = store.Find(name);
  EXPECT_NE(value, nullptr) << name;
  return value != nullptr && std::holds_alternative<std::string>(*value)
             ? std::get<std::string>(*value)
             : "<not a text>";
}

std::int32_t Integer(const TMemorySettingsStore& store, const std::string& name) {
  const auto* value = store.Find(name);
  EXPECT_NE(value, nullptr) << name;
  return value != nullptr && std::holds_alternative<std::int32_t>(*value)
             ? std::get<std::int32_t>(*value)
             : -999;
}

TEST(SettingsTest, MissingKeyGivesOneBoardOfEachKindAndNothingElse) {
  TMemorySettingsStore store;
  TIniregQorv settings(Program);
  settings.SetAutoDetect(false);
  settings.SetNumberOfCECCards(3);
  settings.SetOutputDirectory("/left/over");
  settings.SetBlockDirectory("/left/over");
  settings.Read(store);
  EXPECT_TRUE(settings.GetAutoDetect());
  EXPECT_EQ(settings.GetNumberOfCECCards(), 1);
  EXPECT_EQ(settings.GetNumberOfNationalCards(), 1);
  EXPECT_EQ(settings.GetOutputDirectory(), "");
  EXPECT_EQ(settings.GetDeviceDirectory(), "");
  EXPECT_EQ(settings.GetExperimentDirectory(), "");
  EXPECT_EQ(settings.GetBlockDirectory(), "");
  EXPECT_EQ(settings.GetNumberOfFiles(), 0);
  EXPECT_EQ(settings.GetNumberOfIconFiles(), 0);
  EXPECT_EQ(store.Count(), 0u);  // reading creates nothing
}

TEST(SettingsTest, EveryValueIsWrittenUnderItsNameAndReadsBack) {
  TIniregQorv written;  // only written: no program path needed
  written.SetAutoDetect(false);
  written.SetNumberOfNationalCards(2);
  written.SetNumberOfCECCards(3);
  const std::vector<std::string> files{"&0 /home/ann/new run.qve", "&1 /data/b.qve",
                                       "&2 /data/Messung ü.qve"};
  for (const auto& file : files) written.AddFile(file);
  written.SetOutputDirectory("/out");
  written.SetDeviceDirectory("/dev dir");
  written.SetExperimentDirectory("/exp");
  written.SetBlockDirectory("/blk");
  const std::vector<std::string> icons{"/icons/a.bmp", "/icons/b c.ico"};
  for (const auto& icon : icons) written.AddIconFile(icon);

  TMemorySettingsStore store;
  ASSERT_TRUE(written.Write(store));
  // Integers where the registry keeps numbers, the bool too; nothing under other names.
  for (const auto& [name, number] : std::vector<std::pair<std::string, int>>{
           {"AutoDetect", 0}, {"NumberofNationalCards", 2}, {"NumberofCECCards", 3},
           {"NumberOfFiles", 3}, {"NumberOfIconFiles", 2}})
    EXPECT_EQ(Integer(store, name), number) << name;
  for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
           {"Experiment0", files[0]}, {"Experiment1", files[1]}, {"Experiment2", files[2]},
           {"OutputDirectory", "/out"}, {"DeviceDirectory", "/dev dir"},
           {"ExperimentDirectory", "/exp"}, {"BlockDirectory", "/blk"},
           {"IconFileName0", icons[0]}, {"IconFileName1", icons[1]}})
    EXPECT_EQ(Text(store, name), text) << name;
  EXPECT_EQ(store.Count(), 14u);

  TIniregQorv read(Program);
  read.Read(store);
  EXPECT_FALSE(read.GetAutoDetect());
  EXPECT_EQ(read.GetNumberOfNationalCards(), 2);
  EXPECT_EQ(read.GetNumberOfCECCards(), 3);
  EXPECT_EQ(read.GetFiles(), files);
  EXPECT_EQ(read.GetOutputDirectory(), "/out");
  EXPECT_EQ(read.GetDeviceDirectory(), "/dev dir");
  EXPECT_EQ(read.GetExperimentDirectory(), "/exp");
  EXPECT_EQ(read.GetBlockDirectory(), "/blk");
  EXPECT_EQ(read.GetIconFiles(), icons);

  // Auto-detect on, and no lists at all, read back as such.
  TIniregQorv plain;
  TMemorySettingsStore second;
  ASSERT_TRUE(plain.Write(second));
  EXPECT_EQ(Integer(second, "AutoDetect"), 1);
  TIniregQorv again(Program);
  again.Read(second);
  EXPECT_TRUE(again.GetAutoDetect());
  EXPECT_EQ(again.GetNumberOfCECCards(), 0);  // a key was there: its counts, not the defaults
  EXPECT_EQ(again.GetNumberOfFiles(), 0);
}

TEST(SettingsTest, OnlyReadableNonEmptyNumberedTextsBelowTheCountAreAdded) {
  TMemorySettingsStore store;
  store.Set("NumberOfFiles", 6);
  store.Set("Experiment0", std::string("&0 /a.qve"));
  store.Set("Experiment1", std::string(""));                // empty
  store.Set("Experiment2", 7);                              // an integer is no text
  store.Set("Experiment3", TMemorySettingsStore::TOther{});  // binary
  // Experiment4 missing
  store.Set("Experiment5", std::string("&5 /f.qve"));
  store.Set("Experiment6", std::string("&6 beyond the count"));
  store.Set("Experiment05", std::string("not as written"));
  store.Set("Experiment+1", std::string("not as written"));
  store.Set("Experiment-1", std::string("negative"));
  store.Set("experiment1", std::string("other case"));
  store.Set("NumberOfIconFiles", 3);
  store.Set("IconFileName2", std::string("/icons/z.ico"));
  store.Set("IconFileName0", std::string("/icons/a.ico"));
  store.Set("IconFileName1", TMemorySettingsStore::TOther{});
  TIniregQorv settings(Program);
  settings.Read(store);
  EXPECT_EQ(settings.GetFiles(), (std::vector<std::string>{"&0 /a.qve", "&5 /f.qve"}));
  EXPECT_EQ(settings.GetIconFiles(), (std::vector<std::string>{"/icons/a.ico", "/icons/z.ico"}));

  // The count bounds the reading: without it, or below 1, nothing is read; a huge
  // one reads just what is there.
  for (const TMemorySettingsStore::TValue& count :
       std::vector<TMemorySettingsStore::TValue>{std::string("6"), 0, -5}) {
    store.Set("NumberOfFiles", count);
    TIniregQorv bounded(Program);
    bounded.Read(store);
    EXPECT_EQ(bounded.GetNumberOfFiles(), 0);
  }
  store.Set("NumberOfFiles", std::numeric_limits<std::int32_t>::max());
  store.Set("Experiment2147483646", std::string("&last"));
  store.Set("Experiment2147483647", std::string("&at the count"));
  TIniregQorv huge(Program);
  huge.Read(store);
  EXPECT_EQ(huge.GetFiles(),
            (std::vector<std::string>{"&0 /a.qve", "&5 /f.qve", "&6 beyond the count", "&last"}));
}

TEST(SettingsTest, UnreadableOrImpossibleValuesKeepTheirFields) {
  TMemorySettingsStore store;
  store.Set("AutoDetect", std::string("0"));  // text: unreadable as a bool
  store.Set("NumberofCECCards", TInitializeQorv::MaxCECCards + 1);
  store.Set("NumberofNationalCards", TInitializeQorv::MaxNationalCards + 1);
  store.Set("OutputDirectory", 5);
  store.Set("DeviceDirectory", std::string("/devices"));
  TIniregQorv settings(Program);
  settings.Read(store);
  EXPECT_TRUE(settings.GetAutoDetect());
  EXPECT_EQ(settings.GetNumberOfCECCards(), 0);
  EXPECT_EQ(settings.GetNumberOfNationalCards(), 0);
  EXPECT_EQ(settings.GetOutputDirectory(), "");
  EXPECT_EQ(settings.GetDeviceDirectory(), "/devices");
  store.Set("NumberofNationalCards", -1);
  TIniregQorv negative(Program);
  negative.Read(store);
  EXPECT_EQ(negative.GetNumberOfNationalCards(), 0);

  // Any non-zero integer is on; the largest counts a set-up can have are taken.
  store.Set("AutoDetect", 0);
  store.Set("NumberofCECCards", TInitializeQorv::MaxCECCards);
  store.Set("NumberofNationalCards", TInitializeQorv::MaxNationalCards);
  TIniregQorv off(Program);
  off.Read(store);
  EXPECT_FALSE(off.GetAutoDetect());
  EXPECT_EQ(off.GetNumberOfCECCards(), TInitializeQorv::MaxCECCards);
  EXPECT_EQ(off.GetNumberOfNationalCards(), TInitializeQorv::MaxNationalCards);
  store.Set("AutoDetect", -7);
  TIniregQorv on(Program);
  on.Read(store);
  EXPECT_TRUE(on.GetAutoDetect());
}

TEST(SettingsTest, AShorterListLeavesTheOlderHigherValuesUnreadAndNothingGoesToAStoreLocked) {
  TMemorySettingsStore store;
  TIniregQorv first;
  for (const char* file : {"&0 /a.qve", "&1 /b.qve", "&2 /c.qve"}) first.AddFile(file);
  first.AddIconFile("/i0.ico");
  first.AddIconFile("/i1.ico");
  ASSERT_TRUE(first.Write(store));
  TIniregQorv second;
  second.AddFile("&0 /new.qve");
  ASSERT_TRUE(second.Write(store));
  EXPECT_EQ(Integer(store, "NumberOfFiles"), 1);
  EXPECT_EQ(Text(store, "Experiment0"), "&0 /new.qve");
  EXPECT_EQ(Text(store, "Experiment1"), "&1 /b.qve");
  EXPECT_EQ(Text(store, "Experiment2"), "&2 /c.qve");
  EXPECT_EQ(Integer(store, "NumberOfIconFiles"), 0);
  EXPECT_EQ(Text(store, "IconFileName1"), "/i1.ico");
  TIniregQorv read(Program);
  read.Read(store);
  EXPECT_EQ(read.GetFiles(), std::vector<std::string>{"&0 /new.qve"});
  EXPECT_EQ(read.GetNumberOfIconFiles(), 0);

  TMemorySettingsStore locked;
  locked.SetWritable(false);
  EXPECT_FALSE(second.Write(locked));
  EXPECT_EQ(locked.Count(), 0u);
}

TEST(SettingsDeathTest, IndicesOutsideTheListsAndAMissingProgramPathEndTheProgram) {
  TIniregQorv settings;
  settings.AddFile("&0 /a.qve");
  EXPECT_DEATH(OnConsole([&] { settings.GetFile(1); }),
               "Assertion failed: Pfilelist!=0&&index>-1&&index<Pfilelist->Count");
  EXPECT_DEATH(OnConsole([&] { settings.GetFile(-1); }), "Pfilelist!=0");
  EXPECT_DEATH(OnConsole([&] { settings.GetIconFile(0); }),
               "Assertion failed: Piconfilelist!=0&&index>-1&&index<Piconfilelist->Count");
  const TMemorySettingsStore store;
  EXPECT_DEATH(OnConsole([&] { settings.Read(store); }),
               "Assertion failed: !Pprogramname.IsEmpty\\( \\)");
}

}  // namespace
