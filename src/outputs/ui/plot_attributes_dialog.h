// "Plot Attributes": per series of a graph its title, line (visible, style, width,
// colour) and point markers (visible, style, width, height, colour), and the deletion of
// data series. The graph window adds the series, shows the dialog for one of them and
// repaints after; the dialog writes the series' settings into the graph's form.
#pragma once

#include <QColor>
#include <QDialog>

#include <memory>

class QFrame;
class QLineEdit;
class QSpinBox;
class TGraphForm;

namespace Ui {
class TPlotAttributesForm;
}

class TPlotAttributesForm : public QDialog {
  Q_OBJECT

public:
  explicit TPlotAttributesForm(QWidget* parent = nullptr);
  ~TPlotAttributesForm() override;

  // Appends a series (its position in the form) to the combo box.
  void AddSeries(const QString& title, int series);
  // Shows the dialog modally for the series (-1: the first item) of the form, whose
  // first channelSeries series belong to the output and cannot be deleted; an empty
  // combo box shows "No attributes to change". Answers the dialog's result.
  int ShowFor(TGraphForm& form, int series, int channelSeries);
  // Selects the series' item and fills the controls, without showing the dialog.
  void Load(TGraphForm& form, int series, int channelSeries);

  // The selected item's series: the controls show its settings.
  void PlotComboBoxChange();
  void LineVisibleClick();
  void PointVisibleClick();
  // An empty title is refused; else the controls' settings go to the selected series.
  bool ApplyClick();
  void OkClick();
  // Asks, then deletes the selected series; deleting the last one closes the dialog as
  // Cancel.
  void DeleteButtonClick();

  // The colour samples (tests and the colour buttons).
  QColor LineColor() const;
  QColor PointColor() const;

signals:
  // A series changed or went (the chart shows it at once).
  void Applied();

protected:
  void hideEvent(QHideEvent* event) override;

private:
  // The edit's text as a whole number (1 when it is none), written back and given to the
  // up-down control.
  int SyncWidth(QLineEdit* edit, QSpinBox* upDown);
  void ChooseColor(QFrame* shape);
  int SelectedSeries() const;

  std::unique_ptr<Ui::TPlotAttributesForm> Ui;
  TGraphForm* Form = nullptr;
  int ChannelSeries = 0;
  // The colours shown when the series was loaded: unchanged ones keep the series'
  // automatic colour.
  QColor ShownLineColor;
  QColor ShownPointColor;
};

// The colour of a series' colour value (0x00BBGGRR) at a position; the automatic colour
// and system colours take the chart's palette.
QColor SeriesColorOf(int value, int position);
// The colour value of a colour.
int ColorValueOf(const QColor& color);
