// "Set Graph Attributes": per axis the automatic ends and increment, the range and
// increment typed when not automatic, and the logarithmic scale. The graph window fills
// the axes' fields, shows the dialog and applies the accepted values.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QCheckBox;
class QLineEdit;

namespace Ui {
class TGraphAttributesForm;
}

// One axis as the dialog shows it: the boxes, and the texts of the edits.
struct TAxisAttributes {
  bool AutoMinimum = true;
  bool AutoMaximum = true;
  bool AutoIncrement = true;
  bool LogScale = false;
  QString Low;
  QString High;
  QString Increment;
};

class TGraphAttributesForm : public QDialog {
  Q_OBJECT

public:
  explicit TGraphAttributesForm(QWidget* parent = nullptr);
  ~TGraphAttributesForm() override;

  // axis 0: X, 1: Y.
  void SetAxis(int axis, const TAxisAttributes& attributes);
  TAxisAttributes Axis(int axis) const;

  // The values accepted by OK (as float32).
  float XLow = 0, YLow = 0, XHigh = 0, YHigh = 0, YIncrement = 0, XIncrement = 0;

  // Each range and increment edit shows only while its "Auto" box is unchecked.
  void FormShow();
  // The first failure is shown and keeps the dialog open, its edit focused; else the
  // values are taken and the dialog closes with OK.
  void OKClick();
  // What OK would refuse first (empty when nothing), and the edit to focus.
  QString Validate(QLineEdit** focus = nullptr);

protected:
  void showEvent(QShowEvent* event) override;

private:
  struct TAxisControls {
    QCheckBox* AutoMinimum;
    QCheckBox* AutoMaximum;
    QCheckBox* AutoIncrement;
    QCheckBox* LogScale;
    QLineEdit* Low;
    QLineEdit* High;
    QLineEdit* Increment;
  };
  const TAxisControls& Controls(int axis) const { return AxisControls[axis == 0 ? 0 : 1]; }

  std::unique_ptr<Ui::TGraphAttributesForm> Ui;
  TAxisControls AxisControls[2];
};
