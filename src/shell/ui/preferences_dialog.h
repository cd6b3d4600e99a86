// "Preferences": the four default folders (output, device, experiment and block), each
// typed or chosen with its browse button in the "Find Directory" dialog. Opened for the
// core's TExperimentPreferencesRequest; the request gets the folders on OK only.
#pragma once

#include <QDialog>

#include <memory>

#include "shell/preferences.h"

class QLineEdit;

namespace Ui {
class TExperimentPreferencesForm;
}

class TExperimentPreferencesForm : public QDialog {
  Q_OBJECT

public:
  TExperimentPreferencesForm(TExperimentPreferencesRequest& request, QWidget* parent = nullptr);
  ~TExperimentPreferencesForm() override;

  // Checks the folders in order; one that does not exist is named in a message, its
  // edit takes the focus and the dialog stays open.
  void accept() override;

private:
  QLineEdit* EditOf(TPreferenceField field) const;
  // The folder chooser captioned for the field, starting at the edit's folder; the
  // folder chosen replaces the edit's text.
  void BrowseClick(TPreferenceField field);

  std::unique_ptr<Ui::TExperimentPreferencesForm> Ui;
  TExperimentPreferencesRequest& Request;
};
