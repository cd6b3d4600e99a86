// The settings harness's input: the values of a settings store as bytes, so that the
// fuzzer makes stores of any names, kinds and lengths. A sequence of records, read
// until the bytes run out (a record cut short is dropped):
//   kind     1 byte: bits 0-1 the value's kind (0 and 3 text, 1 integer, 2 another kind);
//            bit 7: a numbered name's index takes 4 bytes instead of 1
//   name     1 byte selector s, by s % 16:
//              0-8   the settings' own names, "AutoDetect" .. "NumberOfIconFiles"
//              9     "Experiment" + the index, 10 "IconFileName" + the index, in decimal
//              11    "Experiment" + 1 length byte and that many bytes after it
//              12    "IconFileName" + the same
//              13-15 a name of its own: 1 length byte and the bytes
//            the index: 1 byte, or 4 bytes little-endian read as an int32
//   value    text: 1 length byte and the bytes; integer: 4 bytes little-endian; other:
//            nothing
// A later record of the same name replaces the earlier one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "shell/memory_settings_store.h"

namespace settings_bytes {

TMemorySettingsStore Store(const std::uint8_t* data, std::size_t size);
// The bytes that make the store's values again.
std::string Bytes(const TMemorySettingsStore& store);

}  // namespace settings_bytes
