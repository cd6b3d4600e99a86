#include "model/data_list.h"

#include <algorithm>
#include <unordered_map>

#include "model/assertion.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/write_file.h"

namespace {

const char* const DataWriteError = "Error writing datalist";
const char* const DataReadError = "Error reading data";
// The smallest variable record with its type: type, name count, initial-value flag,
// read-only flag and user count.
constexpr std::uint64_t MinVariableBytes = 4 + 4 + 1 + 1 + 4;

// Messages of the lists go to the plain message window.

std::int32_t ReadVariableType(TReadFile& reader) {
  std::int32_t type;
  reader.ReadInteger(type);
  if (type < 0 || type > 2)
    throw EReadError(std::string(DataReadError) + ": variable type " + NumberText::IntToText(type) +
                     " is not 0, 1 or 2");
  return type;
}

// Refuses a count of variables that the rest of the file cannot hold.
void CheckRoomFor(TReadFile& reader, std::int32_t count) {
  if (static_cast<std::uint64_t>(count) * MinVariableBytes > reader.BytesLeft())
    throw EReadError(std::string(DataReadError) + ": the file ends within the variables");
}

const char* TypeWord(int type) {
  switch (type) {
    case 0: return "String\t";
    case 1: return "Integer\t";
    default: return "Float\t";
  }
}

}  // namespace

// TDataList

TDataList::TDataList(TExperiment* owner, TTreeNode* node) : TExpAttList(owner, node) {}

TDataList::~TDataList() {
  // Each variable takes its own entry out of the name list as it goes.
  if (AExpAttNode) Clear(false);
  DataNameList.reset();
}

TDataNameList& TDataList::GetDataNameList() {
  if (!DataNameList) DataNameList = std::make_unique<TDataNameList>();
  return *DataNameList;
}

int TDataList::GetCount() const {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  return AExpAttNode->Count();
}

std::vector<TData*> TDataList::Variables() const {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  std::vector<TData*> variables;
  for (TTreeNode* node = AExpAttNode->GetFirstChild(); node; node = node->GetNextSibling()) {
    QORV_ASSERT_AS(node->GetData() != nullptr, "node->Data!=0");
    auto* variable = dynamic_cast<TData*>(AttViewDataOfNode(node));
    QORV_ASSERT(variable!=0);
    variables.push_back(variable);
  }
  return variables;
}

TTreeNode* TDataList::NewNode() {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  return AExpAttNode->GetTree()->AddChild(AExpAttNode, "");
}

namespace {

// Blocks are the experiment tree's top-level nodes, so their order there is that of
// their positions among each other.
int BlockPosition(const TTreeNode* variableNode) {
  auto* variable = dynamic_cast<TData*>(AttViewDataOfNode(variableNode));
  QORV_ASSERT(variable!=0);
  TBlock* block = variable->GetBlockOwner();
  QORV_ASSERT(block!=0);
  QORV_ASSERT(block->AExpNode!=0);
  return block->AExpNode->GetIndex();
}

}  // namespace

void TDataList::SortByBlock() {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  // The position of each variable's block, found once.
  std::unordered_map<const TTreeNode*, int> position;
  for (TData* variable : Variables()) {
    QORV_ASSERT(variable->AExpAttNode!=0);
    position[variable->AExpAttNode] = BlockPosition(variable->AExpAttNode);
  }
  AExpAttNode->SortChildren([&position](const TTreeNode* a, const TTreeNode* b) {
    return position.at(a) < position.at(b);
  });
  AExpAttNode->SetExpanded(true);
}

void TDataList::PlaceByBlock(TData* variable) {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  QORV_ASSERT(variable->AExpAttNode==AExpAttNode->GetLastChild());
  const int others = AExpAttNode->Count() - 1;
  for (int i = 1; i < others; ++i)
    if (BlockPosition(AExpAttNode->Item(i - 1)) > BlockPosition(AExpAttNode->Item(i))) {
      SortByBlock();
      return;
    }
  // The first of the others whose block comes after the variable's.
  const int own = BlockPosition(variable->AExpAttNode);
  int low = 0;
  int high = others;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (BlockPosition(AExpAttNode->Item(middle)) <= own)
      low = middle + 1;
    else
      high = middle;
  }
  if (low < others) variable->AExpAttNode->MoveTo(AExpAttNode->Item(low), TNodeAttachMode::naInsert);
  AExpAttNode->SetExpanded(true);
}

void TDataList::UserAdd() {
  if (ExperimentRunning) {
    Inform(std::string("Cannot add ") + (GetListKind() == 1 ? "a variable" : "an array") +
           " while the experiment is running");
    return;
  }
  QORV_ASSERT(Pexpowner!=0);
  if (TBlock* block = Pexpowner->GetCurrentBlock())
    AddWithDialog(block, true);
  else
    Inform("You must select a block before you can add a variable.");
}

void TDataList::AddNew() {
  const bool arrays = GetListKind() != 1;
  if (ExperimentRunning) {
    Inform(arrays ? "Cannot add an array while the experiment is running"
                  : "Cannot add a variable while the experiment is running");
    return;
  }
  QORV_ASSERT(Pexpowner!=0);
  TBlock* block = Pexpowner->GetCurrentBlock();
  if (!block) {
    Inform(arrays ? "You must select a block before you can add an array."
                  : "You must select a block before you can add a variable.");
    return;
  }
  TDataFormRequest request;
  request.Mode = TDataFormRequest::dmADD;
  request.ShowArraySize = arrays;
  request.ArraySize = 10;
  request.NameList = &GetDataNameList();
  request.List = this;
  request.Block = block;
  // The dialog creates a variable through Create at each Add; its OK answers one more.
  if (UiPort().OpenDialog(request) == 1) Create(block, request);
}

TData* TDataList::AddWithDialog(TBlock* block, bool readOnlyAllowed) {
  TDataFormRequest request;
  request.Mode = TDataFormRequest::dmEDIT;
  request.ShowArraySize = GetListKind() != 1;
  request.ArraySize = 10;
  request.ReadOnlyAllowed = readOnlyAllowed;
  request.NameList = &GetDataNameList();
  if (UiPort().OpenDialog(request) != 1) return nullptr;
  return Create(block, request);
}

void TDataList::GetDataOfBlock(TBlock* block, std::vector<TData*>& list) const {
  for (TData* variable : Variables())
    if (variable->GetBlockOwner() == block) list.push_back(variable);
}

void TDataList::GetAll(std::vector<TData*>& list) const {
  list = Variables();
}

void TDataList::Save(TWriteFile& writer) {
  const std::vector<TData*> variables = Variables();
  try {
    writer.WriteInteger(static_cast<std::int32_t>(variables.size()));
    // One group per run of adjacent variables of the same block.
    for (auto first = variables.begin(); first != variables.end();) {
      TBlock* block = (*first)->GetBlockOwner();
      const auto end = std::find_if(first, variables.end(),
                                    [block](TData* v) { return v->GetBlockOwner() != block; });
      writer.WriteInteger(writer.GetObjectId(block));
      writer.WriteInteger(static_cast<std::int32_t>(end - first));
      for (; first != end; ++first) {
        writer.WriteInteger((*first)->GetDataType());
        (*first)->Save(writer);
      }
    }
  } catch (const EFileError&) {
    throw EFileError(DataWriteError);
  }
}

void TDataList::Load(TReadFile& reader, const std::vector<TBlock*>& blocks) {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  std::int32_t total;
  reader.ReadInteger(total);
  // The first block read with each identifier.
  std::unordered_map<std::int32_t, TBlock*> byIdentifier;
  for (TBlock* block : blocks)
    if (block) byIdentifier.emplace(block->ReadBlockID(), block);
  for (std::int32_t read = 0; read < total;) {
    std::int32_t identifier;
    reader.ReadInteger(identifier);
    const auto found = byIdentifier.find(identifier);
    if (found == byIdentifier.end())
      throw EReadError(std::string(DataReadError) + ": no block has the identifier " +
                       NumberText::IntToText(identifier));
    std::int32_t count;
    reader.ReadInteger(count);
    if (count < 0)
      throw EReadError(std::string(DataReadError) + ": a negative number of variables");
    if (count > total - read)
      throw EReadError(std::string(DataReadError) + ": more variables than the list's total of " +
                       NumberText::IntToText(total));
    CheckRoomFor(reader, count);
    GetDataNameList();
    for (std::int32_t i = 0; i < count; ++i, ++read) {
      const std::int32_t type = ReadVariableType(reader);
      CreateForLoad(type, NewNode(), found->second)->Load(reader);
    }
  }
  AExpAttNode->SetExpanded(true);
}

void TDataList::SaveBlock(TWriteFile& writer, TBlock* block) {
  const std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  QORV_ASSERT(exported!=0);
  // The block's own variables and those of other blocks that exported commands use.
  std::vector<TData*> variables;
  for (TData* variable : Variables())
    if (variable->GetBlockOwner() == block ||
        std::any_of(exported->begin(), exported->end(),
                    [variable](TVariable* reference) { return variable->HasUser(reference); }))
      variables.push_back(variable);
  try {
    writer.WriteInteger(static_cast<std::int32_t>(variables.size()));
    for (TData* variable : variables) {
      writer.WriteInteger(variable->GetDataType());
      variable->Save(writer);
    }
  } catch (const EFileError&) {
    throw EFileError(DataWriteError);
  }
}

void TDataList::LoadBlock(TReadFile& reader, TBlock* block) {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  std::int32_t count;
  reader.ReadInteger(count);
  if (count < 0) throw EReadError(DataReadError);
  CheckRoomFor(reader, count);
  if (count > 0) GetDataNameList();
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t type = ReadVariableType(reader);
    TData* variable = CreateForLoad(type, NewNode(), block);
    // Its users were given to another variable: the imported one goes.
    if (!variable->LoadImported(reader)) delete variable;
  }
  AExpAttNode->SetExpanded(true);
}

TData* TDataList::SelectVariable(const std::string& caption, TBlock* block, std::int32_t size,
                                 int type) {
  TChangeVarRequest request;
  request.OfferCancel = true;
  request.Caption = caption;
  request.NameList = &GetDataNameList();
  std::vector<TData*> candidates;
  GetDataOfBlock(block, candidates);
  for (TData* variable : candidates)
    if (Accepts(type, size, variable))
      request.Choices.emplace_back(variable->GetDataName(), variable);
  if (UiPort().OpenDialog(request) != 1) return nullptr;
  if (request.NewNameChosen) return Add(block, type, size, request.NewName);
  return request.ASelectedData;
}

TData* TDataList::Create(TBlock* block, const TDataFormRequest& entries) {
  TData* variable = NewVariable(NewNode(), entries.Name, entries.Type, block);
  if (variable->IsArray()) static_cast<TDataArray*>(variable)->SetSize(entries.ArraySize);
  QORV_ASSERT(variable->CanSetAsReadOnly());
  variable->SetReadOnly(entries.ReadOnly);
  variable->SetDataType(entries.Type);
  if (entries.HasInitialValue) variable->SetInitialValue(entries.InitialValueText);
  PlaceByBlock(variable);
  GetDataNameList().AddName(entries.Name, variable);
  return variable;
}

TData* TDataList::CreateForLoad(int type, TTreeNode* node, TBlock* block) {
  return NewVariable(node, "nothing", type, block);
}

TData* TDataList::Add(TBlock* block, int type, std::int32_t size, const std::string& name) {
  if (GetListKind() == 1)
    QORV_ASSERT(size==1);
  else
    QORV_ASSERT(size>1);
  TData* variable = NewVariable(NewNode(), name, type, block);
  if (variable->IsArray()) static_cast<TDataArray*>(variable)->SetSize(size);
  variable->SetReadOnly(false);
  PlaceByBlock(variable);
  GetDataNameList().AddName(name, variable);
  return variable;
}

// TDataSingleList

TDataSingleList::TDataSingleList(TExperiment* owner, TTreeNode* node) : TDataList(owner, node) {
  if (AExpAttNode) {
    AExpAttNode->SetImageIndex(imgSINGLEROOT);
    AExpAttNode->SetSelectedIndex(imgSINGLEROOT);
  }
}

TData* TDataSingleList::NewVariable(TTreeNode* node, const std::string& name, int type,
                                    TBlock* block) {
  return new TDataSingle(node, name, this, type, block);
}

bool TDataSingleList::Accepts(int type, std::int32_t size, TData* variable) const {
  return variable->GetDataType() == type && size == 1;
}

void TDataSingleList::WriteReport(TReport& report) const {
  report.AddHeading("Name\t\tType\tBlock\t\tCommands Using");
  for (TData* variable : Variables())
    report.AddLine(variable->GetDataName() + "\t\t" + TypeWord(variable->GetDataType()) +
                   variable->GetBlockOwner()->GetTitle() + "\t" +
                   NumberText::IntToText(variable->GetUserCount()));
}

// TDataArrayList

TDataArrayList::TDataArrayList(TExperiment* owner, TTreeNode* node) : TDataList(owner, node) {
  if (AExpAttNode) {
    AExpAttNode->SetImageIndex(imgARRAYROOT);
    AExpAttNode->SetSelectedIndex(imgARRAYROOT);
  }
}

TData* TDataArrayList::NewVariable(TTreeNode* node, const std::string& name, int type,
                                   TBlock* block) {
  return new TDataArray(node, name, this, type, block);
}

bool TDataArrayList::Accepts(int type, std::int32_t size, TData* variable) const {
  return variable->GetDataType() == type && size >= 2 && size <= variable->GetSize();
}

void TDataArrayList::WriteReport(TReport& report) const {
  report.AddHeading("Name\t\tSize\tType\tBlock\t\tCommands Using");
  for (TData* variable : Variables())
    report.AddLine(variable->GetDataName() + "\t\t" + NumberText::IntToText(variable->GetSize()) +
                   "\t" + TypeWord(variable->GetDataType()) +
                   variable->GetBlockOwner()->GetTitle() + "\t" +
                   NumberText::IntToText(variable->GetUserCount()));
}
