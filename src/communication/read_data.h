// The run-time read descriptors a Read command owns: built from a TReadResponse, saved in
// the command's record, they hold the read buffer and decode it into the command's single
// variable (TReadDataSingle) or the first elements of its array variable (TReadDataArray).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "communication/read_mechanics.h"

class TAttributeScript;
class TData;
class TReadFile;
class TReadResponse;
class TVariableDataSingle;
class TWriteFile;

// The largest read a descriptor asks for: 64 MiB.
constexpr std::int64_t MaxReadByteCount = 67108864;

// What a descriptor asks of the command that owns it.
class TReadDataOwner {
public:
  virtual ~TReadDataOwner() = default;
  // The owner of the points reference.
  virtual TAttributeScript* GetReadScript() = 0;
  // Change the exponent symbol D to E.
  virtual bool GetDToE() const = 0;
  // Consider whitespace a delimiter.
  virtual bool GetWhitespaceIsDelimiter() const = 0;
};

class TReadData {
public:
  // The owner is required.
  explicit TReadData(TReadDataOwner* owner);
  virtual ~TReadData();
  TReadData(const TReadData&) = delete;
  TReadData& operator=(const TReadData&) = delete;

  // Decodes the buffer into the variable (a single variable, or an array variable).
  virtual void Read(TData* data) = 0;
  // Replaces the decoder with one for the current settings (call after the terminators
  // are set). EExperimentError for binary words outside 1 to 4 bytes.
  virtual void CreateMechanics() = 0;
  // The printout text: "Reading as  ASCII 10 bytes" and the like.
  virtual std::string Describe() = 0;
  // Bytes per point, read type, and the byte order of a binary response.
  virtual void SetFromResponse(const TReadResponse& response);
  virtual void CopyToResponse(TReadResponse& response);
  // The record: int32 bytes per point, bool left to right, int32 read type.
  virtual void Save(TWriteFile& writer);
  // EReadError for a read type other than ASCII or binary.
  virtual void Load(TReadFile& reader);
  // 1 for a single read; an array's constant or its points variable's value, where
  // EExperimentError "Number of values to read <n> is invalid" below 1.
  virtual std::int32_t GetNumberPointsToRead() = 0;
  // "" for a single read; an array's "," + the points variable's name or the constant.
  virtual std::string GetNumberOfPointsText() = 0;
  virtual bool IsArray() const = 0;

  // A new buffer of GetByteCount + 1 zero bytes (the old one goes).
  char* AllocateBuffer();
  // Points to read times bytes per point, 0 when either is below 1. EExperimentError
  // "Read size of <n> bytes exceeds the limit of 67108864 bytes" above MaxReadByteCount.
  std::int64_t GetByteCount();
  // "Read ASCII" or "Read Binary".
  std::string GetText() const;

  char* GetBuffer() const { return AReadDataBuffer.get(); }
  std::int32_t GetBytesPerPoint() const { return ABytesPerPoint; }
  int GetReadType() const { return AReadType; }
  bool GetLeftToRight() const { return ALeftToRight; }
  std::int32_t GetTermChar() const { return ATermChar; }
  std::int32_t GetTermChar2() const { return ATermChar2; }
  // The device's two read terminators, copied before a run.
  void SetTermChars(std::int32_t termChar, std::int32_t termChar2) {
    ATermChar = termChar;
    ATermChar2 = termChar2;
  }
  TReadDataOwner* GetOwner() const { return Powner; }

protected:
  // GetByteCount for a number of points.
  std::int64_t ByteCountFor(std::int32_t points) const;
  // The bytes of the buffer the decoder may look at: the byte count, at most what the
  // buffer holds. The buffer must exist.
  std::int64_t DecodableBytes(std::int32_t points) const;
  // EExperimentError for a binary read with words outside 1 to 4 bytes.
  void CheckBinaryBytesPerPoint() const;

  std::int32_t ABytesPerPoint = 0;
  std::unique_ptr<char[]> AReadDataBuffer;
  std::int64_t ABufferBytes = 0;  // allocated, less the closing zero
  std::uint8_t AReadType = 0;     // rtASCII
  bool ALeftToRight = true;
  std::int32_t ATermChar = -1;
  std::int32_t ATermChar2 = -1;
  TReadDataOwner* Powner;
};

class TReadDataSingle : public TReadData {
public:
  explicit TReadDataSingle(TReadDataOwner* owner);
  ~TReadDataSingle() override;

  void Read(TData* data) override;
  void CreateMechanics() override;
  std::string Describe() override;
  // The base, then 1 point.
  void CopyToResponse(TReadResponse& response) override;
  std::int32_t GetNumberPointsToRead() override { return 1; }
  std::string GetNumberOfPointsText() override { return ""; }
  bool IsArray() const override { return false; }

private:
  std::unique_ptr<TSingleReadMechanics> PReadMechanics;
};

class TReadDataArray : public TReadData {
public:
  // Delimiter ";", 10 points, no points variable.
  explicit TReadDataArray(TReadDataOwner* owner);
  ~TReadDataArray() override;

  void Read(TData* data) override;
  void CreateMechanics() override;
  std::string Describe() override;
  // The base, the delimiter of an ASCII read, then the points: a new reference to the
  // response's points variable (which must be set) or its constant.
  void SetFromResponse(const TReadResponse& response) override;
  void CopyToResponse(TReadResponse& response) override;
  // The base, string delimiter, bool has a points variable, then the reference record or
  // int32 constant. A loaded reference waits in the reader's variable list.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  std::int32_t GetNumberPointsToRead() override;
  std::string GetNumberOfPointsText() override;
  bool IsArray() const override { return true; }

  const std::string& GetDelimiter() const { return PDelimiter; }
  std::int32_t GetNumPoints() const { return ANumPoints; }
  // The points reference; null for a constant number of points.
  TVariableDataSingle* GetDataNumPoints() const { return PDataNumPoints.get(); }

private:
  std::unique_ptr<TArrayReadMechanics> PReadMechanics;
  std::unique_ptr<TVariableDataSingle> PDataNumPoints;
  std::string PDelimiter = ";";
  std::int32_t ANumPoints = 10;
};
