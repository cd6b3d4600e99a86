#include "shell/ui/preferences_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <optional>
#include <string>

#include "shell/ui/user_dialogs.h"
#include "ui_preferences_dialog.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TExperimentPreferencesForm::TExperimentPreferencesForm(TExperimentPreferencesRequest& request,
                                                       QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TExperimentPreferencesForm>()), Request(request) {
  Ui->setupUi(this);
  setProperty("helpContext", 27);
  Ui->Help->setProperty("helpContext", 27);
  Ui->Help->setEnabled(false);  // the help wiring enables it
  connect(Ui->Ok, &QPushButton::clicked, this, &TExperimentPreferencesForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TExperimentPreferencesForm::reject);
  const std::pair<QToolButton*, TPreferenceField> browsers[] = {
      {Ui->OutputBrowse, TPreferenceField::Output},
      {Ui->DeviceBrowse, TPreferenceField::Device},
      {Ui->ExpBrowse, TPreferenceField::Experiment},
      {Ui->BlockBrowse, TPreferenceField::Block},
  };
  for (const auto& [button, field] : browsers)
    connect(button, &QToolButton::clicked, this, [this, field = field] { BrowseClick(field); });

  const TSessionDirectories& folders = request.Directories;
  Ui->OutputEdit->setText(Text(folders.Output));
  Ui->DeviceEdit->setText(Text(folders.Device));
  Ui->ExpEdit->setText(Text(folders.Experiment));
  Ui->BlockEdit->setText(Text(folders.Block));

  const int unit = Ui->Ok->sizeHint().height();
  resize(std::max(19 * unit, sizeHint().width()), std::max(9 * unit, sizeHint().height()));
}

TExperimentPreferencesForm::~TExperimentPreferencesForm() = default;

QLineEdit* TExperimentPreferencesForm::EditOf(TPreferenceField field) const {
  switch (field) {
    case TPreferenceField::Output: return Ui->OutputEdit;
    case TPreferenceField::Device: return Ui->DeviceEdit;
    case TPreferenceField::Experiment: return Ui->ExpEdit;
    case TPreferenceField::Block: return Ui->BlockEdit;
  }
  return Ui->OutputEdit;
}

void TExperimentPreferencesForm::BrowseClick(TPreferenceField field) {
  QLineEdit* edit = EditOf(field);
  std::string folder = edit->text().toStdString();
  if (UserDialogs().ChooseDirectory(this, BrowseCaption(field), folder))
    edit->setText(Text(folder));
}

void TExperimentPreferencesForm::accept() {
  TSessionDirectories entries;
  entries.Output = Ui->OutputEdit->text().toStdString();
  entries.Device = Ui->DeviceEdit->text().toStdString();
  entries.Experiment = Ui->ExpEdit->text().toStdString();
  entries.Block = Ui->BlockEdit->text().toStdString();
  if (const std::optional<TPreferenceRefusal> refused = CheckPreferenceDirectories(entries)) {
    UserDialogs().Message(this, MessageBoxOf(refused->Message, "", TMessageKind::Information));
    EditOf(refused->Field)->setFocus();
    return;
  }
  Request.Directories = entries;
  QDialog::accept();
}
