// "Multiple File": the folder, base name, extension, first number and mode of a data
// file that numbered files hold (dir/base_N.ext). Opened for the core's
// TMultiExpFileRequest, for a new file (with its Add button to make several) or to edit
// one; the checks and the Add are the list's (CheckEntry, AddEntry), and OK writes the
// entries back to the request.
#pragma once

#include <QDialog>

#include <memory>

#include "outputs/exp_file.h"

class QRadioButton;

namespace Ui {
class TMultiExpFileForm;
}

class TMultiExpFileForm : public QDialog {
  Q_OBJECT

public:
  TMultiExpFileForm(TMultiExpFileRequest& request, QWidget* parent = nullptr);
  ~TMultiExpFileForm() override;

  // With the Add button shown an empty directory closes as cancelled; otherwise good
  // entries close with OK. The directory box shows the folder as the check cleaned it.
  void accept() override;

private:
  void AddClick();
  // A folder chosen in the folder chooser replaces the directory.
  void BrowseClick();
  void ShowEntries();
  void TakeEntries();
  void FocusRefused();
  QRadioButton* ModeButton(int mode) const;

  std::unique_ptr<Ui::TMultiExpFileForm> Ui;
  TMultiExpFileRequest& Request;
};
