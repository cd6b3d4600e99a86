// "Edit Device Scripts": the predefined commands of a device, each with an optional
// description of its response. Opened for the core's TDeviceScriptsRequest. The list
// works on the device's commands themselves and on new ones; OK takes the new ones into
// the device, and closing drops every new command not taken. Edits and deletions of the
// device's commands take effect at once. The checks are the core's
// (device_script_entry.h).
#pragma once

#include <QDialog>

#include <memory>
#include <vector>

#include "communication/device_script_entry.h"
#include "communication/device_settings.h"

class TDeviceScript;

namespace Ui {
class TAddDeviceScriptsForm;
}

class TAddDeviceScriptsForm : public QDialog {
  Q_OBJECT

public:
  TAddDeviceScriptsForm(TDeviceScriptsRequest& request, QWidget* parent = nullptr);
  ~TAddDeviceScriptsForm() override;

  // The commands listed, in order.
  const std::vector<TDeviceScript*>& Listed() const { return Scripts; }
  // The command of the list line into the editor ("UpDate"), and its deletion.
  void EditLine(int row);
  void DeleteLine(int row);

  // Every listed command goes to the device.
  void accept() override;
  // Closing by any way drops the new commands not taken.
  void done(int result) override;

private:
  void AddClick();
  void ListMenu(const QPoint& at);
  TDeviceScriptEntry EntryFromControls() const;
  void ShowEntry(const TDeviceScriptEntry& entry);
  void ResetEditor();
  void UpdateEditorControls();
  void ReadAsClicked();
  void PointsKindClicked();
  void Refuse(const TEntryRefusal& refusal);

  std::unique_ptr<Ui::TAddDeviceScriptsForm> Ui;
  TDeviceScriptsRequest& Request;
  std::vector<TDeviceScript*> Scripts;  // the device's own, then new ones (owned here)
  int Editing = -1;                     // the line in the editor; -1 for a new command
};
