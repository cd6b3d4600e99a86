#include "outputs/exp_file_lists.h"

#include "model/assertion.h"
#include "model/errors.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/write_file.h"

namespace {

const char* const NoDataFiles = "Data files are not supported in this version";

void ReadSection(TReadFile& reader) {
  if (reader.ReadCount(0) != 0) throw EReadError(NoDataFiles);
}

}  // namespace

TExpFileList::TExpFileList(TExperiment* owner, TTreeNode* node) : TExpAttList(owner, node) {}

int TExpFileList::GetCount() const {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  return AExpAttNode->Count();
}

void TExpFileList::Save(TWriteFile& writer) const {
  if (GetCount() != 0) throw EFileError(NoDataFiles);
  writer.WriteInteger(0);
}

void TExpFileList::Load(TReadFile& reader) {
  // Files before version 1.5 have no data-file sections.
  if (reader.GetVersionNumber() >= qvV1_5) ReadSection(reader);
}

void TExpFileList::SaveBlock(TWriteFile& writer, TBlock*) const {
  // No command that uses a data file exists yet.
  writer.WriteInteger(0);
}

void TExpFileList::LoadBlock(TReadFile& reader) { Load(reader); }

void TExpFileList::WriteReport(TReport&) const {}
