// "Active Scrolling": how many of the newest points of which series the graph keeps in
// view during a run, or scrolling off.
#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class QWidget;
class TGraphForm;

namespace Ui {
class TActiveScrollingForm;
}

class TActiveScrollingForm : public QDialog {
  Q_OBJECT

public:
  explicit TActiveScrollingForm(QWidget* parent = nullptr);
  ~TActiveScrollingForm() override;

  // PointsEdit shows n.
  void SetPoints(int n);
  // The series to choose from, `selected` chosen (none when out of the list).
  void SetSeries(const QStringList& titles, int selected);
  // Clears "Disable Active Scrolling?" and shows the dialog; true on OK.
  bool Execute();

  // What OK took: the number of points, the series chosen, or scrolling off.
  int Points() const { return ChosenPoints; }
  int SeriesIndex() const;
  bool ScrollingDisabled() const;

  // The first thing wrong with the fields, and the control it concerns; an empty message
  // when OK can take them.
  struct TProblem {
    QString Message;
    QWidget* Control = nullptr;
  };
  TProblem Validate() const;
  // OK: the problem's message and the focus on its control, or the number taken.
  void OkClick();

private:
  std::unique_ptr<Ui::TActiveScrollingForm> Ui;
  int ChosenPoints = 0;
};

// Sets up the graph's active scrolling through the dialog above parent. A graph without
// channels says "No active plots to scroll with" and answers false. On OK the chosen
// series and width are followed (or scrolling goes off) and the answer is true; on
// Cancel nothing changes and the answer is whether a series is followed.
bool ConfigureXAxisScroll(TGraphForm& form, QWidget* parent);
