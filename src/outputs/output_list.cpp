#include "outputs/output_list.h"

#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/write_file.h"

namespace {

const char* const NoOutputs = "Outputs are not supported in this version";

void ReadSection(TReadFile& reader) {
  if (reader.ReadCount(0) != 0) throw EReadError(NoOutputs);
}

}  // namespace

TOutputList::TOutputList(TExperiment* owner, TTreeNode* node) : TExpAttList(owner, node) {
  if (AExpAttNode) AExpAttNode->SetText("Outputs");
}

int TOutputList::GetCount() const {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  return AExpAttNode->Count();
}

void TOutputList::Save(TWriteFile& writer) const {
  if (GetCount() != 0) throw EFileError(NoOutputs);
  writer.WriteInteger(0);
}

void TOutputList::Load(TReadFile& reader) { ReadSection(reader); }

void TOutputList::SaveBlock(TWriteFile& writer, TBlock*) const {
  // No command that uses an output exists yet.
  writer.WriteInteger(0);
}

void TOutputList::LoadBlock(TReadFile& reader) { ReadSection(reader); }

void TOutputList::WriteReport(TReport&) const {}
