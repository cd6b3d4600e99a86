#include "shell/experiment_file.h"

#include <cstdint>
#include <exception>
#include <new>
#include <vector>

#include "communication/communication.h"
#include "communication/device_list.h"
#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "shell/draw_parts.h"

namespace {

const char* const ExperimentHeader = "Qorv Experiment";
const char* const BlockHeader = "Qorv Block";

const char* const BadExperimentFile = "Bad experiment file...aborting read";
const char* const BadBlockFile = "Bad block file...aborting read";

// The device section: every device (experiment files) or those the exported commands
// use (block files); without a device list an empty list.
void WriteDevices(TWriteFile& writer, const TDeviceList* devices) {
  if (!devices)
    writer.WriteInteger(0);
  else if (writer.IsBlockExport())
    devices->SaveUsedDevices(writer);
  else
    devices->SaveDevices(writer);
}

// A device record that cannot be right ends the read with the file's own message.
void ReadDevices(TReadFile& reader, TDeviceList* devices, const char* badFileMessage) {
  if (reader.BytesLeft() == 0) return;  // a file without a device section
  if (!devices) {
    if (reader.ReadCount(0) != 0) throw EReadError("Devices are not supported in this version");
    return;
  }
  try {
    devices->LoadDevices(reader);
  } catch (const EReadError& failure) {
    if (std::string(failure.what()) == InvalidDeviceRecordText) throw EReadError(badFileMessage);
    throw;
  }
}

// Deletes the devices a failed read added (made since the mark), and no other: a device
// that one of them overwrote is gone already.
void RemoveDevicesSince(TDeviceList* devices, std::uint64_t mark) {
  if (devices) devices->RemoveDevicesSince(mark);
}

// Deletes every part of the diagram; a box takes its lines along.
void ClearDiagram(TDrawParts& parts) {
  while (parts.Count() > 0) parts.DeletePart(parts.GetPart(parts.Count() - 1));
}

}  // namespace

bool SaveExperimentFile(const std::string& path, TExperiment& experiment,
                        const TDrawParts& parts, const TDeviceList* devices,
                        std::string& error) {
  error.clear();
  if (path.empty()) return false;
  const std::string title = experiment.GetTitle();
  const std::string fileName = experiment.GetFileName();
  bool bodySaved = false;  // the body took the file as the experiment's own
  try {
    TWriteFile writer(path);
    writer.WriteFileHeader(ExperimentHeader);
    parts.Save(&writer);
    experiment.Save(writer);
    bodySaved = true;
    WriteDevices(writer, devices);
    writer.Commit();
    return true;
  } catch (const std::exception& failure) {
    error = failure.what();
  }
  // The file on disk is still the old one, and so is the experiment's account of it.
  experiment.SetTitle(title);
  if (bodySaved) {
    experiment.SetFileName(fileName);
    UiPort().ExperimentChanged(1, 0);
  }
  return false;
}

std::unique_ptr<TExperiment> OpenExperimentFile(const std::string& path, TDrawParts& parts,
                                                TDeviceList* devices, std::string& error) {
  error.clear();
  QORV_ASSERT(parts.Count()==0);
  const std::uint64_t devicesMark = devices ? devices->MarkDevices() : 0;
  auto experiment = std::make_unique<TExperiment>();
  try {
    TReadFile reader(path);
    reader.ReadFileHeader(ExperimentHeader, BadExperimentFile);
    std::vector<TDrawBlock*> boxes;
    parts.Load(&reader, boxes);
    experiment->Load(reader, boxes);
    parts.Redraw();
    ReadDevices(reader, devices, BadExperimentFile);
    experiment->CheckAfterRead();
    return experiment;
  } catch (const std::bad_alloc&) {
    error = OutOfMemoryReadError(BadExperimentFile);
  } catch (const std::exception& failure) {
    error = failure.what();
  }
  experiment.reset();  // its blocks take their boxes along
  ClearDiagram(parts);
  RemoveDevicesSince(devices, devicesMark);
  return nullptr;
}

bool SaveBlockFile(const std::string& path, TExperiment& experiment, TBlock* block,
                   const TDeviceList* devices, std::string& error) {
  error.clear();
  QORV_ASSERT(block!=0);
  QORV_ASSERT(block->GetDrawBlock()!=0);
  if (path.empty()) return false;
  const std::string fileName = block->GetBlockFileName();
  try {
    TWriteFile writer(path, true);
    writer.WriteFileHeader(BlockHeader);
    block->GetDrawBlock()->Save(&writer);
    experiment.SaveBlock(writer, block);
    WriteDevices(writer, devices);  // the devices the block's commands use
    writer.Commit();
    return true;
  } catch (const std::exception& failure) {
    error = failure.what();
  }
  block->SetBlockFileName(fileName);  // the body took the file as the block's own
  return false;
}

TBlock* OpenBlockFile(const std::string& path, TExperiment& experiment, TDrawParts& parts,
                      TPoint at, TDeviceList* devices, std::string& error) {
  error.clear();
  const std::uint64_t devicesMark = devices ? devices->MarkDevices() : 0;
  const bool hadBlocks = experiment.HasBlocks();
  const TExperiment::TAttributeMark attributesBefore = experiment.MarkAttributes();
  TDrawBlock* box = nullptr;
  TBlock* block = nullptr;
  try {
    TReadFile reader(path);
    reader.ReadFileHeader(BlockHeader, BadBlockFile);
    box = parts.AddBlock("none", at);
    box->Load(&reader);
    box->SetPosition(at);  // the stored position is not used
    block = experiment.LoadBlock(reader, box);
    QORV_ASSERT(box==0);
    ReadDevices(reader, devices, BadBlockFile);
    // As for experiment files: a command that found nothing of what it names is refused
    // now, never at its first run.
    block->CheckAfterRead();
    UiPort().ExperimentChanged(1, 0);
  } catch (const std::exception& failure) {
    const bool noMemory = dynamic_cast<const std::bad_alloc*>(&failure) != nullptr;
    error = noMemory ? OutOfMemoryReadError(BadBlockFile) : failure.what();
    delete block;  // with its box
    if (box) parts.DeletePart(box);
    // The outputs and data files the file added go once their commands are gone.
    experiment.RemoveAttributesAfter(attributesBefore);
    RemoveDevicesSince(devices, devicesMark);
    return nullptr;
  }
  experiment.SelectBlock(block->AExpNode);
  if (!hadBlocks) block->SetAsStartBlock();
  parts.Redraw();
  return block;
}
