// "Variables": adds new variables to a list (Add mode: each Add makes one and the dialog
// stays open for the next) or edits one (Edit mode). Opened for the core's
// TDataFormRequest, which gives what to show and takes the entries back on OK; the
// entries are checked by the core's CheckDataEntries, and nothing changes in the
// experiment before OK or Add.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

#include "model/data_dialogs.h"
#include "model/variable_checks.h"

class QRadioButton;

namespace Ui {
class TDataForm;
}

class TDataForm : public QDialog {
  Q_OBJECT

public:
  // Shows the request: the name, type, initial value, read-only box and (for arrays) the
  // size; the types and the read-only box that are not allowed are disabled.
  TDataForm(TDataFormRequest& request, QWidget* parent = nullptr);
  ~TDataForm() override;

  // What the callers prepare, as the request gives it.
  void SetVariableName(const std::string& name);
  // 0 String, 1 Integer, 2 Float.
  void SetDataType(int type);
  void SetInitialValueText(const std::string& text);
  // A type that is not allowed has its button disabled and unchecked.
  void SetStringAllowed(bool allowed);
  void SetIntegerAllowed(bool allowed);
  void SetFloatAllowed(bool allowed);
  // A disabled read-only box is unchecked.
  void SetReadOnlyAllowed(bool allowed);
  void SetReadOnlyChecked(bool checked);
  void SetArraySize(int size);

  // OK: in Add mode an empty name closes the dialog as cancelled; otherwise good entries
  // become the request's answer and the experiment is marked modified.
  void accept() override;

private:
  // Add mode: good entries become a new variable of the list; the name and initial value
  // are emptied for the next one.
  void AddClick();
  // The entries as the controls hold them.
  TDataFormEntries Entries() const;
  // The core's check; a refusal puts the focus in its control.
  bool Validate();
  QRadioButton* TypeButton(int type) const;
  void SetTypeAllowed(int type, bool allowed);

  std::unique_ptr<Ui::TDataForm> Ui;
  TDataFormRequest& Request;
};
