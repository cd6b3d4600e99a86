// "Single File": the name and settings of a data file that one file holds. Opened for
// the core's TSingleExpFileRequest, for a new file (with its Add button to make several)
// or to edit one; the checks and the Add are the list's (CheckEntry, AddEntry), and OK
// writes the entries back to the request.
#pragma once

#include <QDialog>

#include <memory>

#include "outputs/exp_file.h"

namespace Ui {
class TSingleExpFileForm;
}

class TSingleExpFileForm : public QDialog {
  Q_OBJECT

public:
  TSingleExpFileForm(TSingleExpFileRequest& request, QWidget* parent = nullptr);
  ~TSingleExpFileForm() override;

  // With the Add button shown an empty name closes as cancelled; otherwise good entries
  // close with OK.
  void accept() override;

private:
  void AddClick();
  // A file chosen in the file chooser replaces the name.
  void BrowseClick();
  void ShowEntries();
  void TakeEntries();
  void FocusRefused();

  std::unique_ptr<Ui::TSingleExpFileForm> Ui;
  TSingleExpFileRequest& Request;
};
