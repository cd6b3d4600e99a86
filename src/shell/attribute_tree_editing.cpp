#include "shell/attribute_tree_editing.h"

#include "model/assertion.h"
#include "model/data_list.h"
#include "model/exp_attribute.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/experiment_thread.h"
#include "scripts/files/create_new_file_script.h"
#include "scripts/script.h"
#include "scripts/script_request.h"
#include "shell/can_add_command.h"
#include "shell/output_windows.h"

namespace {

void MarkModified() { UiPort().ExperimentChanged(1, 0); }

bool IsVariable(int type) { return type == SINGLEVARIABLE || type == ARRAYVARIABLE; }

}  // namespace

void AddOneAttribute(TExpAttList& list) {
  // The output list's first add operation opens its dialog in add-several mode: one
  // output is its AddNew.
  if (auto* outputs = dynamic_cast<TOutputList*>(&list))
    outputs->AddNew();
  else
    list.UserAdd();
}

void AddManyAttributes(TExpAttList& list) {
  if (auto* outputs = dynamic_cast<TOutputList*>(&list))
    outputs->AddMany();
  else
    list.AddNew();
}

bool TExpAttMenuState::AnyVisible() const {
  for (const TMenuItemState* item : {&Add, &AddMany, &Clear, &ClearUnused, &Edit, &Delete, &Show,
                                     &Plot, &ShowCurrentValue, &OutputToFile, &CreateNewFile})
    if (item->Visible) return true;
  return false;
}

TTreeNode* TAttributeTreeEditor::SelectedNode() const {
  return Exp.GetAttributeTree().GetSelected();
}

TExpAttribute* TAttributeTreeEditor::SelectedAttribute() const {
  return dynamic_cast<TExpAttribute*>(AttViewDataOfNode(SelectedNode()));
}

TExpAttList* TAttributeTreeEditor::SelectedList() const {
  return dynamic_cast<TExpAttList*>(AttViewDataOfNode(SelectedNode()));
}

TExpAttPress TAttributeTreeEditor::ExpAttViewMouseDown(TTreeNode* node) {
  if (!node) return {};
  Exp.GetAttributeTree().SetSelected(node);
  QORV_ASSERT_AS(node->GetData()!=0, "node->Data!=0");
  TExpAttViewData* viewdata = AttViewDataOfNode(node);
  TExpAttPress press;
  press.ViewKind = viewdata->ExpAttDataType();
  if (auto* attribute = dynamic_cast<TExpAttribute*>(viewdata))
    press.Type = attribute->GetAttributeType();
  return press;
}

void TAttributeTreeEditor::ExpAttViewDblClick(TTreeNode* node) {
  const TExpAttPress press = ExpAttViewMouseDown(node);
  if (press.ViewKind == ATTRIBUTELIST) {
    AddManyExpAttClick();
    return;
  }
  if (press.ViewKind < 0) return;
  QORV_ASSERT_AS(press.ViewKind==ATTRIBUTE&&press.Type>-1,
                 "viewdata->ExpAttDataType==TExpAttViewData::ATTRIBUTE&&atttype>-1");
  if (press.Type == OUTPUT) {
    TOutput* output = OutputOfNode(node);
    QORV_ASSERT_AS(output!=0, "output!=0");
    output->ShowOutputForm();
  } else {
    EditExpAttClick();
  }
}

TExpAttMenuState TAttributeTreeEditor::ExpAttViewPopupMenuPopup(const TExpAttPress& press) const {
  const bool idle = !IsRunActive();
  const bool list = press.ViewKind == ATTRIBUTELIST;
  const bool attribute = press.ViewKind == ATTRIBUTE;
  const int type = attribute ? press.Type : -1;
  TExpAttMenuState menu;
  menu.Add = {list, true};
  menu.AddMany = {list, true};
  menu.ClearUnused = {list, true};
  menu.Clear = {list, idle};
  menu.Edit = {attribute, true};
  menu.Delete = {attribute, idle};
  menu.Show = {type == OUTPUT, true};
  menu.Plot = {type == OUTPUT || IsVariable(type), idle};
  menu.ShowCurrentValue = {IsVariable(type), true};
  menu.OutputToFile = {IsVariable(type) || type == SINGLEEXPFILE || type == MULTIEXPFILE, true};
  menu.CreateNewFile = {type == MULTIEXPFILE, true};
  if (menu.Show.Visible) {
    TOutput* output = OutputOfNode(SelectedNode());
    QORV_ASSERT_AS(output!=0, "output!=0");
    menu.ShowChecked = output->IsFormVisible();
  }
  return menu;
}

bool TAttributeTreeEditor::ExpAttViewKeyDown(TTreeKey key, bool pointerInside) {
  if (key != TTreeKey::Delete) return false;
  // As in the experiment tree: only the node the pointer is over, so that a key meant
  // for another control never deletes what the tree happens to have selected.
  if (IsRunActive() || !pointerInside || !SelectedAttribute()) return true;
  DeleteExpAttClick();
  return true;
}

int TAttributeTreeEditor::EditExpAttClick() {
  TExpAttribute* attribute = SelectedAttribute();
  return attribute ? attribute->Edit() : 0;
}

void TAttributeTreeEditor::AddExpAttClick() {
  if (TExpAttList* list = SelectedList()) AddOneAttribute(*list);
}

void TAttributeTreeEditor::AddManyExpAttClick() {
  if (TExpAttList* list = SelectedList()) AddManyAttributes(*list);
}

bool TAttributeTreeEditor::DeleteExpAttClick() {
  if (IsRunActive()) return false;
  TExpAttribute* attribute = SelectedAttribute();
  if (!attribute || !attribute->CanDelete()) return false;
  delete attribute;  // with the commands that use it
  MarkModified();
  return true;
}

bool TAttributeTreeEditor::ClearExpAttlistClick() {
  if (IsRunActive()) return false;
  TExpAttList* list = SelectedList();
  if (!list || !list->AExpAttNode->HasChildren()) return false;
  list->Clear(true);
  // The question may have been answered No.
  if (list->AExpAttNode->HasChildren()) return false;
  MarkModified();
  return true;
}

bool TAttributeTreeEditor::ClearUnusedClick() {
  TExpAttList* list = SelectedList();
  if (!list) return false;
  const int before = list->AExpAttNode->Count();
  list->ClearUnused();
  if (list->AExpAttNode->Count() == before) return false;
  MarkModified();
  return true;
}

void TAttributeTreeEditor::ShowOutputClick() {
  TOutput* output = OutputOfNode(SelectedNode());
  if (!output) return;
  // Checked exactly while the window is visible (set as the menu opens): the window
  // decides, whatever the click did to the mark.
  ::ShowOutputClick(*output, output->IsFormVisible());
}

void TAttributeTreeEditor::AttributeButtonClick(TAttributeButton button) {
  switch (button) {
    case TAttributeButton::Output:
      if (CanAddCommand("output")) AddOneAttribute(*Exp.GetOutputList());
      break;
    case TAttributeButton::Variable:
      if (CanAddCommand("variable")) AddOneAttribute(*Exp.GetDataSingleList());
      break;
    case TAttributeButton::Array:
      if (CanAddCommand("array")) AddOneAttribute(*Exp.GetDataArrayList());
      break;
    case TAttributeButton::SingleFile:
      if (CanAddCommand("single file")) AddOneAttribute(*Exp.GetSingleExpFileList());
      break;
    case TAttributeButton::MultiFile:
      if (CanAddCommand("multifile")) AddOneAttribute(*Exp.GetMultiExpFileList());
      break;
  }
}

int TAttributeTreeEditor::PlotClick() {
  if (!CanAddCommand("plot command")) return 0;
  TExpAttribute* attribute = SelectedAttribute();
  QORV_ASSERT_AS(attribute!=0, "expatt!=0");
  return NewScriptFor(Exp, TScript::PLOT, attribute);
}

int TAttributeTreeEditor::OutputToFileItemClick() {
  if (!CanAddCommand("Output To File command")) return 0;
  TExpAttribute* attribute = SelectedAttribute();
  QORV_ASSERT_AS(attribute!=0, "expatt!=0");
  if (attribute->GetAttributeType() == OUTPUT) return 0;
  return NewScriptFor(Exp, TScript::OUTPUTTOFILE, attribute);
}

int TAttributeTreeEditor::CreateNewFileItemClick() {
  if (!CanAddCommand("Create New File command")) return 0;
  auto* file = dynamic_cast<TMultiExpFile*>(SelectedAttribute());
  if (!file) return 0;
  return CreateScriptFor(Exp, *file) ? 1 : 0;
}
