// The main window with the command dialogs registered and devices in its device list,
// for the device commands' dialog tests.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/rs232.h"
#include "command_dialogs_fixture.h"
#include "main_window_widgets.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "model/ui/model_dialogs.h"
#include "model/ui/variable_dialog.h"
#include "scripts/script.h"
#include "scripts/ui/device_combo.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"
#include "support/ui/dialog_driver.h"

class TDeviceDialogsTest : public TCommandDialogsFixture {
 protected:
  static std::unique_ptr<TCommunication> Gpib(int address) {
    return std::make_unique<TCECGPIB>(0, address, nullptr);
  }
  static std::unique_ptr<TCommunication> Rs232() { return std::make_unique<TRS232>(nullptr, 1); }
  // A device of the name on the communication, shown in the device list.
  TDevice* AddDevice(const std::string& name, std::unique_ptr<TCommunication> communication) {
    TDevice* device = Window->Session().GetDeviceList().NewDevice();
    device->GetCoreDevice().SetName(name);
    device->SetCommunication(std::move(communication));
    device->UpdateListItem();
    Window->RefreshViews();
    return device;
  }
  static TDevice* SelectedDevice(QWidget& dialog, const char* box) {
    return ::SelectedDevice(*Control<QComboBox>(dialog, box));
  }
  // A variable of the block through the experiment's lists (size 1: a single one).
  TData* AddVariable(const std::string& name, int type, std::int32_t size = 1) {
    TDataList* list = size == 1 ? static_cast<TDataList*>(Exp().GetDataSingleList())
                                : static_cast<TDataList*>(Exp().GetDataArrayList());
    return list->Add(Start, type, size, name);
  }
  // The entries of a combo box.
  static QStringList Entries(QWidget& dialog, const char* box) {
    QStringList entries;
    auto* combo = Control<QComboBox>(dialog, box);
    for (int index = 0; index < combo->count(); ++index) entries << combo->itemText(index);
    return entries;
  }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
};
