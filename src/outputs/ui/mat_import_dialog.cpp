#include "outputs/ui/mat_import_dialog.h"

#include <QHeaderView>
#include <QStringList>

#include <algorithm>

#include "model/ui_port.h"
#include "outputs/mat_file.h"
#include "outputs/output_form.h"
#include "ui_mat_import_dialog.h"

TImportMatLabDataForm::TImportMatLabDataForm(QWidget* parent, const std::string& fileName,
                                             const std::vector<std::string>& arrays)
    : QDialog(parent), Ui(std::make_unique<Ui::TImportMatLabDataForm>()) {
  Ui->setupUi(this);
  setProperty("helpContext", 47);
  Ui->Help->setProperty("helpContext", 47);
  Ui->Help->setEnabled(false);  // until the help window exists
  // Ten preview rows in view, at the height of a line of text.
  Ui->DataGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  Ui->FormLayout->setStretchFactor(Ui->DataGrid, 3);
  Ui->FormLayout->setStretchFactor(Ui->SelDataLayout, 1);
  resize(QSize(640, 600).expandedTo(minimumSizeHint()));
  for (const std::string& name : arrays) {
    Arrays.push_back(std::make_unique<TImportMatLab>(fileName, name));
    Ui->ArrayComboBox->addItem(QString::fromStdString(name));
  }
  Ui->SelectPanel->hide();
  Ui->EndRowLabel->hide();
  Ui->EndRowCombo->hide();
  connect(Ui->ArrayComboBox, &QComboBox::currentIndexChanged, this,
          &TImportMatLabDataForm::ArrayComboBoxChange);
  for (QRadioButton* b : {Ui->XYPairs, Ui->Column1IsX, Ui->Individually})
    connect(b, &QRadioButton::toggled, this, &TImportMatLabDataForm::ReadAsChange);
  connect(Ui->StartRowCombo, &QComboBox::currentIndexChanged, this,
          &TImportMatLabDataForm::StartRowComboChange);
  connect(Ui->AddButton, &QPushButton::clicked, this, &TImportMatLabDataForm::AddClick);
  connect(Ui->RemoveButton, &QPushButton::clicked, this, &TImportMatLabDataForm::RemoveClick);
  connect(Ui->ClearButton, &QPushButton::clicked, this, &TImportMatLabDataForm::ClearClick);
  connect(Ui->OK, &QPushButton::clicked, this, &TImportMatLabDataForm::OkClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TImportMatLabDataForm::reject);
  ArrayComboBoxChange();
}

TImportMatLabDataForm::~TImportMatLabDataForm() = default;

TImportMatLab* TImportMatLabDataForm::Chosen() const {
  const int i = Ui->ArrayComboBox->currentIndex();
  return i >= 0 && i < static_cast<int>(Arrays.size()) ? Arrays[static_cast<std::size_t>(i)].get()
                                                       : nullptr;
}

void TImportMatLabDataForm::ArrayComboBoxChange() {
  Ui->DataGrid->clear();
  Ui->DataGrid->setRowCount(0);
  Ui->DataGrid->setColumnCount(0);
  Ui->XComboBox->clear();
  Ui->YComboBox->clear();
  Ui->StartRowCombo->clear();
  TImportMatLab* array = Chosen();
  if (!array) return;
  array->Read();
  const int columns = array->Columns();
  const int rows = std::min(10, array->Rows());
  Ui->DataGrid->setColumnCount(columns);
  Ui->DataGrid->setRowCount(array->HasData() ? rows : 0);
  QStringList numbers;
  for (int c = 0; c < columns; ++c) numbers << QString::number(c + 1);
  Ui->DataGrid->setHorizontalHeaderLabels(numbers);
  for (int c = 0; c < columns; ++c) {
    const std::vector<std::string> texts = array->GetColumnPreview(c);
    for (std::size_t r = 0; r < texts.size(); ++r)
      Ui->DataGrid->setItem(static_cast<int>(r), c,
                            new QTableWidgetItem(QString::fromStdString(texts[r])));
  }
  Ui->XComboBox->addItems(numbers);
  Ui->YComboBox->addItems(numbers);
  QStringList starts{"All"};
  for (int r = 1; r <= array->Rows(); ++r) starts << QString::number(r);
  Ui->StartRowCombo->addItems(starts);
  Ui->StartRowCombo->setCurrentIndex(0);
  StartRowComboChange();
}

void TImportMatLabDataForm::ReadAsChange() {
  Ui->SelectPanel->setVisible(Ui->Individually->isChecked());
}

void TImportMatLabDataForm::StartRowComboChange() {
  const int start = Ui->StartRowCombo->currentIndex();
  TImportMatLab* array = Chosen();
  const bool shown = start > 0 && array;
  Ui->EndRowLabel->setVisible(shown);
  Ui->EndRowCombo->setVisible(shown);
  if (!shown) return;
  QStringList ends{"End"};
  for (int r = start + 1; r <= array->Rows(); ++r) ends << QString::number(r);
  Ui->EndRowCombo->clear();
  Ui->EndRowCombo->addItems(ends);
  Ui->EndRowCombo->setCurrentIndex(0);
}

void TImportMatLabDataForm::AddClick() {
  TImportMatLab* array = Chosen();
  if (!array) return;
  std::int32_t first = 0, count = 0;
  const int start = std::max(0, Ui->StartRowCombo->currentIndex());
  MatChosenRows(array->Rows(), start, start > 0 ? std::max(0, Ui->EndRowCombo->currentIndex()) : 0,
                first, count);
  const TMatReadAs readAs = Ui->Individually->isChecked() ? TMatReadAs::Individually
                            : Ui->Column1IsX->isChecked() ? TMatReadAs::Column1IsX
                                                          : TMatReadAs::XYPairs;
  AddMatDataSets(*array, readAs, Ui->XComboBox->currentIndex(), Ui->YComboBox->currentIndex(),
                 first, count, Entries);
  FillEntries();
}

void TImportMatLabDataForm::FillEntries() {
  Ui->SelDataListBox->clear();
  for (const auto& entry : Entries)
    Ui->SelDataListBox->addItem(QString::fromStdString(entry->EntryText()));
}

void TImportMatLabDataForm::RemoveClick() {
  const int row = Ui->SelDataListBox->currentRow();
  if (row < 0 || row >= static_cast<int>(Entries.size())) return;
  Entries.erase(Entries.begin() + row);
  FillEntries();
}

void TImportMatLabDataForm::ClearClick() {
  Entries.clear();
  FillEntries();
}

void TImportMatLabDataForm::OkClick() {
  if (Entries.empty()) {
    UiPort().ShowMessage("You have not selected any data to import.  Select data or press cancel.",
                         "", TMessageKind::Information);
    return;
  }
  accept();
}

std::unique_ptr<TTransferData> TImportMatLabDataForm::GetTransferData() {
  std::unique_ptr<TTransferData> data = MakeMatTransfer(Entries);
  Entries.clear();
  return data;
}

std::unique_ptr<TTransferData> ExecuteImportMatLab(QWidget* parent) {
  const std::string file =
      ChooseFile(false, "MatLab (*.mat)|*.mat|All Files (*.*)|*.*", "", "", "");
  if (file.empty()) return nullptr;
  const auto arrays = ListMatArrays(file);
  if (!arrays) {
    UiPort().ShowMessage("This file is not a MAT 5.3 compatible file and cannot be openned.", "",
                         TMessageKind::Information);
    return nullptr;
  }
  if (arrays->empty()) {
    UiPort().ShowMessage("No arrays to import", "", TMessageKind::Information);
    return nullptr;
  }
  TImportMatLabDataForm form(parent, file, *arrays);
  if (form.exec() != QDialog::Accepted) return nullptr;
  return form.GetTransferData();
}
