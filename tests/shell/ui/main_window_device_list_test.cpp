// The device list of the main window through its widgets: the pop-up on empty space and
// on a device, "Device Commands..." disabled without commands and listing them when there
// are some, the add-command items by the kind of device, a double click editing the
// device, Save and Save As of a device file, "No Devices to save.", and during a run
// Reset disabled and refused, the command editor refusing with its reason and the
// Delete key doing nothing.
#include <QLineEdit>
#include <QTreeWidget>

#include <filesystem>

#include "communication/cec_gpib.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/rs232.h"
#include "communication/ui/communication_dialogs.h"
#include "communication/ui/device_dialog.h"
#include "main_window_widgets.h"
#include "scripts/flow/wait_script.h"
#include "shell/ui/dialog_registry.h"
#include "support/ui/dialog_driver.h"

namespace {

using TTexts = std::vector<std::string>;

class MainWindowDeviceListTest : public TMainWindowWidgetsTest {
protected:
  MainWindowDeviceListTest() {
    RegisterCommunicationDialogs(Registry);
    Port.SetDialogRegistry(&Registry);
  }
  ~MainWindowDeviceListTest() override {
    CloseWithoutQuestions();
    Port.SetDialogRegistry(nullptr);
  }

  void Start() {
    StartQorv();
    View = Window->findChild<QTreeWidget*>("DeviceView");
    ASSERT_NE(View, nullptr);
  }
  TDeviceList& Devices() const { return Window->Session().GetDeviceList(); }
  // A device of the name on the communication, shown in the list.
  TDevice* AddDevice(const std::string& name, std::unique_ptr<TCommunication> communication) {
    TDevice* device = Devices().NewDevice();
    device->GetCoreDevice().SetName(name);
    device->SetCommunication(std::move(communication));
    device->UpdateListItem();
    Window->RefreshViews();
    return device;
  }
  QPoint RowPoint(const std::string& name) const {
    for (int row = 0; row < View->topLevelItemCount(); ++row)
      if (View->topLevelItem(row)->text(0).toStdString() == name)
        return View->visualItemRect(View->topLevelItem(row)).center();
    ADD_FAILURE() << "no row " << name;
    return {};
  }
  QPoint BelowRows() const {
    const QPoint point(20, View->viewport()->height() - 5);
    EXPECT_EQ(View->itemAt(point), nullptr) << "the list shows no empty space";
    return point;
  }
  QMenu* PopupAt(const QPoint& point) {
    return RightClick(View->viewport(), point, "DevicePopupMenu");
  }
  // The texts of the items a menu shows, with "(off)" after a disabled one.
  static QStringList Shown(const QMenu* menu) {
    QStringList items;
    for (QAction* item : menu->actions())
      if (item->isVisible() && !item->isSeparator())
        items << item->text() + (item->isEnabled() ? "" : " (off)");
    return items;
  }
  static QMenu* Submenu(QMenu* popup, const char* name) {
    auto* menu = popup->findChild<QMenu*>(name);
    EXPECT_NE(menu, nullptr) << name;
    return menu;
  }
  void StartLongRun() {
    AddCommand<TWaitScript>(FirstBlock())->SetTime(600000);
    Trigger("StartButton");
    ASSERT_TRUE(IsRunActive());
  }

  TDialogRegistry Registry;
  QTreeWidget* View = nullptr;
};

TEST_F(MainWindowDeviceListTest, PopupOffersTheItemsOfTheSelectionAndTheDevicesKind) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TDevice* meter = AddDevice("Meter", std::make_unique<TCECGPIB>(0, 5, nullptr));
  AddDevice("Pump", std::make_unique<TRS232>(nullptr, 1));

  QMenu* popup = PopupAt(BelowRows());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(Shown(popup), (QStringList{"Add Device", "Open Device", "Open Device Configuration",
                                       "Scan For Devices"}));
  popup->hide();

  // A GPIB device without commands: "Device Commands..." is disabled; the items of
  // "Commands..." are set for the device (and wait for the dialogs still to come).
  popup = PopupAt(RowPoint("Meter"));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(Shown(popup),
            (QStringList{"Add/Edit Device Commands", "Device Commands... (off)", "Commands...",
                         "Interact", "Save", "Save As", "Edit", "Delete", "Reset"}));
  EXPECT_TRUE(Submenu(popup, "DeviceCommandsMenu")->actions().isEmpty());
  EXPECT_EQ(Shown(Submenu(popup, "CommandsMenu")),
            (QStringList{"Send", "Read", "Send and Read", "Send GPIB", "Send Binary",
                         "Serial Poll", "Send RS232 (off)", "Clear Device Read Buffer"}));
  popup->hide();

  popup = PopupAt(RowPoint("Pump"));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(Shown(Submenu(popup, "CommandsMenu")),
            (QStringList{"Send", "Read", "Send and Read", "Send GPIB (off)",
                         "Send Binary", "Serial Poll (off)", "Send RS232",
                         "Clear Device Read Buffer"}));
  popup->hide();

  // With commands, one item each, by its short text.
  TCoreDevice& core = meter->GetCoreDevice();
  core.NewScript("*IDN?");
  core.NewScript("*RST");
  popup = PopupAt(RowPoint("Meter"));
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(Shown(popup).contains("Device Commands..."));
  EXPECT_EQ(Shown(Submenu(popup, "DeviceCommandsMenu")),
            (QStringList{QString::fromStdString(core.GetScript(0)->GetText()),
                         QString::fromStdString(core.GetScript(1)->GetText())}));
  popup->hide();
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(MainWindowDeviceListTest, NoDevicesToSaveAndTheSavesOfADeviceFile) {
  ASSERT_NO_FATAL_FAILURE(Start());
  Dialogs.ScriptAnswers({mbOK});
  Trigger("SaveDeviceConfigurationButton");
  EXPECT_EQ(Dialogs.Texts(), TTexts{"No Devices to save."});
  EXPECT_TRUE(Dialogs.FileChoices().empty()) << "no save dialog";

  // A device without a file: Save asks for one, named after the device; Cancel writes
  // nothing.
  AddDevice("Meter", std::make_unique<TCECGPIB>(0, 5, nullptr));
  Dialogs.ClearCalls();
  Dialogs.ScriptFiles({""});
  ClickItem(PopupAt(RowPoint("Meter")), "SaveDeviceItem");
  ASSERT_EQ(Dialogs.FileChoices().size(), 1u);
  EXPECT_EQ(Dialogs.FileChoices()[0].Choice.FileName, "Meter");
  EXPECT_EQ(Dialogs.FileChoices()[0].Choice.DefaultExt, "dev");
  EXPECT_TRUE(std::filesystem::is_empty(Temp.Path()));

  // Save As writes where chosen; Save then writes there again without a dialog.
  const std::string path = Temp.PathOf("meter.dev");
  Dialogs.ScriptFiles({path});
  ClickItem(PopupAt(RowPoint("Meter")), "SaveAsDeviceItem");
  ASSERT_TRUE(std::filesystem::exists(path));
  std::filesystem::remove(path);
  Dialogs.ClearCalls();
  ClickItem(PopupAt(RowPoint("Meter")), "SaveDeviceItem");
  EXPECT_TRUE(Dialogs.FileChoices().empty());
  EXPECT_TRUE(std::filesystem::exists(path));

  // With a device, the configuration's dialog comes, named after the experiment.
  Dialogs.ScriptFiles({""});
  Trigger("SaveDeviceConfigurationButton");
  ASSERT_EQ(Dialogs.FileChoices().size(), 1u);
  EXPECT_EQ(Dialogs.FileChoices()[0].Choice.FileName, "Experiment 1Devices");
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(MainWindowDeviceListTest, DoubleClickEditsTheDeviceAndTheDeleteKeyWantsThePointer) {
  ASSERT_NO_FATAL_FAILURE(Start());
  AddDevice("Meter", std::make_unique<TCECGPIB>(0, 5, nullptr));
  AddDevice("Pump", std::make_unique<TRS232>(nullptr, 1));

  TModalDialogActor<TDeviceForm> edit([](TDeviceForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "NameEdit")->text(), QString("Pump"));
    ClickControl(dialog, "Cancel");
  });
  QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, RowPoint("Pump"));
  EXPECT_TRUE(edit.Seen);
  EXPECT_FALSE(edit.LeftOpen);
  EXPECT_EQ(Devices().Count(), 2u);

  // The selected device is Pump; the pointer is over Meter.
  QCursor::setPos(View->viewport()->mapToGlobal(RowPoint("Meter")));
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(Devices().Count(), 2u);
  EXPECT_TRUE(Dialogs.Boxes().empty());
  // Over the selected device, the list's question, then it goes.
  QCursor::setPos(View->viewport()->mapToGlobal(RowPoint("Pump")));
  Dialogs.ScriptAnswers({mbYes});
  QTest::keyClick(View, Qt::Key_Delete);
  ASSERT_EQ(Devices().Count(), 1u);
  EXPECT_EQ(Devices().GetDevice(0)->GetName(), "Meter");
  ASSERT_EQ(Dialogs.Boxes().size(), 1u);
  EXPECT_EQ(Dialogs.Texts()[0].rfind("Do you really want to delete this device.", 0), 0u);
}

TEST_F(MainWindowDeviceListTest, DuringARunResetIsDisabledAndRefusedAndNothingIsDeleted) {
  ASSERT_NO_FATAL_FAILURE(Start());
  TDevice* meter = AddDevice("Meter", std::make_unique<TCECGPIB>(0, 5, nullptr));
  meter->GetCoreDevice().NewScript("*IDN?");
  ASSERT_NO_FATAL_FAILURE(StartLongRun());

  QMenu* popup = PopupAt(RowPoint("Meter"));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(Shown(popup),
            (QStringList{"Add/Edit Device Commands", "Device Commands... (off)",
                         "Commands... (off)", "Interact (off)", "Save (off)", "Save As (off)",
                         "Edit", "Delete (off)", "Reset (off)"}));
  popup->hide();
  // The command editor says why it does not open, and the commands stay.
  Dialogs.ScriptAnswers({mbOK});
  ClickItem(PopupAt(RowPoint("Meter")), "AddEditDeviceScriptsItem");
  EXPECT_EQ(Dialogs.Texts(), TTexts{"Cannot edit these when the experiment is running"});
  EXPECT_EQ(meter->GetCoreDevice().GetScriptCount(), 1);
  Dialogs.ClearCalls();
  // The operation refuses as well, whatever calls it.
  EXPECT_FALSE(meter->Reset());
  popup = PopupAt(BelowRows());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(Shown(popup),
            (QStringList{"Add Device (off)", "Open Device (off)",
                         "Open Device Configuration (off)", "Scan For Devices (off)"}));
  popup->hide();

  QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, RowPoint("Meter"));
  QCursor::setPos(View->viewport()->mapToGlobal(RowPoint("Meter")));
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(Devices().Count(), 1u);
  EXPECT_TRUE(Dialogs.Boxes().empty());

  Dialogs.ScriptAnswers({mbOK});  // "Aborted"
  Trigger("StopButton");
  ASSERT_TRUE(WaitUntil([] { return !IsRunActive(); }, 20000));
  EXPECT_TRUE(meter->Reset());
  popup = PopupAt(RowPoint("Meter"));
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(Item(popup, "ResetItem")->isEnabled());
  popup->hide();
}

}  // namespace
