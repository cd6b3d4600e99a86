#include "model/write_file.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/qorv_version.h"

namespace {

std::string SystemReason() { return std::strerror(errno); }

}  // namespace

TWriteFile::TWriteFile(const std::string& fileName, bool blockExport)
    : FileName(fileName), BlockExport(blockExport) {
  if (BlockExport) BlockVariableList = std::make_unique<std::vector<TVariable*>>();
}

TWriteFile::~TWriteFile() { Discard(); }

void TWriteFile::Discard() {
  if (!Pfile) return;
  std::fclose(Pfile);
  Pfile = nullptr;
  std::remove(TempName.c_str());
}

void TWriteFile::Create() {
  // Saving through a link replaces the file it points to, and keeps that file's mode.
  std::error_code error;
  std::filesystem::path target = FileName;
  if (std::filesystem::is_symlink(target, error)) {
    const auto resolved = std::filesystem::weakly_canonical(target, error);
    if (!error) target = resolved;
  }
  Target = target.string();
  TempName = Target + ".saving~";
  Pfile = std::fopen(TempName.c_str(), "wb");
  if (!Pfile) throw EFileError("Cannot create file \"" + FileName + "\". " + SystemReason());
  struct stat info {};
  if (::stat(Target.c_str(), &info) == 0) ::fchmod(fileno(Pfile), info.st_mode & 07777);
}

void TWriteFile::Write(const void* bytes, std::size_t count) {
  if (!Pfile) Create();
  if (std::fwrite(bytes, 1, count, Pfile) != count) {
    const std::string reason = SystemReason();
    Discard();
    throw EFileError("Cannot write file \"" + FileName + "\". " + reason);
  }
}

void TWriteFile::WriteInteger(std::int32_t value) {
  unsigned char bytes[4];
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
  Write(bytes, 4);
}

void TWriteFile::WriteString(const std::string& text) {
  WriteInteger(static_cast<std::int32_t>(text.size() + 1));
  Write(text.c_str(), text.size() + 1);
}

void TWriteFile::WriteFloat(float value) {
  WriteInteger(static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value)));
}

void TWriteFile::WriteBool(bool value) {
  const unsigned char byte = value ? 1 : 0;
  Write(&byte, 1);
}

void TWriteFile::WriteRecord(const TComponentRecord& record) {
  WriteString(record.ClassName);
  WriteInteger(static_cast<std::int32_t>(record.Properties.size()));
  for (const auto& property : record.Properties) {
    WriteString(property.Name);
    WriteInteger(static_cast<std::int32_t>(property.Value.index()));
    std::visit(
        [this](const auto& value) {
          using T = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<T, std::int32_t>) WriteInteger(value);
          else if constexpr (std::is_same_v<T, bool>) WriteBool(value);
          else if constexpr (std::is_same_v<T, std::string>) WriteString(value);
          else if constexpr (std::is_same_v<T, float>) WriteFloat(value);
          else {
            WriteInteger(static_cast<std::int32_t>(value.size()));
            if (!value.empty()) Write(value.data(), value.size());
          }
        },
        property.Value);
  }
}

void TWriteFile::WriteComponent(const TComponent* component) {
  QORV_ASSERT(component!=0);
  TComponentRecord record;
  record.ClassName = component->GetClassName();
  component->GetProperties(record);
  WriteRecord(record);
}

void TWriteFile::WriteIcon(const TIcon* icon) {
  QORV_ASSERT(icon!=0);
  WriteRecord({"TImage", {{"Picture", icon->Image}}});
}

void TWriteFile::WriteText(const std::string& text) {
  if (!Pfile) Create();
  if (!text.empty()) Write(text.data(), text.size());
}

void TWriteFile::WriteFileHeader(const std::string& header) {
  WriteString(header);
  WriteString(QorvVersion->GetCurrentVersion());
}

std::int32_t TWriteFile::GetObjectId(const void* object) {
  QORV_ASSERT(object!=0);
  const auto next = static_cast<std::int32_t>(ObjectIds.size()) + 100;
  return ObjectIds.try_emplace(object, next).first->second;
}

std::vector<TScript*>& TWriteFile::GetBlockScriptList() {
  if (!BlockScriptList) BlockScriptList = std::make_unique<std::vector<TScript*>>();
  return *BlockScriptList;
}

void TWriteFile::Commit() {
  if (!Pfile) return;
  bool complete = std::fflush(Pfile) == 0 && ::fsync(fileno(Pfile)) == 0;
  std::string reason = complete ? std::string() : SystemReason();
  complete = std::fclose(Pfile) == 0 && complete;
  if (reason.empty() && !complete) reason = SystemReason();
  Pfile = nullptr;
  if (complete && std::rename(TempName.c_str(), Target.c_str()) != 0) {
    complete = false;
    reason = SystemReason();
  }
  if (!complete) {
    std::remove(TempName.c_str());
    throw EFileError("Cannot write file \"" + FileName + "\". " + reason);
  }
}
