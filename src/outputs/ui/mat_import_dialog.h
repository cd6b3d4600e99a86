// "Import MATLAB Data": the arrays of a MAT file, a preview of the chosen one, how its
// columns are read (X/Y pairs, column 1 against the rest, or chosen one by one) and which
// rows; "Add" lists the data sets, OK hands them to the window as transfer data.
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "outputs/mat_import.h"

class TTransferData;
namespace Ui {
class TImportMatLabDataForm;
}

class TImportMatLabDataForm : public QDialog {
  Q_OBJECT

public:
  // The dialog over the named arrays of the file.
  TImportMatLabDataForm(QWidget* parent, const std::string& fileName,
                        const std::vector<std::string>& arrays);
  ~TImportMatLabDataForm() override;

  // The transfer data of the listed entries (none without entries), which are cleared.
  std::unique_ptr<TTransferData> GetTransferData();

  void ArrayComboBoxChange();
  void ReadAsChange();
  void StartRowComboChange();
  void AddClick();
  void RemoveClick();
  void ClearClick();
  void OkClick();

private:
  TImportMatLab* Chosen() const;
  void FillEntries();

  std::unique_ptr<Ui::TImportMatLabDataForm> Ui;
  std::vector<std::unique_ptr<TImportMatLab>> Arrays;
  std::vector<std::unique_ptr<TMatLabData>> Entries;
};

// Import > MATLAB File: asks for a file, lists its arrays and runs the dialog; the
// transfer data to import after OK, else none. A file that is not a MAT file shows
// "This file is not a MAT 5.3 compatible file and cannot be openned."; one without
// arrays "No arrays to import".
std::unique_ptr<TTransferData> ExecuteImportMatLab(QWidget* parent);
