#include "support/settings_bytes.h"

#include <array>
#include <cstring>

#include "model/number_text.h"

namespace settings_bytes {

namespace {

const std::array<const char*, 9> Names{
    "AutoDetect",      "NumberofNationalCards", "NumberofCECCards",    "NumberOfFiles",
    "OutputDirectory", "DeviceDirectory",       "ExperimentDirectory", "BlockDirectory",
    "NumberOfIconFiles"};
const char* const FilePrefix = "Experiment";
const char* const IconPrefix = "IconFileName";

enum : std::uint8_t { kText = 0, kInteger = 1, kOther = 2 };
enum : std::uint8_t { sFile = 9, sIcon = 10, sFileSuffix = 11, sIconSuffix = 12, sOwn = 13 };

class TBytesReader {
public:
  TBytesReader(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}
  bool Byte(std::uint8_t& value) {
    if (At >= Size) return false;
    value = Data[At++];
    return true;
  }
  bool Int32(std::int32_t& value) {
    if (Size - At < 4) return false;
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = bits << 8 | Data[At + static_cast<std::size_t>(i)];
    At += 4;
    value = static_cast<std::int32_t>(bits);
    return true;
  }
  bool Text(std::string& text) {
    std::uint8_t length = 0;
    if (!Byte(length) || Size - At < length) return false;
    text.assign(reinterpret_cast<const char*>(Data + At), length);
    At += length;
    return true;
  }

private:
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t At = 0;
};

bool Name(TBytesReader& in, std::uint8_t kind, std::string& name) {
  std::uint8_t selector = 0;
  if (!in.Byte(selector)) return false;
  selector %= 16;
  if (selector < Names.size()) {
    name = Names[selector];
    return true;
  }
  if (selector >= sOwn) return in.Text(name);
  const std::string prefix = selector == sFile || selector == sFileSuffix ? FilePrefix : IconPrefix;
  std::string suffix;
  if (selector == sFileSuffix || selector == sIconSuffix) {
    if (!in.Text(suffix)) return false;
  } else {
    std::int32_t index = 0;
    std::uint8_t small = 0;
    if (kind & 0x80) {
      if (!in.Int32(index)) return false;
    } else {
      if (!in.Byte(small)) return false;
      index = small;
    }
    suffix = NumberText::IntToText(index);
  }
  name = prefix + suffix;
  return true;
}

void Put(std::string& bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>(bits >> (8 * i) & 0xFF);
}

void PutText(std::string& bytes, const std::string& text) {
  const std::size_t length = text.size() < 255 ? text.size() : 255;
  bytes += static_cast<char>(length);
  bytes.append(text, 0, length);
}

// The index of a name numbered as written ("Experiment12"); false for others.
bool Numbered(const std::string& name, const char* prefix, std::int32_t& index) {
  const std::size_t length = std::strlen(prefix);
  if (name.compare(0, length, prefix) != 0) return false;
  const std::string digits = name.substr(length);
  return NumberText::TextToInt(digits, index) && NumberText::IntToText(index) == digits;
}

}  // namespace

TMemorySettingsStore Store(const std::uint8_t* data, std::size_t size) {
  TMemorySettingsStore store;
  TBytesReader in(data, size);
  std::uint8_t kind = 0;
  while (in.Byte(kind)) {
    std::string name;
    if (!Name(in, kind, name)) break;
    switch (kind & 3) {
      case kInteger: {
        std::int32_t value = 0;
        if (!in.Int32(value)) return store;
        store.Set(name, value);
        break;
      }
      case kOther:
        store.Set(name, TMemorySettingsStore::TOther{});
        break;
      default: {
        std::string text;
        if (!in.Text(text)) return store;
        store.Set(name, text);
      }
    }
  }
  return store;
}

std::string Bytes(const TMemorySettingsStore& store) {
  std::string bytes;
  for (const std::string& name : store.ValueNames()) {
    const TMemorySettingsStore::TValue& value = *store.Find(name);
    std::uint8_t kind = std::holds_alternative<std::int32_t>(value) ? kInteger
                        : std::holds_alternative<std::string>(value) ? kText
                                                                      : kOther;
    std::int32_t index = 0;
    std::string head;
    std::size_t selector = 0;
    while (selector < Names.size() && name != Names[selector]) ++selector;
    if (selector < Names.size()) {
      head += static_cast<char>(selector);
    } else if (Numbered(name, FilePrefix, index) || Numbered(name, IconPrefix, index)) {
      head += static_cast<char>(name.rfind(FilePrefix, 0) == 0 ? sFile : sIcon);
      if (index < 0 || index > 255) {
        kind |= 0x80;
        Put(head, index);
      } else {
        head += static_cast<char>(index);
      }
    } else {
      head += static_cast<char>(sOwn);
      PutText(head, name);
    }
    bytes += static_cast<char>(kind);
    bytes += head;
    if (kind & 3) {
      if ((kind & 3) == kInteger) Put(bytes, std::get<std::int32_t>(value));
    } else {
      PutText(bytes, std::get<std::string>(value));
    }
  }
  return bytes;
}

}  // namespace settings_bytes
