#include "scripts/device/send_binary_script.h"

#include <cstddef>
#include <utility>

#include "communication/communication.h"
#include "communication/device.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/flow/command_record.h"
#include "scripts/device/send_binary_copy.h"

namespace {

const char* const VariableNotDefined =
    "Variable not defined for Send Binary command...aborting read";
const char* const DeviceNotDefined = "Device not defined for Send Binary command...aborting read";

std::string TypeText(std::uint8_t binaryType) {
  switch (binaryType) {
    case TSendBinaryScript::sbINT16: return "2 byte integer";
    case TSendBinaryScript::sbINT32: return "4 byte integer";
    case TSendBinaryScript::sbFLOAT: return "IEEE Floating Point";
    default: return "unknown binary type " + NumberText::IntToText(binaryType);
  }
}

}  // namespace

TSendBinaryScript::TSendBinaryScript(TBlock* block, TTreeNode* node)
    : TDeviceAttributeScript(block, node) {}

TSendBinaryScript::~TSendBinaryScript() {
  PSendArray.reset();
  PPointCountVariable.reset();
}

std::vector<char> TSendBinaryScript::BuildBytes(std::int32_t& points) {
  QORV_ASSERT_AS(PSendArray!=0&&PSendArray->GetData()!=0,
                 "PSendArray!=0&&PSendArray->DataArray!=0");
  auto* array = static_cast<TDataArray*>(PSendArray->GetData());
  const auto lock = array->LockValues();
  TValueArray& values = array->GetValueArray();
  const std::int32_t size = values.GetSize();
  if (PPointCountVariable)
    points = PPointCountVariable->GetInteger();
  else
    points = PPointCount < 0 ? size : PPointCount;
  if (points <= 0)
    throw EExperimentError("Aborting:  Number of points in read binary cannot be zero");
  if (points > size)
    throw EExperimentError("Aborting:  Number of points to send exceeds array size");
  // The type read from a file or left by a retype may not fit the array's values.
  const bool integers = ABinaryType == sbINT16 || ABinaryType == sbINT32;
  const bool fits = integers ? values.GetType() == eatINTEGER
                             : ABinaryType == sbFLOAT && values.GetType() == eatFLOAT;
  if (!fits)
    throw EExperimentError("Aborting:  " + TypeText(ABinaryType) + " does not fit the array " +
                           array->GetDataName());
  if (!values.HasElements()) throw EExperimentError("Aborting:  Data buffer is empty");
  // Little-endian: the low 16 bits of each integer, or all 32 bits of an integer or of
  // a float's IEEE single.
  const std::size_t width = ABinaryType == sbINT16 ? 2 : 4;
  std::vector<char> bytes(static_cast<std::size_t>(points) * width);
  for (std::int32_t i = 0; i < points; ++i) {
    const std::uint32_t raw = values.GetRawElement(i);
    for (std::size_t b = 0; b < width; ++b)
      bytes[static_cast<std::size_t>(i) * width + b] = static_cast<char>((raw >> (8 * b)) & 0xFF);
  }
  return bytes;
}

TScript* TSendBinaryScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  TCommunication& communication = GetCommunication();
  std::int32_t points = 0;
  const std::vector<char> bytes = BuildBytes(points);
  communication.SendBinary(bytes.data(), static_cast<int>(bytes.size()));
  return Pnextscript;
}

TScript* TSendBinaryScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  TCommunication& communication = GetCommunication();
  QORV_ASSERT_AS(PSendArray!=0&&PSendArray->GetData()!=0,
                 "PSendArray!=0&&PSendArray->DataArray!=0");
  trace.push_back("Sending " + PSendArray->GetData()->GetDataName() + " to " + Device->GetName());
  std::int32_t points = 0;
  const std::vector<char> bytes = BuildBytes(points);
  communication.SendBinaryTrace(bytes.data(), static_cast<int>(bytes.size()), trace);
  trace.push_back("Sent " + NumberText::IntToText(points) + " points, " +
                  NumberText::IntToText(static_cast<std::int64_t>(bytes.size())) + " bytes.");
  return Pnextscript;
}

void TSendBinaryScript::Save(TWriteFile& writer) {
  QORV_ASSERT(PSendArray!=0);
  QORV_ASSERT(!PPointCountVariable||PPointCount<=0);
  PSendArray->Save(writer);
  writer.WriteBool(PPointCountVariable != nullptr);
  if (PPointCountVariable) PPointCountVariable->Save(writer);
  writer.WriteInteger(PPointCount);
  writer.WriteInteger(ABinaryType);
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList()) {
    exported->push_back(PSendArray.get());
    if (PPointCountVariable) exported->push_back(PPointCountVariable.get());
  }
  TDeviceAttributeScript::Save(writer);
}

void TSendBinaryScript::Load(TReadFile& reader) {
  QORV_ASSERT(PSendArray==0);
  QORV_ASSERT(PPointCountVariable==0);
  QORV_ASSERT(PPointCount<=0);
  TWaitingReferences waiting(reader);
  auto array = std::make_unique<TVariableDataArray>(this);
  array->Load(reader);
  waiting.List().Add(array.get());
  bool hasCount = false;
  reader.ReadBool(hasCount);
  std::unique_ptr<TVariableDataSingle> count;
  if (hasCount) {
    count = std::make_unique<TVariableDataSingle>(this);
    count->Load(reader);
    waiting.List().Add(count.get());
  }
  std::int32_t points = -1;
  reader.ReadInteger(points);
  std::int32_t binaryType = sbFLOAT;
  reader.ReadInteger(binaryType);
  TDeviceAttributeScript::Load(reader);
  PSendArray = std::move(array);
  PPointCountVariable = std::move(count);
  // A count variable and a count are never both in use: the variable decides.
  PPointCount = PPointCountVariable ? -1 : points;
  ABinaryType = static_cast<std::uint8_t>(binaryType);
  waiting.Keep();
  UpdateNodeText();
}

void TSendBinaryScript::CheckAfterRead() {
  if (!PSendArray || !PSendArray->GetData()) throw EReadError(VariableNotDefined);
  if (PPointCountVariable && !PPointCountVariable->GetData()) throw EReadError(VariableNotDefined);
  if (!Device) throw EReadError(DeviceNotDefined);
}

std::string TSendBinaryScript::GetText() {
  if (!Device) return std::string();
  std::string text = Device->GetName() + ": SendBinary(";
  if (PSendArray && PSendArray->GetData()) {
    text += PSendArray->GetData()->GetDataName() + "[";
    if (PPointCountVariable)
      text += PPointCountVariable->GetDescription();
    else if (PPointCount < 0)
      text += "...";
    else
      text += NumberText::IntToText(PPointCount);
    text += "]";
  }
  return text + ", " + TypeText(ABinaryType) + ")";
}

bool TSendBinaryScript::VariableNotify(TVariable* reference, int type) {
  if (reference != nullptr && reference == PSendArray.get()) return type != eatSTRING;
  if (reference != nullptr && reference == PPointCountVariable.get()) return type == eatINTEGER;
  return true;
}

bool TSendBinaryScript::CanReleaseVariable(TVariable* reference) {
  auto* data = dynamic_cast<TVariableData*>(reference);
  QORV_ASSERT_AS(data!=0&&data->GetData()!=0, "vardata!=0&&vardata->Data!=0");
  const int type = data->GetData()->GetDataType();
  if (!VariableNotify(reference, type)) return true;
  if (reference == PSendArray.get()) ABinaryType = type == eatINTEGER ? sbINT32 : sbFLOAT;
  return false;
}

void TSendBinaryScript::SetUpWithCount(TDevice* device, TDataArray* array,
                                       std::uint8_t binaryType, std::int32_t count) {
  PPointCount = count;
  PPointCountVariable.reset();
  SetUpArray(device, array, binaryType);
}

void TSendBinaryScript::SetUpWithCountVariable(TDevice* device, TDataArray* array,
                                               std::uint8_t binaryType,
                                               TDataSingle* countVariable) {
  QORV_ASSERT(countVariable!=0);
  PPointCount = -1;
  if (!PPointCountVariable) PPointCountVariable = std::make_unique<TVariableDataSingle>(this);
  PPointCountVariable->SetData(countVariable);
  SetUpArray(device, array, binaryType);
}

void TSendBinaryScript::SetUpWholeArray(TDevice* device, TDataArray* array,
                                        std::uint8_t binaryType) {
  PPointCount = -1;
  PPointCountVariable.reset();
  SetUpArray(device, array, binaryType);
}

void TSendBinaryScript::SetUpArray(TDevice* device, TDataArray* array, std::uint8_t binaryType) {
  QORV_ASSERT_AS(device!=0&&array!=0, "device!=0&&sendarray!=0");
  ABinaryType = binaryType;
  if (!PSendArray) PSendArray = std::make_unique<TVariableDataArray>(this);
  PSendArray->SetData(array);
  PSendArray->GetArrayIndex().ClearIndex();  // the whole array, no element
  SetDevice(device);
}

bool TSendBinaryScriptRequest::CanOpen() {
  Devices.clear();
  for (TDevice* device : CommandDevices())
    if (device->GetCommunication()) Devices.push_back(device);
  if (Script || !Devices.empty()) return true;
  Inform("Can only send commands to devices.  There are no devices defined.");
  return false;
}

TCopyScript* TSendBinaryScript::MakeCopyScript() {
  QORV_ASSERT(Device!=0);
  QORV_ASSERT_AS(PSendArray!=0, "sendarray!=0");
  auto* retvalue = new TCopySendBinary(Device, PSendArray.get(), PPointCountVariable.get(),
                                       PPointCount, ABinaryType);
  QORV_ASSERT(retvalue!=0);
  return retvalue;
}

void TSendBinaryScript::SetUp(TCopyScript* copyscript) {
  auto* sendbinary = dynamic_cast<TCopySendBinary*>(copyscript);
  QORV_ASSERT_AS(sendbinary!=0, "sendbinary!=0");
  QORV_ASSERT_AS(sendbinary->SendArray!=0&&sendbinary->SendArray->Data!=0,
                 "sendbinary->SendArray!=0&&sendbinary->SendArray->Data!=0");
  auto* sendarray = dynamic_cast<TDataArray*>(sendbinary->SendArray->Data);
  QORV_ASSERT_AS(sendarray!=0, "sendarray");
  TDevice* device = sendbinary->GetDevice();
  if (const TCopyVariableData* count = sendbinary->CountVariable.get()) {
    auto* pointdata = dynamic_cast<TDataSingle*>(count->Data);
    QORV_ASSERT_AS(pointdata!=0, "pointdata!=0");
    SetUpWithCountVariable(device, sendarray, sendbinary->BinaryType, pointdata);
  } else if (sendbinary->Count >= 0) {
    SetUpWithCount(device, sendarray, sendbinary->BinaryType, sendbinary->Count);
  } else {
    SetUpWholeArray(device, sendarray, sendbinary->BinaryType);
  }
}
