#include "outputs/ui/table_labels_dialog.h"

#include "outputs/table_form.h"
#include "shell/ui/user_dialogs.h"
#include "ui_table_labels_dialog.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TTableLabelsForm::TTableLabelsForm(TTableForm& form, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TTableLabelsForm>()), Form(form) {
  Ui->setupUi(this);
  setProperty("helpContext", 35);
  Ui->Help->setProperty("helpContext", 35);
  Ui->Help->setEnabled(false);  // the help wiring enables it
  connect(Ui->SeriesList, &QComboBox::currentIndexChanged, this, &TTableLabelsForm::SeriesChange);
  connect(Ui->ShowSeries, &QCheckBox::clicked, this, &TTableLabelsForm::ShowSeriesClick);
  connect(Ui->Apply, &QPushButton::clicked, this, &TTableLabelsForm::ApplyClick);
  connect(Ui->FontButton, &QPushButton::clicked, this, &TTableLabelsForm::FontClick);
  connect(Ui->OK, &QPushButton::clicked, this, &TTableLabelsForm::OkClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TTableLabelsForm::reject);
  resize(sizeHint().expandedTo(QSize(440, 0)));
}

TTableLabelsForm::~TTableLabelsForm() = default;

QString TTableLabelsForm::Title() const { return Ui->TableTitle->text(); }
QFont TTableLabelsForm::TitleFont() const { return Ui->TableTitle->font(); }

bool TTableLabelsForm::Execute(const QString& title, const QFont& font) {
  Prepare(title, font);
  return exec() == QDialog::Accepted;
}

void TTableLabelsForm::Prepare(const QString& title, const QFont& font) {
  Ui->TableTitle->setText(title);
  Ui->TableTitle->setFont(font);
  {
    const QSignalBlocker quiet(Ui->SeriesList);
    Ui->SeriesList->clear();
    for (std::int32_t s = 0; s < Form.SeriesCount(); ++s) Ui->SeriesList->addItem(Text(Form.GetSeries(s).Name));
  }
  const bool any = Ui->SeriesList->count() > 0;
  Ui->SeriesPanel->setVisible(any);
  if (any) {
    if (Ui->SeriesList->currentIndex() < 0) Ui->SeriesList->setCurrentIndex(0);
    SeriesChange();
  }
  adjustSize();
}

void TTableLabelsForm::SeriesChange() {
  const int s = Ui->SeriesList->currentIndex();
  if (s < 0 || s >= Form.SeriesCount()) return;
  const TTableDataSet& set = Form.GetSeries(s);
  Ui->SeriesEdit->setText(Text(set.Name));
  Ui->ShowSeries->setChecked(set.ShowX || set.ShowY);
  ShowSeriesClick();
}

void TTableLabelsForm::ShowSeriesClick() {
  const int s = Ui->SeriesList->currentIndex();
  if (Ui->ShowSeries->isChecked() && s >= 0 && s < Form.SeriesCount()) {
    const TTableDataSet& set = Form.GetSeries(s);
    Ui->ShowX->setChecked(set.ShowX);
    Ui->ShowY->setChecked(set.ShowY);
    Ui->XEdit->setText(Text(set.XName));
    Ui->YEdit->setText(Text(set.YName));
  }
  EnableValues();
}

void TTableLabelsForm::EnableValues() {
  const bool shown = Ui->ShowSeries->isChecked();
  for (QWidget* control : {static_cast<QWidget*>(Ui->ShowX), static_cast<QWidget*>(Ui->ShowY),
                           static_cast<QWidget*>(Ui->XEdit), static_cast<QWidget*>(Ui->YEdit),
                           static_cast<QWidget*>(Ui->XLabel), static_cast<QWidget*>(Ui->YLabel)})
    control->setEnabled(shown);
}

bool TTableLabelsForm::ApplyClick() {
  auto refuse = [this](const char* text, QWidget* field) {
    UserDialogs().Message(this, MessageBoxOf(text, "", TMessageKind::Information));
    if (field) field->setFocus();
    return false;
  };
  const int s = Ui->SeriesList->currentIndex();
  if (s < 0 || s >= Form.SeriesCount()) return refuse("You must select a series to edit", nullptr);
  TTableDataSet& set = Form.GetSeries(s);
  if (Ui->ShowSeries->isChecked()) {
    if (Ui->XEdit->text().isEmpty()) return refuse("You must enter a label for the x values.", Ui->XEdit);
    if (Ui->YEdit->text().isEmpty()) return refuse("You must enter a label for the y values.", Ui->YEdit);
    if (Ui->SeriesEdit->text().isEmpty()) return refuse("You must enter a series label.", Ui->SeriesEdit);
    set.XName = Ui->XEdit->text().toStdString();
    set.YName = Ui->YEdit->text().toStdString();
    set.Name = Ui->SeriesEdit->text().toStdString();
    set.ShowX = Ui->ShowX->isChecked();
    set.ShowY = Ui->ShowY->isChecked();
    Ui->SeriesList->setItemText(s, Ui->SeriesEdit->text());
  } else {
    set.ShowX = false;
    set.ShowY = false;
  }
  // Every view of the table draws the set again.
  Form.RefreshDisplay();
  return true;
}

void TTableLabelsForm::OkClick() {
  if (Ui->TableTitle->text().isEmpty()) {
    UserDialogs().Message(this, MessageBoxOf("You must enter a title for the table.", "",
                                             TMessageKind::Information));
    Ui->TableTitle->setFocus();
    return;
  }
  if (Ui->SeriesPanel->isVisibleTo(this) && !ApplyClick()) return;
  accept();
}

void TTableLabelsForm::FontClick() {
  QFont font = Ui->TableTitle->font();
  if (UserDialogs().ChooseFont(this, font)) Ui->TableTitle->setFont(font);
}
