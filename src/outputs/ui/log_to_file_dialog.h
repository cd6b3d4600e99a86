// "BigNum Log To File": the big number's log file and its stamps. OK takes only a name
// whose folder exists and that names a file in it.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

class TBigNumForm;

namespace Ui {
class TLogToFileForm;
}

// What the dialog edits: the big number's log settings.
struct TLogParameters {
  std::string FileName;
  bool TimeStamp = false;
  bool DateStamp = false;
  bool CloseBetweenWrites = false;
};

class TLogToFileForm : public QDialog {
  Q_OBJECT

public:
  explicit TLogToFileForm(QWidget* parent = nullptr);
  ~TLogToFileForm() override;

  void SetParameters(const TLogParameters& parameters);
  // The settings shown, the file name trimmed.
  TLogParameters Parameters() const;

  // OK: closes only when the trimmed name passes the log-name check; otherwise its
  // message is shown and the name edit takes the focus.
  void accept() override;
  // "...": a save chooser whose name goes into the edit.
  void BrowseClick();

private:
  std::unique_ptr<Ui::TLogToFileForm> Ui;
};

// The window's "Edit Log File Parameters": the dialog above parent with the form's log
// settings; on OK the form takes them back. Answers whether OK was pressed.
bool EditLogParameters(TBigNumForm& form, QWidget* parent);
