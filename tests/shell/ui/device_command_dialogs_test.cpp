// The device commands' dialogs through the main window: Send GPIB Commands, Send RS232,
// Serial Poll, Send, Send Binary and Clear Device Buffer, added through their tool
// buttons, changed with a double click, and refused with their messages; the device
// list's "Commands..." submenu opening them for the device.
#include "device_command_dialogs_fixture.h"

#include "scripts/device/send_gpib_script.h"
#include "scripts/ui/send_gpib_dialog.h"

namespace {

using TGpibActor = TModalDialogActor<TSendGPIBScriptForm>;

}  // namespace

TEST_F(TDeviceDialogsTest, SendGpibAddsTheCheckedCommandsAndADoubleClickChangesThem) {
  TDevice* rs232 = AddDevice("Pump", Rs232());
  TDevice* meter = AddDevice("Meter", Gpib(5));
  TDevice* scope = AddDevice("Scope", Gpib(7));
  ASSERT_TRUE(Action("SendGPIBButton")->isEnabled());

  TGpibActor actor([&](TSendGPIBScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Send GPIB Commands"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 12);
    auto* devices = Control<QComboBox>(dialog, "DeviceCombo");
    // Only the GPIB devices, the first selected.
    ASSERT_EQ(devices->count(), 2);
    EXPECT_EQ(devices->itemText(0).toStdString(), meter->GetDisplayName());
    EXPECT_EQ(devices->itemText(1).toStdString(), scope->GetDisplayName());
    EXPECT_EQ(devices->currentIndex(), 0);
    for (const char* box : {"RENButton", "GTLButton", "DCLButton", "IFCButton", "LLOButton"})
      EXPECT_FALSE(Control<QCheckBox>(dialog, box)->isChecked()) << box;
    devices->setFocus();
    QTest::keyClick(devices, Qt::Key_Down);
    ClickControl(dialog, "RENButton");
    ClickControl(dialog, "DCLButton");
    ClickControl(dialog, "LLOButton");
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  Trigger("SendGPIBButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  std::vector<TScript*> commands = Commands(Start);
  ASSERT_EQ(commands.size(), 1u);
  auto* gpib = dynamic_cast<TSendGPIBScript*>(commands[0]);
  ASSERT_NE(gpib, nullptr);
  EXPECT_EQ(gpib->GetDevice(), scope);
  EXPECT_EQ(gpib->GetBusCommands(),
            TSendGPIBScript::REN | TSendGPIBScript::DCL | TSendGPIBScript::LLO);
  EXPECT_EQ(Shown(gpib->AExpNode), QString("Scope: Send GPIB Commands(REN DCL LLO)"));
  EXPECT_TRUE(Modified());
  (void)rs232;

  // A double click shows it; OK takes the change.
  Window->Session().ExperimentChanged(0, 1);
  TGpibActor change([&](TSendGPIBScriptForm& dialog) {
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo"), scope);
    EXPECT_TRUE(Control<QCheckBox>(dialog, "RENButton")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dialog, "GTLButton")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "DCLButton")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dialog, "IFCButton")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "LLOButton")->isChecked());
    ClickControl(dialog, "RENButton");
    ClickControl(dialog, "IFCButton");
    auto* devices = Control<QComboBox>(dialog, "DeviceCombo");
    devices->setFocus();
    QTest::keyClick(devices, Qt::Key_Up);
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  DoubleClick(gpib->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(gpib->GetDevice(), meter);
  EXPECT_EQ(gpib->GetBusCommands(),
            TSendGPIBScript::DCL | TSendGPIBScript::IFC | TSendGPIBScript::LLO);
  EXPECT_EQ(Shown(gpib->AExpNode), QString("Meter: Send GPIB Commands(DCL IFC LLO)"));
  EXPECT_TRUE(Modified());

  // Cancel leaves it.
  Window->Session().ExperimentChanged(0, 1);
  TGpibActor cancel([&](TSendGPIBScriptForm& dialog) {
    ClickControl(dialog, "GTLButton");
    QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
  });
  DoubleClick(gpib->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(gpib->GetBusCommands(),
            TSendGPIBScript::DCL | TSendGPIBScript::IFC | TSendGPIBScript::LLO);
  EXPECT_FALSE(Modified());
  EXPECT_EQ(Commands(Start).size(), 1u);
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TDeviceDialogsTest, SendGpibAsksForACommandBeforeItLooksAtTheDevice) {
  AddDevice("Meter", Gpib(5));
  Dialogs.ScriptAnswers({mbOK, mbOK});
  std::vector<std::string> texts;
  TGpibActor actor([&](TSendGPIBScriptForm& dialog) {
    // No device and no command: the command is asked for first.
    Control<QComboBox>(dialog, "DeviceCombo")->setCurrentIndex(-1);
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    texts = Dialogs.Texts();
    ClickControl(dialog, "GTLButton");
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
  });
  Trigger("SendGPIBButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_EQ(texts, std::vector<std::string>{"You must select a GPIB command"});
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"You must select a GPIB command",
                                                       "You must select a device"}));
  EXPECT_TRUE(Commands(Start).empty());
  EXPECT_FALSE(Modified());
}

TEST_F(TDeviceDialogsTest, SendGpibWithoutAGpibDeviceSaysWhyAndOpensNothing) {
  Dialogs.ScriptAnswers({mbOK, mbOK});
  TGpibActor none([](TSendGPIBScriptForm&) {});
  Trigger("SendGPIBButton");
  AddDevice("Pump", Rs232());
  Trigger("SendGPIBButton");
  QTest::qWait(50);
  EXPECT_FALSE(none.Seen);
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{
                "Commands can only be sent to devices.  There are no devices.",
                "GPIB commands can only be sent to GPIB Devices. There are no GPIB devices."}));
  EXPECT_TRUE(Commands(Start).empty());
}

TEST_F(TDeviceDialogsTest, ACommandWhoseDeviceIsNoLongerGpibOpensWithoutDeviceAndAsksForOne) {
  TDevice* meter = AddDevice("Meter", Gpib(5));
  TDevice* other = AddDevice("Other", Gpib(6));
  auto* gpib = static_cast<TSendGPIBScript*>(Start->AddScript(TScript::SENDGPIB));
  gpib->SetUpSendGPIB(meter, TSendGPIBScript::GTL);
  meter->SetCommunication(Rs232());  // its kind changed
  Dialogs.ScriptAnswers({mbOK});
  int selected = 0;
  TGpibActor actor([&](TSendGPIBScriptForm& dialog) {
    auto* devices = Control<QComboBox>(dialog, "DeviceCombo");
    selected = devices->currentIndex();
    EXPECT_EQ(devices->count(), 1);
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    devices->setCurrentIndex(0);
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  DoubleClick(gpib->AExpNode);
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(selected, -1);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must select a device"});
  EXPECT_EQ(gpib->GetDevice(), other);
}
