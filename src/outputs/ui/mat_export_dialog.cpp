#include "outputs/ui/mat_export_dialog.h"

#include <QListWidget>
#include <QMenu>

#include "outputs/ui/copy_row_select_dialog.h"

#include "ui_mat_export_dialog.h"

TExportMatLabDataForm::TExportMatLabDataForm(QWidget* parent, TOutputForm& caller,
                                             TMatExportLists lists)
    : QDialog(parent),
      Ui(std::make_unique<Ui::TExportMatLabDataForm>()),
      PCaller(caller),
      PLists(std::move(lists)) {
  Ui->setupUi(this);
  setProperty("helpContext", 41);
  Ui->Help->setProperty("helpContext", 41);
  Ui->Help->setEnabled(false);  // until the help window exists
  // Room for a series name and its range in each list.
  resize(QSize(780, 420).expandedTo(minimumSizeHint()));
  connect(Ui->AddAll, &QPushButton::clicked, this, &TExportMatLabDataForm::AddAllClick);
  connect(Ui->AddOne, &QPushButton::clicked, this, &TExportMatLabDataForm::AddOneClick);
  connect(Ui->RemoveAll, &QPushButton::clicked, this, &TExportMatLabDataForm::RemoveAllClick);
  connect(Ui->RemoveOne, &QPushButton::clicked, this, &TExportMatLabDataForm::RemoveOneClick);
  connect(Ui->MoveUpOne, &QPushButton::clicked, this, &TExportMatLabDataForm::MoveUpOneClick);
  connect(Ui->MoveDownOne, &QPushButton::clicked, this, &TExportMatLabDataForm::MoveDownOneClick);
  connect(Ui->BrowseButton, &QToolButton::clicked, this, &TExportMatLabDataForm::BrowseClick);
  connect(Ui->OK, &QPushButton::clicked, this, &TExportMatLabDataForm::OkClick);
  connect(Ui->Save, &QPushButton::clicked, this, &TExportMatLabDataForm::SaveClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TExportMatLabDataForm::reject);
  // A double click moves the one range to the other list.
  connect(Ui->SeriesBox, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    PLists.MoveOne(Ui->SeriesBox->row(item), false);
    Fill();
  });
  connect(Ui->SeriesSaveBox, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    PLists.MoveOne(Ui->SeriesSaveBox->row(item), true);
    Fill();
  });
  Popup = new QMenu(this);
  QAction* editPoints = Popup->addAction("Edit Points");
  editPoints->setObjectName("EditPoints");
  connect(editPoints, &QAction::triggered, this,
          [this, editPoints] { EditPointsClick(editPoints->data().toInt() == 1); });
  for (QListWidget* list : {Ui->SeriesBox, Ui->SeriesSaveBox}) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QListWidget::customContextMenuRequested, this,
            [this, list, editPoints](const QPoint& at) {
              // The tag tells which list was clicked: 0 the offered, 1 the chosen.
              editPoints->setData(list == Ui->SeriesSaveBox ? 1 : 0);
              ListPopup(list, at);
            });
  }
  PLists.PointSpread = -1;
  if (PLists.Series.size() == 1) PLists.AddAll();
  Fill();
}

TExportMatLabDataForm::~TExportMatLabDataForm() = default;

void TExportMatLabDataForm::Fill(int keep) {
  auto fill = [](QListWidget* list, const std::vector<TCopyObject>& ranges) {
    list->clear();
    for (const TCopyObject& range : ranges)
      list->addItem(QString::fromStdString(range.GetListText()));
  };
  fill(Ui->SeriesBox, PLists.Series);
  fill(Ui->SeriesSaveBox, PLists.SeriesSave);
  if (keep >= 0 && keep < Ui->SeriesSaveBox->count()) {
    Ui->SeriesSaveBox->setCurrentRow(keep);
    Ui->SeriesSaveBox->item(keep)->setSelected(true);
  }
  Ui->Save->setEnabled(!PLists.SeriesSave.empty());
}

std::vector<int> TExportMatLabDataForm::Selected(const QListWidget& list) {
  std::vector<int> rows;
  for (int i = 0; i < list.count(); ++i)
    if (list.item(i)->isSelected()) rows.push_back(i);
  return rows;
}

void TExportMatLabDataForm::AddAllClick() {
  PLists.AddAll();
  Fill();
}

void TExportMatLabDataForm::AddOneClick() {
  PLists.AddSelected(Selected(*Ui->SeriesBox));
  Fill();
}

void TExportMatLabDataForm::RemoveAllClick() {
  PLists.RemoveAll();
  Fill();
}

void TExportMatLabDataForm::RemoveOneClick() {
  PLists.RemoveSelected(Selected(*Ui->SeriesSaveBox));
  Fill();
}

void TExportMatLabDataForm::MoveUpOneClick() {
  const std::vector<int> rows = Selected(*Ui->SeriesSaveBox);
  if (rows.empty()) return;
  Fill(PLists.MoveUp(rows.back()));
}

void TExportMatLabDataForm::MoveDownOneClick() {
  const std::vector<int> rows = Selected(*Ui->SeriesSaveBox);
  if (rows.empty()) return;
  Fill(PLists.MoveDown(rows.back()));
}

void TExportMatLabDataForm::BrowseClick() {
  const std::string chosen = ChooseFile(true, "Matlab file (*.mat)|*.mat", "mat",
                                        Ui->FileNameEdit->text().toStdString(), "");
  if (!chosen.empty()) Ui->FileNameEdit->setText(QString::fromStdString(chosen));
}

void TExportMatLabDataForm::OkClick() {
  // With nothing chosen OK just closes.
  if (PLists.SeriesSave.empty()) {
    accept();
    return;
  }
  if (PLists.Save(PCaller, Ui->ArrayEdit->text().toStdString(),
                  Ui->FileNameEdit->text().toStdString()))
    accept();
  else if (Ui->FileNameEdit->text().trimmed().isEmpty())
    Ui->FileNameEdit->setFocus();
}

void TExportMatLabDataForm::SaveClick() {
  if (!PLists.Save(PCaller, Ui->ArrayEdit->text().toStdString(),
                   Ui->FileNameEdit->text().toStdString()))
    return;
  PLists.RemoveAll();
  Ui->ArrayEdit->clear();
  Fill();
}

void TExportMatLabDataForm::ListPopup(QListWidget* list, const QPoint& at) {
  QListWidgetItem* item = list->itemAt(at);
  if (!item || !item->isSelected()) return;
  list->clearSelection();
  item->setSelected(true);
  Popup->popup(list->viewport()->mapToGlobal(at));
}

void TExportMatLabDataForm::EditPointsClick(bool inSave) {
  const std::vector<int> rows = Selected(inSave ? *Ui->SeriesSaveBox : *Ui->SeriesBox);
  if (rows.empty()) return;
  const int index = rows.front();
  const TCopyObject& range =
      (inSave ? PLists.SeriesSave : PLists.Series)[static_cast<std::size_t>(index)];
  TCopyRowSelectForm rowSelect(this);
  if (PLists.EditsStartOnly(index, inSave)) {
    if (!rowSelect.ExecuteStart(range.FirstRow(), range.LastIndex(), PLists.PointSpread)) return;
  } else if (!rowSelect.Execute(range.FirstRow(), range.LastRow(), 48, range.LastIndex())) {
    return;
  }
  PLists.EditPoints(index, inSave, rowSelect.FirstRow(), rowSelect.LastRow());
  Fill();
  QListWidget* list = inSave ? Ui->SeriesSaveBox : Ui->SeriesBox;
  if (index < list->count()) list->item(index)->setSelected(true);
}

void ExecuteExportMatLab(QWidget* parent, TOutputForm& caller, TMatExportLists lists) {
  if (lists.Series.empty()) {
    UiPort().ShowMessage("No data to copy", "", TMessageKind::Information);
    return;
  }
  TExportMatLabDataForm form(parent, caller, std::move(lists));
  form.exec();
}
