#include "outputs/exp_file.h"

#include <filesystem>
#include <limits>
#include <utility>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/text.h"
#include "model/tree_node.h"
#include "model/variable_exp_file.h"
#include "model/write_file.h"
#include "outputs/exp_file_lists.h"

namespace {

const char* const LineEnd = "\r\n";
const char* const NoFile = "No file";
// After this many used numbers in a row the user is asked whether to look further.
constexpr int TriesBeforeAsking = 30;

bool FileExists(const std::string& name) {
  std::error_code error;
  return std::filesystem::exists(name, error);
}

bool DirectoryExists(const std::string& name) {
  std::error_code error;
  return std::filesystem::is_directory(name, error);
}

void ShowMissingDirectory(const std::string& directory) {
  UiPort().ShowMessage("Directory " + directory + " does not exist.  Cannot run experiment.", "",
                       TMessageKind::Information);
}

std::string ReadErrorOf(const std::string& detail) { return "Error reading attribute: " + detail; }

}  // namespace

bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}

std::string ShortFileName(const std::string& fileName) {
  // The search starts at the second-to-last character: a name ending in a separator
  // keeps that separator.
  for (std::size_t i = fileName.size() < 2 ? 0 : fileName.size() - 1; i-- > 0;)
    if (IsPathSeparator(fileName[i])) return fileName.substr(i + 1);
  return fileName;
}

// TExperimentFile

TExperimentFile::TExperimentFile(const std::string& name, TTreeNode* node, bool closeBetweenWrites,
                                 bool writeFileName, TExpFileList* list)
    : TExpAttribute(name, node),
      AbCloseBetweenWrites(closeBetweenWrites),
      AbWriteFileName(writeFileName),
      PList(list) {
  if (AExpAttNode) {
    AExpAttNode->SetImageIndex(-1);
    AExpAttNode->SetSelectedIndex(-1);
  }
}

TExperimentFile::~TExperimentFile() {
  // While the data file is whole: a held copy record still sees it as a data file.
  DisableCopyScript();
  CloseStream();
  if (PList) PList->Unregister(this);
}

void TExperimentFile::CloseStream() {
  // Every line was flushed when it was written: nothing is left to lose here.
  if (std::FILE* stream = std::exchange(PfsFileStream, nullptr)) std::fclose(stream);
}

void TExperimentFile::PutLine(const std::string& fileName, bool truncate,
                              const std::string& text) {
  const bool create = !PfsFileStream && truncate && !AbCreated;
  const auto fail = [this, &fileName] {
    CloseStream();
    throw EFileError("Error Writing to file, " + fileName + "abort writing.");
  };
  const auto put = [this](const std::string& line) {
    const std::string bytes = line + LineEnd;
    return std::fwrite(bytes.data(), 1, bytes.size(), PfsFileStream) == bytes.size();
  };
  if (!PfsFileStream) {
    const bool created = create || !FileExists(fileName);
    PfsFileStream = std::fopen(fileName.c_str(), created ? "wb" : "ab");
    if (!PfsFileStream) fail();
    if (created && AbWriteFileName && !put(fileName)) fail();
  }
  if (!put(text) || std::fflush(PfsFileStream) != 0) fail();
  if (AbCloseBetweenWrites && std::fclose(std::exchange(PfsFileStream, nullptr)) != 0) fail();
  if (create) AbCreated = true;
}

void TExperimentFile::Save(TWriteFile& writer) {
  writer.WriteString(GetName());
  SaveSettings(writer);
  SaveUsers(writer);
}

bool TExperimentFile::Load(TReadFile& reader) {
  SetName(reader.ReadString());
  LoadSettings(reader);
  LoadUsers(reader);
  return EnterLoaded();
}

bool TExperimentFile::EnterLoaded() {
  QORV_ASSERT(PList!=0);
  TExperimentFile* listed = PList->Find(GetFullName());
  if (!listed || listed == this) {
    PList->Register(this);
    return true;
  }
  // Another file of the list names the same file: the loaded one's commands write there.
  for (TVariable* user : GetUsers()) {
    auto* reference = dynamic_cast<TVariableExpFile*>(user);
    QORV_ASSERT(reference!=0);
    reference->SetExpFile(listed);
  }
  return false;
}

// TSingleExpFile

TSingleExpFile::TSingleExpFile(const std::string& name, TTreeNode* node, bool closeBetweenWrites,
                               bool writeFileName, TSingleExpFileList* list,
                               const std::string& fileName, bool overwrite)
    : TExperimentFile(name, node, closeBetweenWrites, writeFileName, list),
      PsFileName(fileName),
      AbOverwrite(overwrite) {}

int TSingleExpFile::Edit() {
  TSingleExpFileRequest request;
  request.List = static_cast<TSingleExpFileList*>(PList);
  request.ShowAdd = false;
  request.FormerName = UpperText(PsFileName);
  request.FileName = PsFileName;
  request.Overwrite = AbOverwrite;
  request.CloseBetweenWrites = AbCloseBetweenWrites;
  request.WriteFileName = AbWriteFileName;
  if (UiPort().OpenDialog(request) != 1) return 0;
  CloseStream();  // edits come between runs, when no file is open
  const std::string fileName = TrimText(request.FileName);
  if (fileName != PsFileName) {
    PsFileName = fileName;
    if (PList) PList->Register(this);
  }
  AbOverwrite = request.Overwrite;
  AbCloseBetweenWrites = request.CloseBetweenWrites;
  AbWriteFileName = request.WriteFileName;
  SetName(ShortFileName(fileName));
  UiPort().ExperimentChanged(1, 0);
  return 1;
}

void TSingleExpFile::WriteLine(const std::string& text) {
  // Overwriting truncates the file once per run, at its first write.
  PutLine(PsFileName, AbOverwrite, text);
}

void TSingleExpFile::Close() { CloseStream(); }

bool TSingleExpFile::PrepareRun() {
  CloseStream();  // a run starts with its files closed, whatever ended the last one
  if (!HasUsers()) return true;
  bool result = true;
  for (std::size_t i = PsFileName.size(); i-- > 0;) {
    if (!IsPathSeparator(PsFileName[i])) continue;
    const std::string directory = PsFileName.substr(0, i + 1);
    if (!DirectoryExists(directory)) {
      ShowMissingDirectory(directory);
      result = false;
    }
    break;
  }
  AbCreated = false;
  return result;
}

void TSingleExpFile::SaveSettings(TWriteFile& writer) {
  writer.WriteString(PsFileName);
  writer.WriteBool(AbOverwrite);
  writer.WriteBool(AbCloseBetweenWrites);
  writer.WriteBool(AbWriteFileName);
}

void TSingleExpFile::LoadSettings(TReadFile& reader) {
  PsFileName = reader.ReadString();
  reader.ReadBool(AbOverwrite);
  reader.ReadBool(AbCloseBetweenWrites);
  reader.ReadBool(AbWriteFileName);
}

// TMultiExpFile

TMultiExpFile::TMultiExpFile(const std::string& name, TTreeNode* node, bool closeBetweenWrites,
                             bool writeFileName, TMultiExpFileList* list)
    : TExperimentFile(name, node, closeBetweenWrites, writeFileName, list) {}

int TMultiExpFile::Edit() {
  TMultiExpFileRequest request;
  request.List = static_cast<TMultiExpFileList*>(PList);
  request.ShowAdd = false;
  request.FormerName = UpperText(GetFullName());
  request.Directory = PsDirectory;
  request.BaseName = PsBaseName;
  request.Extension = PsExtension;
  request.StartNumber = NumberText::IntToText(AStartIndex);
  request.Mode = AMode;
  request.CloseBetweenWrites = AbCloseBetweenWrites;
  request.WriteFileName = AbWriteFileName;
  if (UiPort().OpenDialog(request) != 1) return 0;
  CloseStream();
  SetNames(TrimText(request.Directory), TrimText(request.BaseName), TrimText(request.Extension));
  SetMode(request.Mode);
  SetStartIndex(StartNumberOf(request.StartNumber));
  AbWriteFileName = request.WriteFileName;
  AbCloseBetweenWrites = request.CloseBetweenWrites;
  if (PList) PList->Register(this);
  // The tree and the commands show the new short name.
  SetName(GetShortName());
  UiPort().ExperimentChanged(1, 0);
  return 1;
}

std::string TMultiExpFile::GetFileName() const {
  return PsDirectory + PathSeparator + PsBaseName + "_" + NumberText::IntToText(ACurrentIndex) +
         "." + PsExtension;
}

std::string TMultiExpFile::GetFullName() const {
  return PsDirectory + PathSeparator + GetShortName();
}

std::string TMultiExpFile::GetShortName() const { return MultiShortName(PsBaseName, PsExtension); }

void TMultiExpFile::WriteLine(const std::string& text) {
  // Make-new and overwrite truncate the file of a number at its first write in the run.
  PutLine(GetFileName(), AMode != mfAPPEND, text);
}

void TMultiExpFile::Close() {
  CloseStream();
  // Only a file prepared for the run moves its start on: the current number of any
  // other is not of this run.
  if (AMode == mfMAKENEW && Prepared) AStartIndex = ACurrentIndex;
  Prepared = false;
}

bool TMultiExpFile::PrepareRun() {
  CloseStream();
  Prepared = false;
  if (!HasUsers()) return true;
  bool result = true;
  if (!DirectoryExists(PsDirectory)) {
    ShowMissingDirectory(PsDirectory);
    result = false;
  }
  ACurrentIndex = AStartIndex;
  AbCreated = false;
  Prepared = true;
  if (AMode == mfMAKENEW && FileExists(GetFileName())) FindUnusedFileName();
  return result;
}

void TMultiExpFile::FindUnusedFileName() {
  const auto advance = [this] {
    if (ACurrentIndex == std::numeric_limits<std::int32_t>::max())
      throw EFileError("The numbers of " + GetFullName() + " are used up.");
    ++ACurrentIndex;
  };
  if (AMode != mfMAKENEW) {
    advance();
    return;
  }
  int tries = 0;
  while (FileExists(GetFileName())) {
    advance();
    if (++tries <= TriesBeforeAsking) continue;
    if (UiPort().Ask("Cannot find a filename that has not been used. Continue looking?",
                     "Qorv Warning", TMessageKind::Warning, mbYes | mbNo) != mbYes) {
      ACurrentIndex = AStartIndex;
      throw EFileError(NoFile);
    }
    tries = 0;
  }
}

void TMultiExpFile::StartNewFile() {
  CloseStream();
  FindUnusedFileName();
  AbCreated = false;
}

void TMultiExpFile::SetNames(const std::string& directory, const std::string& baseName,
                             const std::string& extension) {
  PsDirectory = directory;
  PsBaseName = baseName;
  PsExtension = extension;
}

void TMultiExpFile::SetMode(std::int32_t mode) {
  QORV_ASSERT(mode>=mfMAKENEW&&mode<=mfOVERWRITE);
  AMode = mode;
}

void TMultiExpFile::SetStartIndex(std::int32_t start) {
  QORV_ASSERT(start>=0);
  AStartIndex = start;
}

void TMultiExpFile::SaveSettings(TWriteFile& writer) {
  writer.WriteString(PsDirectory);
  writer.WriteString(PsBaseName);
  writer.WriteString(PsExtension);
  writer.WriteInteger(AMode);
  writer.WriteInteger(AStartIndex);
  writer.WriteBool(AbCloseBetweenWrites);
  writer.WriteBool(AbWriteFileName);
}

void TMultiExpFile::LoadSettings(TReadFile& reader) {
  PsDirectory = reader.ReadString();
  PsBaseName = reader.ReadString();
  PsExtension = reader.ReadString();
  std::int32_t mode, start;
  reader.ReadInteger(mode);
  if (mode < mfMAKENEW || mode > mfOVERWRITE)
    throw EReadError(ReadErrorOf("the mode of the multiple file " + GetName() + " is " +
                                 NumberText::IntToText(mode) + ", not 0, 1 or 2"));
  reader.ReadInteger(start);
  if (start < 0)
    throw EReadError(ReadErrorOf("the start number of the multiple file " + GetName() +
                                 " is negative"));
  AMode = mode;
  AStartIndex = start;
  ACurrentIndex = start;
  reader.ReadBool(AbCloseBetweenWrites);
  reader.ReadBool(AbWriteFileName);
}
