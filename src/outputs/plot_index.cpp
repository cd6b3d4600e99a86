#include "outputs/plot_index.h"

#include <vector>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"

TPlotIndex::TPlotIndex(TAttributeScript* owner) : Powner(owner) { QORV_ASSERT(owner!=0); }

TPlotIndex::~TPlotIndex() = default;

std::int32_t TPlotIndex::GetIndex() { return PvIndex ? PvIndex->GetInteger() : iIndex; }

void TPlotIndex::SetVariable(TDataSingle* variable) {
  QORV_ASSERT(variable!=0);
  QORV_ASSERT(variable->GetDataType()==eatINTEGER);
  if (!PvIndex) PvIndex = std::make_unique<TVariableDataSingle>(Powner);
  PvIndex->SetData(variable);
  iIndex = -1;
}

void TPlotIndex::SetIndex(std::int32_t index) {
  QORV_ASSERT(index>=0);
  PvIndex.reset();
  iIndex = index;
}

bool TPlotIndex::IsValidFor(std::int32_t count) const { return PvIndex || iIndex < count; }

std::string TPlotIndex::GetText() { return "(" + GetBoxText() + ")"; }

std::string TPlotIndex::GetBoxText() {
  return PvIndex ? PvIndex->GetDescription() : NumberText::IntToText(iIndex);
}

void TPlotIndex::Write(TWriteFile& writer) {
  writer.WriteBool(PvIndex != nullptr);
  if (!PvIndex) {
    writer.WriteInteger(iIndex);
    return;
  }
  PvIndex->Save(writer);
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    exported->push_back(PvIndex.get());
}

void TPlotIndex::Read(TReadFile& reader) {
  bool isVariable = false;
  reader.ReadBool(isVariable);
  if (!isVariable) {
    std::int32_t index = -1;
    reader.ReadInteger(index);
    PvIndex.reset();
    iIndex = index;
    return;
  }
  auto reference = std::make_unique<TVariableDataSingle>(Powner);
  reference->Load(reader);
  PvIndex = std::move(reference);
  reader.GetVariableList().Add(PvIndex.get());
  iIndex = -1;
}

TDataSingle* TPlotIndex::GetVariable() const {
  return PvIndex ? static_cast<TDataSingle*>(PvIndex->GetData()) : nullptr;
}
