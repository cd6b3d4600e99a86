#include "shell/settings.h"

#include <algorithm>
#include <utility>

#include "model/assertion.h"
#include "model/number_text.h"
#include "shell/settings_store.h"

namespace {

const char* const AutoDetectName = "AutoDetect";
const char* const NationalCardsName = "NumberofNationalCards";
const char* const CECCardsName = "NumberofCECCards";
const char* const FilesCountName = "NumberOfFiles";
const char* const FileName = "Experiment";
const char* const OutputDirectoryName = "OutputDirectory";
const char* const DeviceDirectoryName = "DeviceDirectory";
const char* const ExperimentDirectoryName = "ExperimentDirectory";
const char* const BlockDirectoryName = "BlockDirectory";
const char* const IconFilesCountName = "NumberOfIconFiles";
const char* const IconFileName = "IconFileName";

// The indices i below count for which the key holds a value named prefix + i (i in
// decimal, as written), in increasing order. Taken from the names the key holds rather
// than by trying every index, so that a count of two billion costs no more than the
// values there are.
std::vector<std::int32_t> NumberedIndices(const std::vector<std::string>& names,
                                          const std::string& prefix, std::int32_t count) {
  std::vector<std::int32_t> indices;
  for (const std::string& name : names) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    std::int32_t index = 0;
    // Only the spelling the writer gives: no sign, no leading zeros.
    if (!NumberText::TextToInt(digits, index) || index < 0 || index >= count ||
        NumberText::IntToText(index) != digits)
      continue;
    indices.push_back(index);
  }
  std::sort(indices.begin(), indices.end());
  return indices;
}

// Reads the count and the numbered texts below it, handing each non-empty one to add.
template <typename Add>
void ReadNumbered(const TSettingsStore& store, const std::vector<std::string>& names,
                  const std::string& countName, const std::string& prefix, Add add) {
  std::int32_t count = 0;
  if (!store.ReadInteger(countName, count)) return;
  for (const std::int32_t index : NumberedIndices(names, prefix, count)) {
    std::string text;
    if (store.ReadString(prefix + NumberText::IntToText(index), text) && !text.empty())
      add(text);
  }
}

// Reads a card count the boards can have: from 0 up to most.
void ReadCardCount(const TSettingsStore& store, const std::string& name, std::int32_t most,
                   std::int32_t& field) {
  std::int32_t number = 0;
  if (store.ReadInteger(name, number) && number >= 0 && number <= most) field = number;
}

}  // namespace

void TInitializeQorv::AddFile(const std::string& caption) { Pfilelist.push_back(caption); }

const std::string& TInitializeQorv::GetFile(int index) const {
  QORV_ASSERT_AS(index > -1 && index < GetNumberOfFiles(),
                 "Pfilelist!=0&&index>-1&&index<Pfilelist->Count");
  return Pfilelist[static_cast<std::size_t>(index)];
}

void TInitializeQorv::AddIconFile(const std::string& path) { Piconfilelist.push_back(path); }

const std::string& TInitializeQorv::GetIconFile(int index) const {
  QORV_ASSERT_AS(index > -1 && index < GetNumberOfIconFiles(),
                 "Piconfilelist!=0&&index>-1&&index<Piconfilelist->Count");
  return Piconfilelist[static_cast<std::size_t>(index)];
}

TIniregQorv::TIniregQorv(std::string programName) : Pprogramname(std::move(programName)) {}

void TIniregQorv::Read(const TSettingsStore& store) {
  if (store.KeyExists()) {
    store.ReadBool(AutoDetectName, AutoDetect);
    ReadCardCount(store, NationalCardsName, MaxNationalCards, NumberOfNationalCards);
    ReadCardCount(store, CECCardsName, MaxCECCards, NumberOfCECCards);
    const std::vector<std::string> names = store.ValueNames();
    ReadNumbered(store, names, FilesCountName, FileName,
                 [this](const std::string& text) { AddFile(text); });
    store.ReadString(OutputDirectoryName, OutputDirectory);
    store.ReadString(DeviceDirectoryName, DeviceDirectory);
    store.ReadString(ExperimentDirectoryName, ExperimentDirectory);
    store.ReadString(BlockDirectoryName, BlockDirectory);
    ReadNumbered(store, names, IconFilesCountName, IconFileName,
                 [this](const std::string& text) { AddIconFile(text); });
  } else {
    AutoDetect = true;
    NumberOfCECCards = 1;
    NumberOfNationalCards = 1;
    OutputDirectory.clear();
    DeviceDirectory.clear();
    ExperimentDirectory.clear();
    BlockDirectory.clear();
  }
  QORV_ASSERT_AS(!Pprogramname.empty(), "!Pprogramname.IsEmpty( )");
}

bool TIniregQorv::Write(TSettingsStore& store) {
  if (!store.OpenForWriting()) return false;
  store.WriteBool(AutoDetectName, AutoDetect);
  store.WriteInteger(NationalCardsName, NumberOfNationalCards);
  store.WriteInteger(CECCardsName, NumberOfCECCards);
  store.WriteInteger(FilesCountName, GetNumberOfFiles());
  for (int i = 0; i < GetNumberOfFiles(); ++i)
    store.WriteString(FileName + NumberText::IntToText(i), GetFile(i));
  store.WriteString(OutputDirectoryName, OutputDirectory);
  store.WriteString(DeviceDirectoryName, DeviceDirectory);
  store.WriteString(ExperimentDirectoryName, ExperimentDirectory);
  store.WriteString(BlockDirectoryName, BlockDirectory);
  store.WriteInteger(IconFilesCountName, GetNumberOfIconFiles());
  for (int i = 0; i < GetNumberOfIconFiles(); ++i)
    store.WriteString(IconFileName + NumberText::IntToText(i), GetIconFile(i));
  return store.Flush();
}
