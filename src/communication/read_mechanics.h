// The decoders that turn a read buffer into one value or into the first elements of an
// array: ASCII text through the number filter, or binary words of 1 to 4 bytes in either
// byte order. A read descriptor (read_data.h) creates and owns them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "communication/number_token.h"

class TValue;
class TValueArray;

// The message for binary words of another size than 1 to 4 bytes.
extern const char* const BinaryBytesPerPointText;

// The raw 32-bit word of `bytes` (1..4) bytes from offset: left to right, byte offset+i is
// byte i of the word (the first is the least significant); right to left, it is byte
// bytes-1-i (the first is the most significant). No sign extension. Bytes at or beyond
// length count as zero. EExperimentError(BinaryBytesPerPointText) for another size.
std::uint32_t AssembleRawWord(const char* buffer, std::int64_t length, std::int64_t offset,
                              std::int32_t bytes, bool leftToRight);

class TSingleReadMechanics {
public:
  virtual ~TSingleReadMechanics() = default;
  // Sets the value from the first byteCount bytes of the buffer.
  virtual void ReadValue(const char* buffer, std::int64_t byteCount, TValue* value) = 0;
};

class TSingleReadMechanicsASCII : public TSingleReadMechanics {
public:
  // termChar: the device's first read terminator, where the value's text ends.
  TSingleReadMechanicsASCII(std::int32_t termChar, bool dToE);

  // The text up to the first zero byte, trimmed, up to the terminator, trimmed again,
  // filtered for the value's type, then set (the value's conversion error propagates).
  void ReadValue(const char* buffer, std::int64_t byteCount, TValue* value) override;

private:
  std::int32_t ATermChar;
  TNumberOptions Options;  // D to E; blanks are no concern of a single value
};

class TSingleReadMechanicsBinary : public TSingleReadMechanics {
public:
  // EExperimentError(BinaryBytesPerPointText) unless 1 <= bytesPerValue <= 4.
  TSingleReadMechanicsBinary(bool leftToRight, std::int32_t bytesPerValue);

  // The raw word of the first bytes, set as a number (SetNumber).
  void ReadValue(const char* buffer, std::int64_t byteCount, TValue* value) override;
  // The raw word of the bytes from offset.
  std::uint32_t RawWord(const char* buffer, std::int64_t byteCount, std::int64_t offset) const;

private:
  bool ALeftToRight;
  std::int32_t Abytepervalue;
};

class TArrayReadMechanics {
public:
  virtual ~TArrayReadMechanics() = default;
  // Stores up to count values into elements 0, 1, ... of the array.
  virtual void ReadValues(const char* buffer, std::int64_t byteCount, TValueArray* array,
                          std::int32_t count) = 0;
  virtual void SetSpaceIsDelimiter(bool spaceIsDelimiter) { (void)spaceIsDelimiter; }
};

class TArrayReadMechanicsASCII : public TArrayReadMechanics {
public:
  // The delimiter must not be empty; only its first character delimits.
  TArrayReadMechanicsASCII(std::int32_t termChar, const std::string& delimiter, bool dToE);

  // Tokens (ExtractToken) are stored in turn; empty tokens store nothing, elements after
  // the last one stored keep their values.
  void ReadValues(const char* buffer, std::int64_t byteCount, TValueArray* array,
                  std::int32_t count) override;
  void SetSpaceIsDelimiter(bool spaceIsDelimiter) override {
    Options.SpaceIsDelimiter = spaceIsDelimiter;
  }

private:
  std::int32_t ATermChar;  // kept; tokens end at delimiters only
  std::string PDelimiter;
  TNumberOptions Options;  // D to E, and blanks as delimiters
};

class TArrayReadMechanicsBinary : public TArrayReadMechanics {
public:
  // EExperimentError(BinaryBytesPerPointText) unless 1 <= bytesPerPoint <= 4.
  TArrayReadMechanicsBinary(bool leftToRight, std::int32_t bytesPerPoint);

  // Value i is the raw word at offset i * bytes per point (SetElementNumber).
  void ReadValues(const char* buffer, std::int64_t byteCount, TValueArray* array,
                  std::int32_t count) override;

private:
  bool ALeftToRight;
  std::int32_t ABytesPerPoint;
  std::unique_ptr<TSingleReadMechanicsBinary> Pmechanics;
};
