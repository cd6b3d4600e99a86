#include "shell/experiment_file.h"

#include <exception>
#include <vector>

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

// The device section: the device list joins it with the devices. Until then no
// experiment has devices and the section is an empty list.
void WriteDevices(TWriteFile& writer) { writer.WriteInteger(0); }

void ReadDevices(TReadFile& reader) {
  if (reader.BytesLeft() == 0) return;  // a file without a device section
  if (reader.ReadCount(0) != 0) throw EReadError("Devices are not supported in this version");
}

// Deletes every part of the diagram; a box takes its lines along.
void ClearDiagram(TDrawParts& parts) {
  while (parts.Count() > 0) parts.DeletePart(parts.GetPart(parts.Count() - 1));
}

}  // namespace

bool SaveExperimentFile(const std::string& path, TExperiment& experiment,
                        const TDrawParts& parts, std::string& error) {
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
    WriteDevices(writer);
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
                                                std::string& error) {
  error.clear();
  QORV_ASSERT(parts.Count()==0);
  auto experiment = std::make_unique<TExperiment>();
  try {
    TReadFile reader(path);
    reader.ReadFileHeader(ExperimentHeader, "Bad experiment file...aborting read");
    std::vector<TDrawBlock*> boxes;
    parts.Load(&reader, boxes);
    experiment->Load(reader, boxes);
    parts.Redraw();
    ReadDevices(reader);
    experiment->CheckAfterRead();
    return experiment;
  } catch (const std::exception& failure) {
    error = failure.what();
  }
  experiment.reset();  // its blocks take their boxes along
  ClearDiagram(parts);
  return nullptr;
}

bool SaveBlockFile(const std::string& path, TExperiment& experiment, TBlock* block,
                   std::string& error) {
  error.clear();
  QORV_ASSERT(block!=0);
  QORV_ASSERT(block->GetDrawBlock()!=0);
  if (path.empty()) return false;
  try {
    TWriteFile writer(path, true);
    writer.WriteFileHeader(BlockHeader);
    block->GetDrawBlock()->Save(&writer);
    experiment.SaveBlock(writer, block);
    WriteDevices(writer);  // the devices the block's commands use
    writer.Commit();
    return true;
  } catch (const std::exception& failure) {
    error = failure.what();
  }
  return false;
}

TBlock* OpenBlockFile(const std::string& path, TExperiment& experiment, TDrawParts& parts,
                      TPoint at, std::string& error) {
  error.clear();
  const bool hadBlocks = experiment.HasBlocks();
  TDrawBlock* box = nullptr;
  TBlock* block = nullptr;
  try {
    TReadFile reader(path);
    reader.ReadFileHeader(BlockHeader, "Bad block file...aborting read");
    box = parts.AddBlock("none", at);
    box->Load(&reader);
    box->SetPosition(at);  // the stored position is not used
    block = experiment.LoadBlock(reader, box);
    QORV_ASSERT(box==0);
    ReadDevices(reader);
    UiPort().ExperimentChanged(1, 0);
  } catch (const std::exception& failure) {
    error = failure.what();
    delete block;  // with its box
    if (box) parts.DeletePart(box);
    return nullptr;
  }
  experiment.SelectBlock(block->AExpNode);
  if (!hadBlocks) block->SetAsStartBlock();
  parts.Redraw();
  return block;
}
