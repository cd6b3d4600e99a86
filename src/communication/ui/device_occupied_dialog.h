// "Device Address Occupied": a device read from a file meets its location held by
// another device; the user overwrites that device (moving its commands along when
// "Transfer Scripts?" is ticked), reassigns the new one, or skips it. Opened for the
// core's TDeviceOccupiedRequest; it closes only with OK.
#pragma once

#include <QDialog>

#include <memory>

#include "communication/communications_tree.h"

namespace Ui {
class TDeviceOccupiedForm;
}

class TDeviceOccupiedForm : public QDialog {
  Q_OBJECT

public:
  TDeviceOccupiedForm(TDeviceOccupiedRequest& request, QWidget* parent = nullptr);
  ~TDeviceOccupiedForm() override;

  // The choice and the transfer flag go to the request.
  void accept() override;
  // Escape and the window's close button do nothing: a choice is required.
  void reject() override {}

private:
  void ChoiceChanged();

  std::unique_ptr<Ui::TDeviceOccupiedForm> Ui;
  TDeviceOccupiedRequest& Request;
};
