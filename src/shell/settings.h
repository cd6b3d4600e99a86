// The settings kept between runs: the GPIB board options, the recent experiment files,
// the four default directories and the icon files offered for blocks. A settings object
// is made, filled and dropped around each transfer: the main window reads one at its
// first showing and hands the values to the dialogs that keep them, and at closing
// collects them from those dialogs into a fresh one and writes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "communication/gpib_settings.h"

class TSettingsStore;

class TInitializeQorv {
public:
  // The most boards of each kind that can be used at one time.
  static constexpr std::int32_t MaxCECCards = TGpibSettings::MaxCECCards;
  static constexpr std::int32_t MaxNationalCards = TGpibSettings::MaxNationalCards;

  virtual ~TInitializeQorv() = default;
  virtual void Read(const TSettingsStore& store) = 0;
  virtual bool Write(TSettingsStore& store) = 0;

  std::int32_t GetNumberOfCECCards() const { return NumberOfCECCards; }
  void SetNumberOfCECCards(std::int32_t number) { NumberOfCECCards = number; }
  std::int32_t GetNumberOfNationalCards() const { return NumberOfNationalCards; }
  void SetNumberOfNationalCards(std::int32_t number) { NumberOfNationalCards = number; }
  bool GetAutoDetect() const { return AutoDetect; }
  void SetAutoDetect(bool autoDetect) { AutoDetect = autoDetect; }

  // Recent experiment files, each the caption of its Reopen item ("&0 " + path).
  void AddFile(const std::string& caption);
  int GetNumberOfFiles() const { return static_cast<int>(Pfilelist.size()); }
  const std::string& GetFile(int index) const;
  const std::vector<std::string>& GetFiles() const { return Pfilelist; }

  const std::string& GetOutputDirectory() const { return OutputDirectory; }
  void SetOutputDirectory(const std::string& directory) { OutputDirectory = directory; }
  const std::string& GetDeviceDirectory() const { return DeviceDirectory; }
  void SetDeviceDirectory(const std::string& directory) { DeviceDirectory = directory; }
  const std::string& GetExperimentDirectory() const { return ExperimentDirectory; }
  void SetExperimentDirectory(const std::string& directory) { ExperimentDirectory = directory; }
  const std::string& GetBlockDirectory() const { return BlockDirectory; }
  void SetBlockDirectory(const std::string& directory) { BlockDirectory = directory; }

  // Icon files offered for blocks.
  void AddIconFile(const std::string& path);
  int GetNumberOfIconFiles() const { return static_cast<int>(Piconfilelist.size()); }
  const std::string& GetIconFile(int index) const;
  const std::vector<std::string>& GetIconFiles() const { return Piconfilelist; }

protected:
  std::int32_t NumberOfCECCards = 0;
  std::int32_t NumberOfNationalCards = 0;
  bool AutoDetect = true;
  std::vector<std::string> Pfilelist;
  std::string OutputDirectory;
  std::string DeviceDirectory;
  std::string ExperimentDirectory;
  std::string BlockDirectory;
  std::vector<std::string> Piconfilelist;
};

// The settings in the user's store, under these value names:
//   "AutoDetect" (integer 0/1), "NumberofNationalCards", "NumberofCECCards",
//   "NumberOfFiles" and "Experiment0".., "OutputDirectory", "DeviceDirectory",
//   "ExperimentDirectory", "BlockDirectory", "NumberOfIconFiles" and "IconFileName0"..
class TIniregQorv : public TInitializeQorv {
public:
  // The program's full path; empty when the object is only written.
  explicit TIniregQorv(std::string programName = std::string());

  const std::string& GetProgramName() const { return Pprogramname; }

  // Fills the fields from the store, which needs the program's path. Without the key:
  // auto-detect on, one board of each kind, empty directories, no files. With it, a
  // value that is missing or cannot be read leaves its field as it was; a card count no
  // board set-up can have (negative, more than MaxCECCards or MaxNationalCards boards)
  // counts as unreadable, as the GPIB Settings dialog refuses it. The numbered values are those below their count ("NumberOfFiles",
  // "NumberOfIconFiles") that the key holds; missing, unreadable and empty ones are
  // skipped, the others added in index order. They are found by the names the key
  // holds, so a huge count costs no more than the values stored.
  void Read(const TSettingsStore& store) override;

  // Writes every field; values of earlier runs with higher numbers stay in the store,
  // unread since the counts bound the reading. False when the store cannot be opened
  // for writing (nothing is written then) or what was written could not be kept.
  bool Write(TSettingsStore& store) override;

private:
  std::string Pprogramname;
};
