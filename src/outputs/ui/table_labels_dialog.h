// "Table Labels": the table's title and font, and per data set its name, its column
// headers and which of its columns show. "Apply" changes the chosen set at once (and the
// change stays when the dialog is then cancelled); OK applies the shown set too.
#pragma once

#include <QDialog>
#include <QFont>

#include <cstdint>
#include <memory>

class TTableForm;

namespace Ui {
class TTableLabelsForm;
}

class TTableLabelsForm : public QDialog {
  Q_OBJECT

public:
  TTableLabelsForm(TTableForm& form, QWidget* parent = nullptr);
  ~TTableLabelsForm() override;

  // Fills the title, the font and the series list with the form's data sets; true for OK,
  // the new title and font then in Title() and TitleFont().
  bool Execute(const QString& title, const QFont& font);
  // Fills the dialog as Execute does, without showing it.
  void Prepare(const QString& title, const QFont& font);
  QString Title() const;
  QFont TitleFont() const;

  // Loads the chosen set into the fields.
  void SeriesChange();
  void ShowSeriesClick();
  // Refusals say why, give the empty field the focus and answer false.
  bool ApplyClick();
  void OkClick();
  void FontClick();

private:
  // The label and value controls follow "Show Series".
  void EnableValues();

  std::unique_ptr<Ui::TTableLabelsForm> Ui;
  TTableForm& Form;
};
