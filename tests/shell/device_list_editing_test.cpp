// The device list's decisions: the pop-up's items with and without a selected device
// and during a run, the device's commands as items, the add-command items each serving
// GPIB or serial devices, and the Delete key.
#include "shell/device_list_editing.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/rs232.h"
#include "model/experiment_running.h"
#include "support/fake_ui_port.h"

namespace {

class DeviceListEditingTest : public ::testing::Test {
protected:
  ~DeviceListEditingTest() override { ExperimentRunning = false; }

  TDevice* Device(const std::string& name, std::unique_ptr<TCommunication> communication) {
    TDevice* device = Devices.NewDevice();
    device->GetCoreDevice().SetName(name);
    device->SetCommunication(std::move(communication));
    return device;
  }
  // The captions of the add-command items the device's menu enables.
  static std::vector<std::string> Enabled(const TDeviceMenuState& menu) {
    std::vector<std::string> captions;
    for (std::size_t index = 0; index < DeviceCommandKinds.size(); ++index)
      if (menu.CommandEnabled[index]) captions.push_back(DeviceCommandKinds[index].Caption);
    return captions;
  }

  TFakeUiPort Ui;
  TDeviceList Devices;
  TDevice* Meter = Device("Meter", std::make_unique<TCECGPIB>(0, 5, nullptr));
  TDevice* Pump = Device("Pump", std::make_unique<TRS232>(nullptr, 1));
};

TEST_F(DeviceListEditingTest, WithoutASelectionOnlyTheItemsThatMakeDevicesShow) {
  TDeviceMenuState menu = DevicePopupMenuPopup(nullptr);
  EXPECT_TRUE(menu.NoDeviceAction.Visible && menu.NoDeviceAction.Enabled);
  for (const TMenuItemState* item : {&menu.AddEditCommands, &menu.DeviceCommands, &menu.Commands,
                                     &menu.Interact, &menu.Save, &menu.SaveAs, &menu.Edit,
                                     &menu.Delete, &menu.Reset})
    EXPECT_FALSE(item->Visible);
  EXPECT_TRUE(menu.DeviceCommandCaptions.empty());
  ExperimentRunning = true;
  menu = DevicePopupMenuPopup(nullptr);
  EXPECT_TRUE(menu.NoDeviceAction.Visible);
  EXPECT_FALSE(menu.NoDeviceAction.Enabled);
}

TEST_F(DeviceListEditingTest, ASelectedDeviceOffersItsItemsAndARunLeavesEditAndTheEditor) {
  TDeviceMenuState menu = DevicePopupMenuPopup(Meter);
  EXPECT_FALSE(menu.NoDeviceAction.Visible);
  for (const TMenuItemState* item : {&menu.AddEditCommands, &menu.Commands, &menu.Interact,
                                     &menu.Save, &menu.SaveAs, &menu.Edit, &menu.Delete,
                                     &menu.Reset})
    EXPECT_TRUE(item->Visible && item->Enabled);
  // A device without commands: "Device Commands..." shows, disabled and empty.
  EXPECT_TRUE(menu.DeviceCommands.Visible);
  EXPECT_FALSE(menu.DeviceCommands.Enabled);
  EXPECT_TRUE(menu.DeviceCommandCaptions.empty());

  ExperimentRunning = true;
  menu = DevicePopupMenuPopup(Meter);
  for (const TMenuItemState* item : {&menu.Commands, &menu.Interact, &menu.Save, &menu.SaveAs,
                                     &menu.Delete, &menu.Reset})
    EXPECT_TRUE(item->Visible && !item->Enabled);
  EXPECT_TRUE(menu.Edit.Visible && menu.Edit.Enabled);
  // The command editor opens to say why it refuses.
  EXPECT_TRUE(menu.AddEditCommands.Visible && menu.AddEditCommands.Enabled);
}

TEST_F(DeviceListEditingTest, DeviceCommandsAreListedByTheirShortTexts) {
  TCoreDevice& core = Meter->GetCoreDevice();
  core.NewScript("*IDN?");
  core.NewScript("*RST");
  const std::vector<std::string> texts{core.GetScript(0)->GetText(), core.GetScript(1)->GetText()};
  EXPECT_EQ(texts[0].rfind("Send(*IDN?", 0), 0u) << texts[0];

  TDeviceMenuState menu = DevicePopupMenuPopup(Meter);
  EXPECT_TRUE(menu.DeviceCommands.Visible && menu.DeviceCommands.Enabled);
  EXPECT_EQ(menu.DeviceCommandCaptions, texts);
  // Another device has its own.
  EXPECT_TRUE(DevicePopupMenuPopup(Pump).DeviceCommandCaptions.empty());
  ExperimentRunning = true;
  menu = DevicePopupMenuPopup(Meter);
  EXPECT_FALSE(menu.DeviceCommands.Enabled);
  EXPECT_EQ(menu.DeviceCommandCaptions, texts);
}

TEST_F(DeviceListEditingTest, CommandItemsServeTheirKindOfDevice) {
  EXPECT_TRUE(IsGpibDevice(*Meter));
  EXPECT_FALSE(IsGpibDevice(*Pump));
  EXPECT_EQ(Enabled(DevicePopupMenuPopup(Meter)),
            (std::vector<std::string>{"Send", "Read", "Send and Read", "Send GPIB", "Send Binary",
                                      "Serial Poll", "Clear Device Read Buffer"}));
  EXPECT_EQ(Enabled(DevicePopupMenuPopup(Pump)),
            (std::vector<std::string>{"Send", "Read", "Send and Read", "Send Binary",
                                      "Send RS232", "Clear Device Read Buffer"}));
  // A device without a communication is no GPIB device.
  TDevice* bare = Devices.NewDevice();
  EXPECT_FALSE(IsGpibDevice(*bare));
}

TEST_F(DeviceListEditingTest, DeleteKeyNeedsASelectionUnderThePointerOutsideARun) {
  EXPECT_TRUE(DeviceKeyDeletes(true, true));
  EXPECT_FALSE(DeviceKeyDeletes(false, true));
  EXPECT_FALSE(DeviceKeyDeletes(true, false));
  ExperimentRunning = true;
  EXPECT_FALSE(DeviceKeyDeletes(true, true));
}

}  // namespace
