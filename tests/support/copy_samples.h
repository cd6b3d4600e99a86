// Commands of every type that the command clipboard takes, set up as their dialogs leave
// them, each over variables, outputs and data files of its own and a device of the set;
// with what each names, and its deletion as the user deletes it. The tests of Cut, Copy
// and Paste go over these, type by type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

class TBlock;
class TDataArray;
class TDataSingle;
class TDevice;
class TDeviceList;
class TExpAttribute;
class TExperiment;
class TScript;
class TTreeNode;

// The commands that name things of their block go only into their own block: Read, Read
// File, Serial Poll, Increment, Plot, Calculate, Output to File and Concatenate.
const std::set<int>& BlockBoundTypes();
// A type's name for the tests' messages ("Read File").
std::string CommandName(int type);

// The rows of the command table, in table order, split in two: the types the clipboard
// takes, each with samples below, and the section lines (Repeat, Decision, Repeat Until,
// If Then, Else, End If), which cannot be copied. A new row counts as copyable, so that
// its tests fail until it has a sample.
std::vector<int> CopyableCommandTypes();
std::vector<int> SectionLineTypes();

// A command and everything it names: variables, outputs and data files, and its device.
struct TCopySample {
  TScript* Command = nullptr;
  std::vector<TExpAttribute*> Names;
  TDevice* Device = nullptr;
};

class TCopySamples {
public:
  // Two devices in the list (a meter on GPIB, a pump on a serial port). Every name ends in
  // the suffix, so that several sets live in one experiment; each type is made once a set.
  TCopySamples(TExperiment& experiment, TDeviceList& devices, TBlock* block,
               const std::string& folder, const std::string& suffix = "");

  // The commands of the type at the end of the block (in front of the blank line when it
  // stands there): one for each way of setting it up that its record keeps apart. None
  // for the section lines.
  std::vector<TCopySample> Make(int type);
  // The first of them alone.
  TCopySample MakeFirst(int type);
  // Deletes the sample's nth name (the device after the attributes) as the user does:
  // the commands that use it go along.
  void Delete(TCopySample& sample, std::size_t nth);

  TDevice* Meter = nullptr;  // GPIB
  TDevice* Pump = nullptr;   // serial

private:
  std::vector<std::function<TCopySample()>> Recipes(int type);
  TTreeNode* Node();
  TDataSingle* Single(const std::string& name, int type, const std::string& initial = "");
  TDataArray* Array(const std::string& name, int type, std::int32_t size);

  TExperiment& Experiment;
  TDeviceList& Devices;
  TBlock* Block;
  std::string Folder;
  std::string Suffix;
};
