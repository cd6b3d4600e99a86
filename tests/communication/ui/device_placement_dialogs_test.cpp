// Placing devices read from files through the real dialogs: a device file opened twice
// meets its own location ("Device Address Occupied": Skip This Device, Overwrite with
// "Transfer Scripts?", Reassign), and a device whose board is absent gives its message
// and "Reassign Device To...", which insists on a location.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "communication/ui/device_occupied_dialog.h"
#include "communication/ui/reassign_device_dialog.h"
#include "device_dialog_fixture.h"

namespace {

class DevicePlacementDialogsTest : public TDeviceDialogFixture {
protected:
  // Reads the device file into a new device of the list, as "Open Device" does; the
  // device stays only when placed.
  bool Open(const std::string& path) {
    TDevice* device = List.NewDevice();
    const bool placed = device->LoadDeviceFile(path, List.GetPlacer());
    if (!placed) List.RemoveDevice(device);
    return placed;
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < List.Count(); ++i) names.push_back(List.GetDevice(i)->GetName());
    return names;
  }
};

TEST_F(DevicePlacementDialogsTest, ADeviceFileOpenedTwiceMeetsItsOwnLocation) {
  TDevice* meter = Make("Meter", Cec(5));
  TSendScript* send = Use(meter);
  const std::string path = Temp.PathOf("meter.dev");
  ASSERT_TRUE(meter->SaveDeviceFile(path));

  // Skip This Device: the copy is dropped.
  TModalDialogActor<TDeviceOccupiedForm> skip([](TDeviceOccupiedForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Device Address Occupied"));
    EXPECT_EQ(Control<QLabel>(dialog, "CommunicationLabel")->text(),
              QString("CEC GPIB-Device Address: 5"));
    EXPECT_EQ(Control<QLabel>(dialog, "OccupantLabel")->text(),
              QString("Is already being used by Meter"));
    // "Transfer Scripts?" belongs to Overwrite.
    EXPECT_TRUE(Control<QCheckBox>(dialog, "TransferScriptsCheck")->isVisible());
    ClickControl(dialog, "SkipRadio");
    EXPECT_FALSE(Control<QCheckBox>(dialog, "TransferScriptsCheck")->isVisible());
    // Escape does not close it: a choice is needed.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    ClickControl(dialog, "Ok");
  });
  EXPECT_FALSE(Open(path));
  EXPECT_TRUE(skip.Seen);
  EXPECT_EQ(Names(), TTexts{"Meter"});
  EXPECT_EQ(send->GetDevice(), meter);

  // Overwrite with "Transfer Scripts?": the first goes, its command uses the copy.
  TModalDialogActor<TDeviceOccupiedForm> overwrite([](TDeviceOccupiedForm& dialog) {
    EXPECT_TRUE(Control<QRadioButton>(dialog, "OverwriteRadio")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "TransferScriptsCheck")->isChecked());
    ClickControl(dialog, "Ok");
  });
  EXPECT_TRUE(Open(path));
  EXPECT_TRUE(overwrite.Seen);
  ASSERT_EQ(List.Count(), 1u);
  TDevice* copy = List.GetDevice(0);
  EXPECT_NE(copy->GetSerial(), 0u);
  EXPECT_EQ(send->GetDevice(), copy);
  EXPECT_EQ(Cec(5).GetDevice(), copy);

  // Overwrite without it: the first goes with its command.
  TModalDialogActor<TDeviceOccupiedForm> without([](TDeviceOccupiedForm& dialog) {
    ClickControl(dialog, "TransferScriptsCheck");
    ClickControl(dialog, "Ok");
  });
  EXPECT_TRUE(Open(path));
  ASSERT_EQ(List.Count(), 1u);
  EXPECT_TRUE(List.GetDevice(0)->GetScripts().empty());
  EXPECT_EQ(Children(B1->AExpNode), TTexts{});

  // Reassign: the reassign dialog offers the free locations; the copy goes there.
  TModalDialogActor<TDeviceOccupiedForm> reassign([](TDeviceOccupiedForm& dialog) {
    ClickControl(dialog, "ReassignRadio");
    ClickControl(dialog, "Ok");
  });
  bool chose = false;
  TModalDialogActor<TReassignDeviceForm> choose([&](TReassignDeviceForm& dialog) {
    chose = true;
    ClickControl(dialog, "GroupRadio1");  // CEC_GPIB0
    auto* list = Control<QComboBox>(dialog, "GroupCombo1");
    EXPECT_EQ(list->count(), 28);  // every address but 5
    list->setCurrentIndex(list->findText("GPIB Address 8"));
    ClickControl(dialog, "Ok");
  });
  EXPECT_TRUE(Open(path));
  EXPECT_TRUE(chose);
  ASSERT_EQ(List.Count(), 2u);
  EXPECT_EQ(Cec(8).GetDevice(), List.GetDevice(1));
  EXPECT_EQ(List.GetDevice(1)->GetListItem().Communication, "CEC GPIB-Device Address: 8");
}

TEST_F(DevicePlacementDialogsTest, ADeviceOnAnAbsentBoardIsReportedAndMayBeReassigned) {
  TDevice* meter = Make("Meter", Ni(5));
  const std::string path = Temp.PathOf("meter.dev");
  ASSERT_TRUE(meter->SaveDeviceFile(path));
  List.RemoveDevice(meter);
  Sim.Configure("cec-board 0\n");
  TGpibSettings gpib{true, 1, 1};
  List.BuildCommunicationsTree(gpib);
  const std::string notPresent =
      "The communication used by this device is not present on this machine.\r It was at "
      "National GPIB-Device Address: 5";

  // Cancel drops the device.
  Dialogs.ScriptAnswers({mbOK});
  TModalDialogActor<TReassignDeviceForm> cancel([](TReassignDeviceForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Reassign Device To..."));
    EXPECT_EQ(Control<QLabel>(dialog, "PromptLabel")->text(),
              QString("Choose a free location for Meter:"));
    ClickControl(dialog, "Cancel");
  });
  EXPECT_FALSE(Open(path));
  EXPECT_TRUE(cancel.Seen);
  EXPECT_EQ(Dialogs.Texts(), TTexts{notPresent});
  EXPECT_TRUE(List.IsEmpty());

  // OK needs a location; the chosen one takes the device, its kind changing.
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbOK, mbOK});
  TModalDialogActor<TReassignDeviceForm> choose([](TReassignDeviceForm& dialog) {
    // COM1 (the serial instrument) and CEC board 0, each with its own list.
    ASSERT_NE(dialog.findChild<QRadioButton*>("GroupRadio1"), nullptr);
    EXPECT_EQ(dialog.findChild<QRadioButton*>("GroupRadio2"), nullptr);
    EXPECT_TRUE(Control<QRadioButton>(dialog, "GroupRadio0")->isChecked());
    EXPECT_FALSE(Control<QComboBox>(dialog, "GroupCombo1")->isEnabled());
    ClickControl(dialog, "Ok");  // nothing chosen yet
    EXPECT_TRUE(dialog.isVisible());
    ClickControl(dialog, "GroupRadio1");
    EXPECT_TRUE(Control<QComboBox>(dialog, "GroupCombo1")->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(dialog, "GroupCombo0")->isEnabled());
    EXPECT_EQ(Control<QComboBox>(dialog, "GroupCombo1")->currentIndex(), -1);
    Control<QComboBox>(dialog, "GroupCombo1")->setCurrentIndex(2);  // address 3
    EXPECT_EQ(dialog.GetSelectedNode()->GetText(), "GPIB Address 3");
    ClickControl(dialog, "Ok");
  });
  EXPECT_TRUE(Open(path));
  EXPECT_TRUE(choose.Seen);
  EXPECT_EQ(Dialogs.Texts(),
            (TTexts{notPresent, "You must choose a communication or press Cancel"}));
  ASSERT_EQ(List.Count(), 1u);
  EXPECT_EQ(List.GetDevice(0)->GetListItem().Communication, "CEC GPIB-Device Address: 3");
  EXPECT_EQ(Cec(3).GetText(), "IN USE BY: Meter");
}

}  // namespace
