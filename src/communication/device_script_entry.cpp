#include "communication/device_script_entry.h"

#include <cstdint>

#include "communication/core_device.h"
#include "communication/read_response.h"
#include "model/number_text.h"
#include "model/text.h"

namespace {

// The entry's number, or nothing for a text that is not an integer.
std::optional<std::int32_t> IntegerOf(const std::string& text) {
  std::int32_t value = 0;
  if (!NumberText::TextToInt(TrimText(text), value)) return std::nullopt;
  return value;
}

TEntryRefusal Refuse(const char* message, const char* control) { return {message, control}; }

}  // namespace

TDeviceScriptEntry DeviceScriptEntryOf(const TDeviceScript& script) {
  TDeviceScriptEntry entry;
  entry.Command = script.GetCommand();
  entry.SendEndChars = script.GetSendEndChars();
  const TReadResponse* response = script.GetResponse();
  entry.IsResponse = response != nullptr;
  if (!response) return entry;
  entry.ValueType = response->GetValueType();
  entry.ReadAs = response->GetReadType();
  entry.BytesPerPoint = NumberText::IntToText(response->GetBytesPerPoint());
  entry.StoreByteCount = response->GetStoreByteCount();
  entry.PointsFromVariable = response->GetNumberOfPointsFromData();
  entry.Points = NumberText::IntToText(response->GetArraySize());
  entry.Delimiter = response->GetDelimiter();
  entry.LeftToRight = response->GetLeftToRight();
  return entry;
}

std::optional<TEntryRefusal> CheckDeviceScriptEntry(const TDeviceScriptEntry& entry) {
  if (entry.Command.empty()) return Refuse("You must enter a command", "CommandEdit");
  if (!entry.IsResponse) return std::nullopt;
  const bool variable = entry.PointsFromVariable;
  if (TrimText(entry.Points).empty())
    return variable ? Refuse("You must enter a Read Command array size.", "PointsEdit")
                    : Refuse("You must enter a number of points to read.", "PointsEdit");
  const std::optional<std::int32_t> points = IntegerOf(entry.Points);
  if (!points || *points < 1)
    return variable
               ? Refuse("The Read command array size must be an integer value greater than one.",
                        "PointsEdit")
               : Refuse("The number of points must be an integer value greater than zero.",
                        "PointsEdit");
  if (variable && *points == 1)
    return Refuse("The Read command array size must be an integer value greater than one.",
                  "PointsEdit");
  if (TrimText(entry.BytesPerPoint).empty())
    return Refuse("You must enter a number of bytes/point to read in", "BytesEdit");
  const std::optional<std::int32_t> bytes = IntegerOf(entry.BytesPerPoint);
  if (!bytes || *bytes < 1)
    return Refuse("The number of bytes/point must be an integer greater than zero", "BytesEdit");
  const bool binary = entry.ReadAs == rtBINARY;
  if (binary && *bytes >= 5)
    return Refuse("The number of bytes/point for binary data cannot be greater than 4",
                  "BytesEdit");
  const bool asciiArray = !binary && (variable || *points >= 2);
  if (asciiArray && entry.Delimiter.empty())
    return Refuse("The delimiter cannot be blank when reading in an ASCII array.",
                  "DelimiterEdit");
  if (asciiArray && entry.Delimiter.size() > 1)
    return Refuse("The delimiter cannot more than one character long.", "DelimiterEdit");
  return std::nullopt;
}

void ApplyDeviceScriptEntry(TDeviceScript& script, const TDeviceScriptEntry& entry) {
  script.SetCommand(entry.Command);
  if (entry.IsResponse) {
    script.EnsureResponse();
    TReadResponse& response = *script.GetResponse();
    response.SetValueType(entry.ValueType);
    const std::int32_t points = IntegerOf(entry.Points).value_or(1);
    if (entry.PointsFromVariable)
      response.SetArraySize(points);
    else
      response.SetNumberOfPoints(points);
    response.SetReadType(entry.ReadAs == rtBINARY ? rtBINARY : rtASCII);
    response.SetByteCountFromVariable(entry.StoreByteCount);
    response.SetBytesPerPoint(IntegerOf(entry.BytesPerPoint).value_or(1));
    if (entry.ReadAs == rtBINARY) response.SetLeftToRight(entry.LeftToRight);
    if (response.IsASCIIArray()) response.SetDelimiter(entry.Delimiter);
  }
  script.SetSendEndChars(entry.SendEndChars);
}
