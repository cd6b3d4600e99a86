// "GPIB Settings": automatic detection of the GPIB boards, or how many National
// Instruments and CEC boards there are. Opened for the core's TGpibSettingsRequest
// ("Change Settings" of the device dialog); the request gets the settings on OK only.
#pragma once

#include <QDialog>

#include <memory>

#include "communication/gpib_settings.h"

namespace Ui {
class TGPIBAdvancedForm;
}

class TGPIBAdvancedForm : public QDialog {
  Q_OBJECT

public:
  // Shows the counts in decimal and the flag; the counts can be typed only while
  // "Auto Detect" is unchecked.
  TGPIBAdvancedForm(TGpibSettingsRequest& request, QWidget* parent = nullptr);
  ~TGPIBAdvancedForm() override;

  // Checks the entries; a refusal shows its message, focuses its edit and leaves the
  // dialog open.
  void accept() override;

private:
  void AutoDetectClick();

  std::unique_ptr<Ui::TGPIBAdvancedForm> Ui;
  TGpibSettingsRequest& Request;
};
