#include "model/variable_output.h"

#include "model/assertion.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "outputs/output.h"
#include "scripts/attribute_script.h"

TVariableOutput::TVariableOutput(TAttributeScript* owner, TPlotUser* plot)
    : AScriptOwner(owner), APlotUser(plot) {
  QORV_ASSERT(owner!=0);
}

TVariableOutput::~TVariableOutput() {
  if (AOutput) AOutput->RemoveUser(this);
}

bool TVariableOutput::ReleaseRef() {
  if (!AScriptOwner->CanReleaseVariable(this)) return false;
  AOutput = nullptr;  // the output removes this user itself
  return true;
}

bool TVariableOutput::ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) {
  if (PreadID < 0 || PreadID != identifier) return false;
  auto* output = dynamic_cast<TOutput*>(object);
  if (!output) return false;  // not an output: stays waiting
  SetOutput(output);
  PreadID = -1;
  return true;
}

bool TVariableOutput::NotifyOwner(int type) {
  QORV_ASSERT(AOutput!=0);
  return AScriptOwner->VariableNotify(this, type);
}

void TVariableOutput::Save(TWriteFile& writer) {
  QORV_ASSERT(AOutput!=0);
  writer.WriteInteger(writer.GetObjectId(static_cast<TExpAttribute*>(AOutput)));
}

void TVariableOutput::Load(TReadFile& reader) { reader.ReadInteger(PreadID); }

void TVariableOutput::SetOutput(TOutput* output) {
  if (AOutput && AOutput != output) {
    AOutput->RemoveUser(this);
    AOutput = nullptr;
  }
  if (!output) return;
  AOutput = output;
  AOutput->AddUser(this);  // a second registration has no effect
}
