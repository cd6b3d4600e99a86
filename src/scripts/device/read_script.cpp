#include "scripts/device/read_script.h"

#include <algorithm>
#include <cstddef>

#include "communication/communication.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/read_response.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/command_devices.h"
#include "scripts/device/read_copy.h"
#include "scripts/flow/command_record.h"

namespace {

const char* const VariableNotDefined = "Variable not defined for read command...aborting read";
const char* const DeviceNotDefined = "Device not defined for read command...aborting read";
const char* const PointsNotDefined =
    "Number of points variable not defined for read command...aborting read";
const char* const ByteCountNotDefined =
    "Byte count variable not defined for read command...aborting read";
const char* const DelimiterNotDefined =
    "Delimiter not defined for read command...aborting read";

std::string Decimal(std::int64_t value) { return NumberText::IntToText(value); }

// Puts a reference among the references a block export takes along, once.
void Export(TWriteFile& writer, TVariable* reference) {
  std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  if (exported && std::find(exported->begin(), exported->end(), reference) == exported->end())
    exported->push_back(reference);
}

}  // namespace

TReadScript::TReadScript(TBlock* block, TTreeNode* node) : TDeviceAttributeScript(block, node) {}

TReadScript::~TReadScript() {
  Pvariable.reset();
  Preadcountvar.reset();
  Preaddata.reset();
}

TVariableDataSingle* TReadScript::PointsReference() const {
  auto* array = dynamic_cast<TReadDataArray*>(Preaddata.get());
  return array ? array->GetDataNumPoints() : nullptr;
}

std::int32_t TReadScript::CheckSize() {
  TData* variable = Pvariable->GetData();
  const std::int32_t points = Preaddata->GetNumberPointsToRead();
  std::int32_t size = 1;
  if (auto* array = dynamic_cast<TDataArray*>(variable)) {
    const auto lock = array->LockValues();
    TValueArray& values = array->GetValueArray();
    if (!values.HasStorage()) values.GetElementText(0);  // reading an element makes it
    size = values.GetSize();
  }
  if (size < points)
    throw EExperimentError("The number of points to read " + Decimal(points) +
                           " exceeds the size of the variable " + variable->GetDataName() +
                           " size " + Decimal(size));
  return points;
}

int TReadScript::ReadTerminator() const {
  if (Preaddata->GetReadType() == rtBINARY) return -1;
  return Preaddata->GetTermChar2() != 0 ? Preaddata->GetTermChar2() : Preaddata->GetTermChar();
}

void TReadScript::ReadResponse(std::vector<std::string>* trace) {
  // A binary read of words the decoder refuses is refused before the instrument is read.
  if (Preaddata->GetReadType() == rtBINARY &&
      (Preaddata->GetBytesPerPoint() < 1 || Preaddata->GetBytesPerPoint() > 4))
    throw EExperimentError(BinaryBytesPerPointText);
  TCommunication& communication = GetCommunication();
  const int terminator = ReadTerminator();
  const std::int64_t readSize = Preaddata->GetByteCount();
  char* buffer = Preaddata->AllocateBuffer();
  int bytesRead = 0;
  const int maxBytes = static_cast<int>(readSize);
  const bool timedOut =
      trace ? communication.ReadTrace(buffer, maxBytes, terminator, bytesRead, *trace)
            : communication.Read(buffer, maxBytes, terminator, bytesRead);
  if (Preadcountvar) {
    Preadcountvar->SetValueText(Decimal(bytesRead));
  } else if (timedOut) {
    throw EExperimentError("Read error: Number of bytes to read " + Decimal(readSize) +
                           " Number of bytes read " + Decimal(bytesRead));
  }
  TData* variable = Pvariable->GetData();
  try {
    Preaddata->Read(variable);
  } catch (const EExperimentError& error) {
    throw EExperimentError(variable->GetDataName() + " read error: " + error.GetMessage());
  }
}

TScript* TReadScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  QORV_ASSERT(Pvariable!=0&&Pvariable->GetData()!=0&&Preaddata!=0);
  CheckSize();
  ReadResponse(nullptr);
  return Pnextscript;
}

TScript* TReadScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  QORV_ASSERT(Device!=0);
  QORV_ASSERT(Pvariable!=0&&Pvariable->GetData()!=0&&Preaddata!=0);
  CheckSize();
  trace.push_back("Reading from " + Device->GetName());
  ReadResponse(&trace);
  return Pnextscript;
}

void TReadScript::AddTextLine(TReport& report) {
  TScript::AddTextLine(report);
  if (!Preaddata) return;
  QORV_ASSERT(AExpNode!=0);
  report.AddStyledLine(
      std::string(static_cast<std::size_t>(AExpNode->GetLevel()) + 1, '\t') +
          Preaddata->Describe(),
      {.Italic = true});
}

bool TReadScript::SetNextScript() {
  TScript::SetNextScript();
  QORV_ASSERT(Device!=0);
  QORV_ASSERT(Preaddata!=0);
  if (!CommunicationForRun()) return false;
  const TCoreDevice& core = Device->GetCoreDevice();
  Preaddata->SetTermChars(core.GetReadChar1(), core.GetReadChar2());
  try {
    Preaddata->CreateMechanics();
  } catch (const EExperimentError& error) {
    // Settings that cannot be read (more than 4 bytes a binary point, from a file)
    // refuse the run like the other commands' checks.
    UiPort().ShowMessage("Will Not Run, " + GetText() + ": " + error.GetMessage(), "",
                         TMessageKind::Error);
    return false;
  }
  QORV_ASSERT(Pvariable!=0&&Pvariable->GetData()!=0);
  TData* variable = Pvariable->GetData();
  if (variable->IsArray() && variable->GetDataType() != eatSTRING) WSDelimiter = true;
  return true;
}

void TReadScript::Save(TWriteFile& writer) {
  QORV_ASSERT(Pvariable!=0&&Preaddata!=0);
  writer.WriteBool(Pvariable->IsArray());
  Pvariable->Save(writer);
  Export(writer, Pvariable.get());
  writer.WriteBool(Preadcountvar != nullptr);
  if (Preadcountvar) {
    Preadcountvar->Save(writer);
    Export(writer, Preadcountvar.get());
  }
  Preaddata->Save(writer);
  writer.WriteBool(DoCleanString);
  writer.WriteBool(WSDelimiter);
  TScript::Save(writer);
}

void TReadScript::Load(TReadFile& reader) {
  QORV_ASSERT(Pvariable==0&&Preadcountvar==0&&Preaddata==0);
  TWaitingReferences waiting(reader);
  bool isArray = false;
  reader.ReadBool(isArray);
  std::unique_ptr<TVariableData> variable = NewReference(this, isArray);
  variable->Load(reader);
  waiting.List().Add(variable.get());
  bool hasCount = false;
  reader.ReadBool(hasCount);
  std::unique_ptr<TVariableDataSingle> count;
  if (hasCount) {
    count = std::make_unique<TVariableDataSingle>(this);
    count->Load(reader);
    waiting.List().Add(count.get());
  }
  std::unique_ptr<TReadData> readData;
  if (isArray)
    readData = std::make_unique<TReadDataArray>(this);
  else
    readData = std::make_unique<TReadDataSingle>(this);
  readData->Load(reader);
  // An ASCII array is cut at its delimiter: a record without one cannot be run.
  auto* array = dynamic_cast<TReadDataArray*>(readData.get());
  if (array && array->GetReadType() == rtASCII && array->GetDelimiter().empty())
    throw EReadError(DelimiterNotDefined);
  bool cleanString = true, wsDelimiter = true;
  if (reader.GetVersionNumber() >= qvV1_4) {
    reader.ReadBool(cleanString);
    reader.ReadBool(wsDelimiter);
  }
  TDeviceAttributeScript::Load(reader);
  Pvariable = std::move(variable);
  Preadcountvar = std::move(count);
  Preaddata = std::move(readData);
  DoCleanString = cleanString;
  WSDelimiter = wsDelimiter;
  waiting.Keep();
  UpdateNodeText();
}

bool TReadScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  return block != nullptr && node != nullptr && block == Pblock;
}

void TReadScript::CheckAfterRead() {
  if (!Pvariable || !Pvariable->GetData()) throw EReadError(VariableNotDefined);
  if (!Device) throw EReadError(DeviceNotDefined);
  if (Preadcountvar && !Preadcountvar->GetData()) throw EReadError(ByteCountNotDefined);
  if (TVariableDataSingle* points = PointsReference(); points && !points->GetData())
    throw EReadError(PointsNotDefined);
}

std::string TReadScript::GetText() {
  std::string text;
  if (Device) text = Device->GetName() + ": ";
  if (Preaddata) text += Preaddata->GetText();
  if (Pvariable && Pvariable->GetData()) {
    text += "(" + Pvariable->GetData()->GetDataName();
    if (Preaddata) text += Preaddata->GetNumberOfPointsText();
    text += ")";
  }
  return text;
}

TData* TReadScript::GetStoredData() { return Pvariable ? Pvariable->GetData() : nullptr; }

TData* TReadScript::GetSecondStoredData() {
  return Preadcountvar ? Preadcountvar->GetData() : nullptr;
}

bool TReadScript::VariableNotify(TVariable* reference, int type) {
  if (reference == nullptr) return true;
  if (reference == Preadcountvar.get() || reference == PointsReference())
    return type == eatINTEGER;
  return true;
}

bool TReadScript::CanReleaseVariable(TVariable* reference) {
  auto* data = dynamic_cast<TVariableData*>(reference);
  QORV_ASSERT(data!=0&&data->GetData()!=0);
  return !VariableNotify(reference, data->GetData()->GetDataType());
}

bool TReadScript::IsStoredVariable(TVariable* reference) {
  return reference != nullptr && reference == Pvariable.get();
}

std::int32_t TReadScript::GetPointsRead() const {
  auto* array = dynamic_cast<TReadDataArray*>(Preaddata.get());
  if (!array || array->GetDataNumPoints()) return 0;
  return std::max(array->GetNumPoints(), 0);
}

void TReadScript::SetUpRead(TDevice* device, TData* variable, const TReadResponse& response,
                            bool cleanString, bool wsDelimiter) {
  SetVariable(variable);
  SetReadCountVariable(response.GetStoreByteCount() ? response.GetDataStoreByteCount()
                                                    : nullptr);
  MakeReadData()->SetFromResponse(response);
  DoCleanString = cleanString;
  WSDelimiter = wsDelimiter;
  SetDevice(device);  // refreshes the node text
}

TCopyScript* TReadScript::MakeCopyScript() { return new TCopyRead(*this); }

void TReadScript::SetUp(TCopyScript* copyscript) {
  auto* copy = dynamic_cast<TCopyRead*>(copyscript);
  QORV_ASSERT_AS(copy!=0, "copyread!=0");
  QORV_ASSERT_AS(copy->GetDevice()!=0&&copy->GetVariable()!=0,
                 "copyread->ADevice!=0&&copyread->ACopyVariable->Data!=0");
  SetUpRead(copy->GetDevice(), copy->GetVariable(), copy->GetResponse(), copy->DoCleanString,
            copy->WSDelimiter);
}

void TReadScript::SetVariable(TData* variable) {
  QORV_ASSERT(variable!=0);
  if (Pvariable && Pvariable->IsArray() != variable->IsArray()) {
    Pvariable.reset();
    Preaddata.reset();
  }
  if (!Pvariable) Pvariable = NewReference(this, variable->IsArray());
  Pvariable->SetData(variable);
}

void TReadScript::SetReadCountVariable(TData* variable) {
  if (!variable) {
    Preadcountvar.reset();
    return;
  }
  if (!Preadcountvar) Preadcountvar = std::make_unique<TVariableDataSingle>(this);
  Preadcountvar->SetData(variable);
}

TReadData* TReadScript::MakeReadData() {
  if (!Preaddata) {
    QORV_ASSERT(Pvariable!=0&&Pvariable->GetData()!=0);
    if (Pvariable->GetData()->IsArray())
      Preaddata = std::make_unique<TReadDataArray>(this);
    else
      Preaddata = std::make_unique<TReadDataSingle>(this);
  }
  return Preaddata.get();
}

void TReadScript::FillResponse(TReadResponse& response) {
  QORV_ASSERT(Pvariable!=0&&Pvariable->GetData()!=0&&Preaddata!=0);
  TData* variable = Pvariable->GetData();
  response = variable->IsArray() ? TReadResponse(variable->GetSize()) : TReadResponse();
  if (Preadcountvar)
    response.SetByteCountData(Preadcountvar->GetData());
  else
    response.SetByteCountFromVariable(false);
  Preaddata->CopyToResponse(response);
}

bool HasDevicesToReadFrom() {
  if (!CommandDevices().empty()) return true;
  Inform("There are no devices to read from.");
  return false;
}

bool TReadScriptRequest::CanOpen() { return Script || HasDevicesToReadFrom(); }
