// The scan dialog as a user works it: a search of the NI board lists the instruments,
// Check All and Apply make devices (an occupied address makes none), the messages for
// no board chosen and nothing found, a slow scan cancelled with its items kept, and
// closing during a scan.
#include "communication/ui/scan_for_devices_form.h"

#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <chrono>

#include "communication/core_device.h"
#include "device_dialog_fixture.h"

namespace {

class ScanForDevicesFormTest : public TDeviceDialogFixture {
protected:
  std::unique_ptr<TScanForDevicesForm> Show() {
    Request.List = &List;
    auto form = std::make_unique<TScanForDevicesForm>(Request);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
  }
  static bool Search(TScanForDevicesForm& form) {
    bool finished = false;
    const auto connection = QObject::connect(&form, &TScanForDevicesForm::ScanFinished,
                                             [&finished] { finished = true; });
    ClickControl(form, "SearchButton");
    const bool ok = QTest::qWaitFor([&] { return finished; }, 10000);
    QObject::disconnect(connection);
    return ok;
  }
  static std::vector<std::string> Items(QWidget& form) {
    std::vector<std::string> items;
    auto* list = Control<QListWidget>(form, "DeviceListBox");
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
    return items;
  }
  // Rebuilds the tree on the bus as now configured.
  void Rebuild() {
    TGpibSettings gpib{true, 1, 1};
    List.BuildCommunicationsTree(gpib);
  }

  TScanForDevicesRequest Request;
};

TEST_F(ScanForDevicesFormTest, SearchCheckAllAndApplyMakeDevicesOnTheirAddresses) {
  Sim.Configure("cec-board 0\nni-board 0\ninstrument ni 0 5\n  idn QORV,DMM-5,0,1.0\n"
                "instrument ni 0 9\n  talker off\ninstrument ni 0 12\n  idn QORV,PSU-12\n");
  Rebuild();
  TDevice* occupant = Make("Occupant", Ni(12));
  auto form = Show();
  EXPECT_EQ(form->property("helpContext").toInt(), 25);
  auto* boards = Control<QComboBox>(*form, "CommunicationComboBox");
  ASSERT_EQ(boards->count(), 1);  // the CEC board is not offered
  EXPECT_EQ(boards->currentText(), "NATIONAL_GPIB0");
  EXPECT_FALSE(Control<QPushButton>(*form, "ApplyButton")->isEnabled());
  EXPECT_FALSE(Control<QPushButton>(*form, "CheckAllButton")->isEnabled());
  ASSERT_TRUE(Search(*form));
  EXPECT_EQ(Items(*form), (std::vector<std::string>{"QORV,DMM-5,0,1.0 at address 5",
                                                    "Device9 at address 9",
                                                    "QORV,PSU-12 at address 12"}));
  EXPECT_TRUE(Control<QPushButton>(*form, "ApplyButton")->isEnabled());
  // Only checked items are applied; the occupied address makes nothing but its item goes.
  auto* list = Control<QListWidget>(*form, "DeviceListBox");
  list->item(0)->setCheckState(Qt::Checked);
  list->item(2)->setCheckState(Qt::Checked);
  ClickControl(*form, "ApplyButton");
  EXPECT_EQ(Items(*form), (std::vector<std::string>{"Device9 at address 9"}));
  ASSERT_EQ(List.Count(), 2u);
  EXPECT_EQ(List.GetDevice(1)->GetCoreDevice().GetName(), "QORV,DMM-5,0,1.0 at address 5");
  EXPECT_EQ(Ni(5).GetDevice(), List.GetDevice(1));
  EXPECT_EQ(Ni(12).GetDevice(), occupant);
  // OK applies what Check All checked.
  ClickControl(*form, "CheckAllButton");
  ClickControl(*form, "OKButton");
  EXPECT_EQ(List.Count(), 3u);
  EXPECT_EQ(Ni(9).GetDevice()->GetCoreDevice().GetName(), "Device9 at address 9");
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(ScanForDevicesFormTest, NoBoardChosenAndNothingFound) {
  Sim.Configure("ni-board 0\n");
  Rebuild();
  auto form = Show();
  Dialogs.ScriptAnswers({mbOK, mbOK});
  ASSERT_TRUE(Search(*form));
  Control<QComboBox>(*form, "CommunicationComboBox")->setCurrentIndex(-1);
  ClickControl(*form, "SearchButton");
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{"No devices found.  Make sure the devices are powered up.",
                                      "You must select a communication to search"}));
  EXPECT_FALSE(Control<QPushButton>(*form, "ApplyButton")->isEnabled());
}

TEST_F(ScanForDevicesFormTest, CancelKeepsTheItemsFoundAndClosingWaitsForTheScan) {
  std::string bus = "ni-board 0\n";
  for (int address = 1; address <= 5; ++address)
    bus += "instrument ni 0 " + std::to_string(address) + "\n  idn SLOW" +
           std::to_string(address) + "\n  delay 200\n";
  Sim.Configure(bus);
  Rebuild();
  auto form = Show();
  bool finished = false;
  QObject::connect(form.get(), &TScanForDevicesForm::ScanFinished, [&finished] { finished = true; });
  ClickControl(*form, "SearchButton");
  EXPECT_TRUE(form->IsScanning());
  EXPECT_TRUE(Control<QProgressBar>(*form, "ScanProgress")->isVisible());
  EXPECT_FALSE(Control<QPushButton>(*form, "SearchButton")->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Items(*form).empty(); }, 5000));
  ClickControl(*form, "StopButton");
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
  const auto items = Items(*form);
  ASSERT_FALSE(items.empty());
  EXPECT_LE(items.size(), 2u);  // the address under way when cancelled may still come
  EXPECT_EQ(items[0], "SLOW1 at address 1");
  bool third = false;
  for (const std::string& line : Sim.Log()) third = third || line.rfind("ibln 0 3", 0) == 0;
  EXPECT_FALSE(third);
  EXPECT_EQ(Sim.Log().back().rfind("ibonl 0 0", 0), 0u);
  EXPECT_TRUE(Control<QPushButton>(*form, "ApplyButton")->isEnabled());
  EXPECT_TRUE(Dialogs.Texts().empty());  // no "No devices found." after a Cancel

  // Closing during a scan cancels it and waits for the worker before hiding.
  finished = false;
  ClickControl(*form, "SearchButton");
  ASSERT_TRUE(form->IsScanning());
  form->reject();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(Sim.Log().back().rfind("ibonl 0 0", 0), 0u);
  QTest::qWait(50);
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(ScanForDevicesFormTest, ScanForDevicesOpensTheDialogOnlyWithAScannableBoard) {
  Sim.Configure("cec-board 0\n");
  Rebuild();
  Dialogs.ScriptAnswers({mbOK});
  EXPECT_FALSE(ScanForDevices(List));
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{
                                 "No GPIB board have been detected or the GPIB board does not "
                                 "support device scan"}));
  Sim.Configure("ni-board 0\ninstrument ni 0 5\n  idn QORV,DMM-5,0,1.0\n");
  Rebuild();
  TModalDialogActor<TScanForDevicesForm> scan([](TScanForDevicesForm& dialog) {
    bool finished = false;
    QObject::connect(&dialog, &TScanForDevicesForm::ScanFinished, [&finished] { finished = true; });
    ClickControl(dialog, "SearchButton");
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 5000));
    ClickControl(dialog, "CheckAllButton");
    ClickControl(dialog, "OKButton");
  });
  EXPECT_TRUE(ScanForDevices(List));
  EXPECT_TRUE(scan.Seen);
  EXPECT_FALSE(scan.LeftOpen);
  ASSERT_EQ(List.Count(), 1u);
  EXPECT_EQ(List.GetDevice(0)->GetCoreDevice().GetName(), "QORV,DMM-5,0,1.0 at address 5");
}

}  // namespace
