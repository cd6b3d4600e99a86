// The lower part of the command editor ("Edit Device Scripts"): one predefined command
// of a device as typed, its checks in the editor's order with their messages, and how
// a checked entry is written into a command.
#pragma once

#include <optional>
#include <string>

#include "communication/device_settings.h"

class TDeviceScript;

struct TDeviceScriptEntry {
  std::string Command;
  bool IsResponse = false;
  // Without a response: append the device's send characters (and EOI on GPIB).
  bool SendEndChars = true;
  // The response: "Intrepret As" (eatSTRING, eatINTEGER, eatFLOAT), "Read As" (rtASCII,
  // rtBINARY), bytes per point, whether the bytes read are stored, a constant number of
  // points or an array size with the points taken from a variable, the delimiter of an
  // ASCII array and the byte order of binary data.
  int ValueType = 0;
  int ReadAs = 0;
  std::string BytesPerPoint = "100";
  bool StoreByteCount = false;
  bool PointsFromVariable = false;
  std::string Points = "1";
  std::string Delimiter = ";";
  bool LeftToRight = true;
};

// The entry of a command (for its Edit).
TDeviceScriptEntry DeviceScriptEntryOf(const TDeviceScript& script);
// The checks of Add and UpDate, in order; none when they pass.
std::optional<TEntryRefusal> CheckDeviceScriptEntry(const TDeviceScriptEntry& entry);
// Writes a checked entry into the command (a response is made when the entry has one;
// a response already there stays when the entry has none).
void ApplyDeviceScriptEntry(TDeviceScript& script, const TDeviceScriptEntry& entry);
