#include "model/read_file.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/qorv_version.h"
#include "model/text.h"
#include "scripts/device/device_attribute_script.h"

namespace {
const char* const StreamReadError = "Stream read error";
constexpr std::size_t BufferSize = 64 * 1024;
}

std::string OutOfMemoryReadError(const std::string& failure) {
  return failure + "\rNot enough memory to read the file.";
}

TReadFile::TReadFile(const std::string& fileName) : FileName(fileName) {}

TReadFile::~TReadFile() {
  if (Pfile) std::fclose(Pfile);
}

void TReadFile::Open() {
  Pfile = std::fopen(FileName.c_str(), "rb");
  struct stat info {};
  if (Pfile && (::fstat(fileno(Pfile), &info) != 0 || !S_ISREG(info.st_mode))) {
    std::fclose(Pfile);
    Pfile = nullptr;
    errno = EISDIR;
  }
  if (!Pfile)
    throw EFileError("Cannot open file \"" + FileName + "\". " + std::strerror(errno));
  Size = static_cast<std::uint64_t>(info.st_size);
}

std::uint64_t TReadFile::BytesLeft() {
  if (!Pfile) Open();
  return Size - Position;
}

void TReadFile::Read(void* bytes, std::size_t count) {
  if (count > BytesLeft()) throw EReadError(StreamReadError);
  auto* out = static_cast<char*>(bytes);
  while (count > 0) {
    if (BufferAt == Buffer.size()) {
      // Large reads go straight to their destination.
      if (count >= BufferSize) {
        if (std::fread(out, 1, count, Pfile) != count) throw EReadError(StreamReadError);
        Position += count;
        return;
      }
      Buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(BufferSize, Size - Position)));
      BufferAt = 0;
      if (std::fread(Buffer.data(), 1, Buffer.size(), Pfile) != Buffer.size())
        throw EReadError(StreamReadError);
    }
    const std::size_t taken = std::min(count, Buffer.size() - BufferAt);
    std::memcpy(out, Buffer.data() + BufferAt, taken);
    BufferAt += taken;
    out += taken;
    count -= taken;
    Position += taken;
  }
}

void TReadFile::ReadInteger(std::int32_t& value) {
  unsigned char bytes[4];
  Read(bytes, 4);
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | bytes[i];
  value = static_cast<std::int32_t>(bits);
}

void TReadFile::ReadFloat(float& value) {
  std::int32_t bits;
  ReadInteger(bits);
  value = std::bit_cast<float>(bits);
}

void TReadFile::ReadBool(bool& value) {
  unsigned char byte;
  Read(&byte, 1);
  value = byte != 0;
}

std::string TReadFile::ReadString() {
  std::int32_t count;
  ReadInteger(count);
  if (count < 1) return std::string();
  if (static_cast<std::uint64_t>(count) > BytesLeft()) throw EReadError(StreamReadError);
  std::string text(static_cast<std::size_t>(count), '\0');
  Read(text.data(), text.size());
  text.resize(std::strlen(text.c_str()));  // up to the first NUL, all bytes when none
  return text;
}

std::int32_t TReadFile::ReadCount(std::size_t minBytesEach) {
  std::int32_t count;
  ReadInteger(count);
  if (count < 0 || static_cast<std::uint64_t>(count) * minBytesEach > BytesLeft())
    throw EReadError(StreamReadError);
  return count;
}

TComponentRecord TReadFile::ReadRecord() {
  TComponentRecord record;
  record.ClassName = ReadString();
  // A property takes at least a name count, a kind and a one-byte value.
  const std::int32_t count = ReadCount(9);
  for (std::int32_t i = 0; i < count; ++i) {
    TProperty property;
    property.Name = ReadString();
    std::int32_t kind;
    ReadInteger(kind);
    switch (kind) {
      case 0: {
        std::int32_t value;
        ReadInteger(value);
        property.Value = value;
        break;
      }
      case 1: {
        bool value;
        ReadBool(value);
        property.Value = value;
        break;
      }
      case 2: property.Value = ReadString(); break;
      case 3: {
        float value;
        ReadFloat(value);
        property.Value = value;
        break;
      }
      case 4: {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(ReadCount()));
        if (!bytes.empty()) Read(bytes.data(), bytes.size());
        property.Value = std::move(bytes);
        break;
      }
      default: throw EReadError("Invalid property value in " + record.ClassName);
    }
    record.Properties.push_back(std::move(property));
  }
  return record;
}

void TReadFile::ReadComponent(TComponent* component) {
  QORV_ASSERT(component!=0);
  const TComponentRecord record = ReadRecord();
  if (record.ClassName != component->GetClassName())
    throw EReadError("Expected " + component->GetClassName() + " but read " + record.ClassName);
  component->SetProperties(record);
}

void TReadFile::ReadIcon(TIcon* icon) {
  QORV_ASSERT(icon!=0);
  const TComponentRecord record = ReadRecord();
  const auto* picture = record.Find<std::vector<std::uint8_t>>("Picture");
  if (record.ClassName != "TImage" || !picture)
    throw EReadError("Expected TImage but read " + record.ClassName);
  icon->Image = *picture;
}

void TReadFile::ReadFileHeader(const std::string& header, const std::string& badFileMessage) {
  std::string found;
  try {
    found = ReadString();
  } catch (const EReadError&) {
    throw EReadError(badFileMessage);  // too short, or not a document at all
  }
  if (found != header) throw EReadError(badFileMessage);
  const std::string version = ReadString();
  SetVersion(version);
  if (!QorvVersion->CanReadVersion(version))
    throw EReadError("Cannot read this version number " + version);
}

void TReadFile::SetVersion(const std::string& text) {
  VersionText = TrimText(text);
  VersionNumber = VersionText.empty() ? 0 : QorvVersion->GetVersionNumber(VersionText);
}

TDeviceAttributeScript* TReadFile::FindDeviceAttributeScript(std::int32_t identifier) {
  const std::vector<TDeviceAttributeScript*>& read = GetDeviceAttributeScriptList();
  if (DeviceScriptsIndexed != read.size()) {
    DeviceScriptIndex.Clear();
    for (TDeviceAttributeScript* script : read) {
      TDeviceAttributeScript*& first = DeviceScriptIndex[script->PreadscriptID];
      if (!first) first = script;
    }
    DeviceScriptsIndexed = read.size();
  }
  TDeviceAttributeScript* const* found = DeviceScriptIndex.Find(identifier);
  return found ? *found : nullptr;
}

void TReadFile::NoteScriptId(std::int32_t identifier) {
  if (identifier >= 0 && static_cast<std::uint64_t>(identifier) < 100 + Size) {
    const auto at = static_cast<std::size_t>(identifier);
    if (at >= DenseScriptIds.size()) DenseScriptIds.resize(std::max(at + 1, 2 * DenseScriptIds.size()));
    if (DenseScriptIds[at] < 2) ++DenseScriptIds[at];
    return;
  }
  ++ScriptIds[identifier];
}

bool TReadFile::IsScriptIdUnique(std::int32_t identifier) const {
  if (identifier >= 0 && static_cast<std::uint64_t>(identifier) < 100 + Size) {
    const auto at = static_cast<std::size_t>(identifier);
    return at < DenseScriptIds.size() && DenseScriptIds[at] == 1;
  }
  const std::int32_t* count = ScriptIds.Find(identifier);
  return count && *count == 1;
}

TReadVariableList& TReadFile::GetVariableList() {
  if (!VariableList) VariableList = std::make_unique<TReadVariableList>();
  return *VariableList;
}

std::vector<TDeviceAttributeScript*>& TReadFile::GetDeviceAttributeScriptList() {
  if (!DeviceAttributeScriptList)
    DeviceAttributeScriptList = std::make_unique<std::vector<TDeviceAttributeScript*>>();
  return *DeviceAttributeScriptList;
}
