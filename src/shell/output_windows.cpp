#include "shell/output_windows.h"

#include "model/exp_attribute.h"
#include "model/experiment.h"
#include "outputs/dead_output_list.h"
#include "outputs/output.h"
#include "outputs/output_form.h"
#include "outputs/output_list.h"

TOutput* OutputOfNode(const TTreeNode* node) {
  return node ? dynamic_cast<TOutput*>(AttViewDataOfNode(node)) : nullptr;
}

void ShowOutputClick(TOutput& output, bool checked) {
  if (checked)
    output.HideOutputForm();
  else
    output.ShowOutputForm();
}

void BringOutputsToFront(TExperiment& experiment, TDeadOutputList* detached) {
  if (TOutputList* outputs = experiment.GetOutputList())
    for (TOutput* output : outputs->GetOutputs())
      if (output->HasOutputForm()) output->GetOutputForm()->ShowInFront();
  if (detached) detached->BringToFront();
}
