// The experiment the document seeds are saved from, built through the core's own
// operations as the dialogs do: three blocks on boxes (the first choosing between the
// other two with a Decision), variables of every kind, outputs of every kind, a single
// and a multiple data file, and commands of every type; with devices, a block of device
// commands using an instrument of each kind of communication.
#pragma once

#include "communication/device_list.h"
#include "model/experiment.h"
#include "shell/draw_parts.h"

class TBlock;

struct TSampleExperiment {
  // With devices the second block holds the device commands; without, plain commands.
  explicit TSampleExperiment(bool withDevices);
  TSampleExperiment(const TSampleExperiment&) = delete;
  TSampleExperiment& operator=(const TSampleExperiment&) = delete;

  TDrawParts Parts;
  TExperiment Experiment;       // destroyed before the boxes
  TDeviceList Devices{&Experiment};  // destroyed first, with the commands that use them
  TBlock* First = nullptr;
  TBlock* Second = nullptr;
  TBlock* Third = nullptr;
};

// Adds an instrument of each kind of communication to the list: an RS-232 port, a CEC
// and an NI GPIB address, with end characters, predefined commands and an icon.
void AddSampleDevices(TDeviceList& devices);
