#include "scripts/exp_obj_clipboard.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/copy_script.h"
#include "scripts/script.h"

TExpObjClipboard::TExpObjClipboard(TExperiment* experiment) : Pexperiment(experiment) {
  QORV_ASSERT(Pexperiment!=0);
}

TExpObjClipboard::~TExpObjClipboard() { Drop(); }

void TExpObjClipboard::Drop() {
  delete Pcopyscript;
  Pcopyscript = nullptr;
}

void TExpObjClipboard::BlockGone(const TBlock* block) {
  if (Pcopyscript && Pcopyscript->IsBoundTo(block)) Drop();
}

bool TExpObjClipboard::CanCopy(TExperimentObject* object) const {
  if (!object || object->GetExperimentType() != aiSCRIPT) return false;
  return static_cast<TScript*>(object)->CanMakeCopyScript();
}

void TExpObjClipboard::Copy(TScript* script) { CopyScript(script); }

void TExpObjClipboard::Cut(TScript* script) {
  CopyScript(script);
  TBlock* block = BlockOfNode(script->AExpNode);
  QORV_ASSERT(block!=0);
  block->DeleteScript(script);
}

void TExpObjClipboard::CopyScript(TScript* script) {
  QORV_ASSERT(script!=0);
  QORV_ASSERT_AS(script->CanMakeCopyScript(), "script->CanMakeCopyScript( )");
  Drop();
  TCopyScript* copyscript = script->MakeCopyScript();
  QORV_ASSERT(copyscript!=0);
  QORV_ASSERT_AS(copyscript->Disabled(), "copyscript->Disabled");
  Pcopyscript = copyscript;
  Pcopyscript->SetExperiment(Pexperiment);
  QORV_ASSERT_AS(!Pcopyscript->Disabled(), "!Pcopyscript->Disabled");
}

bool TExpObjClipboard::CanPaste() {
  if (!Pcopyscript) return false;
  if (Pcopyscript->Disabled()) {
    Drop();
    return false;
  }
  TTreeNode* node = Pexperiment->GetExperimentTree().GetSelected();
  if (!node || !node->GetData()) return false;
  auto* object = static_cast<TExperimentObject*>(node->GetData());
  // New commands go into a block only where its blank line stands.
  if (object->GetExperimentType() == aiBLOCK &&
      !static_cast<TBlock*>(object)->HasBlankScript())
    return false;
  return Pcopyscript->CanPasteAt(node);
}

bool TExpObjClipboard::PasteScript() {
  if (!CanPaste()) return false;
  TTreeNode* node = Pexperiment->GetExperimentTree().GetSelected();
  auto* object = static_cast<TExperimentObject*>(node->GetData());
  TScript* pasted = nullptr;
  if (object->GetExperimentType() == aiBLOCK) {
    pasted = static_cast<TBlock*>(object)->AddScript(Pcopyscript->GetScriptType());
  } else {
    auto* script = static_cast<TScript*>(object);
    if (script->GetScriptType() != TScript::BLANK &&
        UiPort().Ask("This will overwrite the old script.\r\nDo you still wish to do this?",
                     "Qorv Message", TMessageKind::Warning, mbYes | mbNo) != mbYes)
      return false;
    TBlock* block = BlockOfNode(node);
    QORV_ASSERT(block!=0);
    pasted = block->ReplaceScript(Pcopyscript->GetScriptType(), script);
  }
  QORV_ASSERT(pasted!=0);
  pasted->SetUp(Pcopyscript);
  return true;
}
