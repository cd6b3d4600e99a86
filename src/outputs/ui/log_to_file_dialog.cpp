#include "outputs/ui/log_to_file_dialog.h"

#include <QFileInfo>

#include "model/text.h"
#include "model/ui_port.h"
#include "outputs/big_num_form.h"
#include "outputs/log_file_name.h"
#include "ui_log_to_file_dialog.h"

TLogToFileForm::TLogToFileForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TLogToFileForm>()) {
  Ui->setupUi(this);
  const int unit = Ui->OK->sizeHint().height();
  // Wide enough for a path of a few folders.
  resize(22 * unit, 7 * unit);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 46);
  Ui->Help->setProperty("helpContext", 46);
  Ui->Help->setEnabled(false);
  connect(Ui->OK, &QPushButton::clicked, this, &TLogToFileForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TLogToFileForm::reject);
  connect(Ui->BrowseButton, &QToolButton::clicked, this, &TLogToFileForm::BrowseClick);
}

TLogToFileForm::~TLogToFileForm() = default;

void TLogToFileForm::SetParameters(const TLogParameters& parameters) {
  Ui->FileNameEdit->setText(QString::fromStdString(parameters.FileName));
  Ui->TimeStamp->setChecked(parameters.TimeStamp);
  Ui->DateStamp->setChecked(parameters.DateStamp);
  Ui->CloseFileBox->setChecked(parameters.CloseBetweenWrites);
}

TLogParameters TLogToFileForm::Parameters() const {
  return {TrimText(Ui->FileNameEdit->text().toStdString()), Ui->TimeStamp->isChecked(),
          Ui->DateStamp->isChecked(), Ui->CloseFileBox->isChecked()};
}

void TLogToFileForm::accept() {
  const std::string error = LogFileNameError(Parameters().FileName);
  if (!error.empty()) {
    Inform(error);
    Ui->FileNameEdit->setFocus();
    return;
  }
  QDialog::accept();
}

void TLogToFileForm::BrowseClick() {
  const std::string current = Parameters().FileName;
  const std::string folder =
      current.empty() ? "" : QFileInfo(QString::fromStdString(current)).path().toStdString();
  const std::string chosen = ChooseFile(true, "Text (*.txt)|*.txt|All Files (*.*|*.*", ".txt",
                                        current, folder);
  if (!chosen.empty()) Ui->FileNameEdit->setText(QString::fromStdString(chosen));
}

bool EditLogParameters(TBigNumForm& form, QWidget* parent) {
  TLogToFileForm dialog(parent);
  dialog.SetParameters({form.GetLogFileName(), form.GetTimeStamp(), form.GetDateStamp(),
                        form.GetCloseBetweenWrites()});
  if (dialog.exec() != QDialog::Accepted) return false;
  const TLogParameters chosen = dialog.Parameters();
  form.SetLogParameters(chosen.FileName, chosen.TimeStamp, chosen.DateStamp,
                        chosen.CloseBetweenWrites);
  return true;
}
