#include "outputs/ui/active_scrolling_dialog.h"

#include "model/number_text.h"
#include "outputs/graph_form.h"
#include "shell/ui/user_dialogs.h"
#include "ui_active_scrolling_dialog.h"

TActiveScrollingForm::TActiveScrollingForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TActiveScrollingForm>()) {
  Ui->setupUi(this);
  // 12 by 7 times the OK button's height, but never smaller than its controls need.
  const int unit = Ui->Ok->sizeHint().height();
  resize(QSize(12 * unit, 7 * unit).expandedTo(minimumSizeHint()));
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 45);
  Ui->Help->setProperty("helpContext", 45);
  Ui->Help->setEnabled(false);
  connect(Ui->Ok, &QPushButton::clicked, this, &TActiveScrollingForm::OkClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TActiveScrollingForm::reject);
}

TActiveScrollingForm::~TActiveScrollingForm() = default;

void TActiveScrollingForm::SetPoints(int n) {
  Ui->PointsEdit->setText(QString::fromStdString(NumberText::IntToText(n)));
}

void TActiveScrollingForm::SetSeries(const QStringList& titles, int selected) {
  Ui->SeriesComboBox->clear();
  Ui->SeriesComboBox->addItems(titles);
  Ui->SeriesComboBox->setCurrentIndex(selected >= 0 && selected < titles.size() ? selected : -1);
}

bool TActiveScrollingForm::Execute() {
  Ui->DisableScrolling->setChecked(false);
  Ui->PointsEdit->setFocus();
  return exec() == QDialog::Accepted;
}

int TActiveScrollingForm::SeriesIndex() const { return Ui->SeriesComboBox->currentIndex(); }

bool TActiveScrollingForm::ScrollingDisabled() const { return Ui->DisableScrolling->isChecked(); }

TActiveScrollingForm::TProblem TActiveScrollingForm::Validate() const {
  if (ScrollingDisabled()) return {};
  const std::string text = Ui->PointsEdit->text().trimmed().toStdString();
  if (text.empty()) return {QStringLiteral("You must enter a number of points to scroll"), Ui->PointsEdit};
  std::int32_t points = 0;
  if (!NumberText::TextToInt(text, points) || points < 0)
    return {QString::fromStdString(
                text + " is not not a valid number of points, please reenter or press cancel"),
            Ui->PointsEdit};
  if (SeriesIndex() < 0)
    return {QStringLiteral("You must choose a series to scroll with"), Ui->SeriesComboBox};
  return {};
}

void TActiveScrollingForm::OkClick() {
  const TProblem problem = Validate();
  if (!problem.Message.isEmpty()) {
    UserDialogs().Message(this, MessageBoxOf(problem.Message.toStdString(), "",
                                             TMessageKind::Information));
    problem.Control->setFocus();
    return;
  }
  std::int32_t points = 0;
  if (!ScrollingDisabled())
    NumberText::TextToInt(Ui->PointsEdit->text().trimmed().toStdString(), points);
  ChosenPoints = points;
  accept();
}

bool ConfigureXAxisScroll(TGraphForm& form, QWidget* parent) {
  if (form.NumberOfActiveSeries() == 0) {
    UserDialogs().Message(parent, MessageBoxOf("No active plots to scroll with", "",
                                               TMessageKind::Information));
    return false;
  }
  TXAxisScroll* scroll = form.GetXAxisScroll();
  if (!scroll) return false;
  TActiveScrollingForm dialog(parent);
  QStringList titles;
  for (std::int32_t s = 0; s < form.SeriesCount(); ++s)
    titles << QString::fromStdString(form.GetSeries(s).Name);
  dialog.SetSeries(titles, scroll->IsSet() ? scroll->Series : 0);
  dialog.SetPoints(scroll->IsSet() ? scroll->Points : 10);
  if (!dialog.Execute()) return scroll->IsSet();
  // A width of 0 is scrolling off as well.
  if (dialog.ScrollingDisabled())
    scroll->Follow(-1, 0);
  else
    scroll->Follow(dialog.SeriesIndex(), dialog.Points());
  return true;
}
