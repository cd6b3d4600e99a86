#include "outputs/ui/import_dialog.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QMimeData>
#include <QShowEvent>

#include <algorithm>

#include "model/number_text.h"
#include "model/ui_port.h"
#include "outputs/transfer_text.h"
#include "shell/ui/user_dialogs.h"
#include "ui_import_dialog.h"

namespace {

enum { RowsPage, DelimitedPage, FixedWidthPage, DataSetsPage };

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Columns wide enough for the first rows' cells; a long file is not measured whole.
void FitColumns(QTableView& grid) {
  grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid.resizeColumnsToContents();
}

}  // namespace

TImportForm::TImportForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TImportForm>()) {
  Ui->setupUi(this);
  Ui->StringGridImport->setModel(&LinesModel);
  Ui->StringGrid->setModel(&SplitModel);
  Ui->FinalStringGrid->setModel(&FinalModel);
  Ui->StringGridImport->verticalHeader()->setVisible(false);
  Ui->StringGridImport->horizontalHeader()->setVisible(false);
  for (QTableView* grid : {Ui->StringGridImport, Ui->StringGrid, Ui->FinalStringGrid}) {
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setResizeContentsPrecision(200);
  }
  resize(760, 520);
  setProperty("helpContext", 40);
  Ui->Help->setProperty("helpContext", 40);
  Ui->Help->setEnabled(false);  // until the help window exists
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  Ui->PaintBoxData->setFont(fixed);
  Ui->PaintBoxRuler->setFont(fixed);
  Ui->PaintBoxRuler->SetPage(&Fixed, TImportPaintBox::Ruler);
  Ui->PaintBoxData->SetPage(&Fixed, TImportPaintBox::Data);
  // The lines take the page's height below the ruler.
  Ui->PaintBoxData->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  Ui->Page3Layout->setRowStretch(2, 1);
  Ui->DelimitEdit->setVisible(false);
  Ui->SelectPanel->setVisible(false);
  Ui->Ok->setAutoDefault(false);
  Ui->Delimit->setAutoDefault(false);

  for (TImportPaintBox* box : {Ui->PaintBoxRuler, Ui->PaintBoxData})
    connect(box, &TImportPaintBox::MarksChanged, this, &TImportForm::FixedChanged);
  connect(Ui->HortScrollBar, &QScrollBar::valueChanged, this, [this](int value) {
    Fixed.FirstColumn = value;
    FixedChanged();
  });
  connect(Ui->VertScrollBar, &QScrollBar::valueChanged, this, [this](int value) {
    Fixed.FirstLine = value;
    FixedChanged();
  });
  connect(Ui->StartRowBox, &QComboBox::currentIndexChanged, this, &TImportForm::StartRowChange);
  connect(Ui->OtherButton, &QRadioButton::toggled, Ui->DelimitEdit, &QWidget::setVisible);
  for (QRadioButton* button : {Ui->XYPairs, Ui->Col1VSrest, Ui->SelectIndividual})
    connect(button, &QRadioButton::toggled, this, &TImportForm::SelectionChange);
  connect(Ui->Next, &QPushButton::clicked, this, &TImportForm::NextClick);
  connect(Ui->Previous, &QPushButton::clicked, this, &TImportForm::PreviousClick);
  connect(Ui->Delimit, &QPushButton::clicked, this, &TImportForm::DelimitClick);
  connect(Ui->Add, &QPushButton::clicked, this, &TImportForm::AddClick);
  connect(Ui->Clear, &QPushButton::clicked, this, &TImportForm::ClearClick);
  connect(Ui->Remove, &QPushButton::clicked, this, &TImportForm::RemoveClick);
  connect(Ui->Ok, &QPushButton::clicked, this, &TImportForm::OkClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TImportForm::reject);
}

TImportForm::~TImportForm() = default;

void TImportForm::SetLines(std::vector<std::string> lines) { Source = std::move(lines); }

bool TImportForm::IsFixed() const { return Ui->FixedButton->isChecked(); }

void TImportForm::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    ATransferData.reset();
    ImportSets = TImportSets();
    ShowEntries();
    Ui->PageControl->setCurrentIndex(RowsPage);
    ShowLines();
    UpdateButtons();
  }
  QDialog::showEvent(event);
}

void TImportForm::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) {
    Chosen.clear();
    Columns.clear();
    Fixed = TFixedWidthPage();
  }
  QDialog::hideEvent(event);
}

void TImportForm::ShowLines() {
  std::vector<std::string> numbers;
  for (std::size_t r = 1; r <= Source.size(); ++r)
    numbers.push_back(NumberText::IntToText(static_cast<std::int64_t>(r)));
  LinesModel.SetColumns({std::move(numbers), Source}, false);
  FitColumns(*Ui->StringGridImport);
  Ui->TotalRowLabel->setText(QString::number(Source.size()));
  const QSignalBlocker quiet(Ui->StartRowBox);
  Ui->StartRowBox->clear();
  Ui->StartRowBox->addItem("All");
  for (std::size_t r = 1; r <= Source.size(); ++r) Ui->StartRowBox->addItem(QString::number(r));
  Ui->StartRowBox->setCurrentIndex(0);
  StartRowChange();
}

void TImportForm::StartRowChange() {
  const int start = Ui->StartRowBox->currentIndex();
  Ui->NumRowsBox->clear();
  Ui->NumRowsBox->setEnabled(start > 0);
  if (start <= 0) return;
  Ui->NumRowsBox->addItem("End");
  for (int n = 1; n <= static_cast<int>(Source.size()) - start; ++n)
    Ui->NumRowsBox->addItem(QString::number(n));
  Ui->NumRowsBox->setCurrentIndex(0);
}

void TImportForm::NextClick() {
  switch (Ui->PageControl->currentIndex()) {
    case RowsPage: {
      const int start = std::max(Ui->StartRowBox->currentIndex(), 1);
      const int count =
          Ui->NumRowsBox->isEnabled() ? std::max(Ui->NumRowsBox->currentIndex(), 0) : 0;
      Chosen = ChooseImportLines(Source, start, count);
      if (IsFixed())
        ShowFixed();
      else
        ShowDelimited();
      break;
    }
    case DelimitedPage: FillDataSetsPage(Columns); break;
    case FixedWidthPage:
      FillDataSetsPage(SplitFixedWidth(
          Chosen, std::vector<std::int32_t>(Fixed.Marks.begin(), Fixed.Marks.end())));
      break;
    default: break;
  }
  UpdateButtons();
}

void TImportForm::PreviousClick() {
  const int page = Ui->PageControl->currentIndex();
  if (page == DelimitedPage || page == FixedWidthPage)
    Ui->PageControl->setCurrentIndex(RowsPage);
  else if (page == DataSetsPage)
    Ui->PageControl->setCurrentIndex(IsFixed() ? FixedWidthPage : DelimitedPage);
  UpdateButtons();
}

void TImportForm::UpdateButtons() {
  const int page = Ui->PageControl->currentIndex();
  Ui->Previous->setEnabled(page != RowsPage);
  Ui->Next->setEnabled(page != DataSetsPage);
}

void TImportForm::ShowDelimited() {
  // Until Delimit splits them, each line is one column.
  Columns = TImportColumns{Chosen};
  SplitModel.SetColumns(Columns, true);
  FitColumns(*Ui->StringGrid);
  Ui->PageControl->setCurrentIndex(DelimitedPage);
}

void TImportForm::DelimitClick() {
  std::string delimiter = "\t";
  if (Ui->CommaButton->isChecked()) delimiter = ",";
  if (Ui->OtherButton->isChecked()) {
    delimiter = Ui->DelimitEdit->text().toStdString();
    if (delimiter.empty()) {
      UserDialogs().Message(this, MessageBoxOf("need delimiter", "", TMessageKind::Information));
      Ui->DelimitEdit->setFocus();
      return;
    }
  }
  Columns = SplitDelimited(Chosen, delimiter);
  SplitModel.SetColumns(Columns, true);
  FitColumns(*Ui->StringGrid);
}

void TImportForm::ShowFixed() {
  Fixed.Lines.clear();
  int longest = 0;
  for (const std::string& line : Chosen) {
    Fixed.Lines.append(Q(line));
    longest = std::max(longest, static_cast<int>(Fixed.Lines.back().size()));
  }
  Fixed.CharWidth =
      std::max(QFontMetrics(Ui->PaintBoxData->font()).horizontalAdvance(QLatin1Char('0')), 1);
  Ui->HortScrollBar->setRange(0, std::max(longest - 1, 0));
  Ui->VertScrollBar->setRange(0, std::max(static_cast<int>(Fixed.Lines.size()) - 1, 0));
  Ui->HortScrollBar->setValue(0);
  Ui->VertScrollBar->setValue(0);
  Ui->PageControl->setCurrentIndex(FixedWidthPage);
  FixedChanged();
}

void TImportForm::FixedChanged() {
  Ui->PaintBoxRuler->update();
  Ui->PaintBoxData->update();
}

void TImportForm::FillDataSetsPage(TImportColumns columns) {
  ImportSets = TImportSets(std::move(columns));
  ShowEntries();
  FinalModel.SetColumns(ImportSets.GetColumns(), true);
  FitColumns(*Ui->FinalStringGrid);
  const int n = ImportSets.ColumnCount();
  Ui->XYPairs->setEnabled(ImportSets.CanPair());
  (ImportSets.CanPair() ? Ui->XYPairs : Ui->Col1VSrest)->setChecked(true);
  Ui->XComboBox->clear();
  Ui->YComboBox->clear();
  Ui->XComboBox->addItem("Counter");
  for (int c = 1; c <= n; ++c) {
    Ui->XComboBox->addItem(QString::number(c));
    Ui->YComboBox->addItem(QString::number(c));
  }
  Ui->PageControl->setCurrentIndex(DataSetsPage);
  SelectionChange();
}

void TImportForm::SelectionChange() {
  const bool individual = Ui->SelectIndividual->isChecked();
  Ui->SelectPanel->setVisible(individual);
  if (!individual) return;
  if (ImportSets.ColumnCount() < 2) {
    Ui->XComboBox->setCurrentIndex(0);
    Ui->XComboBox->setEnabled(false);
    Ui->YComboBox->setCurrentIndex(0);
  } else {
    Ui->XComboBox->setEnabled(true);
    Ui->XComboBox->setCurrentIndex(1);
    Ui->YComboBox->setCurrentIndex(1);
  }
}

void TImportForm::AddClick() {
  if (ImportSets.ColumnCount() == 0) return;
  if (Ui->XYPairs->isChecked() && ImportSets.CanPair())
    ImportSets.AddXYPairs();
  else if (Ui->Col1VSrest->isChecked())
    ImportSets.AddColumn1VsRest();
  else if (Ui->SelectIndividual->isChecked())
    ImportSets.AddIndividual(Ui->XComboBox->currentIndex(), Ui->YComboBox->currentIndex() + 1);
  ShowEntries();
}

void TImportForm::ClearClick() {
  ImportSets.Clear();
  ShowEntries();
}

void TImportForm::RemoveClick() {
  ImportSets.Remove(Ui->SelDataListBox->currentRow());
  ShowEntries();
}

void TImportForm::ShowEntries() {
  Ui->SelDataListBox->clear();
  for (std::int32_t i = 0; i < ImportSets.Count(); ++i)
    Ui->SelDataListBox->addItem(Q(ImportSets.Entry(i).Name));
}

void TImportForm::OkClick() {
  ATransferData = ImportSets.TakeResult();
  if (!ATransferData) return;
  ShowEntries();
  accept();
}

std::unique_ptr<TTransferData> ImportLines(QWidget* parent, std::vector<std::string> lines) {
  TImportForm form(parent);
  form.SetLines(std::move(lines));
  if (form.exec() != QDialog::Accepted) return nullptr;
  return form.TakeResult();
}

std::unique_ptr<TTransferData> ImportClipboard(QWidget* parent) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) {
    UserDialogs().Message(parent, MessageBoxOf("Material in the clipboard is not in text format "
                                               "and cannot be copied.",
                                               "", TMessageKind::Information));
    return nullptr;
  }
  return ImportLines(parent, SplitTextLines(data->text().toStdString()));
}
