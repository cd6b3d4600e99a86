#include "communication/read_response.h"

#include "communication/communication.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/write_file.h"

namespace {

std::string TypeWord(int type) {
  switch (type) {
    case eatSTRING: return "String";
    case eatINTEGER: return "Integer";
    default: return "Float";
  }
}

std::string Decimal(std::int32_t value) { return NumberText::IntToText(value); }

}  // namespace

TReadResponse::TReadResponse(std::int32_t numPoints) : ABytesPerPoint(10), ANumPoints(numPoints) {}

void TReadResponse::ClearDataLinks() {
  ADataNumPoints = nullptr;
  ADataStoreByteCount = nullptr;
}

void TReadResponse::SetNumberOfPoints(std::int32_t n) {
  if (n <= 0) return;
  ANumPoints = n;
  SetNumberOfPointsFromData(false);
}

void TReadResponse::SetNumberOfPointsFromData(bool fromData) {
  AbNumPointsFromData = fromData;
  if (fromData) {
    ANumPoints = 0;
    if (AArraySize == 0) AArraySize = 10;
  } else {
    ADataNumPoints = nullptr;
    AArraySize = 0;
  }
}

void TReadResponse::SetArraySize(std::int32_t n) {
  if (n <= 0) return;
  AArraySize = n;
  SetNumberOfPointsFromData(true);
}

std::int32_t TReadResponse::GetArraySize() const {
  return AbNumPointsFromData ? AArraySize : ANumPoints;
}

void TReadResponse::SetNumberOfPointsData(TData* data) {
  if (!data) return;
  ADataNumPoints = data;
  ANumPoints = 0;
  AbNumPointsFromData = true;
}

void TReadResponse::SetByteCountData(TData* data) {
  if (!data) return;
  ADataStoreByteCount = data;
  AbStoreByteCount = true;
}

void TReadResponse::SetByteCountFromVariable(bool fromVariable) {
  AbStoreByteCount = fromVariable;
  if (!fromVariable) ADataStoreByteCount = nullptr;
}

void TReadResponse::SetReadAs(int readType, bool isArray) {
  QORV_ASSERT(readType==rtASCII||readType==rtBINARY);
  if (AReadType == rtASCII && readType == rtBINARY && ABytesPerPoint >= 5) ABytesPerPoint = 4;
  // isArray is the kind of the target; an array of one element may have a response of one
  // point, which is not refused here.
  if (readType == rtASCII && isArray && PDelimiter.empty()) PDelimiter = ";";
  AReadType = static_cast<std::uint8_t>(readType);
}

void TReadResponse::SetReadType(int readType) {
  QORV_ASSERT(readType==rtASCII||readType==rtBINARY);
  AReadType = static_cast<std::uint8_t>(readType);
}

void TReadResponse::SetValueType(int type) {
  QORV_ASSERT(type>=eatSTRING&&type<=eatFLOAT);
  AValueType = static_cast<std::uint8_t>(type);
}

void TReadResponse::AdjustToData(TData* data) {
  QORV_ASSERT(data!=0);
  const bool arrayTarget = data->IsArray();
  if (GetIsArray()) {
    if (!arrayTarget) {
      SetNumberOfPoints(1);
      QORV_ASSERT(!GetIsArray());
    } else if (!ADataNumPoints && ANumPoints > data->GetSize()) {
      SetNumberOfPoints(data->GetSize());
    }
  } else if (arrayTarget && !ADataNumPoints) {
    SetNumberOfPoints(data->GetSize());
  }
}

std::string TReadResponse::GetText() const {
  std::string points;
  if (AbNumPointsFromData)
    points = "[variable]";
  else if (ANumPoints > 1)
    points = "[" + Decimal(ANumPoints) + "]";
  return "Read(" + TypeWord(AValueType) + points + ")";
}

void TReadResponse::Describe(TReport& report) const {
  report.AddLine("\t\t\tResponse: " + TypeWord(AValueType));
  report.AddLine(std::string("\t\t\tRead As: ") + (AReadType == rtBINARY ? "Binary" : "ASCII"));
  report.AddLine("\t\t\tNumber of Bytes/Point: " + Decimal(ABytesPerPoint));
  if (GetIsArray()) {
    if (AbNumPointsFromData)
      report.AddLine("\t\t\tNumber of Points Variable.  Read Command Array size: " +
                     Decimal(AArraySize));
    else
      report.AddLine("\t\t\tNumber of Points: " + Decimal(ANumPoints));
    if (AReadType == rtASCII) report.AddLine("\t\t\tDelimiter: \"" + PDelimiter + "\"");
  }
  if (AReadType == rtBINARY && ABytesPerPoint > 1)
    report.AddLine(std::string("\t\t\tRead Order: ") +
                   (ALeftToRight ? "left to right" : "right to left"));
}

void TReadResponse::Save(TWriteFile& writer) const {
  writer.WriteInteger(AValueType);
  writer.WriteInteger(ANumPoints);
  writer.WriteInteger(AReadType);
  writer.WriteInteger(ABytesPerPoint);
  writer.WriteString(PDelimiter);
  writer.WriteBool(ALeftToRight);
  writer.WriteBool(AbStoreByteCount);
  writer.WriteBool(AbNumPointsFromData);
  writer.WriteInteger(AArraySize);
}

void TReadResponse::Load(TReadFile& reader) {
  TReadResponse read;
  std::int32_t valueType = 0, readType = 0;
  reader.ReadInteger(valueType);
  reader.ReadInteger(read.ANumPoints);
  reader.ReadInteger(readType);
  reader.ReadInteger(read.ABytesPerPoint);
  read.PDelimiter = reader.ReadString();
  reader.ReadBool(read.ALeftToRight);
  reader.ReadBool(read.AbStoreByteCount);
  reader.ReadBool(read.AbNumPointsFromData);
  reader.ReadInteger(read.AArraySize);
  const bool valid =
      valueType >= eatSTRING && valueType <= eatFLOAT && readType >= rtASCII &&
      readType <= rtBINARY && read.ANumPoints >= 0 && read.AArraySize >= 0 &&
      (readType == rtBINARY ? read.ABytesPerPoint >= 1 && read.ABytesPerPoint <= 4
                            : read.ABytesPerPoint >= 1);
  if (!valid) throw EReadError(InvalidDeviceRecordText);
  read.AValueType = static_cast<std::uint8_t>(valueType);
  read.AReadType = static_cast<std::uint8_t>(readType);
  if (read.IsASCIIArray() && read.PDelimiter.empty()) throw EReadError(InvalidDeviceRecordText);
  *this = read;  // the links are not in the record: none
}
