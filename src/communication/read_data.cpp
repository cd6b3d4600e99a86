#include "communication/read_data.h"

#include <algorithm>
#include <vector>

#include "communication/read_response.h"
#include "model/assertion.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"

namespace {

std::string Decimal(std::int64_t value) { return NumberText::IntToText(value); }

std::string ByteOrderText(bool leftToRight) {
  return leftToRight ? "from left to right " : "from right to left ";
}

}  // namespace

// TReadData

TReadData::TReadData(TReadDataOwner* owner) : Powner(owner) { QORV_ASSERT(owner!=0); }

TReadData::~TReadData() = default;

void TReadData::SetFromResponse(const TReadResponse& response) {
  ABytesPerPoint = response.GetBytesPerPoint();
  AReadType = static_cast<std::uint8_t>(response.GetReadType());
  if (AReadType == rtBINARY) ALeftToRight = response.GetLeftToRight();
}

void TReadData::CopyToResponse(TReadResponse& response) {
  response.SetBytesPerPoint(ABytesPerPoint);
  response.SetReadType(AReadType);
  if (AReadType == rtBINARY) response.SetLeftToRight(ALeftToRight);
}

void TReadData::Save(TWriteFile& writer) {
  writer.WriteInteger(ABytesPerPoint);
  writer.WriteBool(ALeftToRight);
  writer.WriteInteger(AReadType);
}

void TReadData::Load(TReadFile& reader) {
  std::int32_t bytesPerPoint = 0, readType = 0;
  bool leftToRight = true;
  reader.ReadInteger(bytesPerPoint);
  reader.ReadBool(leftToRight);
  reader.ReadInteger(readType);
  if (readType != rtASCII && readType != rtBINARY)
    throw EReadError("Invalid read type " + Decimal(readType) + " in a Read command");
  ABytesPerPoint = bytesPerPoint;
  ALeftToRight = leftToRight;
  AReadType = static_cast<std::uint8_t>(readType);
}

char* TReadData::AllocateBuffer() {
  const std::int64_t count = GetByteCount();  // refuses a size over the limit first
  AReadDataBuffer.reset();
  ABufferBytes = 0;
  AReadDataBuffer = std::make_unique<char[]>(static_cast<std::size_t>(count) + 1);  // zeros
  ABufferBytes = count;
  return AReadDataBuffer.get();
}

std::int64_t TReadData::GetByteCount() { return ByteCountFor(GetNumberPointsToRead()); }

std::string TReadData::GetText() const {
  return std::string("Read ") + (AReadType == rtBINARY ? "Binary" : "ASCII");
}

std::int64_t TReadData::ByteCountFor(std::int32_t points) const {
  if (points < 1 || ABytesPerPoint < 1) return 0;
  const std::int64_t count = static_cast<std::int64_t>(points) * ABytesPerPoint;
  if (count > MaxReadByteCount)
    throw EExperimentError("Read size of " + Decimal(count) + " bytes exceeds the limit of " +
                           Decimal(MaxReadByteCount) + " bytes");
  return count;
}

std::int64_t TReadData::DecodableBytes(std::int32_t points) const {
  QORV_ASSERT(AReadDataBuffer!=0);
  // The points variable may have changed since the buffer was made: never past its end.
  return std::min(ByteCountFor(points), ABufferBytes);
}

void TReadData::CheckBinaryBytesPerPoint() const {
  if (AReadType == rtBINARY && (ABytesPerPoint < 1 || ABytesPerPoint > 4))
    throw EExperimentError(BinaryBytesPerPointText);
}

// TReadDataSingle

TReadDataSingle::TReadDataSingle(TReadDataOwner* owner) : TReadData(owner) {}

TReadDataSingle::~TReadDataSingle() = default;

void TReadDataSingle::Read(TData* data) {
  auto* single = dynamic_cast<TDataSingle*>(data);
  QORV_ASSERT(single!=0);
  CheckBinaryBytesPerPoint();
  QORV_ASSERT(PReadMechanics!=0);
  const std::int64_t bytes = DecodableBytes(1);
  const auto lock = single->LockValues();
  PReadMechanics->ReadValue(AReadDataBuffer.get(), bytes, &single->GetValue());
}

void TReadDataSingle::CreateMechanics() {
  PReadMechanics.reset();
  CheckBinaryBytesPerPoint();
  if (AReadType == rtBINARY)
    PReadMechanics = std::make_unique<TSingleReadMechanicsBinary>(ALeftToRight, ABytesPerPoint);
  else
    PReadMechanics = std::make_unique<TSingleReadMechanicsASCII>(ATermChar, Powner->GetDToE());
}

std::string TReadDataSingle::Describe() {
  const std::string bytes = Decimal(ABytesPerPoint);
  if (AReadType != rtBINARY) return "Reading as " + std::string(" ASCII ") + bytes + " bytes";
  return "Reading as " + std::string(" Binary ") + bytes + " bytes" + ".  Read bytes from " +
         ByteOrderText(ALeftToRight) + "to convert to values";
}

void TReadDataSingle::CopyToResponse(TReadResponse& response) {
  TReadData::CopyToResponse(response);
  response.SetNumberOfPoints(1);
}

// TReadDataArray

TReadDataArray::TReadDataArray(TReadDataOwner* owner) : TReadData(owner) {}

TReadDataArray::~TReadDataArray() = default;

void TReadDataArray::Read(TData* data) {
  auto* array = dynamic_cast<TDataArray*>(data);
  QORV_ASSERT(array!=0);
  CheckBinaryBytesPerPoint();
  QORV_ASSERT(PReadMechanics!=0);
  const std::int32_t points = GetNumberPointsToRead();
  const std::int64_t bytes = DecodableBytes(points);
  PReadMechanics->SetSpaceIsDelimiter(Powner->GetWhitespaceIsDelimiter());
  const auto lock = array->LockValues();
  TValueArray& values = array->GetValueArray();
  if (!values.HasStorage()) values.GetElementText(0);  // reading an element creates the storage
  PReadMechanics->ReadValues(AReadDataBuffer.get(), bytes, &values, points);
}

void TReadDataArray::CreateMechanics() {
  PReadMechanics.reset();
  CheckBinaryBytesPerPoint();
  if (AReadType == rtBINARY) {
    PReadMechanics = std::make_unique<TArrayReadMechanicsBinary>(ALeftToRight, ABytesPerPoint);
  } else {
    QORV_ASSERT(!PDelimiter.empty());
    PReadMechanics =
        std::make_unique<TArrayReadMechanicsASCII>(ATermChar, PDelimiter, Powner->GetDToE());
  }
}

std::string TReadDataArray::Describe() {
  const std::string bytes = Decimal(ABytesPerPoint);
  const std::string points =
      PDataNumPoints ? PDataNumPoints->GetDescription() : Decimal(ANumPoints);
  if (AReadType != rtBINARY)
    return "Reading as" + std::string(" ASCII, ") + bytes + " bytes//" + points +
           " values delimited by " + PDelimiter + " ";
  return "Reading as" + std::string(" Binary, ") + bytes + " bytes//" + points +
         ". Read bytes " + ByteOrderText(ALeftToRight) + " to convert to values.";
}

void TReadDataArray::SetFromResponse(const TReadResponse& response) {
  TReadData::SetFromResponse(response);
  // A one-point response may have no delimiter; an array cut at none cannot be read.
  if (AReadType == rtASCII && !response.GetDelimiter().empty())
    PDelimiter = response.GetDelimiter();
  if (response.GetNumberOfPointsFromData()) {
    QORV_ASSERT(response.GetDataNumPoints()!=0);
    auto reference = std::make_unique<TVariableDataSingle>(Powner->GetReadScript());
    reference->SetData(response.GetDataNumPoints());
    PDataNumPoints = std::move(reference);
    ANumPoints = 0;
  } else {
    PDataNumPoints.reset();
    ANumPoints = response.GetNumberOfPoints();
  }
}

void TReadDataArray::CopyToResponse(TReadResponse& response) {
  TReadData::CopyToResponse(response);
  if (AReadType == rtASCII) response.SetDelimiter(PDelimiter);
  if (PDataNumPoints)
    response.SetNumberOfPointsData(PDataNumPoints->GetData());
  else
    response.SetNumberOfPoints(ANumPoints);
}

void TReadDataArray::Save(TWriteFile& writer) {
  TReadData::Save(writer);
  writer.WriteString(PDelimiter);
  writer.WriteBool(PDataNumPoints != nullptr);
  if (!PDataNumPoints) {
    writer.WriteInteger(ANumPoints);
    return;
  }
  PDataNumPoints->Save(writer);
  // An exported points variable travels with the block and counts this user.
  std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  if (exported && std::find(exported->begin(), exported->end(), PDataNumPoints.get()) ==
                      exported->end())
    exported->push_back(PDataNumPoints.get());
}

void TReadDataArray::Load(TReadFile& reader) {
  TReadData::Load(reader);
  PDelimiter = reader.ReadString();
  bool hasVariable = false;
  reader.ReadBool(hasVariable);
  if (!hasVariable) {
    PDataNumPoints.reset();
    reader.ReadInteger(ANumPoints);
    return;
  }
  auto reference = std::make_unique<TVariableDataSingle>(Powner->GetReadScript());
  reference->Load(reader);
  reader.GetVariableList().Add(reference.get());
  PDataNumPoints = std::move(reference);
  ANumPoints = -1;
}

std::int32_t TReadDataArray::GetNumberPointsToRead() {
  const std::int32_t points = PDataNumPoints ? PDataNumPoints->GetInteger() : ANumPoints;
  if (points < 1)
    throw EExperimentError("Number of values to read " + Decimal(points) + " is invalid");
  return points;
}

std::string TReadDataArray::GetNumberOfPointsText() {
  return "," + (PDataNumPoints ? PDataNumPoints->GetDescription() : Decimal(ANumPoints));
}
