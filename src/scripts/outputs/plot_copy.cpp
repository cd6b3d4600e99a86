#include "scripts/outputs/plot_copy.h"

#include "model/assertion.h"
#include "model/data.h"
#include "model/variable_data.h"
#include "outputs/output.h"
#include "outputs/plot_index.h"
#include "scripts/outputs/plot_script.h"

TCopyPlot::TCopyPlot(TPlotScript& command)
    : TBlockCopyScript(command.Pblock),
      AbUseCounter(command.GetUseCounter()),
      AChannel(command.GetPlotIndex()->IsVariable() ? -1 : command.GetPlotIndex()->GetFixedIndex()),
      AOutput(command.GetOutput()) {
  QORV_ASSERT(AOutput!=0);
  QORV_ASSERT(command.GetVariableY()!=0&&command.GetVariableY()->GetData()!=0);
  AVariableY.reset(command.GetVariableY()->MakeCopy(this));
  if (TVariableData* x = command.GetVariableX(); x && x->GetData())
    AVariableX.reset(x->MakeCopy(this));
  if (TVariableDataSingle* channel = command.GetPlotIndex()->GetVariableReference())
    AChannelCopy.reset(channel->MakeCopy(this));
}

TCopyPlot::~TCopyPlot() {
  if (!ADisabled) TCopyPlot::Disable();
}

void TCopyPlot::Disable() {
  AVariableY->Disable();
  if (AOutput && AOutput->GetCopyScript() == this) AOutput->ClearCopyScript();
  AOutput = nullptr;
  if (AVariableX) AVariableX->Disable();
  if (AChannelCopy) AChannelCopy->Disable();
  ADisabled = true;
}

void TCopyPlot::Enable() {
  QORV_ASSERT(AVariableY!=0&&AVariableY->Data!=0);
  QORV_ASSERT(AOutput!=0);
  AVariableY->Enable();
  AOutput->SetCopyScript(this);
  if (AVariableX) AVariableX->Enable();
  if (AChannelCopy) AChannelCopy->Enable();
  ADisabled = false;
}

int TCopyPlot::GetScriptType() { return TScript::PLOT; }

TDataSingle* TCopyPlot::GetChannelVariable() const {
  return AChannelCopy ? dynamic_cast<TDataSingle*>(AChannelCopy->Data) : nullptr;
}
