// "Add or Edit a Device" through its widgets: the defaults a location gives, the
// checks in order with their messages, the overwrite question only after every check
// and the occupant replaced only on applying, the time-out taken exactly from the
// device, the gated second characters, the hexadecimal view, Add for several devices,
// and an edit through the device's own Edit with its current location.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "communication/communication.h"
#include "communication/holder.h"
#include "communication/rs232.h"
#include "device_dialog_fixture.h"
#include "shell/ui/gpib_settings_dialog.h"
#include "shell/ui/shell_dialogs.h"
#include "model/experiment_running.h"

namespace {

using DeviceDialogTest = TDeviceDialogFixture;

const char* const BaudMessage = "The baud rate must be an integer value between 10 and 115200.";
const char* const OverwriteQuestion =
    "Communication is already in use by another device.\rSelecting this communication will "
    "overwrite this device.\rPressing Yes will overwrite.";

TEST_F(DeviceDialogTest, ANewDeviceTakesTheDefaultsOfItsLocation) {
  auto form = ShowNew();
  EXPECT_EQ(form->windowTitle(), QString("Add or Edit a Device"));
  EXPECT_TRUE(Control<QPushButton>(*form, "Add")->isVisible());
  EXPECT_TRUE(Control<QPushButton>(*form, "Add")->isDefault());
  EXPECT_FALSE(Control<QPushButton>(*form, "Help")->isEnabled());
  EXPECT_EQ(Control<QLabel>(*form, "AddressLabel")->text(), QString("No device address"));
  EXPECT_FALSE(Control<QWidget>(*form, "SettingsBox")->isEnabled());
  EXPECT_EQ(Characters(*form), (std::vector<int>{-1, 0, -1, 0}));

  // A free NI location: send none, read LF, EOI on, 1 s on the NI slider.
  Type(*form, "NameEdit", "Meter");
  ClickRow(*form, "NATIONAL_GPIB0", 4);
  EXPECT_EQ(Control<QLabel>(*form, "AddressLabel")->text(), QString("GPIB Address 4"));
  EXPECT_EQ(Characters(*form), (std::vector<int>{0, 0, 10, 0}));
  EXPECT_TRUE(Control<QCheckBox>(*form, "EOICheck")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(*form, "EOICheck")->isEnabled());
  EXPECT_FALSE(Control<QGroupBox>(*form, "RS232Group")->isVisible());
  EXPECT_TRUE(Control<QSlider>(*form, "NatTimeOutSlider")->isVisible());
  EXPECT_EQ(Control<QLabel>(*form, "NatTimeOutLabel")->text(), QString("1 s"));
  ClickControl(*form, "Ok");
  ASSERT_EQ(List.Count(), 1u);
  TDevice* meter = List.GetDevice(0);
  EXPECT_EQ(meter->GetName(), "Meter");
  EXPECT_EQ(meter->GetListItem().Communication, "National GPIB-Device Address: 4");
  const TCoreDevice& core = meter->GetCoreDevice();
  EXPECT_EQ((std::vector<int>{core.GetSendChar1(), core.GetSendChar2(), core.GetReadChar1(),
                              core.GetReadChar2()}),
            (std::vector<int>{0, 0, 10, 0}));
  EXPECT_TRUE(static_cast<TGPIB*>(meter->GetCommunication())->GetEOI());
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 1000000);
  EXPECT_EQ(Ni(4).GetText(), "IN USE BY: Meter");
  EXPECT_TRUE(Dialogs.Texts().empty());

  // A COM location: send CR, read CR, no EOI, the serial settings shown.
  form = ShowNew();
  Type(*form, "NameEdit", "Pump");
  ClickRow(*form, "RS232", 0);
  EXPECT_EQ(Control<QLabel>(*form, "AddressLabel")->text(), QString("COM 1"));
  EXPECT_EQ(Characters(*form), (std::vector<int>{13, 0, 13, 0}));
  EXPECT_FALSE(Control<QCheckBox>(*form, "EOICheck")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(*form, "EOICheck")->isEnabled());
  EXPECT_TRUE(Control<QGroupBox>(*form, "RS232Group")->isVisible());
  EXPECT_EQ(Control<QComboBox>(*form, "BaudRateCombo")->currentText(), QString("19200"));
  EXPECT_EQ(Control<QLabel>(*form, "TimeOutLabel")->text(), QString("Timeout 1 seconds"));
  ClickControl(*form, "Ok");
  ASSERT_EQ(List.Count(), 2u);
  auto* serial = static_cast<TRS232*>(List.GetDevice(1)->GetCommunication());
  EXPECT_EQ(serial->RS232Param, TRS232Param());
  EXPECT_EQ(List.GetDevice(1)->GetCoreDevice().GetSendChar1(), 13);

  // An untouched dialog makes nothing.
  form = ShowNew();
  ClickControl(*form, "Ok");
  EXPECT_EQ(List.Count(), 2u);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(DeviceDialogTest, TheChecksComeInOrderAndEachFocusesItsControl) {
  auto form = ShowNew();
  Type(*form, "BaudRateCombo", "abc");
  ClickRow(*form, "CEC_GPIB0", 3);
  Dialogs.ScriptAnswers({mbOK});
  ClickControl(*form, "Ok");
  EXPECT_EQ(Dialogs.Texts(), TTexts{"You must give the device a name or press cancel"});
  EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(*form, "NameEdit"));
  Type(*form, "NameEdit", "Pump");
  Control<QTreeWidget>(*form, "CommunicationTree")->setCurrentItem(nullptr);
  EXPECT_EQ(Control<QLabel>(*form, "AddressLabel")->text(), QString("No device address"));
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbOK});
  ClickControl(*form, "Ok");
  EXPECT_EQ(Dialogs.Texts(), TTexts{"You must pick a communication or press cancel"});
  // A group node is no location either.
  Control<QTreeWidget>(*form, "CommunicationTree")
      ->setCurrentItem(Control<QTreeWidget>(*form, "CommunicationTree")->topLevelItem(0));
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbOK});
  ClickControl(*form, "Ok");
  EXPECT_EQ(Dialogs.Texts(), TTexts{"You must pick a communication or press cancel"});

  // The baud rate of a COM location: bounds and form.
  ClickRow(*form, "RS232", 0);
  // Typed digits are not completed to a listed rate.
  for (const char* bad : {"abc", "9", "115201", "1.5e3", "1"}) {
    Type(*form, "BaudRateCombo", bad);
    Dialogs.ClearCalls();
    Dialogs.ScriptAnswers({mbOK});
    ClickControl(*form, "Ok");
    EXPECT_EQ(Dialogs.Texts(), TTexts{BaudMessage}) << bad;
    auto* baud = Control<QComboBox>(*form, "BaudRateCombo");
    EXPECT_TRUE(QApplication::focusWidget() == baud || QApplication::focusWidget() == baud->lineEdit());
    EXPECT_TRUE(form->isVisible());
  }
  EXPECT_TRUE(List.IsEmpty());
  Type(*form, "BaudRateCombo", "115200");
  ClickControl(*form, "Ok");
  ASSERT_EQ(List.Count(), 1u);
  EXPECT_EQ(static_cast<TRS232*>(List.GetDevice(0)->GetCommunication())->RS232Param.BaudRate,
            115200);
}

TEST_F(DeviceDialogTest, AHeldLocationIsAskedAboutLastAndReplacedOnlyWhenApplied) {
  TDevice* first = Make("Alpha", Com1());
  TSendScript* one = Use(first);
  TSendScript* two = Use(first);

  // Baud "abc" on A's location: the baud message, no question; Cancel leaves A as it was.
  auto form = ShowNew();
  Type(*form, "NameEdit", "Beta");
  ClickRow(*form, "RS232", 0);
  EXPECT_EQ(Control<QLabel>(*form, "AddressLabel")->text(), QString("IN USE BY: Alpha"));
  Type(*form, "BaudRateCombo", "abc");
  Dialogs.ScriptAnswers({mbOK});
  ClickControl(*form, "Ok");
  EXPECT_EQ(Dialogs.Texts(), TTexts{BaudMessage});
  ClickControl(*form, "Cancel");
  EXPECT_FALSE(form->isVisible());
  ASSERT_EQ(List.Count(), 1u);
  EXPECT_EQ(Com1().GetDevice(), first);
  EXPECT_EQ(first->GetScripts(), (std::vector<TDeviceAttributeScript*>{one, two}));
  EXPECT_EQ(one->GetDevice(), first);

  // A valid entry asks; No keeps the dialog open and A in place.
  form = ShowNew();
  Type(*form, "NameEdit", "Beta");
  ClickRow(*form, "RS232", 0);
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbNo});
  ClickControl(*form, "Ok");
  ASSERT_EQ(Dialogs.Boxes().size(), 1u);
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Text.toStdString(), OverwriteQuestion);
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Caption, QString("Qorv Warning"));
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Kind, TMessageKind::Warning);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(Com1().GetDevice(), first);
  // Yes: A goes as the new device is made, its commands moving over when wanted.
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbYes, mbYes});
  ClickControl(*form, "Ok");
  EXPECT_EQ(Dialogs.Texts().size(), 2u);
  EXPECT_EQ(Dialogs.Texts()[1], "Alpha has scripts that are using it.  Do you want these scripts "
                                "transfered to the replacing device.\rPress Yes to transfer the "
                                "scripts.");
  ASSERT_EQ(List.Count(), 1u);
  TDevice* beta = List.GetDevice(0);
  EXPECT_EQ(beta->GetName(), "Beta");
  EXPECT_EQ(Com1().GetDevice(), beta);
  EXPECT_EQ(one->GetDevice(), beta);
  EXPECT_EQ(two->GetDevice(), beta);

  // The device's own location asks nothing when it is edited.
  TDeviceFormRequest edit;
  edit.List = &List;
  edit.Device = beta;
  edit.Settings = DeviceSettingsOf(*beta);
  form = Show(edit);
  Dialogs.ClearCalls();
  ClickControl(*form, "Ok");
  EXPECT_TRUE(Dialogs.Texts().empty());
  EXPECT_FALSE(form->isVisible());
}

TEST_F(DeviceDialogTest, TheTimeOutIsTheDevicesOwnUntilAControlChangesIt) {
  TDevice* meter = Make("Meter", Cec(5));
  const auto edit = [&](const std::function<void(TDeviceForm&)>& act) {
    TDeviceFormRequest request;
    request.List = &List;
    request.Device = meter;
    request.Settings = DeviceSettingsOf(*meter);
    auto form = Show(request);
    act(*form);
    ClickControl(*form, "Ok");
    EXPECT_FALSE(form->isVisible());
    ApplyDeviceSettings(*meter, request.Settings);  // what the device's Edit does after OK
  };
  // None: shown as Disable; OK keeps none.
  meter->GetCommunication()->SetTimeOut(0);
  edit([](TDeviceForm& form) {
    EXPECT_TRUE(Control<QRadioButton>(form, "TimeOutDisableRadio")->isChecked());
    EXPECT_EQ(Control<QLabel>(form, "TimeOutLabel")->text(), QString("Timeout disabled"));
    EXPECT_FALSE(Control<QSlider>(form, "TimeOutSlider")->isEnabled());
  });
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 0);
  // 1.5 s shows as 1 second, yet OK keeps 1,500,000 microseconds.
  meter->GetCommunication()->SetTimeOut(1500000);
  edit([](TDeviceForm& form) {
    EXPECT_TRUE(Control<QRadioButton>(form, "TimeOutEnableRadio")->isChecked());
    EXPECT_EQ(Control<QSlider>(form, "TimeOutSlider")->value(), 1);
    EXPECT_TRUE(Control<QRadioButton>(form, "SecondsRadio")->isChecked());
  });
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 1500000);
  // Moving to an NI location and back shows other controls, but changes nothing.
  edit([](TDeviceForm& form) {
    ClickRow(form, "NATIONAL_GPIB0", 9);
    ClickRow(form, "CEC_GPIB0", 5);
  });
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 1500000);
  // A control changed: its time-out. Position 10 in seconds is 10 s; Disable gives none.
  edit([](TDeviceForm& form) {
    Control<QSlider>(form, "TimeOutSlider")->setValue(10);
    EXPECT_EQ(Control<QLabel>(form, "TimeOutLabel")->text(), QString("Timeout 10 seconds"));
  });
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 10000000);
  edit([](TDeviceForm& form) { ClickControl(form, "MillisecondsRadio"); });
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 10000);
  edit([](TDeviceForm& form) { ClickControl(form, "TimeOutDisableRadio"); });
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 0);
  // On an NI location the slider picks a code.
  edit([](TDeviceForm& form) {
    ClickControl(form, "TimeOutEnableRadio");
    ClickRow(form, "NATIONAL_GPIB0", 9);
    Control<QSlider>(form, "NatTimeOutSlider")->setValue(13);
    EXPECT_EQ(Control<QLabel>(form, "NatTimeOutLabel")->text(), QString("10 s"));
  });
  EXPECT_EQ(meter->GetCommunication()->GetName(), "National GPIB-Device Address: 9");
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 10000000);
}

TEST_F(DeviceDialogTest, SecondCharactersFollowTheirFirstAndShowInHexadecimal) {
  auto form = ShowNew();
  ClickRow(*form, "CEC_GPIB0", 2);
  auto* send1 = Control<QComboBox>(*form, "SendChar1Combo");
  auto* send2 = Control<QComboBox>(*form, "SendChar2Combo");
  auto* read1 = Control<QComboBox>(*form, "ReadChar1Combo");
  auto* read2 = Control<QComboBox>(*form, "ReadChar2Combo");
  // Send none: the second send box is disabled at none.
  EXPECT_FALSE(send2->isEnabled());
  send1->setCurrentIndex(13);
  EXPECT_TRUE(send2->isEnabled());
  send2->setCurrentIndex(10);
  send1->setCurrentIndex(0);
  EXPECT_FALSE(send2->isEnabled());
  EXPECT_EQ(send2->currentIndex(), 0);
  // The same for reading.
  EXPECT_TRUE(read2->isEnabled());
  read2->setCurrentIndex(13);
  read1->setCurrentIndex(0);
  EXPECT_FALSE(read2->isEnabled());
  EXPECT_EQ(read2->currentIndex(), 0);

  EXPECT_EQ(send1->itemText(10), QString("10  (\\n)"));
  EXPECT_EQ(send1->itemText(255), QString("255"));
  read1->setCurrentIndex(13);
  ClickControl(*form, "ViewAsHexRadio");
  for (QComboBox* box : {send1, send2, read1, read2}) {
    EXPECT_EQ(box->count(), 256);
    EXPECT_EQ(box->itemText(0), QString("None"));
    EXPECT_EQ(box->itemText(10), QString("Ox0A  (\\n)"));
    EXPECT_EQ(box->itemText(13), QString("Ox0D  (\\r)"));
    EXPECT_EQ(box->itemText(255), QString("OxFF"));
  }
  EXPECT_EQ(read1->currentIndex(), 13);  // the indexes stay
  EXPECT_EQ(send1->currentIndex(), 0);
}

TEST_F(DeviceDialogTest, AddMakesDevicesOneAfterAnotherAndEditShowsTheCurrentLocation) {
  auto form = ShowNew();
  Type(*form, "NameEdit", "One");
  ClickRow(*form, "CEC_GPIB0", 1);
  ClickControl(*form, "Add");
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(List.Count(), 1u);
  EXPECT_EQ(Control<QLineEdit>(*form, "NameEdit")->text(), QString());
  EXPECT_EQ(Control<QLabel>(*form, "AddressLabel")->text(), QString("No device address"));
  EXPECT_EQ(Row(*form, "CEC_GPIB0", 1)->text(0), QString("IN USE BY: One"));
  Type(*form, "NameEdit", "Two");
  ClickRow(*form, "CEC_GPIB0", 2);
  ClickControl(*form, "Add");
  ClickControl(*form, "Cancel");
  ASSERT_EQ(List.Count(), 2u);
  EXPECT_EQ(List.GetDevice(1)->GetListItem().Communication, "CEC GPIB-Device Address: 2");

  // Edit through the device: its location is the current one while the dialog shows;
  // a new location and name reach the device on OK.
  TDevice* one = List.GetDevice(0);
  TModalDialogActor<TDeviceForm> actor([&](TDeviceForm& dialog) {
    EXPECT_FALSE(Control<QPushButton>(dialog, "Add")->isVisible());
    EXPECT_TRUE(Control<QPushButton>(dialog, "Ok")->isDefault());
    EXPECT_EQ(Row(dialog, "CEC_GPIB0", 1)->text(0), QString("Current location of One"));
    EXPECT_EQ(Control<QLabel>(dialog, "AddressLabel")->text(), QString("Current location of One"));
    Type(dialog, "NameEdit", "Uno");
    ClickRow(dialog, "CEC_GPIB0", 7);
    ClickControl(dialog, "Ok");
  });
  EXPECT_TRUE(one->Edit());
  EXPECT_TRUE(actor.Seen);
  EXPECT_EQ(one->GetName(), "Uno");
  EXPECT_EQ(one->GetListItem().Communication, "CEC GPIB-Device Address: 7");
  EXPECT_EQ(Cec(1).GetText(), "GPIB Address 1");
  EXPECT_EQ(Cec(7).GetText(), "IN USE BY: Uno");
  // Cancel changes nothing and leaves no location marked.
  TModalDialogActor<TDeviceForm> cancel([&](TDeviceForm& dialog) {
    Type(dialog, "NameEdit", "Other");
    ClickControl(dialog, "Cancel");
  });
  EXPECT_FALSE(one->Edit());
  EXPECT_EQ(one->GetName(), "Uno");
  EXPECT_EQ(Cec(7).GetText(), "IN USE BY: Uno");
}

TEST_F(DeviceDialogTest, ChangeSettingsReplacesTheGpibNodesAndTheirDevices) {
  RegisterShellDialogs(Registry);  // the GPIB settings dialog
  TDevice* meter = Make("Meter", Cec(5));
  Use(meter);
  TDevice* pump = Make("Pump", Com1());
  Sim.Configure("cec-board 0\ncec-board 1\nni-board 0\n");
  auto form = ShowNew();
  ClickRow(*form, "CEC_GPIB0", 2);
  // The warning first, then the dialog: two CEC boards, no NI board.
  Dialogs.ScriptAnswers({mbOK});
  TModalDialogActor<TGPIBAdvancedForm> settings([](TGPIBAdvancedForm& dialog) {
    ClickControl(dialog, "AutoDetectCheckBox");
    Control<QLineEdit>(dialog, "NationalEdit")->setText("0");
    Control<QLineEdit>(dialog, "CECEdit")->setText("2");
    ClickControl(dialog, "OK");
  });
  ClickControl(*form, "ChangeSettingsButton");
  EXPECT_TRUE(settings.Seen);
  EXPECT_EQ(Dialogs.Texts(), TTexts{"Any changes made will result in ALL GPIB devices being deleted."});
  auto* tree = Control<QTreeWidget>(*form, "CommunicationTree");
  ASSERT_EQ(tree->topLevelItemCount(), 3);
  EXPECT_EQ(tree->topLevelItem(1)->text(0), QString("CEC_GPIB0"));
  EXPECT_EQ(tree->topLevelItem(2)->text(0), QString("CEC_GPIB1"));
  // The GPIB device went with its command; the serial one stayed; the chosen GPIB
  // location is no longer chosen.
  ASSERT_EQ(List.Count(), 1u);
  EXPECT_EQ(List.GetDevice(0), pump);
  EXPECT_EQ(Children(B1->AExpNode), TTexts{});
  EXPECT_EQ(Control<QLabel>(*form, "AddressLabel")->text(), QString("No device address"));
  EXPECT_EQ(List.GetCommunicationsTree().GetGpibSettings(), (TGpibSettings{false, 0, 2}));
  ClickControl(*form, "Cancel");
  // Editing a device does not change the boards.
  TDeviceFormRequest edit;
  edit.List = &List;
  edit.Device = pump;
  edit.Settings = DeviceSettingsOf(*pump);
  form = Show(edit);
  EXPECT_FALSE(Control<QPushButton>(*form, "ChangeSettingsButton")->isEnabled());
}

TEST_F(DeviceDialogTest, NothingChangesDuringARun) {
  ExperimentRunning = true;
  auto form = ShowNew();
  for (const char* control : {"Ok", "Add", "ChangeIconButton", "SendChar1Combo", "ReadChar1Combo",
                              "ChangeSettingsButton"})
    EXPECT_FALSE(Control<QWidget>(*form, control)->isEnabled()) << control;
  ExperimentRunning = false;
}

}  // namespace
