// What the tests of the Plot and Clear Output commands share: outputs of the experiment
// and Plot commands set up as their dialog sets them up.
#pragma once

#include <cstdint>
#include <string>

#include "model/variable_data.h"
#include "model/variable_output.h"
#include "outputs/big_num_form.h"
#include "outputs/graph_form.h"
#include "outputs/output.h"
#include "outputs/output_form.h"
#include "outputs/output_list.h"
#include "outputs/plot_index.h"
#include "outputs/table_form.h"
#include "outputs/text_form.h"
#include "scripts/outputs/plot_script.h"
#include "support/experiment_fixture.h"

class TPlotFixture : public TCommandFixture {
protected:
  // A test that gave every output form its Qt window (InstallOutputWindows) takes the
  // hook along: a later test's forms would each get a window besides its own, one that
  // nothing deletes once its form is gone.
  ~TPlotFixture() override { TOutputForm::SetCreatedHook({}); }

  // An output of the experiment's list.
  TOutput* Output(const std::string& name, std::uint8_t kind, std::int32_t channels = 1) {
    TTreeNode* node = Exp.GetAttributeTree().AddChild(Exp.GetOutputList()->AExpAttNode, name);
    return new TOutput(name, node, kind, channels);
  }
  // A Plot command in Cur without X variable (channel variable: when given).
  TPlotScript* Plot(TOutput* output, TData* y, bool counter, std::int32_t channel = 0,
                    TDataSingle* channelVariable = nullptr) {
    auto* plot = new TPlotScript(Cur, NewNode(Cur));
    plot->SetUpYOnly(output, y, counter, channel, channelVariable);
    return plot;
  }
  TPlotScript* PlotXY(TOutput* output, TData* y, TData* x, std::int32_t channel = 0,
                      TDataSingle* channelVariable = nullptr) {
    auto* plot = new TPlotScript(Cur, NewNode(Cur));
    plot->SetUpXY(output, y, x, channel, channelVariable);
    return plot;
  }
  // A Plot command of the entire array (its lines led by the index with the counter).
  TPlotScript* PlotArray(TOutput* output, TDataArray* array, std::int32_t channel = 0,
                         bool counter = false) {
    TPlotScript* plot = Plot(output, array, counter, channel);
    static_cast<TVariableDataArray*>(plot->GetVariableY())->GetArrayIndex().ClearIndex();
    return plot;
  }

  static TGraphForm& Graph(TOutput* output) {
    return dynamic_cast<TGraphForm&>(*output->GetOutputForm());
  }
  static TTableForm& Table(TOutput* output) {
    return dynamic_cast<TTableForm&>(*output->GetOutputForm());
  }
  static TBigNumForm& BigNum(TOutput* output) {
    return dynamic_cast<TBigNumForm&>(*output->GetOutputForm());
  }
  static TTextForm& Text(TOutput* output) {
    return dynamic_cast<TTextForm&>(*output->GetOutputForm());
  }
};
