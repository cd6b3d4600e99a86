// Experiment files (".qve", header "Qorv Experiment") and block files (".blk", header
// "Qorv Block"): the framing around the block diagram, the experiment body and the
// devices. The main window asks its questions, shows its dialogs and reports the
// messages these answer. Without a device list (none given) the device section is
// written empty and a file whose section holds devices is refused.
#pragma once

#include <memory>
#include <string>

#include "shell/draw_part.h"

class TBlock;
class TDeviceList;
class TDrawParts;
class TExperiment;

// Writes header, version, the diagram, the experiment body and every device. The file is
// replaced only when all of it is written; otherwise the old file stays, the experiment
// keeps its title and file name (and is marked modified when the body had cleared the
// mark) and false is answered with the error's message. An empty path writes nothing.
bool SaveExperimentFile(const std::string& path, TExperiment& experiment,
                        const TDrawParts& parts, const TDeviceList* devices,
                        std::string& error);

// Reads an experiment file into a new experiment and its diagram into parts, which must
// be empty (the previous experiment is gone), and its devices into the device list,
// binding the commands read to them (the caller gives the list the new experiment). On
// failure the diagram is emptied again, the devices the file added are deleted and none
// is answered with the error's message.
std::unique_ptr<TExperiment> OpenExperimentFile(const std::string& path, TDrawParts& parts,
                                                TDeviceList* devices, std::string& error);

// Writes header, version, the block's box, the block with what its commands use, and
// the devices they use. The block must have a box. Failures as for experiment files;
// the block keeps the file name it had.
bool SaveBlockFile(const std::string& path, TExperiment& experiment, TBlock* block,
                   const TDeviceList* devices, std::string& error);

// Adds the block of a block file to the experiment, its box at the point. The new block
// becomes the current block and, when the experiment had no block, the start block.
// The block's devices join the device list; its commands are checked as after reading
// an experiment file. On failure the half-made box and block, and the outputs, data
// files and devices the file added are removed, the experiment is as before and none is
// answered with the error's message.
TBlock* OpenBlockFile(const std::string& path, TExperiment& experiment, TDrawParts& parts,
                      TPoint at, TDeviceList* devices, std::string& error);
