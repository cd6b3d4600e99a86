// The rename-or-choose dialog: asks for a new variable name, or lets the user pick one of
// the variables offered (a command choosing where it stores, a block import whose
// variable's name is taken). Opened for the core's TChangeVarRequest. The variables are
// offered in a combo box that also takes a typed name; without variables, a plain box
// asks for the name. A typed name is checked by the core's CheckNewVariableName.
#pragma once

#include <QDialog>

#include <memory>

#include "model/data_dialogs.h"

namespace Ui {
class TChangeVarForm;
}

class TChangeVarForm : public QDialog {
  Q_OBJECT

public:
  TChangeVarForm(TChangeVarRequest& request, QWidget* parent = nullptr);
  ~TChangeVarForm() override;

  // Cancel shown or hidden; the caption "Rename or Change a variable" (cancel offered)
  // or "Name the variable." (not).
  void Prepare(bool offerCancel);

  // OK: the offered variable chosen (or typed as it is offered), else the typed name
  // when it is good; a refused name keeps the dialog open.
  void accept() override;
  // Refused, with "You must rename the variable", while Cancel is hidden: Escape and
  // closing the window too.
  void reject() override;

private:
  // The offered variable the combo box names (selected, or typed as offered); none.
  int ChosenItem() const;

  std::unique_ptr<Ui::TChangeVarForm> Ui;
  TChangeVarRequest& Request;
};
