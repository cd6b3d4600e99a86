#include "model/variable_exp_file.h"

#include "model/assertion.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "outputs/exp_file.h"
#include "scripts/attribute_script.h"

TVariableExpFile::TVariableExpFile(TAttributeScript* owner) : AScriptOwner(owner) {
  QORV_ASSERT(owner!=0);
}

TVariableExpFile::~TVariableExpFile() {
  if (AExperimentFile) AExperimentFile->RemoveUser(this);
}

bool TVariableExpFile::ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) {
  if (PreadID < 0 || PreadID != identifier) return false;
  auto* file = dynamic_cast<TExperimentFile*>(object);
  if (!file) return false;  // not a data file: stays waiting
  SetExpFile(file);
  PreadID = -1;
  AScriptOwner->UpdateNodeText();
  return true;
}

void TVariableExpFile::Save(TWriteFile& writer) {
  QORV_ASSERT(AExperimentFile!=0);
  writer.WriteInteger(writer.GetObjectId(static_cast<TExpAttribute*>(AExperimentFile)));
}

void TVariableExpFile::Load(TReadFile& reader) { reader.ReadInteger(PreadID); }

void TVariableExpFile::SetExpFile(TExperimentFile* file) {
  if (AExperimentFile && AExperimentFile != file) {
    AExperimentFile->RemoveUser(this);
    AExperimentFile = nullptr;
  }
  if (!file) return;
  AExperimentFile = file;
  AExperimentFile->AddUser(this);  // a second registration has no effect
}
