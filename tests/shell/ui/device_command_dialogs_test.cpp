// The device commands' dialogs through the main window: Send GPIB Commands, Send RS232,
// Serial Poll, Send, Send Binary and Clear Device Buffer, added through their tool
// buttons, changed with a double click, and refused with their messages; the device
// list's "Commands..." submenu opening them for the device.
#include "device_command_dialogs_fixture.h"

#include "model/number_text.h"
#include "model/variable_data.h"
#include "outputs/ui/number_format_dialog.h"
#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_rs232_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"
#include "scripts/ui/clear_device_buffer_dialog.h"
#include "scripts/ui/send_binary_dialog.h"
#include "scripts/ui/send_dialog.h"
#include "scripts/ui/send_gpib_dialog.h"
#include "scripts/ui/send_rs232_dialog.h"
#include "scripts/ui/serial_poll_dialog.h"

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
  auto* gpib = OnlyCommand<TSendGPIBScript>(Start);
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

namespace {

using TRs232Actor = TModalDialogActor<TSendRS232Form>;

}  // namespace

TEST_F(TDeviceDialogsTest, SendRs232ClearsTheCheckedBuffersOfAnRs232Device) {
  AddDevice("Meter", Gpib(5));
  TDevice* pump = AddDevice("Pump", Rs232());
  TRs232Actor actor([&](TSendRS232Form& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Send RS232"));
    auto* devices = Control<QComboBox>(dialog, "DeviceComboBox");
    ASSERT_EQ(devices->count(), 1);
    EXPECT_EQ(SelectedDevice(dialog, "DeviceComboBox"), pump);
    EXPECT_TRUE(Control<QCheckBox>(dialog, "TransmitCheckBox")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "ReceiveCheckBox")->isChecked());
    ClickControl(dialog, "TransmitCheckBox");
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  Trigger("SendRS232Button");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  auto* send = OnlyCommand<TSendRS232Script>(Start);
  ASSERT_NE(send, nullptr);
  EXPECT_EQ(send->GetDevice(), pump);
  EXPECT_FALSE(send->GetClearTransmit());
  EXPECT_TRUE(send->GetClearReceive());
  EXPECT_EQ(Shown(send->AExpNode), QString("Pump: Send RS232(Clear Receive)"));

  // Both clear is refused; the change then takes transmit only.
  Dialogs.ScriptAnswers({mbOK});
  TRs232Actor change([&](TSendRS232Form& dialog) {
    EXPECT_FALSE(Control<QCheckBox>(dialog, "TransmitCheckBox")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(dialog, "ReceiveCheckBox")->isChecked());
    ClickControl(dialog, "ReceiveCheckBox");
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    ClickControl(dialog, "TransmitCheckBox");
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"You must select at least one or press cancel"});
  EXPECT_TRUE(send->GetClearTransmit());
  EXPECT_FALSE(send->GetClearReceive());
  EXPECT_EQ(Shown(send->AExpNode), QString("Pump: Send RS232(Clear Transmit)"));

  // Cancel leaves it.
  TRs232Actor cancel([&](TSendRS232Form& dialog) {
    ClickControl(dialog, "ReceiveCheckBox");
    QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_FALSE(send->GetClearReceive());
}

TEST_F(TDeviceDialogsTest, SendRs232RefusesWithoutAnRs232DeviceAndAsksForALostOne) {
  TDevice* meter = AddDevice("Meter", Gpib(5));
  Dialogs.ScriptAnswers({mbOK, mbOK});
  {
    TRs232Actor none([](TSendRS232Form&) {});
    Trigger("SendRS232Button");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"These commands can only be sent to "
                                                      "RS232 Devices. There are no RS232 "
                                                      "devices."});
  Dialogs.ClearCalls();
  // A command whose device went to GPIB: no device selected, OK asks for one.
  auto* send = static_cast<TSendRS232Script*>(Start->AddScript(TScript::SENDRS232));
  meter->SetCommunication(Rs232());
  send->SetUpSendRS232(meter, true, false);
  meter->SetCommunication(Gpib(5));
  TDevice* pump = AddDevice("Pump", Rs232());
  int selected = 0;
  TRs232Actor actor([&](TSendRS232Form& dialog) {
    selected = Control<QComboBox>(dialog, "DeviceComboBox")->currentIndex();
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(actor.Seen);
  EXPECT_EQ(selected, -1);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must select a device"});
  EXPECT_EQ(send->GetDevice(), meter);
  (void)pump;
}

namespace {

using TPollActor = TModalDialogActor<TSerialPollScriptForm>;
using TVariableActor = TModalDialogActor<TDataForm>;

}  // namespace

TEST_F(TDeviceDialogsTest, SerialPollStoresIntoAWritableIntegerOfTheBlock) {
  AddDevice("Pump", Rs232());
  TDevice* meter = AddDevice("Meter", Gpib(5));
  TData* status = AddVariable("status", eatINTEGER);
  AddVariable("level", eatFLOAT);
  AddVariable("fixed", eatINTEGER)->SetReadOnly(true);
  AddVariable("counts", eatINTEGER, 10);
  TData* code = AddVariable("code", eatINTEGER);

  TPollActor actor([&](TSerialPollScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Serial Poll"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 23);
    EXPECT_EQ(Entries(dialog, "DeviceComboBox"),
              QStringList{QString::fromStdString(meter->GetDisplayName())});
    EXPECT_EQ(SelectedDevice(dialog, "DeviceComboBox"), meter);
    EXPECT_EQ(Entries(dialog, "DataComboBox"), (QStringList{"status", "code"}));
    auto* data = Control<QComboBox>(dialog, "DataComboBox");
    EXPECT_EQ(data->currentIndex(), -1);
    data->setFocus();
    QTest::keyClick(data, Qt::Key_Down);
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  Trigger("SerialPollButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  auto* poll = OnlyCommand<TSerialPollScript>(Start);
  ASSERT_NE(poll, nullptr);
  EXPECT_EQ(poll->GetDevice(), meter);
  EXPECT_EQ(poll->GetStoredData(), status);
  EXPECT_EQ(Shown(poll->AExpNode), QString("status=Serial Poll: Meter"));
  EXPECT_TRUE(Modified());

  TPollActor change([&](TSerialPollScriptForm& dialog) {
    auto* data = Control<QComboBox>(dialog, "DataComboBox");
    EXPECT_EQ(data->currentText(), QString("status"));
    data->setFocus();
    QTest::keyClick(data, Qt::Key_Down);
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  DoubleClick(poll->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(poll->GetStoredData(), code);
  EXPECT_EQ(Shown(poll->AExpNode), QString("code=Serial Poll: Meter"));

  TPollActor cancel([&](TSerialPollScriptForm& dialog) {
    Control<QComboBox>(dialog, "DataComboBox")->setCurrentIndex(0);
    QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
  });
  DoubleClick(poll->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(poll->GetStoredData(), code);
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TDeviceDialogsTest, SerialPollAsksForADeviceAndAVariable) {
  TDevice* meter = AddDevice("Meter", Gpib(5));
  auto* status = static_cast<TDataSingle*>(AddVariable("status", eatINTEGER));
  Dialogs.ScriptAnswers({mbOK});
  TPollActor actor([&](TSerialPollScriptForm& dialog) {
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
  });
  Trigger("SerialPollButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must add or select a variable"});
  EXPECT_TRUE(Commands(Start).empty());
  Dialogs.ClearCalls();

  // Its device went to RS-232: none is selected and OK asks for one.
  auto* poll = static_cast<TSerialPollScript*>(Start->AddScript(TScript::SERIALPOLL));
  poll->SetUpSerialPoll(meter, status);
  meter->SetCommunication(Rs232());
  TDevice* other = AddDevice("Other", Gpib(6));
  Dialogs.ScriptAnswers({mbOK});
  int selected = 0;
  TPollActor lost([&](TSerialPollScriptForm& dialog) {
    selected = Control<QComboBox>(dialog, "DeviceComboBox")->currentIndex();
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    Control<QComboBox>(dialog, "DeviceComboBox")->setCurrentIndex(0);
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  DoubleClick(poll->AExpNode);
  ASSERT_TRUE(lost.Seen);
  EXPECT_FALSE(lost.LeftOpen);
  EXPECT_EQ(selected, -1);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must select a device"});
  EXPECT_EQ(poll->GetDevice(), other);
}

TEST_F(TDeviceDialogsTest, SerialPollNewMakesAnIntegerThatOnlyOkKeeps) {
  AddDevice("Meter", Gpib(5));
  for (const char* button : {"Cancel", "Ok"}) {
    SCOPED_TRACE(button);
    bool integerOnly = false;
    TVariableActor variable([&](TDataForm& form) {
      integerOnly = Control<QWidget>(form, "IntButton")->isEnabled() &&
                    !Control<QWidget>(form, "FloatButton")->isEnabled() &&
                    !Control<QWidget>(form, "StringButton")->isEnabled();
      QTest::keyClicks(Control<QLineEdit>(form, "VarName"), "spoll");
      QTest::mouseClick(Control<QPushButton>(form, "OK"), Qt::LeftButton);
    });
    TPollActor actor([&](TSerialPollScriptForm& dialog) {
      QTest::mouseClick(Control<QPushButton>(dialog, "NewButton"), Qt::LeftButton);
      EXPECT_EQ(Control<QComboBox>(dialog, "DataComboBox")->currentText(), QString("spoll"));
      QTest::mouseClick(Control<QPushButton>(dialog, button), Qt::LeftButton);
    });
    Trigger("SerialPollButton");
    ASSERT_TRUE(actor.Seen);
    ASSERT_TRUE(variable.Seen);
    EXPECT_TRUE(integerOnly);
    std::vector<TData*> all;
    Exp().GetAllVariables(all);
    if (std::string(button) == "Cancel") {
      EXPECT_TRUE(all.empty());
      EXPECT_TRUE(Commands(Start).empty());
    } else {
      ASSERT_EQ(all.size(), 1u);
      EXPECT_EQ(all[0]->GetDataType(), eatINTEGER);
      ASSERT_EQ(Commands(Start).size(), 1u);
      EXPECT_EQ(Commands(Start)[0]->GetStoredData(), all[0]);
    }
  }
}

namespace {

using TSendActor = TModalDialogActor<TSendScriptForm>;
using TFormatActor = TModalDialogActor<TNumberFormatForm>;

}  // namespace

TEST_F(TDeviceDialogsTest, SendSendsTextAndAFloatInTheFormatChosen) {
  TDevice* meter = AddDevice("Meter", Gpib(5));
  TDevice* pump = AddDevice("Pump", Rs232());
  meter->GetCoreDevice().SetSendChar1(13);
  meter->GetCoreDevice().SetSendChar2(10);
  TData* level = AddVariable("level", eatFLOAT);
  AddVariable("name", eatSTRING);

  TFormatActor format([](TNumberFormatForm& dialog) {
    ClickControl(dialog, "FixedItem");
    Retype(dialog, "DecEdit", "3");
    Press(dialog, "Ok");
  });
  TSendActor actor([&](TSendScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Send"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 10);
    EXPECT_EQ(Entries(dialog, "DeviceCombo").size(), 2);
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo"), meter);
    EXPECT_EQ(Control<QLabel>(dialog, "Term1")->text(), QString("13"));
    EXPECT_EQ(Control<QLabel>(dialog, "Term2")->text(), QString("10"));
    EXPECT_TRUE(Control<QCheckBox>(dialog, "SendTermCharCheck")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dialog, "ForceSpaceCheck")->isChecked());
    EXPECT_EQ(Control<QComboBox>(dialog, "ConCombo")->currentText(), QString("No Variable"));
    EXPECT_EQ(Entries(dialog, "ConCombo").size(), 3);
    EXPECT_FALSE(Control<QWidget>(dialog, "VarArrayComboBox")->isVisible());
    EXPECT_FALSE(Control<QWidget>(dialog, "FloatFormatButton")->isVisible());
    EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "EditSendCmd")));
    QTest::keyClicks(Control<QLineEdit>(dialog, "EditSendCmd"), "  VOLT\t");
    auto* variables = Control<QComboBox>(dialog, "ConCombo");
    variables->setCurrentIndex(variables->findText(QString::fromStdString(level->GetName())));
    EXPECT_TRUE(Control<QWidget>(dialog, "FloatFormatButton")->isVisible());
    EXPECT_EQ(Control<QLabel>(dialog, "FloatFormatLabel")->text(), QString("Format: Standard"));
    Press(dialog, "FloatFormatButton");
    EXPECT_EQ(Control<QLabel>(dialog, "FloatFormatLabel")->text(),
              QString("Format: Fixed 3 places after the decimal"));
    ClickControl(dialog, "ForceSpaceCheck");
    auto* devices = Control<QComboBox>(dialog, "DeviceCombo");
    devices->setCurrentIndex(1);
    EXPECT_EQ(Control<QLabel>(dialog, "Term1")->text(),
              QString::number(pump->GetCoreDevice().GetSendChar1()));
    Press(dialog, "Ok");
  });
  Trigger("SendButton");
  ASSERT_TRUE(actor.Seen);
  ASSERT_TRUE(format.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  auto* send = OnlyCommand<TSendScript>(Start);
  ASSERT_NE(send, nullptr);
  EXPECT_EQ(send->GetDevice(), pump);
  EXPECT_EQ(send->GetCommandString(), "VOLT");
  ASSERT_NE(send->GetVariable(), nullptr);
  EXPECT_EQ(send->GetVariable()->GetData(), level);
  EXPECT_EQ(send->GetNotation(), ntFIXED);
  EXPECT_EQ(send->GetDecimals(), 3);
  EXPECT_TRUE(send->GetForceSpace());
  EXPECT_TRUE(send->GetSendTerminators());
  EXPECT_EQ(Shown(send->AExpNode), QString("Pump: Send(VOLT level) T"));
  EXPECT_TRUE(Modified());

  // A double click shows its settings; the variable goes and the terminators too.
  TSendActor change([&](TSendScriptForm& dialog) {
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo"), pump);
    EXPECT_EQ(Control<QLineEdit>(dialog, "EditSendCmd")->text(), QString("VOLT"));
    EXPECT_EQ(Control<QLabel>(dialog, "FloatFormatLabel")->text(),
              QString("Format: Fixed 3 places after the decimal"));
    EXPECT_TRUE(Control<QCheckBox>(dialog, "ForceSpaceCheck")->isChecked());
    auto* variables = Control<QComboBox>(dialog, "ConCombo");
    EXPECT_EQ(variables->currentText(), QString::fromStdString(level->GetName()));
    variables->setCurrentIndex(variables->findText("No Variable"));
    Retype(dialog, "EditSendCmd", "*RST");
    ClickControl(dialog, "SendTermCharCheck");
    Press(dialog, "Ok");
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(send->GetVariable(), nullptr);
  EXPECT_EQ(Shown(send->AExpNode), QString("Pump: Send(*RST) NT"));

  TSendActor cancel([&](TSendScriptForm& dialog) {
    Retype(dialog, "EditSendCmd", "IDN?");
    Press(dialog, "Cancel");
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(send->GetCommandString(), "*RST");
}

TEST_F(TDeviceDialogsTest, SendChecksTheTextAndTheArrayElement) {
  AddDevice("Meter", Gpib(5));
  TData* wave = AddVariable("wave", eatINTEGER, 10);
  Dialogs.ScriptAnswers({mbOK, mbOK});
  std::vector<std::string> texts;
  TSendActor actor([&](TSendScriptForm& dialog) {
    QTest::keyClicks(Control<QLineEdit>(dialog, "EditSendCmd"), "   ");
    Press(dialog, "Ok");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "EditSendCmd")));
    auto* variables = Control<QComboBox>(dialog, "ConCombo");
    variables->setCurrentIndex(variables->findText(QString::fromStdString(wave->GetName())));
    auto* index = Control<QComboBox>(dialog, "VarArrayComboBox");
    EXPECT_TRUE(index->isVisible());
    EXPECT_FALSE(Control<QWidget>(dialog, "FloatFormatButton")->isVisible());
    index->setFocus();
    QTest::keyClicks(index, "10");
    Press(dialog, "Ok");
    EXPECT_TRUE(dialog.isVisible());
    texts = Dialogs.Texts();
    index->setEditText("");
    QTest::keyClicks(index, "9");
    Press(dialog, "Ok");
  });
  Trigger("SendButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(texts,
            (std::vector<std::string>{"You must select a variable or enter a string to send.",
                                      "The maximum index for this array is 9"}));
  ASSERT_EQ(Commands(Start).size(), 1u);
  auto* send = dynamic_cast<TSendScript*>(Commands(Start)[0]);
  ASSERT_NE(send, nullptr);
  EXPECT_EQ(send->GetCommandString(), "");
  auto* element = dynamic_cast<TVariableDataArray*>(send->GetVariable());
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(element->GetData(), wave);
  EXPECT_EQ(element->GetArrayIndex().GetConstant(), 9);

  // The element shows again when the command is changed.
  QString shown;
  TSendActor look([&](TSendScriptForm& dialog) {
    shown = Control<QComboBox>(dialog, "VarArrayComboBox")->currentText();
    Press(dialog, "Cancel");
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(look.Seen);
  EXPECT_EQ(shown, QString("9"));
}

TEST_F(TDeviceDialogsTest, SendAddMakesOneVariableThatOnlyOkKeeps) {
  AddDevice("Meter", Gpib(5));
  Dialogs.ScriptAnswers({mbOK});
  {
    TSendActor none([](TSendScriptForm&) {});
    Window->Session().GetDeviceList().RemoveDevice(Window->Session().GetDeviceList().GetDevice(0));
    Trigger("SendButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"Can only send commands to devices.  There are no devices "
                                     "defined."});
  AddDevice("Meter", Gpib(5));
  for (const char* button : {"Cancel", "Ok"}) {
    SCOPED_TRACE(button);
    int forms = 0;
    TVariableActor first([&](TDataForm& form) {
      ++forms;
      QTest::keyClicks(Control<QLineEdit>(form, "VarName"), "volts");
      QTest::mouseClick(Control<QPushButton>(form, "OK"), Qt::LeftButton);
    });
    TSendActor actor([&](TSendScriptForm& dialog) {
      Press(dialog, "AddVar");
      // Listed under its tree text, just before "No Variable", and chosen.
      EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), 1);
      EXPECT_EQ(Entries(dialog, "ConCombo"), (QStringList{"Start Block: volts", "No Variable"}));
      EXPECT_EQ(Control<QComboBox>(dialog, "ConCombo")->currentIndex(), 0);
      // A second Add edits the same variable.
      TVariableActor again([&](TDataForm& form) {
        ++forms;
        EXPECT_EQ(Control<QLineEdit>(form, "VarName")->text(), QString("volts"));
        QTest::mouseClick(Control<QPushButton>(form, "OK"), Qt::LeftButton);
      });
      Press(dialog, "AddVar");
      EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), 1);
      Press(dialog, button);
    });
    Trigger("SendButton");
    ASSERT_TRUE(actor.Seen);
    EXPECT_EQ(forms, 2);
    std::vector<TData*> all;
    Exp().GetAllVariables(all);
    if (std::string(button) == "Cancel") {
      EXPECT_TRUE(all.empty());
      EXPECT_TRUE(Commands(Start).empty());
    } else {
      ASSERT_EQ(all.size(), 1u);
      ASSERT_EQ(Commands(Start).size(), 1u);
      auto* send = static_cast<TSendScript*>(Commands(Start)[0]);
      ASSERT_NE(send->GetVariable(), nullptr);
      EXPECT_EQ(send->GetVariable()->GetData(), all[0]);
    }
  }
}

namespace {

using TBinaryActor = TModalDialogActor<TSendBinaryForm>;

void TypeCount(QWidget& dialog, const QString& text) {
  auto* box = Control<QComboBox>(dialog, "DataPointBox");
  box->setFocus();
  box->lineEdit()->selectAll();
  QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
  QTest::keyClicks(box->lineEdit(), text);
}

}  // namespace

TEST_F(TDeviceDialogsTest, SendBinarySendsAnArrayWholeOrInPartAndChecksTheCount) {
  TDevice* meter = AddDevice("Meter", Gpib(5));
  TDevice* gen = AddDevice("Gen", Rs232());
  TData* count = AddVariable("n", eatINTEGER);
  AddVariable("x", eatFLOAT);
  TData* wave = AddVariable("wave", eatFLOAT, 8);
  TData* counts = AddVariable("counts", eatINTEGER, 10);
  AddVariable("names", eatSTRING, 4);

  std::vector<std::string> texts;
  TBinaryActor actor([&](TSendBinaryForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Send Binary Data"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 63);
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo"), meter);
    const QStringList arrays = Entries(dialog, "DataBox");
    EXPECT_EQ(arrays, (QStringList{QString::fromStdString(wave->GetName()) + "[8]",
                                   QString::fromStdString(counts->GetName()) + "[10]"}));
    EXPECT_EQ(Entries(dialog, "DataPointBox"), (QStringList{"Entire Array", "n"}));
    EXPECT_TRUE(Control<QComboBox>(dialog, "DataPointBox")->currentText().isEmpty());
    EXPECT_TRUE(Control<QWidget>(dialog, "FloatLabel")->isVisible());
    EXPECT_FALSE(Control<QWidget>(dialog, "IntegerCount")->isVisible());
    Control<QComboBox>(dialog, "DeviceCombo")->setCurrentIndex(1);
    Press(dialog, "Ok");
    for (const QString text : {"0", "x", "9"}) {
      TypeCount(dialog, text);
      Press(dialog, "Ok");
    }
    EXPECT_TRUE(dialog.isVisible());
    texts = Dialogs.Texts();
    TypeCount(dialog, "Entire Array");
    Press(dialog, "Ok");
  });
  Dialogs.ScriptAnswers({mbOK, mbOK, mbOK, mbOK});
  Trigger("SendBinaryButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(texts,
            (std::vector<std::string>{"The number of points cannot be empth",
                                      "You must enter a valid number of points (greater than zero)",
                                      "You must enter a valid number of points (greater than zero)",
                                      "Number of points exceeds array size."}));
  ASSERT_EQ(Commands(Start).size(), 1u);
  auto* send = dynamic_cast<TSendBinaryScript*>(Commands(Start)[0]);
  ASSERT_NE(send, nullptr);
  EXPECT_EQ(send->GetDevice(), gen);
  EXPECT_EQ(send->GetSendArray()->GetData(), wave);
  EXPECT_EQ(send->GetPointCountVariable(), nullptr);
  EXPECT_LT(send->GetPointCount(), 0);
  EXPECT_EQ(send->GetBinaryType(), TSendBinaryScript::sbFLOAT);
  EXPECT_EQ(Shown(send->AExpNode), QString("Gen: SendBinary(wave[...], IEEE Floating Point)"));

  // The integer array in 2-byte values, as many as the count variable says.
  TBinaryActor change([&](TSendBinaryForm& dialog) {
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo"), gen);
    EXPECT_EQ(Control<QComboBox>(dialog, "DataPointBox")->currentText(), QString("Entire Array"));
    Control<QComboBox>(dialog, "DataBox")->setCurrentIndex(1);
    EXPECT_TRUE(Control<QWidget>(dialog, "IntegerCount")->isVisible());
    EXPECT_FALSE(Control<QWidget>(dialog, "FloatLabel")->isVisible());
    EXPECT_TRUE(Control<QRadioButton>(dialog, "Int32Button")->isChecked());
    ClickControl(dialog, "Int16Button");
    TypeCount(dialog, "n");
    Press(dialog, "Ok");
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  EXPECT_EQ(send->GetSendArray()->GetData(), counts);
  ASSERT_NE(send->GetPointCountVariable(), nullptr);
  EXPECT_EQ(send->GetPointCountVariable()->GetData(), count);
  EXPECT_EQ(send->GetBinaryType(), TSendBinaryScript::sbINT16);
  EXPECT_EQ(Shown(send->AExpNode), QString("Gen: SendBinary(counts[n], 2 byte integer)"));

  // A constant count, shown again on the next change; Cancel keeps it.
  TBinaryActor constant([&](TSendBinaryForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "DataPointBox")->currentText(), QString("n"));
    EXPECT_TRUE(Control<QRadioButton>(dialog, "Int16Button")->isChecked());
    ClickControl(dialog, "Int32Button");
    TypeCount(dialog, " 10 ");
    Press(dialog, "Ok");
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(constant.Seen);
  EXPECT_EQ(send->GetPointCountVariable(), nullptr);
  EXPECT_EQ(send->GetPointCount(), 10);
  EXPECT_EQ(Shown(send->AExpNode), QString("Gen: SendBinary(counts[10], 4 byte integer)"));
  TBinaryActor cancel([&](TSendBinaryForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "DataPointBox")->currentText(), QString("10"));
    TypeCount(dialog, "3");
    Press(dialog, "Cancel");
  });
  DoubleClick(send->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(send->GetPointCount(), 10);
}

TEST_F(TDeviceDialogsTest, SendBinaryNewArrayIsKeptOnlyByOk) {
  AddDevice("Meter", Gpib(5));
  for (const char* button : {"Cancel", "Ok"}) {
    SCOPED_TRACE(button);
    bool noString = false;
    TVariableActor variable([&](TDataForm& form) {
      noString = !Control<QWidget>(form, "StringButton")->isEnabled() &&
                 Control<QWidget>(form, "FloatButton")->isEnabled();
      QTest::keyClicks(Control<QLineEdit>(form, "VarName"), "samples");
      QTest::mouseClick(Control<QPushButton>(form, "OK"), Qt::LeftButton);
    });
    TBinaryActor actor([&](TSendBinaryForm& dialog) {
      Press(dialog, "NewArray");
      EXPECT_TRUE(Control<QComboBox>(dialog, "DataBox")->currentText().endsWith("samples[10]"));
      EXPECT_TRUE(Control<QWidget>(dialog, "IntegerCount")->isVisible());
      TypeCount(dialog, "Entire Array");
      Press(dialog, button);
    });
    Trigger("SendBinaryButton");
    ASSERT_TRUE(actor.Seen);
    ASSERT_TRUE(variable.Seen);
    EXPECT_TRUE(noString);
    std::vector<TData*> all;
    Exp().GetAllVariables(all);
    EXPECT_EQ(all.size(), std::string(button) == "Ok" ? 1u : 0u);
    EXPECT_EQ(Commands(Start).size(), std::string(button) == "Ok" ? 1u : 0u);
  }
  EXPECT_TRUE(Dialogs.Texts().empty());
}

namespace {

using TClearActor = TModalDialogActor<TClearDeviceBufferScriptForm>;

}  // namespace

TEST_F(TDeviceDialogsTest, ClearBufferChoosesAmongSeveralDevicesAndMakesTheOneAtOnce) {
  // One device: made for it at once.
  TDevice* meter = AddDevice("Meter", Gpib(5));
  {
    TClearActor none([](TClearDeviceBufferScriptForm&) {});
    Trigger("ClearBuffer");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  ASSERT_EQ(Commands(Start).size(), 1u);
  auto* first = dynamic_cast<TClearDeviceBufferScript*>(Commands(Start)[0]);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetDevice(), meter);
  EXPECT_EQ(Shown(first->AExpNode), QString("Clear Read Buffer: Meter"));
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(Dialogs.Boxes().empty());

  // Several: the dialog, the first selected.
  TDevice* pump = AddDevice("Pump", Rs232());
  TClearActor actor([&](TClearDeviceBufferScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("ClearDevice Buffer"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 69);
    EXPECT_EQ(Entries(dialog, "DeviceCombo").size(), 2);
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo"), meter);
    auto* devices = Control<QComboBox>(dialog, "DeviceCombo");
    devices->setFocus();
    QTest::keyClick(devices, Qt::Key_Down);
    Press(dialog, "Ok");
  });
  Trigger("ClearBuffer");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  ASSERT_EQ(Commands(Start).size(), 2u);
  auto* second = dynamic_cast<TClearDeviceBufferScript*>(Commands(Start)[1]);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->GetDevice(), pump);
  EXPECT_EQ(Shown(second->AExpNode), QString("Clear Read Buffer: Pump"));

  Dialogs.ScriptAnswers({mbOK});
  TClearActor change([&](TClearDeviceBufferScriptForm& dialog) {
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo"), pump);
    Control<QComboBox>(dialog, "DeviceCombo")->setCurrentIndex(-1);
    Press(dialog, "Ok");
    EXPECT_TRUE(dialog.isVisible());
    Control<QComboBox>(dialog, "DeviceCombo")->setCurrentIndex(0);
    Press(dialog, "Ok");
  });
  DoubleClick(second->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must choose a device."});
  EXPECT_EQ(second->GetDevice(), meter);
  EXPECT_EQ(Shown(second->AExpNode), QString("Clear Read Buffer: Meter"));

  TClearActor cancel([&](TClearDeviceBufferScriptForm& dialog) {
    Control<QComboBox>(dialog, "DeviceCombo")->setCurrentIndex(1);
    Press(dialog, "Cancel");
  });
  DoubleClick(second->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(second->GetDevice(), meter);
}

namespace {

// The "Commands..." item of the device's row, as the pop-up leaves it (its enabled state
// set for the device), after the pop-up closes.
QAction* CommandsItem(QMenu* popup, const char* name) {
  EXPECT_NE(popup, nullptr);
  if (!popup) return nullptr;
  QMenu* commands = popup->findChild<QMenu*>("CommandsMenu");
  EXPECT_NE(commands, nullptr);
  popup->hide();
  return commands ? commands->findChild<QAction*>(name) : nullptr;
}

}  // namespace

TEST_F(TDeviceDialogsTest, TheDeviceListsCommandsItemsOpenTheDialogsForThatDevice) {
  TDevice* meter = AddDevice("Meter", Gpib(5));
  TDevice* scope = AddDevice("Scope", Gpib(7));
  AddDevice("Pump", Rs232());
  AddVariable("status", eatINTEGER);
  auto* list = Window->findChild<QTreeWidget*>("DeviceView");
  ASSERT_NE(list, nullptr);
  const auto rowOf = [&](const char* name) {
    for (int row = 0; row < list->topLevelItemCount(); ++row)
      if (list->topLevelItem(row)->text(0) == name)
        return list->visualItemRect(list->topLevelItem(row)).center();
    ADD_FAILURE() << name;
    return QPoint();
  };

  // Serial Poll offers the device alone.
  QAction* poll = CommandsItem(RightClick(list->viewport(), rowOf("Scope"), "DevicePopupMenu"),
                               "CommandSerialPollButton");
  ASSERT_NE(poll, nullptr);
  ASSERT_TRUE(poll->isEnabled());
  TPollActor pollActor([&](TSerialPollScriptForm& dialog) {
    EXPECT_EQ(Entries(dialog, "DeviceComboBox"),
              QStringList{QString::fromStdString(scope->GetDisplayName())});
    Control<QComboBox>(dialog, "DataComboBox")->setCurrentIndex(0);
    Press(dialog, "Ok");
  });
  poll->trigger();
  ASSERT_TRUE(pollActor.Seen);
  ASSERT_EQ(Commands(Start).size(), 1u);
  EXPECT_EQ(Shown(Commands(Start)[0]->AExpNode), QString("status=Serial Poll: Scope"));

  // Send GPIB offers every GPIB device with this one selected.
  QAction* gpib = CommandsItem(RightClick(list->viewport(), rowOf("Scope"), "DevicePopupMenu"),
                               "CommandSendGPIBButton");
  ASSERT_NE(gpib, nullptr);
  TGpibActor gpibActor([&](TSendGPIBScriptForm& dialog) {
    EXPECT_EQ(Entries(dialog, "DeviceCombo").size(), 2);
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo"), scope);
    Press(dialog, "Cancel");
  });
  gpib->trigger();
  ASSERT_TRUE(gpibActor.Seen);

  // Clear Device Read Buffer is made for the device at once; Send RS232 is not offered
  // for a GPIB device.
  QAction* clear = CommandsItem(RightClick(list->viewport(), rowOf("Meter"), "DevicePopupMenu"),
                                "CommandClearBuffer");
  ASSERT_NE(clear, nullptr);
  clear->trigger();
  ASSERT_EQ(Commands(Start).size(), 2u);
  auto* cleared = dynamic_cast<TClearDeviceBufferScript*>(Commands(Start)[1]);
  ASSERT_NE(cleared, nullptr);
  EXPECT_EQ(cleared->GetDevice(), meter);
  QAction* rs232 = CommandsItem(RightClick(list->viewport(), rowOf("Meter"), "DevicePopupMenu"),
                                "CommandSendRS232Button");
  ASSERT_NE(rs232, nullptr);
  EXPECT_FALSE(rs232->isEnabled());

  // Send from the device list offers that device alone.
  QAction* send = CommandsItem(RightClick(list->viewport(), rowOf("Pump"), "DevicePopupMenu"),
                               "CommandSendButton");
  ASSERT_NE(send, nullptr);
  TSendActor sendActor([&](TSendScriptForm& dialog) {
    EXPECT_EQ(Entries(dialog, "DeviceCombo").size(), 1);
    EXPECT_EQ(SelectedDevice(dialog, "DeviceCombo")->GetName(), "Pump");
    QTest::keyClicks(Control<QLineEdit>(dialog, "EditSendCmd"), "RUN");
    Press(dialog, "Ok");
  });
  send->trigger();
  ASSERT_TRUE(sendActor.Seen);
  ASSERT_EQ(Commands(Start).size(), 3u);
  EXPECT_EQ(Shown(Commands(Start)[2]->AExpNode), QString("Pump: Send(RUN) T"));
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TDeviceDialogsTest, SendAddOfTheOtherKindReplacesTheNewVariableOnlyOnceMade) {
  AddDevice("Meter", Gpib(5));
  int forms = 0;
  const auto make = [&](const char* name, const char* button) {
    return [&forms, name, button](TDataForm& form) {
      ++forms;
      QTest::keyClicks(Control<QLineEdit>(form, "VarName"), name);
      QTest::mouseClick(Control<QPushButton>(form, button), Qt::LeftButton);
    };
  };
  std::vector<std::size_t> counts;
  const auto variables = [&] {
    std::vector<TData*> all;
    Exp().GetAllVariables(all);
    return all;
  };
  TSendActor actor([&](TSendScriptForm& dialog) {
    ClickControl(dialog, "ArrayButton");
    {
      TVariableActor array(make("trace", "OK"));
      Press(dialog, "AddVar");
    }
    counts.push_back(variables().size());
    EXPECT_TRUE(Control<QWidget>(dialog, "VarArrayComboBox")->isVisible());
    // A single one cancelled: the new array stays.
    ClickControl(dialog, "SingleButton");
    {
      TVariableActor cancelled(make("level", "Cancel"));
      Press(dialog, "AddVar");
    }
    counts.push_back(variables().size());
    EXPECT_EQ(Entries(dialog, "ConCombo"), (QStringList{"Start Block: trace", "No Variable"}));
    // A single one made: it takes the array's place.
    {
      TVariableActor single(make("level", "OK"));
      Press(dialog, "AddVar");
    }
    counts.push_back(variables().size());
    EXPECT_EQ(Entries(dialog, "ConCombo"), (QStringList{"Start Block: level", "No Variable"}));
    EXPECT_FALSE(Control<QWidget>(dialog, "VarArrayComboBox")->isVisible());
    Press(dialog, "Ok");
  });
  Trigger("SendButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(forms, 3);
  EXPECT_EQ(counts, (std::vector<std::size_t>{1, 1, 1}));
  const std::vector<TData*> all = variables();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_FALSE(all[0]->IsArray());
  ASSERT_EQ(Commands(Start).size(), 1u);
  auto* send = static_cast<TSendScript*>(Commands(Start)[0]);
  ASSERT_NE(send->GetVariable(), nullptr);
  EXPECT_EQ(send->GetVariable()->GetData(), all[0]);
}
