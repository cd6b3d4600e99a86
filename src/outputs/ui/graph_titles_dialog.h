// "Graph Titles": the chart title's lines, its alignment, the two axis titles with their
// angles, and the fonts of all three. The graph window fills the fields, shows the
// dialog and applies the fields after OK.
#pragma once

#include <QDialog>
#include <QFont>
#include <QStringList>

#include <memory>
#include <optional>

class QButtonGroup;
class QLabel;

namespace Ui {
class TGraphTitlesForm;
}

class TGraphTitlesForm : public QDialog {
  Q_OBJECT

public:
  explicit TGraphTitlesForm(QWidget* parent = nullptr);
  ~TGraphTitlesForm() override;

  // The fields the dialog shows and OK takes.
  QStringList TitleLines() const;
  void SetTitleLines(const QStringList& lines);
  QString XTitle;
  QString YTitle;
  int XAngle = 0;     // degrees
  int YAngle = 90;    // degrees
  int Alignment = 2;  // 0 left, 1 right, 2 centred

  // The given font, or with none the font dialog's choice (nothing when cancelled),
  // becomes the dialog's font and its label's.
  void SetTitleFont(const QFont* font);
  void SetXAxisFont(const QFont* font);
  void SetYAxisFont(const QFont* font);
  QFont TitleFont() const { return AGraphTitleFont.value_or(QFont()); }
  QFont XAxisFont() const { return AXAxisFont.value_or(QFont()); }
  QFont YAxisFont() const { return AYAxisFont.value_or(QFont()); }

  // The edits and groups show the fields.
  void FormShow();
  // The fields take the edits and groups, and the dialog closes with OK.
  void OkClick();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void SetFont(std::optional<QFont>& field, QLabel* label, const QFont* font);

  std::unique_ptr<Ui::TGraphTitlesForm> Ui;
  QButtonGroup* AlignmentButtons;
  QButtonGroup* XAngleButtons;
  QButtonGroup* YAngleButtons;
  std::optional<QFont> AGraphTitleFont;
  std::optional<QFont> AXAxisFont;
  std::optional<QFont> AYAxisFont;
};
