// The Plot dialog of a new command or of the command changed: the output, the channel,
// the Y variable with its array index, and the X source ("None", "Counter" or a
// variable with its array index).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/ui/array_index_combo.h"
#include "scripts/outputs/plot_script.h"
#include "scripts/ui/script_form.h"

class QComboBox;

namespace Ui {
class TPlotScriptForm;
}

class TPlotScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // The lists come from the request (TPlotScriptRequest::CanOpen).
  TPlotScriptForm(TPlotScriptRequest& request, QWidget* parent = nullptr);
  ~TPlotScriptForm() override;

protected:
  void OkClick() override;

private:
  TOutput* SelectedOutput() const;
  static TData* SelectedVariable(const QComboBox& box);
  static void Select(QComboBox& box, TData* variable);
  // The variable box lists these, keeping its variable when still listed (else the
  // first when fallBack).
  static void FillVariables(QComboBox& box, const std::vector<TData*>& variables, bool fallBack);
  // The output kind and channels follow the output selected.
  void OutputChange();
  // An index box shows only for an array, empty.
  void VariableChange(QComboBox& variables, QComboBox& index);
  void XSourceChange();
  // "Entire Array" only for Y, not on a big number, not with an X variable.
  void RefreshEntireArray();
  // The channel box's item that the text names; -1 for none.
  int ChannelItem() const;
  // The array index of an array choice, validated; false after the refusal.
  bool IndexValid(QComboBox& variables, QComboBox& index);

  std::unique_ptr<Ui::TPlotScriptForm> Ui;
  TPlotScriptRequest& Plot;
  std::uint8_t LastOutputType = 255;
  TVariableArrayComboSelection Pcomboselection;
};
