#include "outputs/ui/graph_attributes_dialog.h"

#include <QShowEvent>

#include "model/number_text.h"
#include "shell/ui/user_dialogs.h"
#include "ui_graph_attributes_dialog.h"

namespace {

// The text as a number; false when it is none.
bool ToFloat(const QString& text, double& value) {
  return NumberText::TextToFloat(text.trimmed().toStdString(), value);
}

QString NotAFloat(const QString& text) {
  return "The value " + text + " is not a valid float value";
}

}  // namespace

TGraphAttributesForm::TGraphAttributesForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TGraphAttributesForm>()) {
  Ui->setupUi(this);
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  AxisControls[0] = {Ui->AutoMinimumX,  Ui->AutoMaximumX, Ui->AutoIncrementX, Ui->LogScaleX,
                     Ui->XLowRange,     Ui->XHighRange,   Ui->IncrementX};
  AxisControls[1] = {Ui->AutoMinimumY,  Ui->AutoMaximumY, Ui->AutoIncrementY, Ui->LogScaleY,
                     Ui->YLowRange,     Ui->YHighRange,   Ui->IncrementY};
  for (const TAxisControls& axis : AxisControls)
    for (QCheckBox* box : {axis.AutoMinimum, axis.AutoMaximum, axis.AutoIncrement})
      connect(box, &QCheckBox::clicked, this, &TGraphAttributesForm::FormShow);
  setProperty("helpContext", 43);
  Ui->Help->setProperty("helpContext", 43);
  Ui->Help->setEnabled(false);  // until the help window exists
  connect(Ui->OK, &QPushButton::clicked, this, &TGraphAttributesForm::OKClick);
  // Both axes automatic until the graph window fills them.
  SetAxis(0, {});
  SetAxis(1, {});
  connect(Ui->Cancel, &QPushButton::clicked, this, &TGraphAttributesForm::reject);
}

TGraphAttributesForm::~TGraphAttributesForm() = default;

void TGraphAttributesForm::SetAxis(int axis, const TAxisAttributes& attributes) {
  const TAxisControls& c = Controls(axis);
  c.AutoMinimum->setChecked(attributes.AutoMinimum);
  c.AutoMaximum->setChecked(attributes.AutoMaximum);
  c.AutoIncrement->setChecked(attributes.AutoIncrement);
  c.LogScale->setChecked(attributes.LogScale);
  c.Low->setText(attributes.Low);
  c.High->setText(attributes.High);
  c.Increment->setText(attributes.Increment);
  FormShow();
}

TAxisAttributes TGraphAttributesForm::Axis(int axis) const {
  const TAxisControls& c = Controls(axis);
  return {c.AutoMinimum->isChecked(), c.AutoMaximum->isChecked(), c.AutoIncrement->isChecked(),
          c.LogScale->isChecked(),    c.Low->text(),              c.High->text(),
          c.Increment->text()};
}

void TGraphAttributesForm::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TGraphAttributesForm::FormShow() {
  for (const TAxisControls& c : AxisControls) {
    c.Low->setVisible(!c.AutoMinimum->isChecked());
    c.High->setVisible(!c.AutoMaximum->isChecked());
    c.Increment->setVisible(!c.AutoIncrement->isChecked());
  }
  Ui->XRangeLabel->setVisible(Ui->XLowRange->isVisibleTo(this) || Ui->XHighRange->isVisibleTo(this));
  Ui->YRangeLabel->setVisible(Ui->YLowRange->isVisibleTo(this) || Ui->YHighRange->isVisibleTo(this));
  Ui->XIncrementLabel->setVisible(!Ui->AutoIncrementX->isChecked());
  Ui->YIncrementLabel->setVisible(!Ui->AutoIncrementY->isChecked());
}

QString TGraphAttributesForm::Validate(QLineEdit** focus) {
  double low[2] = {0, 0}, high[2] = {0, 0}, increment[2] = {0, 0};
  const char* names[2] = {"x", "y"};
  auto fail = [&](QLineEdit* edit, const QString& message) {
    if (focus) *focus = edit;
    return message;
  };
  for (int a = 0; a < 2; ++a) {
    const TAxisControls& c = AxisControls[a];
    const QString n = names[a];
    if (!c.AutoMinimum->isChecked()) {
      if (c.Low->text().trimmed().isEmpty()) return fail(c.Low, "You must enter a lower " + n + " value");
      if (!ToFloat(c.Low->text(), low[a])) return fail(c.Low, NotAFloat(c.Low->text()));
    }
    if (!c.AutoMaximum->isChecked()) {
      if (c.High->text().trimmed().isEmpty()) return fail(c.High, "You must enter a high " + n + " value");
      if (!ToFloat(c.High->text(), high[a])) return fail(c.High, NotAFloat(c.High->text()));
    }
    if (!c.AutoMinimum->isChecked() && !c.AutoMaximum->isChecked() && low[a] >= high[a])
      return fail(c.Low, "The low value cannot be greater than or equal to the high value");
  }
  for (int a = 0; a < 2; ++a) {
    const TAxisControls& c = AxisControls[a];
    // An increment of 0 or less would never reach the next tick.
    if (!c.AutoIncrement->isChecked() &&
        (!ToFloat(c.Increment->text(), increment[a]) || !(increment[a] > 0)))
      return fail(c.Increment, NotAFloat(c.Increment->text()));
  }
  for (int a = 0; a < 2; ++a) {
    const TAxisControls& c = AxisControls[a];
    if (c.LogScale->isChecked() && !c.AutoMinimum->isChecked() && !(low[a] > 0))
      return fail(c.Low, QString("Cannot use log scale, ") + names[a] +
                             " axis minimum is less than or equal to zero");
  }
  XLow = static_cast<float>(low[0]);
  YLow = static_cast<float>(low[1]);
  XHigh = static_cast<float>(high[0]);
  YHigh = static_cast<float>(high[1]);
  XIncrement = static_cast<float>(increment[0]);
  YIncrement = static_cast<float>(increment[1]);
  return {};
}

void TGraphAttributesForm::OKClick() {
  QLineEdit* focus = nullptr;
  const QString problem = Validate(&focus);
  if (!problem.isEmpty()) {
    UserDialogs().Message(this, MessageBoxOf(problem.toStdString(), "", TMessageKind::Information));
    if (focus) focus->setFocus();
    return;
  }
  accept();
}
