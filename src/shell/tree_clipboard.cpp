// The experiment tree's Cut, Copy and Paste: the tree editor's handlers over the
// experiment's one-command clipboard.
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/exp_obj_clipboard.h"
#include "scripts/experiment_thread.h"
#include "scripts/script.h"
#include "shell/tree_editing.h"

TClipboardState TExperimentTreeEditor::ClipboardState() const {
  TExpObjClipboard& clipboard = Exp.GetClipboard();
  TClipboardState state;
  if (TExperimentObject* object = Selected()) state.CanCopy = clipboard.CanCopy(object);
  state.CanPaste = clipboard.CanPaste();
  return state;
}

bool TExperimentTreeEditor::CopyScriptClick() {
  if (IsRunActive()) return false;
  TExperimentObject* object = Selected();
  if (!object || !Exp.GetClipboard().CanCopy(object)) return false;
  Exp.GetClipboard().Copy(static_cast<TScript*>(object));
  UiPort().ExperimentChanged(1, 0);  // modified
  return true;
}

bool TExperimentTreeEditor::CutScriptClick() {
  if (IsRunActive()) return false;
  TExperimentObject* object = Selected();
  if (!object || !Exp.GetClipboard().CanCopy(object)) return false;
  Exp.GetClipboard().Cut(static_cast<TScript*>(object));
  UiPort().ExperimentChanged(1, 0);  // modified
  return true;
}

bool TExperimentTreeEditor::PasteScriptClick() {
  if (IsRunActive()) return false;
  TExpObjClipboard& clipboard = Exp.GetClipboard();
  if (!Selected() || !clipboard.CanPaste()) return false;
  if (!clipboard.PasteScript()) return false;  // the overwrite question answered No
  UiPort().ExperimentChanged(1, 0);  // modified
  return true;
}

bool TExperimentTreeEditor::PasteInsertClick() {
  if (IsRunActive()) return false;
  TExperimentObject* object = Selected();
  if (!object || !Exp.GetClipboard().CanPaste()) return false;
  const TExperimentType kind = object->GetExperimentType();
  if (kind != aiSCRIPT && kind != aiBLANK) return false;
  // The blank line takes the selection; pasting onto it asks nothing.
  Exp.MoveBlankScript(object->AExpNode);
  return PasteScriptClick();
}
