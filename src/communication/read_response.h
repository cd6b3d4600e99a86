// The editable description of an instrument's response: what a device command or a Read
// dialog expects to receive (value type, ASCII or binary, bytes per point, byte order,
// delimiter, number of points) and the optional links to the variables that give the
// number of points or receive the number of bytes read. The links are never stored.
#pragma once

#include <cstdint>
#include <string>

class TData;
class TReadFile;
class TReport;
class TWriteFile;

// How a response's bytes are taken (one byte in records).
enum TReadType : std::uint8_t { rtASCII = 0, rtBINARY = 1 };

class TReadResponse {
public:
  // A single ASCII string value of up to 100 characters, delimiter ";".
  TReadResponse() = default;
  // The same with 10 bytes per point and the number of points given.
  explicit TReadResponse(std::int32_t numPoints);

  // Drops both variable links (their flags stay as they are).
  void ClearDataLinks();

  // Points come from a variable, or more than one point.
  bool GetIsArray() const { return AbNumPointsFromData || ANumPoints > 1; }
  bool IsASCIIArray() const { return AReadType == rtASCII && GetIsArray(); }

  // Ignored unless n > 0; else a constant number of points.
  void SetNumberOfPoints(std::int32_t n);
  // On: the points come from a variable (array size 10 when it was 0); off: the points
  // variable goes and the array size becomes 0.
  void SetNumberOfPointsFromData(bool fromData);
  // Ignored unless n > 0; else the array size, with the points from a variable.
  void SetArraySize(std::int32_t n);
  // The array size while the points come from a variable, else the number of points.
  std::int32_t GetArraySize() const;
  // Ignored for null; else the points come from this variable.
  void SetNumberOfPointsData(TData* data);
  // Ignored for null; else the number of bytes read goes to this variable.
  void SetByteCountData(TData* data);
  // Off also drops the byte-count variable.
  void SetByteCountFromVariable(bool fromVariable);
  // Switches the read type (rtASCII or rtBINARY): to binary, 5 or more bytes per point
  // become 4; to ASCII for an array, an empty delimiter becomes ";".
  void SetReadAs(int readType, bool isArray);
  // Fits the number of points to the target variable (required).
  void AdjustToData(TData* data);

  // "Read(Float[12])", "Read(String)", "Read(Integer[variable])". Responses without links.
  std::string GetText() const;
  // The printout lines of the response. Responses without links.
  void Describe(TReport& report) const;

  // The record: value type, points, read type, bytes per point, delimiter, byte order,
  // store byte count, points from variable, array size.
  void Save(TWriteFile& writer) const;
  // Reads the record; the links stay null. EReadError(InvalidDeviceRecordText) for
  // settings out of range (a type, bytes per point, a negative count, an ASCII array
  // without delimiter).
  void Load(TReadFile& reader);

  std::int32_t GetBytesPerPoint() const { return ABytesPerPoint; }
  void SetBytesPerPoint(std::int32_t bytes) { ABytesPerPoint = bytes; }
  bool GetLeftToRight() const { return ALeftToRight; }
  void SetLeftToRight(bool leftToRight) { ALeftToRight = leftToRight; }
  int GetReadType() const { return AReadType; }
  // Stores rtASCII or rtBINARY as it is (SetReadAs adjusts the other fields).
  void SetReadType(int readType);
  const std::string& GetDelimiter() const { return PDelimiter; }
  void SetDelimiter(const std::string& delimiter) { PDelimiter = delimiter; }
  std::int32_t GetNumberOfPoints() const { return ANumPoints; }
  bool GetNumberOfPointsFromData() const { return AbNumPointsFromData; }
  TData* GetDataNumPoints() const { return ADataNumPoints; }
  TData* GetDataStoreByteCount() const { return ADataStoreByteCount; }
  bool GetStoreByteCount() const { return AbStoreByteCount; }
  int GetValueType() const { return AValueType; }
  // eatSTRING, eatINTEGER or eatFLOAT.
  void SetValueType(int type);

private:
  std::int32_t ABytesPerPoint = 100;
  bool ALeftToRight = true;
  std::uint8_t AReadType = rtASCII;
  std::string PDelimiter = ";";
  std::int32_t ANumPoints = 1;
  TData* ADataNumPoints = nullptr;
  std::int32_t AArraySize = 0;
  TData* ADataStoreByteCount = nullptr;
  bool AbNumPointsFromData = false;
  bool AbStoreByteCount = false;
  std::uint8_t AValueType = 0;  // eatSTRING
};
