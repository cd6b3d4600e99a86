// Devices in the main window, end to end: the communications tree as start-up probes it
// (a missing configured board, automatic detection without boards, "COM 3"); devices
// made in the device dialog on the simulated GPIB bus and on a serial pseudo-terminal,
// their commands edited, saved as ".dev", deleted, opened again, their commands put in
// the block through "Device Commands..." and used by a run; a ".dcg" round trip; the
// device list's pop-up during a run; every change of the devices marking a new
// experiment modified (closing then asks to save it), and what changes nothing leaving
// the mark alone.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTreeWidget>

#include <functional>
#include <stdexcept>
#include <utility>

#include "communication/communications_tree.h"
#include "communication/device_settings.h"
#include "communication/holder.h"
#include "communication/rs232.h"
#include "communication/ui/communication_dialogs.h"
#include "communication/ui/device_dialog.h"
#include "communication/ui/device_occupied_dialog.h"
#include "communication/ui/device_scripts_dialog.h"
#include "communication/ui/interactive_form.h"
#include "communication/ui/scan_for_devices_form.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/gpib_settings_dialog.h"
#include "shell/ui/shell_dialogs.h"
#include "shell/ui/main_window_steps.h"
#include "support/serial_instrument.h"
#include "support/ui/dialog_driver.h"

namespace {

using TTexts = std::vector<std::string>;

class DevicesInMainWindowTest : public TWindowStepsTest {
protected:
  DevicesInMainWindowTest() {
    RegisterCommunicationDialogs(Registry);
    RegisterShellDialogs(Registry);
    // The rename-or-choose dialog comes with the variable dialogs: here a new variable of
    // the next name answers each prompt.
    Registry.Register<TChangeVarRequest>([this](TChangeVarRequest& request, QWidget*) {
      Prompts.push_back(request.Caption);
      if (VariableNames.empty()) return 0;
      request.NewNameChosen = true;
      request.NewName = VariableNames.front();
      VariableNames.erase(VariableNames.begin());
      return 1;
    });
    Port.SetDialogRegistry(&Registry);
  }
  ~DevicesInMainWindowTest() override { Port.SetDialogRegistry(nullptr); }

  QTreeWidget* DeviceView() const { return Window->findChild<QTreeWidget*>("DeviceView"); }
  TTexts DeviceRows() const {
    TTexts rows;
    for (int i = 0; i < DeviceView()->topLevelItemCount(); ++i)
      rows.push_back(DeviceView()->topLevelItem(i)->text(0).toStdString() + " | " +
                     DeviceView()->topLevelItem(i)->text(1).toStdString());
    return rows;
  }
  // The pop-up of the device list as it opens on the named device (none: empty space).
  QMenu* Popup(const std::string& device = "") {
    QTreeWidget* view = DeviceView();
    view->clearSelection();
    for (int i = 0; i < view->topLevelItemCount(); ++i)
      if (view->topLevelItem(i)->text(0).toStdString() == device)
        view->setCurrentItem(view->topLevelItem(i));
    auto* popup = view->findChild<QMenu*>("DevicePopupMenu");
    EXPECT_NE(popup, nullptr);
    emit popup->aboutToShow();
    return popup;
  }
  QAction* Item(QMenu* popup, const char* name) {
    auto* action = popup->findChild<QAction*>(name);
    if (!action)
      if (auto* menu = popup->findChild<QMenu*>(name)) action = menu->menuAction();
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  void Choose(QMenu* popup, const char* name) {
    QAction* action = Item(popup, name);
    ASSERT_TRUE(action && action->isEnabled() && action->isVisible()) << name;
    action->trigger();
  }
  // A response of one float, ASCII, added in the command editor.
  static void AddReading(TAddDeviceScriptsForm& dialog, const QString& command) {
    Type(dialog, "CommandEdit", command);
    ClickControl(dialog, "IsResponseYesRadio");
    ClickControl(dialog, "FloatRadio");
    ClickControl(dialog, "Add");
  }
  static void Type(QWidget& form, const char* name, const QString& text) {
    auto* widget = Control<QWidget>(form, name);
    ASSERT_NE(widget, nullptr);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) widget = combo->lineEdit();
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Delete);
    QTest::keyClicks(widget, text);
  }
  static void ClickRow(QWidget& form, const QString& group, int child) {
    auto* tree = Control<QTreeWidget>(form, "CommunicationTree");
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
      if (tree->topLevelItem(g)->text(0) == group) {
        QTreeWidgetItem* item = tree->topLevelItem(g)->child(child);
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
        return;
      }
    ADD_FAILURE() << "no node " << group.toStdString();
  }
  // "Change Settings" of the device dialog: automatic detection off, the NI boards
  // counted, no CEC board.
  static void ChangeSettings(TDeviceForm& dialog, const QString& nationalBoards) {
    TModalDialogActor<TGPIBAdvancedForm> settings([&nationalBoards](TGPIBAdvancedForm& gpib) {
      ClickControl(gpib, "AutoDetectCheckBox");
      Control<QLineEdit>(gpib, "NationalEdit")->setText(nationalBoards);
      Control<QLineEdit>(gpib, "CECEdit")->setText("0");
      ClickControl(gpib, "OK");
    });
    ClickControl(dialog, "ChangeSettingsButton");
    EXPECT_TRUE(settings.Seen);
  }
  static QStringList TopNodes(QWidget& form) {
    QStringList nodes;
    auto* tree = Control<QTreeWidget>(form, "CommunicationTree");
    for (int g = 0; g < tree->topLevelItemCount(); ++g) nodes << tree->topLevelItem(g)->text(0);
    return nodes;
  }
  // The devices as the experiment file holds them: each row, then its device's commands
  // and how many commands of the experiment use it.
  TTexts DeviceState() const {
    TTexts state = DeviceRows();
    for (std::size_t i = 0; i < Devices().Count(); ++i) {
      const TDevice& device = *Devices().GetDevice(i);
      const TCoreDevice& core = device.GetCoreDevice();
      for (int c = 0; c < core.GetScriptCount(); ++c) state.push_back(core.GetScript(c)->GetText());
      state.push_back("used by " + std::to_string(device.GetScripts().size()));
    }
    return state;
  }
  // The location of the address on the NI board.
  THolderDevice& NiAddress(int address) {
    TCommunicationsTree& tree = Devices().GetCommunicationsTree();
    for (int g = 0; g < tree.GroupCount(); ++g)
      if (tree.GetGroup(g).GetCommType() == NAT_GPIB)
        return tree.GetGroup(g).GetLocation(address - 1);
    throw std::runtime_error("no NI board");
  }
  // A device on the NI address as the device dialog makes it, without the dialog's mark:
  // where a change starts from.
  TDevice* Made(const std::string& name, int address) {
    TDeviceSettings settings = NewDeviceSettings();
    settings.Name = name;
    SelectLocation(settings, &NiAddress(address));
    TDevice* device = Devices().AddDeviceFromDialog(settings);
    Window->RefreshViews();
    return device;
  }
  // The scan dialog through its button: Search, then what the user does with the items.
  void Scan(const std::function<void(TScanForDevicesForm&)>& then) {
    TModalDialogActor<TScanForDevicesForm> scan([&then](TScanForDevicesForm& dialog) {
      bool finished = false;
      QObject::connect(&dialog, &TScanForDevicesForm::ScanFinished,
                       [&finished] { finished = true; });
      ClickControl(dialog, "SearchButton");
      ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 10000));
      then(dialog);
    });
    Trigger("SearchButton");
    EXPECT_TRUE(scan.Seen);
    EXPECT_FALSE(scan.LeftOpen);
  }
  // The command editor on the named device, acted on as the user does.
  void EditCommands(const std::string& device,
                    const std::function<void(TAddDeviceScriptsForm&)>& act) {
    TModalDialogActor<TAddDeviceScriptsForm> editor(act);
    Choose(Popup(device), "AddEditDeviceScriptsItem");
    EXPECT_TRUE(editor.Seen);
    EXPECT_FALSE(editor.LeftOpen);
  }

  std::string ValueOf(const std::string& name) {
    std::vector<TData*> variables;
    Exp().GetDataSingleList()->GetAll(variables);
    for (TData* variable : variables)
      if (variable->GetDataName() == name) return variable->GetValueText();
    return "(no variable " + name + ")";
  }

  TDialogRegistry Registry;
  TTexts Prompts;
  std::vector<std::string> VariableNames;
};

TEST_F(DevicesInMainWindowTest, StartUpProbesTheConfiguredBoardsAndTheDialogShowsThem) {
  TMachinePorts noMachinePorts{{}};
  TSerialInstrument com3(2);
  TGpibSim bus("cec-board 0\ncec-board 2\n");
  QSettings stored("Orvelle", "Qorv");
  stored.setValue("AutoDetect", 0);
  stored.setValue("NumberofCECCards", 3);
  stored.setValue("NumberofNationalCards", 0);
  stored.sync();
  Dialogs.ScriptAnswers({mbOK});
  StartQorv();
  EXPECT_EQ(Dialogs.Texts(), TTexts{"CEC board 1 not found."});
  TModalDialogActor<TDeviceForm> look([](TDeviceForm& dialog) {
    EXPECT_EQ(TopNodes(dialog), (QStringList{"RS232", "CEC_GPIB0"}));
    auto* tree = Control<QTreeWidget>(dialog, "CommunicationTree");
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0), QString("COM 3"));
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 29);
    ClickControl(dialog, "Cancel");
  });
  Trigger("AddDeviceButton");
  EXPECT_TRUE(look.Seen);
  CloseWindow();
  stored.sync();
  EXPECT_EQ(stored.value("NumberofCECCards").toInt(), 1);

  // Automatic detection without boards: no GPIB node and nothing said.
  bus.Configure("");
  stored.setValue("AutoDetect", 1);
  stored.sync();
  Dialogs.ClearCalls();
  StartQorv();
  EXPECT_TRUE(Dialogs.Texts().empty());
  TModalDialogActor<TDeviceForm> none([](TDeviceForm& dialog) {
    EXPECT_EQ(TopNodes(dialog), QStringList{"RS232"});
    ClickControl(dialog, "Cancel");
  });
  OpenMenu("FileMenu");
  Trigger("NewDeviceMenuItem");
  EXPECT_TRUE(none.Seen);

  // "Change Settings" in the dialog: the new settings are those kept at closing.
  bus.Configure("ni-board 0\nni-board 1\n");
  TModalDialogActor<TDeviceForm> change([](TDeviceForm& dialog) {
    ChangeSettings(dialog, "2");
    EXPECT_EQ(TopNodes(dialog), (QStringList{"RS232", "NATIONAL_GPIB0", "NATIONAL_GPIB1"}));
    ClickControl(dialog, "Cancel");
  });
  Trigger("AddDeviceButton");
  EXPECT_TRUE(change.Seen);
  CloseWindow();
  stored.sync();
  EXPECT_EQ(stored.value("AutoDetect").toInt(), 0);
  EXPECT_EQ(stored.value("NumberofNationalCards").toInt(), 2);
  EXPECT_EQ(stored.value("NumberofCECCards").toInt(), 0);
}

TEST_F(DevicesInMainWindowTest, DevicesMadeSavedDeletedOpenedAndUsedByARun) {
  TMachinePorts noMachinePorts{{}};
  TSerialInstrument thermometer(0);
  thermometer.ReplyText("READ?", "21.5");
  TGpibSim bus("ni-board 0\ninstrument ni 0 5\n  reply MEAS? = number constant 1.25\n");
  StartQorv();

  // Two devices in one showing of the dialog: Add, then OK.
  TModalDialogActor<TDeviceForm> make([](TDeviceForm& dialog) {
    Type(dialog, "NameEdit", "Meter");
    ClickRow(dialog, "NATIONAL_GPIB0", 4);
    ClickControl(dialog, "Add");
    Type(dialog, "NameEdit", "Thermo");
    ClickRow(dialog, "RS232", 0);
    EXPECT_EQ(Control<QComboBox>(dialog, "ParityCombo")->currentText(), QString("None"));
    Type(dialog, "BaudRateCombo", "9600");
    ClickControl(dialog, "Ok");
  });
  Trigger("AddDeviceButton");
  ASSERT_TRUE(make.Seen);
  EXPECT_EQ(DeviceRows(), (TTexts{"Meter | National GPIB-Device Address: 5",
                                  "Thermo | COM1"}));
  EXPECT_EQ(Panel(TQorvForm::spModified), QString("Modified"));

  // A double click on a row edits its device.
  TModalDialogActor<TDeviceForm> edit([](TDeviceForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "NameEdit")->text(), QString("Thermo"));
    ClickControl(dialog, "Cancel");
  });
  QTreeWidget* view = DeviceView();
  const QPoint thermoRow = view->visualItemRect(view->topLevelItem(1)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, thermoRow);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, thermoRow);
  EXPECT_TRUE(edit.Seen);

  // Their commands; "Device Commands..." is disabled until there are some.
  QMenu* popup = Popup("Meter");
  EXPECT_FALSE(Item(popup, "DeviceCommandsMenu")->isEnabled());
  EXPECT_FALSE(Item(popup, "AddDevicePopupItem")->isVisible());
  ASSERT_TRUE(Item(popup, "InteractPopupItem")->isEnabled());
  TModalDialogActor<TInteractiveForm> console([](TInteractiveForm& dialog) {
    ASSERT_NE(dialog.CurrentDevice(), nullptr);
    EXPECT_EQ(dialog.CurrentDevice()->GetCoreDevice().GetName(), "Meter");  // the selected one
    ClickControl(dialog, "DoneButton");
  });
  Item(popup, "InteractPopupItem")->trigger();
  EXPECT_TRUE(console.Seen);
  popup = Popup("Meter");
  TModalDialogActor<TAddDeviceScriptsForm> meterCommands([](TAddDeviceScriptsForm& dialog) {
    AddReading(dialog, "MEAS?");
    Type(dialog, "CommandEdit", "*CLS");
    ClickControl(dialog, "Add");
    ClickControl(dialog, "Ok");
  });
  Choose(popup, "AddEditDeviceScriptsItem");
  TModalDialogActor<TAddDeviceScriptsForm> thermoCommands([](TAddDeviceScriptsForm& dialog) {
    AddReading(dialog, "READ?");
    ClickControl(dialog, "Ok");
  });
  Choose(Popup("Thermo"), "AddEditDeviceScriptsItem");
  ASSERT_TRUE(meterCommands.Seen && thermoCommands.Seen);

  // Saved as device files, deleted, opened again.
  const std::string meterFile = Temp.PathOf("meter.dev");
  const std::string thermoFile = Temp.PathOf("thermo.dev");
  Dialogs.ScriptFiles({meterFile, thermoFile});
  Choose(Popup("Meter"), "SaveDeviceItem");
  Choose(Popup("Thermo"), "SaveDeviceItem");
  const auto choices = Dialogs.FileChoices();
  ASSERT_EQ(choices.size(), 2u);
  EXPECT_EQ(choices[0].Choice.FileName, "Meter");
  EXPECT_EQ(choices[0].Choice.Filter, "Device (*.dev) | *.dev");
  Dialogs.ScriptAnswers({mbYes, mbYes});
  Choose(Popup("Meter"), "DeleteDeviceItem");
  Choose(Popup("Thermo"), "DeleteDeviceItem");
  EXPECT_EQ(Dialogs.Texts().back(), "Do you really want to delete this device.\rPress Yes to delete.");
  EXPECT_TRUE(DeviceRows().empty());
  Dialogs.ScriptFiles({meterFile, thermoFile});
  Trigger("OpenDeviceButton");
  Choose(Popup(), "OpenDevicePopupItem");
  EXPECT_EQ(DeviceRows(), (TTexts{"Meter | National GPIB-Device Address: 5",
                                  "Thermo | COM1"}));
  auto* serial = static_cast<TRS232*>(Devices().GetDevice(1)->GetCommunication());
  EXPECT_EQ(serial->RS232Param.BaudRate, 9600);
  EXPECT_EQ(serial->RS232Param.ParityIndex, 0);

  // Their commands into the start block through "Device Commands...", each reading into
  // a new variable; a run uses them.
  VariableNames = {"Volts", "Celsius"};
  popup = Popup("Meter");
  ASSERT_TRUE(Item(popup, "DeviceCommandsMenu")->isEnabled());
  auto* commands = popup->findChild<QMenu*>("DeviceCommandsMenu");
  ASSERT_EQ(commands->actions().size(), 2);
  EXPECT_EQ(commands->actions()[1]->text(), QString("Send(*CLS)"));
  commands->actions()[1]->trigger();
  commands->actions()[0]->trigger();
  popup = Popup("Thermo");
  popup->findChild<QMenu*>("DeviceCommandsMenu")->actions()[0]->trigger();
  EXPECT_EQ(Prompts, (TTexts{"Variable to store read data", "Variable to store read data"}));
  EXPECT_EQ(Devices().GetDevice(0)->GetScripts().size(), 3u);
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbOK});
  Trigger("StartButton");
  ASSERT_TRUE(WaitUntil([&] { return !Dialogs.Texts().empty() && !IsRunActive(); }, 30000));
  EXPECT_EQ(Dialogs.Texts().back(), "Experiment Complete");
  EXPECT_EQ(ValueOf("Volts"), "1.25");
  EXPECT_EQ(ValueOf("Celsius"), "21.5");
  // No send characters on GPIB: EOI ends each message.
  EXPECT_EQ(bus.Received(TGpibSim::kNI, 0, 5), "*CLSMEAS?");
  EXPECT_EQ(thermometer.Messages(), TTexts{"READ?"});

  // A configuration file round trip: saved, every device removed (with the commands,
  // after the question), opened, and saved again to the same bytes.
  Exp().SetTitle("Bench");
  const std::string configuration = Temp.PathOf("bench.dcg");
  Dialogs.ScriptFiles({configuration});
  Trigger("SaveDeviceConfigurationButton");
  EXPECT_EQ(Dialogs.FileChoices().back().Choice.FileName, "BenchDevices");
  // The Meter goes first, alone: its three commands go with it.
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbYes});
  Choose(Popup("Meter"), "DeleteDeviceItem");
  EXPECT_EQ(Dialogs.Texts(),
            TTexts{"Do you really want to delete this device.\rMeter has scripts that are using it."
                   "  Those scripts will be deleted with the device.\rPress Yes to delete."});
  EXPECT_EQ(Exp().GetCurrentBlock()->AExpNode->Count(), 3);  // Thermo's two and the blank line
  Dialogs.ScriptAnswers({mbYes});
  Trigger("RemoveAllDevicesBtn");
  EXPECT_TRUE(DeviceRows().empty());
  Dialogs.ScriptFiles({configuration});
  OpenMenu("FileMenu");
  Trigger("OpenDeviceConfigurationMenuItem");
  EXPECT_EQ(DeviceRows().size(), 2u);
  Dialogs.ScriptFiles({Temp.PathOf("again.dcg")});
  OpenMenu("FileMenu");
  Trigger("SaveDeviceConfigurationMenuItem");
  EXPECT_EQ(Temp.ReadBytes("again.dcg"), Temp.ReadBytes("bench.dcg"));

  // During a run the pop-up offers nothing but Edit; Reset is disabled.
  ExperimentRunning = true;
  popup = Popup("Meter");
  EXPECT_FALSE(Item(popup, "ResetItem")->isEnabled());
  EXPECT_FALSE(Item(popup, "DeleteDeviceItem")->isEnabled());
  EXPECT_FALSE(Item(popup, "InteractPopupItem")->isEnabled());  // the run talks to them
  EXPECT_TRUE(Item(popup, "EditDeviceItem")->isEnabled());
  ExperimentRunning = false;
  popup = Popup("Meter");
  EXPECT_TRUE(Item(popup, "ResetItem")->isEnabled());
  Choose(popup, "ResetItem");
}

// The experiment file holds the devices: every change of them marks a new experiment
// modified, and closing then asks the save question, so that no device is lost unsaved.
TEST_F(DevicesInMainWindowTest, EveryChangeOfTheDevicesMarksTheExperimentModified) {
  TMachinePorts noMachinePorts{{}};
  TGpibSim bus("ni-board 0\ninstrument ni 0 5\n  idn QORV,DMM-5\n");
  // A device file and a configuration of Probe on address 7.
  const std::string deviceFile = Temp.PathOf("probe.dev");
  const std::string configuration = Temp.PathOf("probe.dcg");
  StartQorv();
  TDevice* probe = Made("Probe", 7);
  ASSERT_TRUE(probe->SaveDeviceFile(deviceFile));
  ASSERT_TRUE(Devices().SaveDeviceConfiguration(configuration));
  CloseWithoutQuestions();

  const std::vector<std::pair<std::string, std::function<void()>>> changes{
      {"Apply of the scan, then Cancel",
       [&] {
         Scan([](TScanForDevicesForm& dialog) {
           ClickControl(dialog, "CheckAllButton");
           ClickControl(dialog, "ApplyButton");
           ClickControl(dialog, "CancelButton");
         });
       }},
      {"OK of the scan",
       [&] {
         Scan([](TScanForDevicesForm& dialog) {
           ClickControl(dialog, "CheckAllButton");
           ClickControl(dialog, "OKButton");
         });
       }},
      {"Open Device",
       [&] {
         Dialogs.ScriptFiles({deviceFile});
         Trigger("OpenDeviceButton");
       }},
      {"a dropped device file", [&] { Drop({deviceFile}); }},
      {"Open Device Configuration",
       [&] {
         Dialogs.ScriptFiles({configuration});
         Trigger("OpenDeviceConfigurationButton");
       }},
      {"a dropped configuration", [&] { Drop({configuration}); }},
      {"OK alone on a new device",
       [&] {
         TModalDialogActor<TDeviceForm> add([](TDeviceForm& dialog) {
           Type(dialog, "NameEdit", "Lamp");
           ClickRow(dialog, "NATIONAL_GPIB0", 10);
           ClickControl(dialog, "Ok");
         });
         Trigger("AddDeviceButton");
         EXPECT_TRUE(add.Seen);
       }},
      {"Edit moving the device to another address",
       [&] {
         TModalDialogActor<TDeviceForm> edit([](TDeviceForm& dialog) {
           ClickRow(dialog, "NATIONAL_GPIB0", 11);
           ClickControl(dialog, "Ok");
         });
         Choose(Popup("Meter"), "EditDeviceItem");
         EXPECT_TRUE(edit.Seen);
       }},
      {"Delete",
       [&] {
         Dialogs.ScriptAnswers({mbYes});
         Choose(Popup("Meter"), "DeleteDeviceItem");
       }},
      {"Remove all devices",
       [&] {
         Dialogs.ScriptAnswers({mbYes});
         Trigger("RemoveAllDevicesBtn");
       }},
      {"a new device command taken by OK",
       [&] {
         EditCommands("Meter", [](TAddDeviceScriptsForm& dialog) {
           Type(dialog, "CommandEdit", "*CLS");
           ClickControl(dialog, "Add");
           ClickControl(dialog, "Ok");
         });
       }},
      {"a device command changed, then Cancel",
       [&] {
         EditCommands("Meter", [](TAddDeviceScriptsForm& dialog) {
           dialog.EditLine(0);
           Type(dialog, "CommandEdit", "*RST;*CLS");
           ClickControl(dialog, "Add");
           ClickControl(dialog, "Cancel");
         });
       }},
      {"a device command deleted, then Cancel",
       [&] {
         EditCommands("Meter", [](TAddDeviceScriptsForm& dialog) {
           dialog.DeleteLine(0);
           ClickControl(dialog, "Cancel");
         });
       }},
      {"a device command put into the block",
       [&] { Popup("Meter")->findChild<QMenu*>("DeviceCommandsMenu")->actions()[0]->trigger(); }},
      // Last: the GPIB settings it changes are kept for the windows after it.
      {"Change Settings taking the GPIB devices, then Cancel",
       [&] {
         TModalDialogActor<TDeviceForm> change([](TDeviceForm& dialog) {
           ChangeSettings(dialog, "1");
           ClickControl(dialog, "Cancel");
         });
         Dialogs.ScriptAnswers({mbOK});  // "Any changes made will result in ALL GPIB ..."
         Trigger("AddDeviceButton");
         EXPECT_TRUE(change.Seen);
         EXPECT_TRUE(DeviceRows().empty());
       }},
  };
  for (const auto& [change, make] : changes) {
    SCOPED_TRACE(change);
    StartQorv();
    Made("Meter", 9)->GetCoreDevice().NewScript("*RST");
    const TTexts before = DeviceState();
    ASSERT_EQ(Panel(TQorvForm::spModified), QString());
    make();
    EXPECT_NE(DeviceState(), before);
    EXPECT_EQ(Panel(TQorvForm::spModified), QString("Modified"));
    Dialogs.ClearCalls();
    Dialogs.ScriptAnswers({mbNo});
    CloseWindow();
    EXPECT_EQ(Dialogs.Texts(), TTexts{SaveQuestion});
  }
}

TEST_F(DevicesInMainWindowTest, WhatChangesNoDeviceLeavesTheMarkAlone) {
  TMachinePorts noMachinePorts{{}};
  TGpibSim bus("ni-board 0\ninstrument ni 0 5\n  idn QORV,DMM-5\n");
  StartQorv();
  TDevice* meter = Made("Meter", 5);
  meter->GetCoreDevice().NewScript("*RST");
  const std::string deviceFile = Temp.PathOf("meter.dev");
  ASSERT_TRUE(meter->SaveDeviceFile(deviceFile));
  const TTexts state = DeviceState();

  // The scan finds only the address Meter holds: Apply makes nothing.
  Scan([](TScanForDevicesForm& dialog) {
    ClickControl(dialog, "CheckAllButton");
    ClickControl(dialog, "ApplyButton");
    ClickControl(dialog, "OKButton");
  });
  Scan([](TScanForDevicesForm& dialog) { ClickControl(dialog, "CancelButton"); });
  // The device dialog untouched, or cancelled.
  TModalDialogActor<TDeviceForm> untouched([](TDeviceForm& dialog) { ClickControl(dialog, "Ok"); });
  Trigger("AddDeviceButton");
  TModalDialogActor<TDeviceForm> cancelled([](TDeviceForm& dialog) {
    Type(dialog, "NameEdit", "Lamp");
    ClickRow(dialog, "NATIONAL_GPIB0", 10);
    ClickControl(dialog, "Cancel");
  });
  Trigger("AddDeviceButton");
  TModalDialogActor<TDeviceForm> edited([](TDeviceForm& dialog) {
    ClickRow(dialog, "NATIONAL_GPIB0", 11);
    ClickControl(dialog, "Cancel");
  });
  Choose(Popup("Meter"), "EditDeviceItem");
  EXPECT_TRUE(untouched.Seen && cancelled.Seen && edited.Seen);
  // The command editor: a new command dropped by Cancel, and OK on nothing new.
  EditCommands("Meter", [](TAddDeviceScriptsForm& dialog) {
    Type(dialog, "CommandEdit", "*CLS");
    ClickControl(dialog, "Add");
    ClickControl(dialog, "Cancel");
  });
  EditCommands("Meter", [](TAddDeviceScriptsForm& dialog) { ClickControl(dialog, "Ok"); });
  // The device file again: its address is held and the user skips it.
  TModalDialogActor<TDeviceOccupiedForm> skip([](TDeviceOccupiedForm& dialog) {
    ClickControl(dialog, "SkipRadio");
    ClickControl(dialog, "Ok");
  });
  Dialogs.ScriptFiles({deviceFile});
  Trigger("OpenDeviceButton");
  EXPECT_TRUE(skip.Seen);
  // Delete and Remove all answered No; Reset closes only the connection.
  Dialogs.ScriptAnswers({mbNo, mbNo});
  Choose(Popup("Meter"), "DeleteDeviceItem");
  Trigger("RemoveAllDevicesBtn");
  Choose(Popup("Meter"), "ResetItem");

  EXPECT_EQ(DeviceState(), state);
  EXPECT_EQ(Panel(TQorvForm::spModified), QString());
  Dialogs.ClearCalls();
  CloseWindow();
  EXPECT_TRUE(Dialogs.Texts().empty());
}

}  // namespace
