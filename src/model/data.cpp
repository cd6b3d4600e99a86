#include "model/data.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "model/assertion.h"
#include "model/block.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/node_style.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/attribute_script.h"

namespace {

const char* const NoCurrentValue = "No current value";
const char* const ReadErrorPrefix = "Error reading data: ";
const char* const RetypeQuestion =
    "This variable is used by commands which cannot accept this variable type.\r"
    "Continuing will result in the deletion of those scripts.  Do you wish to continue?";

// The colour of a read-only variable's text (blue-green-red order).
constexpr std::uint32_t ReadOnlyColour = 0xFF0000;

// "Block: name"; every variable has a block.
std::string DisplayNameOf(const TBlock* block, const std::string& name) {
  QORV_ASSERT_AS(block != nullptr, "ABlockOwner!=0");
  return block->GetTitle() + ": " + name;
}

int CheckedType(int type) {
  QORV_ASSERT((type>=eatSTRING)&&(type<=eatFLOAT));
  return type;
}

TDataList* CheckedList(TDataList* datalist) {
  QORV_ASSERT(datalist!=0);
  return datalist;
}

// The generations of all variables come from one counter, so that a generation names one
// value object of one variable for good (a variable made later at the same address
// starts with a generation never seen before). 0 is never taken.
std::atomic<std::uint64_t> LastValueGeneration{0};

std::uint64_t TakeValueGeneration() {
  return LastValueGeneration.fetch_add(1, std::memory_order_relaxed) + 1;
}

// Moves the node out of the selection while its image changes, so that a view showing
// it selected repaints it.
void RefreshImage(TTreeNode* node, int image) {
  if (!node) return;
  TTree* tree = node->GetTree();
  const bool selected = tree->GetSelected() == node;
  if (selected) tree->SetSelected(nullptr);
  node->SetImageIndex(image);
  node->SetSelectedIndex(image);
  if (selected) tree->SetSelected(node);
}

}  // namespace

// TData

TData::TData(TTreeNode* node, const std::string& name, TDataList* datalist, int type,
             TBlock* block)
    : TExpAttribute(DisplayNameOf(block, name), node),
      DataType(static_cast<std::int8_t>(CheckedType(type))),
      ABlockOwner(block),
      Pdatalist(CheckedList(datalist)),
      Name(name),
      ValueGeneration(TakeValueGeneration()) {
  if (AExpAttNode) AExpAttNode->SetText(GetName());
}

TData::~TData() {
  Pinitialvalue.reset();
  Pdatalist->GetDataNameList().Remove(this);
}

std::unique_ptr<TValue> TData::NewValue() const {
  switch (DataType) {
    case eatSTRING: return std::make_unique<TValueString>();
    case eatINTEGER: return std::make_unique<TValueInt>(0);
    default: return std::make_unique<TValueFloat>();  // 0.0, notation 0, 1 decimal place
  }
}

void TData::NewValueGeneration() { ValueGeneration = TakeValueGeneration(); }

void TData::ShowImage() {
  if (!AExpAttNode) return;
  AExpAttNode->SetImageIndex(GetImage());
  AExpAttNode->SetSelectedIndex(GetImage());
}

std::unique_lock<std::recursive_mutex> TData::LockValues() const {
  TExperiment* experiment = Pdatalist->GetExperiment();
  if (!experiment) return std::unique_lock<std::recursive_mutex>();
  return std::unique_lock<std::recursive_mutex>(experiment->GetValueLock());
}

bool TData::SetDataType(int type) {
  CheckedType(type);
  if (type == DataType) return true;
  if (!CanChangeType(type) &&
      UiPort().Ask(RetypeQuestion, "Qorv Warning", TMessageKind::Warning, mbYes | mbNo) != mbYes)
    return false;
  Pinitialvalue.reset();
  DataType = static_cast<std::int8_t>(type);
  ClearValue();
  DeleteIncompatibleUsers();
  return true;
}

void TData::SetDataName(const std::string& name) {
  Name = name;
  Pdatalist->GetDataNameList().AddName(name, this);
  SetName(DisplayNameOf(ABlockOwner, Name));
}

void TData::UpdateDisplayName() { SetName(DisplayNameOf(ABlockOwner, Name)); }

void TData::SetInitialValue(const std::string& text) {
  if (text.empty()) {
    Pinitialvalue.reset();
  } else {
    // A text that does not convert leaves the initial value as it was.
    std::unique_ptr<TValue> value = NewValue();
    value->SetText(text);
    Pinitialvalue = std::move(value);
  }
  ResetValue();
}

std::string TData::GetInitialValueText() const {
  if (Pinitialvalue) return Pinitialvalue->GetText();
  switch (DataType) {
    case eatINTEGER: return "0";
    case eatFLOAT: return "0.0";
    default: return std::string();
  }
}

bool TData::CanSetAsReadOnly() {
  for (TVariable* user : GetUsers()) {
    auto* reference = dynamic_cast<TVariableData*>(user);
    if (reference && reference->IsStoredByOwner()) return false;
  }
  return true;
}

void TData::SetReadOnly(bool readOnly) {
  if (readOnly == ReadOnlyFlag) return;
  if (!readOnly)
    ReadOnlyFlag = false;
  else if (CanSetAsReadOnly())
    ReadOnlyFlag = true;
}

bool TData::DrawNode(TNodeStyle& style) {
  if (!ReadOnlyFlag) return false;
  style.Colour = ReadOnlyColour;
  style.ImageIndex = AExpAttNode ? AExpAttNode->GetImageIndex() : GetImage();
  return true;
}

std::int32_t TData::MinimumSizeForReads() {
  std::int32_t minimum = -1;
  std::vector<TAttributeScript*> counted;
  for (TVariable* user : GetUsers()) {
    TAttributeScript* script = user->GetScriptOwner();
    if (!script || script->GetScriptType() != TScript::READ) continue;
    if (std::find(counted.begin(), counted.end(), script) != counted.end()) continue;
    counted.push_back(script);
    std::int32_t points = script->GetPointsRead();
    if (points == 0) points = 2;  // one value read into an array still needs two elements
    minimum = std::max(minimum, points);
  }
  return minimum;
}

int TData::Edit() {
  TDataFormRequest request;
  request.Mode = TDataFormRequest::dmEDIT;
  request.ShowArraySize = IsArray();
  request.Name = Name;
  request.Type = DataType;
  request.InitialValueText = GetInitialValueText();
  request.HasInitialValue = !request.InitialValueText.empty();
  request.ReadOnlyAllowed = CanSetAsReadOnly();
  request.ReadOnly = request.ReadOnlyAllowed && ReadOnlyFlag;
  request.NameList = &Pdatalist->GetDataNameList();
  if (IsArray()) {
    request.ArraySize = GetSize();
    const std::int32_t reads = MinimumSizeForReads();
    request.MinimumArraySize = reads < 0 ? 2 : reads;
  } else {
    request.MinimumArraySize = -1;
  }
  if (UiPort().OpenDialog(request) != 1) return 0;
  ApplyEdit(request);
  return 1;
}

void TData::ApplyEdit(const TDataFormRequest& request) {
  // A refused retype changes nothing else.
  if (!SetDataType(request.Type)) return;
  SetDataName(request.Name);
  if (request.HasInitialValue) SetInitialValue(request.InitialValueText);
  SetReadOnly(request.ReadOnly);
  if (IsArray()) static_cast<TDataArray*>(this)->SetSize(request.ArraySize);
}

void TData::SaveValue(TWriteFile& writer) {
  writer.WriteBool(Pinitialvalue != nullptr);
  if (Pinitialvalue) writer.WriteString(Pinitialvalue->GetTextFormatted(ntSTANDARD, 0));
  writer.WriteBool(ReadOnlyFlag);
}

void TData::LoadValue(TReadFile& reader) {
  bool hasInitialValue;
  reader.ReadBool(hasInitialValue);
  if (hasInitialValue) {
    const std::string text = reader.ReadString();
    try {
      SetInitialValue(text);
    } catch (const EExperimentError&) {
      throw EReadError(ReadErrorPrefix + std::string("the initial value \"") + text +
                       "\" is not a valid " + TypeName(DataType) + " value");
    }
  }
  // The flag is taken as saved: the users are not bound yet.
  reader.ReadBool(ReadOnlyFlag);
}

void TData::Save(TWriteFile& writer) {
  writer.WriteString(Name);
  SaveValue(writer);
  SaveUsers(writer);
}

void TData::Load(TReadFile& reader) {
  const std::string name = reader.ReadString();
  if (Pdatalist->GetDataNameList().HasDataName(name))
    throw EReadError(ReadErrorPrefix + std::string("the variable name ") + name +
                     " is used twice");
  SetDataName(name);
  LoadValue(reader);
  LoadUsers(reader);
}

bool TData::LoadImported(TReadFile& reader) {
  const std::string name = reader.ReadString();
  Name = name;  // for the read errors; the name list takes it below
  LoadValue(reader);
  LoadUsers(reader);
  TDataNameList& names = Pdatalist->GetDataNameList();
  if (!names.HasDataName(name)) {
    SetDataName(name);
    return true;
  }

  TChangeVarRequest request;
  request.OfferCancel = false;
  request.Caption = "Please rename or reassign the variable " + name;
  request.NameList = &names;
  // A variable that a command stores into, or a read-only one, can only be renamed.
  bool stored = false;
  for (TVariable* user : GetUsers()) {
    auto* reference = dynamic_cast<TVariableData*>(user);
    if (reference && reference->IsStoredByOwner()) {
      stored = true;
      break;
    }
  }
  if (!ReadOnlyFlag && !stored) {
    std::vector<TData*> variables;
    Pdatalist->GetAll(variables);
    for (TData* variable : variables)
      if (variable != this && variable->DataType == DataType)
        request.Choices.emplace_back(variable->GetName(), variable);
  }
  // The dialog cannot be cancelled; an answer that is neither a free name nor an offered
  // variable leaves the name taken, which the file cannot have.
  const bool answered = UiPort().OpenDialog(request) == 1;
  if (answered && request.NewNameChosen && !request.NewName.empty() &&
      !names.HasDataName(request.NewName)) {
    SetDataName(request.NewName);
    return true;
  }
  TData* chosen = request.ASelectedData;
  const bool offered =
      std::any_of(request.Choices.begin(), request.Choices.end(),
                  [chosen](const auto& choice) { return choice.second == chosen; });
  if (!answered || request.NewNameChosen || !offered)
    throw EReadError(ReadErrorPrefix + std::string("the variable name ") + name +
                     " is already in use");

  // The users go to the chosen variable; the caller then deletes this one.
  for (TVariable* user : GetUsers()) {
    if (auto* reference = dynamic_cast<TVariableData*>(user)) {
      reference->SetData(chosen);
    } else {
      // An element reference's index: a single integer variable.
      auto* index = dynamic_cast<TVariableArrayIndex*>(user);
      auto* single = dynamic_cast<TDataSingle*>(chosen);
      QORV_ASSERT(index!=0);
      QORV_ASSERT(single!=0);
      index->SetIndexVariable(single);
    }
  }
  QORV_ASSERT(!HasUsers());
  return false;
}

// TDataSingle

TDataSingle::TDataSingle(TTreeNode* node, const std::string& name, TDataList* datalist, int type,
                         TBlock* block)
    : TData(node, name, datalist, type, block) {
  ShowImage();
}

TDataSingle::~TDataSingle() { DisableCopyScript(); }

TValue& TDataSingle::GetValue() {
  if (!Pvalue) {
    const auto lock = LockValues();
    if (!Pvalue) {
      Pvalue = NewValue();
      NewValueGeneration();
    }
  }
  return *Pvalue;
}

void TDataSingle::ResetValue() {
  const auto lock = LockValues();
  GetValue().Assign(Pinitialvalue.get());
}

bool TDataSingle::ClearValue() {
  {
    const auto lock = LockValues();
    Pvalue.reset();
    NewValueGeneration();
  }
  RefreshImage(AExpAttNode, GetImage());
  return true;
}

std::string TDataSingle::GetValueText() {
  const auto lock = LockValues();
  return Pvalue ? Pvalue->GetText() : NoCurrentValue;
}

// TDataArray

TDataArray::TDataArray(TTreeNode* node, const std::string& name, TDataList* datalist, int type,
                       TBlock* block)
    : TData(node, name, datalist, type, block) {
  ShowImage();
}

TDataArray::~TDataArray() { DisableCopyScript(); }

TValueArray& TDataArray::GetValueArray() {
  if (PValueArray) return *PValueArray;
  const auto lock = LockValues();
  if (PValueArray) return *PValueArray;
  switch (DataType) {
    case eatSTRING: PValueArray = std::make_unique<TValueStringArray>(); break;
    case eatINTEGER: PValueArray = std::make_unique<TValueIntegerArray>(); break;
    default: PValueArray = std::make_unique<TValueFloatArray>(); break;
  }
  PValueArray->SetOwnerName(&Name);
  NewValueGeneration();
  return *PValueArray;
}

void TDataArray::SetSize(std::int32_t size) {
  QORV_ASSERT(size>0);
  const auto lock = LockValues();
  GetValueArray().SetSize(size);
}

std::int32_t TDataArray::GetSize() { return PValueArray ? PValueArray->GetSize() : 0; }

void TDataArray::ResetValue() {
  const auto lock = LockValues();
  GetValueArray().Fill(Pinitialvalue.get());
}

bool TDataArray::ClearValue() {
  {
    const auto lock = LockValues();
    PValueArray.reset();
    NewValueGeneration();
  }
  RefreshImage(AExpAttNode, GetImage());
  return true;
}

std::string TDataArray::GetValueText() {
  const auto lock = LockValues();
  return PValueArray ? PValueArray->GetText() : NoCurrentValue;
}

void TDataArray::SaveValue(TWriteFile& writer) {
  QORV_ASSERT(PValueArray!=0);
  QORV_ASSERT(PValueArray->GetSize()>0);
  writer.WriteInteger(PValueArray->GetSize());
  TData::SaveValue(writer);
}

void TDataArray::LoadValue(TReadFile& reader) {
  std::int32_t size;
  reader.ReadInteger(size);
  if (size < 1)
    throw EReadError(ReadErrorPrefix + std::string("the array size ") +
                     NumberText::IntToText(size) + " is below 1");
  if (size > MaxArraySize)
    throw EReadError(ReadErrorPrefix + std::string("the array ") + Name + " has " +
                     NumberText::IntToText(size) + " elements, more than the largest array of " +
                     NumberText::IntToText(MaxArraySize));
  // The size comes first, so that the initial value fills the elements that stay.
  SetSize(size);
  TData::LoadValue(reader);
}
