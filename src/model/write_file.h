// The document writer: every file of the system is written field by field through it.
// Primitives are little-endian with no padding. The bytes go to a temporary file beside
// the target, which replaces the target only when Commit() completes the save, so a
// failed save never destroys the previous file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/component.h"

class TScript;
class TVariable;

class TWriteFile {
public:
  // No file is created until the first write.
  TWriteFile(const std::string& fileName, bool blockExport = false);
  // Without Commit() the temporary file is removed and the target stays as it was.
  ~TWriteFile();
  TWriteFile(const TWriteFile&) = delete;
  TWriteFile& operator=(const TWriteFile&) = delete;

  // int32 count (characters + 1), the characters and a NUL.
  void WriteString(const std::string& text);
  void WriteInteger(std::int32_t value);
  void WriteFloat(float value);
  void WriteBool(bool value);
  void WriteComponent(const TComponent* component);
  void WriteIcon(const TIcon* icon);
  // The bytes of the text and nothing else, for text files; the file is made even for
  // an empty text.
  void WriteText(const std::string& text);
  // The file kind's header text, then the current version text.
  void WriteFileHeader(const std::string& header);

  // Identifier of an object of this document: its position in the object table + 100.
  std::int32_t GetObjectId(const void* object);

  // Commands written by a block export.
  std::vector<TScript*>& GetBlockScriptList();
  // References written by the exported commands; null unless exporting a block.
  std::vector<TVariable*>* GetBlockVariableList() { return BlockVariableList.get(); }
  bool IsBlockExport() const { return BlockExport; }
  const std::string& GetFileName() const { return FileName; }

  // Completes the save: the written bytes replace the target file. EFileError when the
  // bytes cannot be written in full; the target then stays as it was.
  void Commit();

private:
  void Create();
  void Write(const void* bytes, std::size_t count);
  void WriteRecord(const TComponentRecord& record);
  void Discard();

  std::FILE* Pfile = nullptr;
  std::string FileName;
  std::string Target;    // the file replaced: FileName, or the file a link names
  std::string TempName;  // beside Target
  // The object table: objects in order of first request, by identifier.
  std::unordered_map<const void*, std::int32_t> ObjectIds;
  std::unique_ptr<std::vector<TScript*>> BlockScriptList;
  std::unique_ptr<std::vector<TVariable*>> BlockVariableList;
  bool BlockExport;
};
