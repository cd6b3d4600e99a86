#include "outputs/exp_file_lists.h"

#include <algorithm>
#include <filesystem>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/text.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/exp_file.h"
#include "scripts/experiment_thread.h"

namespace {

// Images of the lists' nodes in the attribute tree.
constexpr int SingleFilesImage = 13;
constexpr int MultipleFilesImage = 14;

// The smallest records: strings of 4 bytes (an empty text), int32 fields, bools, the
// user count.
constexpr std::size_t MinSingleRecord = 4 + 4 + 1 + 1 + 1 + 4;
constexpr std::size_t MinMultiRecord = 4 * 4 + 4 + 4 + 1 + 1 + 4;


bool Refuse(const std::string& message, TExpFileField field, TExpFileField& focus) {
  Inform(message);
  focus = field;
  return false;
}

const char* YesNo(bool flag) { return flag ? "Y\t" : "N\t"; }

// The list's dialog for new files; its OK makes one more file from the entries.
template <class TRequest, class TList>
void OpenNewFileDialog(TList* list, bool showAdd) {
  TRequest request;
  request.List = list;
  request.ShowAdd = showAdd;
  if (UiPort().OpenDialog(request) == 1) list->Create(request);
}

void SetImage(TTreeNode* node, int image) {
  if (!node) return;
  node->SetImageIndex(image);
  node->SetSelectedIndex(image);
}

}  // namespace

std::string CleanDirectory(const std::string& directory) {
  std::string cleaned;
  for (char c : TrimText(directory))
    if (!IsPathSeparator(c) || cleaned.empty() || !IsPathSeparator(cleaned.back()))
      cleaned += c;
  while (!cleaned.empty() && IsPathSeparator(cleaned.back())) cleaned.pop_back();
  return cleaned;
}

std::int32_t StartNumberOf(const std::string& text) {
  std::int32_t number = 0;
  if (!NumberText::TextToInt(TrimText(text), number) || number < 0) return 0;
  return number;
}

std::string MultiShortName(const std::string& baseName, const std::string& extension) {
  return baseName + "_X." + extension;
}

// TExpFileList

TExpFileList::TExpFileList(TExperiment* owner, TTreeNode* node) : TExpAttList(owner, node) {}

TExpFileList::~TExpFileList() {
  // The files leave the name table as they go, while the table still exists.
  if (AExpAttNode) Clear(false);
}

int TExpFileList::GetCount() const {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  return AExpAttNode->Count();
}

std::vector<TExperimentFile*> TExpFileList::GetFiles() const {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  std::vector<TExperimentFile*> files;
  for (TTreeNode* node = AExpAttNode->GetFirstChild(); node; node = node->GetNextSibling()) {
    auto* file = dynamic_cast<TExperimentFile*>(AttViewDataOfNode(node));
    QORV_ASSERT(file!=0);
    files.push_back(file);
  }
  return files;
}

TTreeNode* TExpFileList::NewNode(const std::string& shortName) {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  return AExpAttNode->GetTree()->AddChild(AExpAttNode, shortName);
}

void TExpFileList::Added(TExperimentFile* file) {
  Register(file);
  AExpAttNode->SetExpanded(true);
  UiPort().ExperimentChanged(1, 0);
}

bool TExpFileList::RefusedWhileRunning(const char* message) {
  if (!IsRunActive()) return false;
  Inform(message);
  return true;
}

void TExpFileList::Save(TWriteFile& writer) const {
  const std::vector<TExperimentFile*> files = GetFiles();
  writer.WriteInteger(static_cast<std::int32_t>(files.size()));
  for (TExperimentFile* file : files) file->Save(writer);
}

void TExpFileList::Load(TReadFile& reader) {
  // Files before version 1.5 have no data-file sections.
  if (reader.GetVersionNumber() < qvV1_5) return;
  const std::int32_t count = reader.ReadCount(MinRecordBytes());
  for (std::int32_t i = 0; i < count; ++i) {
    TExperimentFile* file = NewForLoad(NewNode(""));
    bool keep = false;
    try {
      keep = file->Load(reader);
    } catch (...) {
      delete file;  // half read
      throw;
    }
    if (!keep) delete file;  // the list's file of that name took its users
  }
  if (count > 0) AExpAttNode->SetExpanded(true);
}

void TExpFileList::SaveBlock(TWriteFile& writer, TBlock*) const {
  const std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  QORV_ASSERT(exported!=0);
  std::vector<TExperimentFile*> files;
  for (TExperimentFile* file : GetFiles())
    if (std::any_of(exported->begin(), exported->end(),
                    [file](TVariable* reference) { return file->HasUser(reference); }))
      files.push_back(file);
  writer.WriteInteger(static_cast<std::int32_t>(files.size()));
  for (TExperimentFile* file : files) file->Save(writer);
}

bool TExpFileList::RunCheck() {
  for (TExperimentFile* file : RunOrder())
    if (!file->PrepareRun()) return false;
  return true;
}

void TExpFileList::EndRun() {
  for (TExperimentFile* file : GetFiles()) file->Close();
}

void TExpFileList::WriteReport(TReport& report) const {
  for (TExperimentFile* file : GetFiles()) {
    report.AddStyledLine(file->GetFullName(), {.Bold = true, .Italic = true});
    WriteFileReport(report, file);
  }
}

bool TExpFileList::Contains(const std::string& name) const {
  return Find(TrimText(name)) != nullptr;
}

TExperimentFile* TExpFileList::Find(const std::string& name) const {
  const std::string key = UpperText(name);
  for (const auto& entry : NameTable)
    if (entry.first == key) return entry.second;
  return nullptr;
}

void TExpFileList::Register(TExperimentFile* file) {
  QORV_ASSERT(file!=0);
  const std::string key = UpperText(file->GetFullName());
  for (auto& entry : NameTable)
    if (entry.second == file) {
      entry.first = key;
      return;
    }
  NameTable.emplace_back(key, file);
}

void TExpFileList::Unregister(TExperimentFile* file) {
  std::erase_if(NameTable, [file](const auto& entry) { return entry.second == file; });
}

// TSingleExpFileList

TSingleExpFileList::TSingleExpFileList(TExperiment* owner, TTreeNode* node)
    : TExpFileList(owner, node) {
  SetImage(AExpAttNode, SingleFilesImage);
}

void TSingleExpFileList::UserAdd() {
  if (RefusedWhileRunning("Cannot add output while experiment is running")) return;
  OpenNewFileDialog<TSingleExpFileRequest>(this, false);
}

void TSingleExpFileList::AddNew() {
  if (RefusedWhileRunning("Cannot add a variable while the experiment is running")) return;
  // The dialog made a file at each Add; its OK closes as Cancel on an empty name.
  OpenNewFileDialog<TSingleExpFileRequest>(this, true);
}

bool TSingleExpFileList::CheckEntry(TSingleExpFileRequest& request) const {
  request.Focus = TExpFileField::None;
  const std::string fileName = TrimText(request.FileName);
  if (fileName.empty())
    return Refuse("The filename cannot be empty.", TExpFileField::FileName, request.Focus);
  if (UpperText(fileName) != request.FormerName && Contains(fileName))
    return Refuse("This filename is already is use.", TExpFileField::FileName, request.Focus);
  return true;
}

TSingleExpFile* TSingleExpFileList::Create(const TSingleExpFileRequest& request) {
  const std::string fileName = TrimText(request.FileName);
  const std::string name = ShortFileName(fileName);
  auto* file = new TSingleExpFile(name, NewNode(name), request.CloseBetweenWrites,
                                  request.WriteFileName, this, fileName, request.Overwrite);
  Added(file);
  return file;
}

bool TSingleExpFileList::AddEntry(TSingleExpFileRequest& request) {
  if (!CheckEntry(request)) return false;
  Create(request);
  request.FileName.clear();
  request.Overwrite = true;
  request.CloseBetweenWrites = true;
  return true;
}

TExperimentFile* TSingleExpFileList::NewForLoad(TTreeNode* node) {
  return new TSingleExpFile("", node, false, false, this, "", false);
}

std::size_t TSingleExpFileList::MinRecordBytes() const { return MinSingleRecord; }

void TSingleExpFileList::WriteFileReport(TReport& report, TExperimentFile* file) const {
  auto* single = static_cast<TSingleExpFile*>(file);
  report.AddLine(std::string("Overwrite? ") + YesNo(single->GetOverwrite()) + "Close? " +
                 YesNo(single->AbCloseBetweenWrites) + "Commands using: " +
                 NumberText::IntToText(single->GetUserCount()));
}

// TMultiExpFileList

TMultiExpFileList::TMultiExpFileList(TExperiment* owner, TTreeNode* node)
    : TExpFileList(owner, node) {
  SetImage(AExpAttNode, MultipleFilesImage);
}

void TMultiExpFileList::UserAdd() {
  // As a single file: a run must not find a new file among those it prepared.
  if (RefusedWhileRunning("Cannot add output while experiment is running")) return;
  OpenNewFileDialog<TMultiExpFileRequest>(this, false);
}

void TMultiExpFileList::AddNew() {
  if (RefusedWhileRunning("Cannot add a variable while the experiment is running")) return;
  OpenNewFileDialog<TMultiExpFileRequest>(this, true);
}

bool TMultiExpFileList::CheckEntry(TMultiExpFileRequest& request) const {
  request.Focus = TExpFileField::None;
  request.Directory = CleanDirectory(request.Directory);
  const std::string& directory = request.Directory;
  if (directory.empty())
    return Refuse("The directory cannot be empty.", TExpFileField::Directory, request.Focus);
  std::error_code error;
  if (!std::filesystem::is_directory(directory, error))
    return Refuse("The directory " + directory + " does not exist.", TExpFileField::Directory,
                  request.Focus);
  const std::string base = TrimText(request.BaseName);
  if (base.empty())
    return Refuse("The base file name cannot be blank.", TExpFileField::BaseName, request.Focus);
  const std::string extension = TrimText(request.Extension);
  if (extension.empty())
    return Refuse("The extension cannot be blank.", TExpFileField::Extension, request.Focus);
  const std::string fullName = directory + PathSeparator + MultiShortName(base, extension);
  if (UpperText(fullName) != request.FormerName && Contains(fullName))
    return Refuse("This file name " + MultiShortName(base, extension) +
                      " is already in use.  Please choose another.",
                  TExpFileField::BaseName, request.Focus);
  return true;
}

TMultiExpFile* TMultiExpFileList::Create(const TMultiExpFileRequest& request) {
  QORV_ASSERT(request.Mode>=mfMAKENEW&&request.Mode<=mfOVERWRITE);
  const std::string base = TrimText(request.BaseName);
  const std::string extension = TrimText(request.Extension);
  const std::string name = MultiShortName(base, extension);
  auto* file = new TMultiExpFile(name, NewNode(name), request.CloseBetweenWrites,
                                 request.WriteFileName, this);
  file->SetNames(CleanDirectory(request.Directory), base, extension);
  file->SetMode(request.Mode);
  file->SetStartIndex(StartNumberOf(request.StartNumber));
  Added(file);
  return file;
}

bool TMultiExpFileList::AddEntry(TMultiExpFileRequest& request) {
  if (!CheckEntry(request)) return false;
  Create(request);
  request.Directory.clear();
  request.BaseName.clear();
  request.Extension.clear();
  request.StartNumber = "0";
  return true;
}

TExperimentFile* TMultiExpFileList::NewForLoad(TTreeNode* node) {
  return new TMultiExpFile("", node, false, false, this);
}

std::size_t TMultiExpFileList::MinRecordBytes() const { return MinMultiRecord; }

void TMultiExpFileList::WriteFileReport(TReport& report, TExperimentFile* file) const {
  auto* multi = static_cast<TMultiExpFile*>(file);
  static const char* const modes[] = {"Create New\t", "Append\t", "Overwrite\t"};
  report.AddLine(std::string(modes[multi->GetMode()]) + "Close ? " +
                 YesNo(multi->AbCloseBetweenWrites) + "Start Index: " +
                 NumberText::IntToText(multi->GetStartIndex()) + "\t" + "Commands using: " +
                 NumberText::IntToText(multi->GetUserCount()));
}

std::vector<TExperimentFile*> TMultiExpFileList::RunOrder() const {
  std::vector<TExperimentFile*> files;
  for (const auto& entry : NameTable) files.push_back(entry.second);
  return files;
}
