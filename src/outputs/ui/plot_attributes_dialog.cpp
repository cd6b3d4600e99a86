#include "outputs/ui/plot_attributes_dialog.h"

#include <QHideEvent>

#include "model/number_text.h"
#include "outputs/graph_form.h"
#include "outputs/ui/line_series.h"
#include "shell/ui/user_dialogs.h"
#include "ui_plot_attributes_dialog.h"

namespace {

void SetShapeColor(QFrame* shape, const QColor& color) {
  shape->setProperty("shapeColor", color);
  shape->setStyleSheet(QStringLiteral("QFrame { background-color: %1; border: 1px solid gray; }")
                           .arg(color.name()));
}

QColor ShapeColor(const QFrame* shape) { return shape->property("shapeColor").value<QColor>(); }

}  // namespace

QColor SeriesColorOf(int value, int position) {
  if (value == AutoColor || (static_cast<std::uint32_t>(value) & 0xFF000000u) != 0)
    return ChartPaletteColor(position);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int ColorValueOf(const QColor& color) {
  return color.red() | (color.green() << 8) | (color.blue() << 16);
}

TPlotAttributesForm::TPlotAttributesForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TPlotAttributesForm>()) {
  Ui->setupUi(this);
  for (QFrame* shape : {Ui->LineColorShape, Ui->PointColorShape}) {
    shape->setMinimumSize(40, 18);
    SetShapeColor(shape, Qt::red);
  }
  // Room for a few digits: the up-down control beside each edit does the rest.
  for (QLineEdit* edit : {Ui->LineWidthEdit, Ui->PointWidthEdit, Ui->PointHeightEdit})
    edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")));
  setProperty("helpContext", 44);
  Ui->Help->setProperty("helpContext", 44);
  Ui->Help->setEnabled(false);  // until the help window exists
  connect(Ui->PlotComboBox, &QComboBox::activated, this, &TPlotAttributesForm::PlotComboBoxChange);
  connect(Ui->LineVisible, &QCheckBox::clicked, this, &TPlotAttributesForm::LineVisibleClick);
  connect(Ui->PointVisible, &QCheckBox::clicked, this, &TPlotAttributesForm::PointVisibleClick);
  // Each change of a size's text makes it a whole number at once ("abc" becomes "1").
  connect(Ui->LineWidthEdit, &QLineEdit::textChanged, this, [this] {
    Ui->LineStyle->setEnabled(SyncWidth(Ui->LineWidthEdit, Ui->UpDownLine) == 1 &&
                              Ui->LineVisible->isChecked());
  });
  connect(Ui->PointWidthEdit, &QLineEdit::textChanged, this,
          [this] { SyncWidth(Ui->PointWidthEdit, Ui->PointWidthUpDown); });
  connect(Ui->PointHeightEdit, &QLineEdit::textChanged, this,
          [this] { SyncWidth(Ui->PointHeightEdit, Ui->PointHeightUpDown); });
  auto upDown = [this](QSpinBox* box, QLineEdit* edit) {
    connect(box, &QSpinBox::valueChanged, this, [this, edit](int value) {
      edit->setText(QString::number(value));
      if (edit == Ui->LineWidthEdit)
        Ui->LineStyle->setEnabled(value == 1 && Ui->LineVisible->isChecked());
    });
  };
  upDown(Ui->UpDownLine, Ui->LineWidthEdit);
  upDown(Ui->PointWidthUpDown, Ui->PointWidthEdit);
  upDown(Ui->PointHeightUpDown, Ui->PointHeightEdit);
  connect(Ui->LineColorButton, &QPushButton::clicked, this, [this] { ChooseColor(Ui->LineColorShape); });
  connect(Ui->PointColorButton, &QPushButton::clicked, this, [this] { ChooseColor(Ui->PointColorShape); });
  connect(Ui->Apply, &QPushButton::clicked, this, &TPlotAttributesForm::ApplyClick);
  connect(Ui->OK, &QPushButton::clicked, this, &TPlotAttributesForm::OkClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TPlotAttributesForm::reject);
  connect(Ui->DeleteButton, &QPushButton::clicked, this, &TPlotAttributesForm::DeleteButtonClick);
}

TPlotAttributesForm::~TPlotAttributesForm() = default;

void TPlotAttributesForm::AddSeries(const QString& title, int series) {
  Ui->PlotComboBox->addItem(title, series);
}

int TPlotAttributesForm::SelectedSeries() const {
  const QVariant data = Ui->PlotComboBox->currentData();
  return data.isValid() ? data.toInt() : -1;
}

int TPlotAttributesForm::ShowFor(TGraphForm& form, int series, int channelSeries) {
  if (Ui->PlotComboBox->count() == 0) {
    UserDialogs().Message(parentWidget(), MessageBoxOf("No attributes to change", "",
                                                       TMessageKind::Information));
    return Rejected;
  }
  Load(form, series, channelSeries);
  const int result = exec();
  Form = nullptr;
  return result;
}

void TPlotAttributesForm::Load(TGraphForm& form, int series, int channelSeries) {
  Form = &form;
  ChannelSeries = channelSeries;
  const int item = series >= 0 ? Ui->PlotComboBox->findData(series) : 0;
  Ui->PlotComboBox->setCurrentIndex(std::max(0, item));
  PlotComboBoxChange();
}

void TPlotAttributesForm::PlotComboBoxChange() {
  const int s = SelectedSeries();
  if (!Form || s < 0 || s >= Form->SeriesCount()) return;
  const TGraphSeries& series = Form->GetSeries(s);
  const QSignalBlocker blockers[] = {QSignalBlocker(Ui->UpDownLine),
                                     QSignalBlocker(Ui->PointWidthUpDown),
                                     QSignalBlocker(Ui->PointHeightUpDown)};
  Ui->LineVisible->setChecked(series.LineVisible);
  Ui->LineStyle->setCurrentIndex(std::clamp(series.LineStyle, 0, Ui->LineStyle->count() - 1));
  Ui->LineWidthEdit->setText(QString::number(series.LineWidth));
  Ui->UpDownLine->setValue(series.LineWidth);
  ShownLineColor = SeriesColorOf(series.Color, s);
  SetShapeColor(Ui->LineColorShape, ShownLineColor);
  Ui->PointVisible->setChecked(series.PointerVisible);
  Ui->PointStyle->setCurrentIndex(std::clamp(series.PointerStyle, 0, Ui->PointStyle->count() - 1));
  ShownPointColor = series.PointerColor == AutoColor ? ShownLineColor
                                                     : SeriesColorOf(series.PointerColor, s);
  SetShapeColor(Ui->PointColorShape, ShownPointColor);
  Ui->PointWidthEdit->setText(QString::number(series.PointerWidth));
  Ui->PointWidthUpDown->setValue(series.PointerWidth);
  Ui->PointHeightEdit->setText(QString::number(series.PointerHeight));
  Ui->PointHeightUpDown->setValue(series.PointerHeight);
  Ui->PlotEdit->setText(Ui->PlotComboBox->currentText());
  Ui->DeleteButton->setEnabled(s >= ChannelSeries);
  LineVisibleClick();
  PointVisibleClick();
  // The point sample shows the series' marker colour, not the line's.
  SetShapeColor(Ui->PointColorShape, ShownPointColor);
}

void TPlotAttributesForm::LineVisibleClick() {
  const bool on = Ui->LineVisible->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{
           Ui->LineStyle, Ui->LineStyleLabel, Ui->LineWidthLabel, Ui->LineWidthEdit,
           Ui->UpDownLine, Ui->LineColorButton, Ui->LineColorShape})
    control->setEnabled(on);
  if (on) Ui->LineStyle->setEnabled(Ui->UpDownLine->value() == 1);
}

void TPlotAttributesForm::PointVisibleClick() {
  const bool on = Ui->PointVisible->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{
           Ui->PointStyle, Ui->PointStyleLabel, Ui->PointWidthLabel, Ui->PointWidthEdit,
           Ui->PointWidthUpDown, Ui->PointHeightLabel, Ui->PointHeightEdit,
           Ui->PointHeightUpDown, Ui->PointColorButton})
    control->setEnabled(on);
  Ui->PointColorShape->setVisible(on);
  if (on) SetShapeColor(Ui->PointColorShape, LineColor());
}

int TPlotAttributesForm::SyncWidth(QLineEdit* edit, QSpinBox* upDown) {
  std::int32_t value = 1;
  if (!NumberText::TextToInt(edit->text().trimmed().toStdString(), value)) value = 1;
  value = std::clamp(value, upDown->minimum(), upDown->maximum());
  // Written back only when it differs: the cursor stays where the user types.
  if (edit->text() != QString::number(value)) edit->setText(QString::number(value));
  const QSignalBlocker blocker(upDown);
  upDown->setValue(value);
  return value;
}

void TPlotAttributesForm::ChooseColor(QFrame* shape) {
  QColor color = ShapeColor(shape);
  if (UserDialogs().ChooseColor(this, color)) SetShapeColor(shape, color);
}

QColor TPlotAttributesForm::LineColor() const { return ShapeColor(Ui->LineColorShape); }
QColor TPlotAttributesForm::PointColor() const { return ShapeColor(Ui->PointColorShape); }

bool TPlotAttributesForm::ApplyClick() {
  if (Ui->PlotEdit->text().isEmpty()) {
    UserDialogs().Message(this, MessageBoxOf("You must give the series a title", "",
                                             TMessageKind::Information));
    Ui->PlotEdit->setFocus();
    return false;
  }
  const int s = SelectedSeries();
  if (!Form || s < 0 || s >= Form->SeriesCount()) return false;
  TGraphSeries& series = Form->GetSeries(s);
  series.LineVisible = Ui->LineVisible->isChecked();
  if (series.LineVisible) {
    series.LineWidth = SyncWidth(Ui->LineWidthEdit, Ui->UpDownLine);
    series.LineStyle = Ui->LineStyle->currentIndex();
    // A colour left as shown keeps the series' automatic colour.
    if (LineColor() != ShownLineColor) series.Color = ColorValueOf(LineColor());
  }
  series.PointerVisible = Ui->PointVisible->isChecked();
  if (series.PointerVisible) {
    series.PointerStyle = Ui->PointStyle->currentIndex();
    if (PointColor() != ShownPointColor) series.PointerColor = ColorValueOf(PointColor());
    series.PointerWidth = SyncWidth(Ui->PointWidthEdit, Ui->PointWidthUpDown);
    series.PointerHeight = SyncWidth(Ui->PointHeightEdit, Ui->PointHeightUpDown);
  }
  series.Name = Ui->PlotEdit->text().toStdString();
  Ui->PlotComboBox->setItemText(Ui->PlotComboBox->currentIndex(), Ui->PlotEdit->text());
  ShownLineColor = LineColor();
  ShownPointColor = PointColor();
  emit Applied();
  return true;
}

void TPlotAttributesForm::OkClick() {
  if (ApplyClick()) accept();
}

void TPlotAttributesForm::DeleteButtonClick() {
  const int s = SelectedSeries();
  if (!Form || s < ChannelSeries || s >= Form->SeriesCount()) return;
  const std::string title = Form->GetSeries(s).Name;
  const TMessageButton answer = UserDialogs().Message(
      this, QuestionBoxOf("You are about to delete series " + title +
                              ". Do you really want to do this",
                          "Qorv Warning", TMessageKind::Warning, mbYes | mbNo, mbNo));
  if (answer != mbYes) return;
  Form->DeleteSeries(s);
  emit Applied();
  Ui->PlotComboBox->removeItem(Ui->PlotComboBox->currentIndex());
  // The later series moved up one place.
  for (int i = 0; i < Ui->PlotComboBox->count(); ++i) {
    const int at = Ui->PlotComboBox->itemData(i).toInt();
    if (at > s) Ui->PlotComboBox->setItemData(i, at - 1);
  }
  // Nothing left to edit: the dialog has done its work.
  if (Ui->PlotComboBox->count() == 0) {
    reject();
    return;
  }
  Ui->PlotComboBox->setCurrentIndex(0);
  PlotComboBoxChange();
}

void TPlotAttributesForm::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) Ui->PlotComboBox->clear();
  QDialog::hideEvent(event);
}
