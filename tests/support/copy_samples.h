// One command of every type that the command clipboard takes, set up as its dialog leaves
// it, over devices, variables, outputs and data files made for them; and, for each type,
// what its command names, with a way to delete each as the user does. The tests of Cut,
// Copy and Paste go over these, table by table.
#pragma once

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
class TExperiment;
class TExperimentFile;
class TMultiExpFile;
class TOutput;
class TScript;

// The commands that name things of their block go only into their own block: Read, Read
// File, Serial Poll, Increment, Plot, Calculate, Output to File and Concatenate.
const std::set<int>& BlockBoundTypes();
// A type's name for the tests' messages ("Read File").
std::string CommandName(int type);

class TCopySamples {
public:
  // Devices in the list (a meter on GPIB, a pump on a serial port), variables of the
  // block, a graph, a single data file and a multiple one in the folder. Every name ends
  // in the suffix, so that several sets live in one experiment.
  TCopySamples(TExperiment& experiment, TDeviceList& devices, TBlock* block,
               const std::string& folder, const std::string& suffix = "");

  // A command of the type at the end of the block (in front of the blank line when it
  // stands there), set up; none for a type without a sample (the section lines).
  TScript* Make(int type);

  // Something the command of the type names, and its deletion as the user deletes it
  // (the commands that use it go along).
  struct TNamed {
    std::string What;
    std::function<void()> Delete;
  };
  std::vector<TNamed> NamedBy(int type);

  TDevice* Meter = nullptr;  // GPIB
  TDevice* Pump = nullptr;   // serial
  TDataSingle* Count = nullptr;    // integer
  TDataSingle* Volts = nullptr;    // float
  TDataSingle* Label = nullptr;    // string
  TDataArray* Wave = nullptr;      // float array
  TOutput* Graph = nullptr;
  TExperimentFile* Data = nullptr;  // single data file
  TMultiExpFile* Runs = nullptr;    // multiple data file

private:
  TExperiment& Experiment;
  TDeviceList& Devices;
  TBlock* Block;
  std::string Folder;
  std::string Suffix;
};
