#include "scripts/script_request.h"

#include <memory>

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "scripts/command_table.h"
#include "scripts/experiment_thread.h"
#include "scripts/script.h"

namespace {

std::function<TBlock*()> DebugTargetBlock;

// The request of the type's dialog, filled; none for a type without a dialog.
std::unique_ptr<TScriptRequest> RequestFor(int type, TExperiment* experiment, TBlock* block,
                                           TScript* script) {
  const TCommandKind* kind = CommandKindOf(type);
  if (!kind || !kind->Dialog) return nullptr;
  std::unique_ptr<TScriptRequest> request = kind->Dialog();
  request->Experiment = experiment;
  request->Block = block;
  request->Script = script;
  return request;
}

}  // namespace

void SetDebugTargetBlock(std::function<TBlock*()> selectedBlock) {
  DebugTargetBlock = std::move(selectedBlock);
}

TBlock* GetTargetBlock(TExperiment& experiment) {
  TBlock* block = DebugTargetBlock ? DebugTargetBlock() : nullptr;
  if (!block) block = experiment.GetCurrentBlock();
  if (!block) Inform("You must select a block before you can add a script.");
  return block;
}

TScript* AddScriptToSelectedBlock(TExperiment& experiment, int type) {
  TBlock* block = experiment.GetCurrentBlock();
  QORV_ASSERT(block!=0);
  TScript* script = block->AddScript(type);
  QORV_ASSERT(script!=0);
  return script;
}

namespace {

int OpenNew(TExperiment& experiment, int type, TDevice* device, TExpAttribute* item) {
  QORV_ASSERT(!IsRunActive());
  const TCommandKind* kind = CommandKindOf(type);
  if (!kind || !kind->Dialog) return 0;
  TBlock* block = GetTargetBlock(experiment);
  if (!block) return 0;
  std::unique_ptr<TScriptRequest> request = RequestFor(type, &experiment, block, nullptr);
  request->Device = device;
  request->Item = item;
  if (request->CanOpen()) return UiPort().OpenDialog(*request);
  return request->MadeWithoutDialog ? 1 : 0;
}

}  // namespace

int NewScript(TExperiment& experiment, int type, TDevice* device) {
  return OpenNew(experiment, type, device, nullptr);
}

int NewScriptFor(TExperiment& experiment, int type, TExpAttribute* item) {
  return OpenNew(experiment, type, nullptr, item);
}

int EditScript(TScript& script) {
  TBlock* block = script.Pblock;
  std::unique_ptr<TScriptRequest> request =
      RequestFor(script.GetScriptType(), block ? block->GetExperiment() : nullptr, block, &script);
  return request && request->CanOpen() ? UiPort().OpenDialog(*request) : 0;
}
