// "Add Output": the title, kind and channels of an output. Opened for the core's
// TOutputDialogRequest to edit an output, to ask for one new output, or with its Add
// button to add several to a list. The checks and the Add are the core's
// (output_entry.h); OK writes the entries back to the request.
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

#include "outputs/output.h"

class QRadioButton;

namespace Ui {
class TAddOutputForm;
}

class TAddOutputForm : public QDialog {
  Q_OBJECT

public:
  TAddOutputForm(TOutputDialogRequest& request, QWidget* parent = nullptr);
  ~TAddOutputForm() override;

  // Checks the kind's button (3 Text, 4 Table, 5 Graph, 6 Big Number); the channels can
  // be given for tables and graphs only, the others showing 1.
  void SetType(std::uint8_t kind);
  void SetTitle(const std::string& title);
  // n > 0 is shown in the channel box.
  void SetChannels(std::int32_t n);
  // The kind of the checked button.
  std::uint8_t CheckedKind() const;

  // With the Add button shown an empty title closes as cancelled; during a run the
  // change is refused and the dialog closes as cancelled; good entries close with OK.
  void accept() override;

private:
  void AddClick();
  void KindClick();
  // The entries into the request, for the core's check.
  void TakeEntries();
  void FocusRefused();
  QRadioButton* KindButton(std::uint8_t kind) const;

  std::unique_ptr<Ui::TAddOutputForm> Ui;
  TOutputDialogRequest& Request;
};
