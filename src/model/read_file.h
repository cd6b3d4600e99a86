// The document reader: reads back, field by field, what the writer wrote. Every read
// is checked against the bytes left in the file, so a short, damaged or hostile file
// ends in EReadError and never in a large allocation or a read past its end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "model/component.h"
#include "model/id_table.h"
#include "model/read_variable_list.h"

class TDeviceAttributeScript;

// The message of a load that ran out of memory: the loader's own failure text, then why.
// The loaders catch std::bad_alloc at their boundary and give this instead.
std::string OutOfMemoryReadError(const std::string& failure);

class TReadFile {
public:
  // The file is opened read-only at the first read.
  explicit TReadFile(const std::string& fileName);
  ~TReadFile();
  TReadFile(const TReadFile&) = delete;
  TReadFile& operator=(const TReadFile&) = delete;

  // A count below 1 gives the empty text and reads nothing more; the characters are
  // taken up to the first NUL among the count bytes.
  std::string ReadString();
  void ReadInteger(std::int32_t& value);
  void ReadFloat(float& value);
  void ReadBool(bool& value);
  // Reads a component record into an existing component of the same class.
  void ReadComponent(TComponent* component);
  void ReadIcon(TIcon* icon);

  // Reads an element count: EReadError when it is negative or when that many elements
  // of at least minBytesEach bytes cannot stand in the rest of the file.
  std::int32_t ReadCount(std::size_t minBytesEach = 1);

  // Reads the header (EReadError with badFileMessage unless it is the expected text)
  // and the version text ("Cannot read this version number " + text when it cannot be
  // read).
  void ReadFileHeader(const std::string& header, const std::string& badFileMessage);

  // Keeps the text trimmed and its number in the version table (0 when empty or not
  // in the table).
  void SetVersion(const std::string& text);
  std::int32_t GetVersionNumber() const { return VersionNumber; }
  const std::string& GetVersionText() const { return VersionText; }

  // References read and waiting for their objects.
  TReadVariableList& GetVariableList();
  // Device commands read and waiting for their device.
  std::vector<TDeviceAttributeScript*>& GetDeviceAttributeScriptList();
  // The first of them read with the identifier; null when none. Found through an index
  // made again whenever the list has changed its size (devices are read after every
  // command, and only leave the list then).
  TDeviceAttributeScript* FindDeviceAttributeScript(std::int32_t identifier);

  // The identifiers of the commands read: a section's closing line looks for its opening
  // line among the lines just above it when the identifier names one command only, and
  // from the top of its level otherwise, where the first one counts.
  void NoteScriptId(std::int32_t identifier);
  bool IsScriptIdUnique(std::int32_t identifier) const;

  const std::string& GetFileName() const { return FileName; }
  std::uint64_t BytesLeft();

private:
  void Open();
  void Read(void* bytes, std::size_t count);
  TComponentRecord ReadRecord();

  std::FILE* Pfile = nullptr;
  // Reads come from this buffer, refilled in large pieces: documents are read a few
  // bytes at a time, and a library call per field would cost more than the field.
  std::vector<char> Buffer;
  std::size_t BufferAt = 0;
  std::string FileName;
  std::uint64_t Size = 0;
  std::uint64_t Position = 0;
  std::int32_t VersionNumber = 0;
  std::string VersionText;
  std::unique_ptr<TReadVariableList> VariableList;
  std::unique_ptr<std::vector<TDeviceAttributeScript*>> DeviceAttributeScriptList;
  // A writer numbers the objects it writes from 100 on, so identifiers below 100 + the
  // file's size are counted in place (up to 2) and only others go into the table.
  std::vector<std::uint8_t> DenseScriptIds;
  TIdTable<std::int32_t> ScriptIds;
  TIdTable<TDeviceAttributeScript*> DeviceScriptIndex;
  std::size_t DeviceScriptsIndexed = 0;
};
