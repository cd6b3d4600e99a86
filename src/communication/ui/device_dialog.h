// "Add or Edit a Device": a device's name, icon, location in the communications tree,
// time-out, terminating characters, EOI and serial settings. Opened for the core's
// TDeviceFormRequest: for a new device its OK and Add make devices through the device
// list; for an existing one OK writes the entries back for the device to apply. Every
// decision (defaults, checks, the overwrite question) is the core's (device_settings.h).
#pragma once

#include <QDialog>

#include <memory>

#include "communication/device_settings.h"

class QTreeWidgetItem;
class THolder;

namespace Ui {
class TDeviceForm;
}

class TDeviceForm : public QDialog {
  Q_OBJECT

public:
  TDeviceForm(TDeviceFormRequest& request, QWidget* parent = nullptr);
  ~TDeviceForm() override;

  // The entries as the controls show them now.
  const TDeviceSettings& Settings();

  // Checks the entries (the first refusal is shown and its control focused), then asks
  // about a location another device holds. A new device is made (an untouched dialog
  // makes none); an existing device gets the entries through the request.
  void accept() override;

private:
  bool IsNew() const { return Request.Device == nullptr; }
  // The checks and the overwrite question; true when the entries may be applied.
  bool Validate();
  void AddClick();
  void ChangeIconClick();
  // "Change Settings": the GPIB settings dialog; new settings replace the GPIB nodes of
  // the tree (and the devices on them).
  void ChangeSettingsClick();
  void ResetForNewDevice();

  void BuildTree();
  void RefreshTreeTexts();
  void SelectTreeLocation(const THolder* location);
  void LocationChanged(QTreeWidgetItem* item);
  // Reads what the controls show into Entries (the time-out is kept by its handlers).
  void ReadEntries();
  // Shows Entries in every control, without counting it as the user's change.
  void ShowEntries();
  void ShowLocationControls();
  void ShowTimeOut();
  void ShowIcon();
  void FillCharacterBoxes();
  void GateSecondBoxes();
  void TimeOutControlChanged();
  void NatTimeOutChanged(int code);
  void Refuse(const TEntryRefusal& refusal);

  std::unique_ptr<Ui::TDeviceForm> Ui;
  TDeviceFormRequest& Request;
  TDeviceSettings Entries;
  bool Showing = false;  // the controls are being set from Entries
};
