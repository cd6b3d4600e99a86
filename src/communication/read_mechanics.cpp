#include "communication/read_mechanics.h"


#include "model/assertion.h"
#include "model/errors.h"
#include "model/text.h"
#include "model/value.h"
#include "model/value_array.h"

const char* const BinaryBytesPerPointText =
    "The number of bytes/point for binary data cannot be greater than 4";

namespace {

void CheckBinaryBytes(std::int32_t bytes) {
  if (bytes < 1 || bytes > 4) throw EExperimentError(BinaryBytesPerPointText);
}

}  // namespace

std::uint32_t AssembleRawWord(const char* buffer, std::int64_t length, std::int64_t offset,
                              std::int32_t bytes, bool leftToRight) {
  CheckBinaryBytes(bytes);
  std::uint32_t word = 0;
  for (std::int32_t i = 0; i < bytes; ++i) {
    const std::int64_t at = offset + i;
    if (at < 0 || at >= length) continue;  // not received: zero
    const std::uint32_t byte = static_cast<unsigned char>(buffer[at]);
    const int place = leftToRight ? i : bytes - 1 - i;
    word |= byte << (8 * place);
  }
  return word;
}

// TSingleReadMechanicsASCII

TSingleReadMechanicsASCII::TSingleReadMechanicsASCII(std::int32_t termChar, bool dToE)
    : ATermChar(termChar) {
  Options.DToE = dToE;
}

void TSingleReadMechanicsASCII::ReadValue(const char* buffer, std::int64_t byteCount,
                                          TValue* value) {
  QORV_ASSERT(ATermChar>=0);
  QORV_ASSERT(buffer!=0);
  QORV_ASSERT(value!=0);
  std::int64_t end = 0;
  while (end < byteCount && buffer[end] != '\0') ++end;
  std::string text = TrimText(std::string(buffer, static_cast<std::size_t>(end)));
  std::size_t stop = 0;
  while (stop < text.size() && static_cast<unsigned char>(text[stop]) != ATermChar) ++stop;
  text = TrimText(text.substr(0, stop));
  value->SetText(FilterNumberText(Options, text, value->GetType()));
}

// TSingleReadMechanicsBinary

TSingleReadMechanicsBinary::TSingleReadMechanicsBinary(bool leftToRight,
                                                       std::int32_t bytesPerValue)
    : ALeftToRight(leftToRight), Abytepervalue(bytesPerValue) {
  CheckBinaryBytes(bytesPerValue);
}

void TSingleReadMechanicsBinary::ReadValue(const char* buffer, std::int64_t byteCount,
                                           TValue* value) {
  QORV_ASSERT(buffer!=0);
  QORV_ASSERT(value!=0);
  value->SetNumber(static_cast<std::int32_t>(RawWord(buffer, byteCount, 0)));
}

std::uint32_t TSingleReadMechanicsBinary::RawWord(const char* buffer, std::int64_t byteCount,
                                                  std::int64_t offset) const {
  return AssembleRawWord(buffer, byteCount, offset, Abytepervalue, ALeftToRight);
}

// TArrayReadMechanicsASCII

TArrayReadMechanicsASCII::TArrayReadMechanicsASCII(std::int32_t termChar,
                                                   const std::string& delimiter, bool dToE)
    : ATermChar(termChar), PDelimiter(delimiter) {
  QORV_ASSERT(!delimiter.empty());
  Options.DToE = dToE;
}

void TArrayReadMechanicsASCII::ReadValues(const char* buffer, std::int64_t byteCount,
                                          TValueArray* array, std::int32_t count) {
  QORV_ASSERT(buffer!=0);
  QORV_ASSERT(array!=0);
  // The delimiter's first character, then the zero byte (counted).
  char delimiters[2] = {'\0', '\0'};
  int delimiterCount = 1;
  if (!PDelimiter.empty()) {
    delimiters[0] = PDelimiter[0];
    delimiterCount = 2;
  }
  const int type = array->GetType();
  std::int64_t position = 0;
  std::int32_t stored = 0;
  while (position < byteCount && stored < count) {
    const std::string token =
        ExtractToken(Options, buffer, byteCount, delimiters, delimiterCount, position, type);
    if (token.empty()) continue;
    array->SetElementText(token, stored);
    ++stored;
  }
}

// TArrayReadMechanicsBinary

TArrayReadMechanicsBinary::TArrayReadMechanicsBinary(bool leftToRight, std::int32_t bytesPerPoint)
    : ALeftToRight(leftToRight),
      ABytesPerPoint(bytesPerPoint),
      Pmechanics(std::make_unique<TSingleReadMechanicsBinary>(leftToRight, bytesPerPoint)) {}

void TArrayReadMechanicsBinary::ReadValues(const char* buffer, std::int64_t byteCount,
                                           TValueArray* array, std::int32_t count) {
  QORV_ASSERT(buffer!=0);
  QORV_ASSERT(array!=0);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint32_t word =
        Pmechanics->RawWord(buffer, byteCount, static_cast<std::int64_t>(i) * ABytesPerPoint);
    array->SetElementNumber(static_cast<std::int32_t>(word), i);
  }
}
