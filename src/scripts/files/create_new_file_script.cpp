#include "scripts/files/create_new_file_script.h"

#include "model/assertion.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/read_file.h"
#include "model/variable_exp_file.h"
#include "model/write_file.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "scripts/experiment_thread.h"
#include "scripts/files/create_new_file_copy.h"
#include "scripts/flow/command_record.h"

namespace {
const char* const FileNotSet = "Experiment file in New File Script is not set...aborting read";
}  // namespace

TCreateNewFileScript::TCreateNewFileScript(TBlock* block, TTreeNode* node)
    : TAttributeScript(block, node) {}

TCreateNewFileScript::~TCreateNewFileScript() = default;

TMultiExpFile* TCreateNewFileScript::GetFile() const {
  if (!PvefExperimentFile) return nullptr;
  return dynamic_cast<TMultiExpFile*>(PvefExperimentFile->GetExpFile());
}

TMultiExpFile* TCreateNewFileScript::StartNewFile() {
  TMultiExpFile* file = GetFile();
  QORV_ASSERT(file!=0);
  RunFileStep([file] { file->StartNewFile(); });
  return file;
}

TScript* TCreateNewFileScript::Execute() {
  if (!AbCommentedOut) StartNewFile();
  return Pnextscript;
}

TScript* TCreateNewFileScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) return Pnextscript;
  trace.push_back("Creating new file " + StartNewFile()->GetFileName());
  return Pnextscript;
}

void TCreateNewFileScript::Save(TWriteFile& writer) {
  QORV_ASSERT(PvefExperimentFile!=0);
  PvefExperimentFile->Save(writer);
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    exported->push_back(PvefExperimentFile.get());
  TScript::Save(writer);
}

void TCreateNewFileScript::Load(TReadFile& reader) {
  QORV_ASSERT(PvefExperimentFile==0);
  TWaitingReferences waiting(reader);
  auto reference = std::make_unique<TVariableExpFile>(this);
  reference->Load(reader);
  waiting.List().Add(reference.get());
  TScript::Load(reader);
  waiting.Keep();
  PvefExperimentFile = std::move(reference);
  UpdateNodeText();
}

void TCreateNewFileScript::CheckAfterRead() {
  // A reference bound to a single file cannot move it on either.
  if (!GetFile()) throw EReadError(FileNotSet);
}

TCopyScript* TCreateNewFileScript::MakeCopyScript() {
  QORV_ASSERT(GetFile()!=0);
  return new TCopyCreateNewFile(Pblock, GetFile());
}

void TCreateNewFileScript::SetUp(TCopyScript* copyscript) {
  auto* copy = dynamic_cast<TCopyCreateNewFile*>(copyscript);
  QORV_ASSERT_AS(copy!=0, "copycreatenewfile!=0");
  QORV_ASSERT_AS(copy->GetFile()!=0, "copycreatenewfile->Pexpfile!=0");
  SetFile(copy->GetFile());
}

std::string TCreateNewFileScript::GetText() {
  TMultiExpFile* file = GetFile();
  return "Create New File(" + (file ? file->GetShortName() : std::string()) + ")";
}

void TCreateNewFileScript::SetFile(TMultiExpFile* file) {
  QORV_ASSERT(file!=0&&file->GetAttributeType()==MULTIEXPFILE);
  if (!PvefExperimentFile) PvefExperimentFile = std::make_unique<TVariableExpFile>(this);
  PvefExperimentFile->SetExpFile(file);
  UpdateNodeText();
}

bool TCreateNewFileRequest::CanOpen() {
  QORV_ASSERT(Experiment!=0);
  for (TExperimentFile* file : Experiment->GetMultiExpFileList()->GetFiles())
    Files.push_back(static_cast<TMultiExpFile*>(file));
  if (Script || !Files.empty()) return true;
  Inform("There are no Multiple Files, cannot create this command.");
  return false;
}

TCreateNewFileScript* CreateScriptFor(TExperiment& experiment, TMultiExpFile& file) {
  QORV_ASSERT(!IsRunActive());
  // Like every add: without a block to receive it, nothing is made.
  if (!GetTargetBlock(experiment)) return nullptr;
  auto* command = static_cast<TCreateNewFileScript*>(
      AddScriptToSelectedBlock(experiment, TScript::CREATENEWFILE));
  command->SetFile(&file);
  UiPort().ExperimentChanged(1, 0);
  return command;
}
