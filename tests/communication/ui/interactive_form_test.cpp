// The interactive console as a user works it: an exchange with the simulated multimeter
// and with a serial instrument, refused entries, bus commands, the colour dialog
// recolouring old lines, failures shown as rows, and closing during a slow exchange.
#include "communication/ui/interactive_form.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <chrono>

#include "communication/console.h"
#include "communication/core_device.h"
#include "communication/nat_gpib.h"
#include "communication/ui/change_color_form.h"
#include "device_dialog_fixture.h"

namespace {

const char* const Bus = R"(
cec-board 0
ni-board 0
instrument ni 0 5
  idn QORV,DMM-5,0,1.0
  reply QUIET? = silent
  reply SLOW? = partial 4 +1.250E+00
instrument ni 0 6
  idn QORV,SLOW-6,0,1.0
  delay 400
)";

class InteractiveFormTest : public TDeviceDialogFixture {
protected:
  InteractiveFormTest() {
    Sim.Configure(Bus);
    Dmm = Make("DMM", Ni(5));
    Dmm->GetCoreDevice().SetReadChar1('\n');
    Dmm->GetCoreDevice().SetSendChar1('\n');
  }
  std::unique_ptr<TInteractiveForm> Show(TDevice* preselected) {
    Request.Devices.clear();
    List.GetDevices(Request.Devices);
    Request.Preselected = preselected;
    auto form = std::make_unique<TInteractiveForm>(Request);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
  }
  // Clicks Send and waits for the exchange to be logged.
  static bool Send(TInteractiveForm& form) {
    bool finished = false;
    const auto connection = QObject::connect(&form, &TInteractiveForm::ExchangeFinished,
                                             [&finished] { finished = true; });
    ClickControl(form, "SendButton");
    const bool ok = QTest::qWaitFor([&] { return finished; }, 5000);
    QObject::disconnect(connection);
    return ok;
  }
  // The log rows, "action | result".
  static std::vector<std::string> Rows(const TInteractiveForm& form) {
    std::vector<std::string> rows;
    for (int i = 0; i < form.Lines(0).Count(); ++i)
      rows.push_back(form.Lines(0).Get(i).Text + " | " + form.Lines(1).Get(i).Text);
    return rows;
  }
  static QColor CellForeground(QWidget& form, int row, int column) {
    return Control<QTableWidget>(form, "LogGrid")->item(row, column)->foreground().color();
  }
  static QColor CellBackground(QWidget& form, int row, int column) {
    return Control<QTableWidget>(form, "LogGrid")->item(row, column)->background().color();
  }
  static void SetChecked(QWidget& form, const char* name, bool on) {
    Control<QCheckBox>(form, name)->setChecked(on);
  }

  TDevice* Dmm = nullptr;
  TInteractRequest Request;
};

TEST_F(InteractiveFormTest, SendAndReadTheIdentificationThenTimeOutAndPartialRead) {
  auto form = Show(Dmm);
  EXPECT_EQ(form->CurrentDevice(), Dmm);
  EXPECT_EQ(form->property("helpContext").toInt(), 24);
  EXPECT_FALSE(Control<QPushButton>(*form, "Help")->isEnabled());
  EXPECT_FALSE(Control<QLineEdit>(*form, "BytesEdit")->isEnabled());
  EXPECT_EQ(Control<QLineEdit>(*form, "BytesEdit")->text(), "100");
  Control<QAction>(*form, "ShowAllInteractionsItem")->setChecked(false);
  Type(*form, "CommandEdit", "*IDN?");
  ClickControl(*form, "ReadCheckBox");
  EXPECT_TRUE(Control<QLineEdit>(*form, "BytesEdit")->isEnabled());
  ASSERT_TRUE(Send(*form));
  EXPECT_EQ(Rows(*form), (std::vector<std::string>{"DMM Sent | *IDN?",
                                                   "DMM Read | QORV,DMM-5,0,1.0"}));
  EXPECT_EQ(CellForeground(*form, 0, 1), QColor(0, 0, 255));  // send text: blue
  EXPECT_EQ(CellForeground(*form, 1, 1), QColor(0, 128, 0));  // read text: green
  EXPECT_EQ(CellForeground(*form, 0, 0), QColor(0, 0, 0));    // action text: black
  EXPECT_EQ(CellBackground(*form, 1, 1), QColor(255, 255, 255));

  Type(*form, "CommandEdit", "QUIET?");
  ASSERT_TRUE(Send(*form));
  EXPECT_EQ(Rows(*form)[2], "DMM Sent | QUIET?");
  EXPECT_EQ(Rows(*form)[3], "DMM Read | No bytes read - time out");
  EXPECT_EQ(CellForeground(*form, 3, 1), QColor(255, 0, 0));
  // The next interaction is on the other background, both of its rows alike.
  EXPECT_EQ(CellBackground(*form, 2, 1), QColor(255, 255, 0));
  EXPECT_EQ(CellBackground(*form, 3, 0), QColor(255, 255, 0));

  Type(*form, "CommandEdit", "SLOW?");
  ASSERT_TRUE(Send(*form));
  const auto rows = Rows(*form);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[5], "DMM Read | +1.2");
  EXPECT_EQ(rows[6], "DMM Read Error |  Read 4 bytes of 100");
  EXPECT_GE(Control<QTableWidget>(*form, "LogGrid")->rowCount(), 8);
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(InteractiveFormTest, RefusedEntriesSendNothing) {
  auto form = Show(Dmm);
  Dialogs.ScriptAnswers({mbOK, mbOK, mbOK, mbOK, mbOK, mbOK, mbOK, mbOK});
  SetChecked(*form, "SendCheckBox", false);
  ClickControl(*form, "SendButton");
  SetChecked(*form, "SendCheckBox", true);
  ClickControl(*form, "SendButton");  // empty command
  Type(*form, "CommandEdit", "*IDN?");
  SetChecked(*form, "ReadCheckBox", true);
  for (const char* count : {"0", "-3", "word", " ", "99999999999"}) {
    Type(*form, "BytesEdit", count);
    ClickControl(*form, "SendButton");
  }
  Type(*form, "BytesEdit", "67108865");
  ClickControl(*form, "SendButton");
  const std::string integer = "You must enter an integer greater than zero";
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{"Nothing to do", "Nothing to send", integer, integer,
                                      integer, integer, integer,
                                      "Read size of 67108865 bytes exceeds the limit of "
                                      "67108864 bytes"}));
  EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(*form, "BytesEdit")));
  EXPECT_EQ(Sim.Received(TGpibSim::kNI, 0, 5), "");
  EXPECT_EQ(form->Lines(0).Count(), 0);
}

TEST_F(InteractiveFormTest, BusCommandsAndTheGpibPageOnlyForGpibDevices) {
  TDevice* serial = Make("PSU", Com1());
  auto form = Show(Dmm);
  auto* pages = Control<QTabWidget>(*form, "PageControl");
  const int gpibPage = pages->indexOf(Control<QWidget>(*form, "GPIBSheet"));
  EXPECT_TRUE(pages->isTabEnabled(gpibPage));
  pages->setCurrentIndex(gpibPage);
  ClickControl(*form, "SendButton");  // no box: nothing, no message
  EXPECT_EQ(form->Lines(0).Count(), 0);
  SetChecked(*form, "RENCheckBox", true);
  SetChecked(*form, "LLOCheckBox", true);
  Sim.ClearLog();
  ASSERT_TRUE(Send(*form));
  EXPECT_EQ(Rows(*form), (std::vector<std::string>{"DMM GPIB | REN LLO"}));
  EXPECT_EQ(CellForeground(*form, 0, 1), QColor(0, 128, 128));  // GPIB text: teal
  bool logged = false;
  for (const std::string& line : Sim.Log()) logged = logged || line.find("REN LLO") != std::string::npos;
  EXPECT_TRUE(logged);

  auto* devices = Control<QComboBox>(*form, "DeviceComboBox");
  devices->setCurrentIndex(devices->findText(QString::fromStdString(serial->GetDisplayName())));
  EXPECT_EQ(form->CurrentDevice(), serial);
  EXPECT_FALSE(pages->isTabEnabled(gpibPage));
  EXPECT_EQ(pages->currentWidget(), Control<QWidget>(*form, "DeviceSheet"));
  EXPECT_FALSE(Control<QCheckBox>(*form, "RENCheckBox")->isEnabled());
}

TEST_F(InteractiveFormTest, SerialExchangeOnThePseudoTerminal) {
  Com.ReplyText("*IDN?", "QORV,PSU-1,0,1.0");
  TDevice* psu = Make("PSU", Com1());
  psu->GetCoreDevice().SetSendChar1('\r');
  psu->GetCoreDevice().SetReadChar1('\r');
  auto form = Show(psu);
  Control<QAction>(*form, "ShowAllInteractionsItem")->setChecked(false);
  Type(*form, "CommandEdit", "*IDN?");
  SetChecked(*form, "ReadCheckBox", true);
  ASSERT_TRUE(Send(*form));
  EXPECT_EQ(Rows(*form), (std::vector<std::string>{"PSU Sent | *IDN?",
                                                   "PSU Read | QORV,PSU-1,0,1.0"}));
  EXPECT_EQ(Com.Received(), "*IDN?\r");
}

TEST_F(InteractiveFormTest, AColourChangeRecoloursTheOldLines) {
  auto form = Show(Dmm);
  Type(*form, "CommandEdit", "*IDN?");
  ASSERT_TRUE(Send(*form));
  EXPECT_EQ(CellForeground(*form, 0, 1), QColor(0, 0, 255));
  const auto defaults = ConsoleColors().GetRoleIndices();

  // Cancel drops the working copy.
  TModalDialogActor<TInteractiveChangeColorForm> cancel([](TInteractiveChangeColorForm& dialog) {
    Control<QListWidget>(dialog, "RoleList")->setCurrentRow(acSEND);
    QTest::mouseClick(Control<QWidget>(dialog, "ColorPanel10"), Qt::LeftButton);
    ClickControl(dialog, "CancelButton");
  });
  form->findChild<QAction*>("ColorsItem")->trigger();
  EXPECT_TRUE(cancel.Seen);
  EXPECT_EQ(ConsoleColors().GetRoleIndices(), defaults);

  TModalDialogActor<TInteractiveChangeColorForm> ok([](TInteractiveChangeColorForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Change Colors");
    EXPECT_EQ(dialog.MarkedSquare(), 12);  // Background 1: white, selected first
    Control<QListWidget>(dialog, "RoleList")->setCurrentRow(acSEND);
    EXPECT_EQ(dialog.MarkedSquare(), 7);
    QTest::mouseClick(Control<QWidget>(dialog, "ColorPanel10"), Qt::LeftButton);
    EXPECT_EQ(dialog.MarkedSquare(), 10);
    ClickControl(dialog, "OkButton");
  });
  form->findChild<QAction*>("ColorsItem")->trigger();
  EXPECT_TRUE(ok.Seen);
  EXPECT_EQ(CellForeground(*form, 0, 1), QColor(255, 0, 0));  // the old send line, now red
  ConsoleColors().SetRoleIndices(defaults);
}

TEST_F(InteractiveFormTest, FailuresAreRowsAndTheConsoleGoesOn) {
  TDevice* gone = List.NewDevice();
  gone->GetCoreDevice().SetName("Gone");
  gone->SetCommunication(std::make_unique<TNATGPIB>(3, 5, nullptr));
  TDevice* bare = List.NewDevice();
  bare->GetCoreDevice().SetName("Bare");
  auto form = Show(gone);
  Type(*form, "CommandEdit", "*IDN?");
  ASSERT_TRUE(Send(*form));
  ASSERT_EQ(form->Lines(1).Count(), 1);
  EXPECT_EQ(form->Lines(1).Get(0).Text.rfind("GPIB Error: ", 0), 0u);
  auto* devices = Control<QComboBox>(*form, "DeviceComboBox");
  devices->setCurrentIndex(devices->count() - 1);
  EXPECT_EQ(form->CurrentDevice(), bare);
  ASSERT_TRUE(Send(*form));
  EXPECT_EQ(form->Lines(1).Get(1).Text, "The device Bare has no communication.");
  devices->setCurrentIndex(0);
  ASSERT_TRUE(Send(*form));
  EXPECT_EQ(Rows(*form).back(), "DMM Sent | *IDN?\n");  // all interactions: the whole buffer
}

TEST_F(InteractiveFormTest, BusyWhileSlowAndClosingWaitsForTheWorker) {
  TDevice* slow = Make("Slow", Ni(6));
  auto form = Show(slow);
  Type(*form, "CommandEdit", "*IDN?");
  SetChecked(*form, "ReadCheckBox", true);
  const auto start = std::chrono::steady_clock::now();
  ClickControl(*form, "SendButton");
  EXPECT_TRUE(form->IsBusy());
  EXPECT_FALSE(Control<QPushButton>(*form, "SendButton")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>(*form, "CancelButton")->isVisible());
  EXPECT_TRUE(Control<QProgressBar>(*form, "BusyBar")->isVisible());
  QTest::qWait(50);  // the window answers meanwhile
  form->reject();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(350));
  EXPECT_FALSE(form->isVisible());
  bool read = false;
  for (const std::string& line : Sim.Log()) read = read || line.rfind("ibrd", 0) == 0;
  EXPECT_TRUE(read);  // the worker's read had ended before the console hid
}

TEST_F(InteractiveFormTest, EditRenamesTheEntryAndKeepsItSelected) {
  Make("Other", Ni(7));
  auto form = Show(Dmm);
  auto* devices = Control<QComboBox>(*form, "DeviceComboBox");
  const int index = devices->currentIndex();
  TModalDialogActor<TDeviceForm> edit([](TDeviceForm& dialog) {
    Type(dialog, "NameEdit", "Multimeter");
    ClickControl(dialog, "Ok");
  });
  ClickControl(*form, "EditButton");
  EXPECT_TRUE(edit.Seen);
  EXPECT_EQ(devices->currentIndex(), index);
  EXPECT_EQ(devices->currentText().toStdString(), Dmm->GetDisplayName());
  EXPECT_NE(devices->currentText().indexOf("Multimeter"), -1);
  EXPECT_EQ(form->CurrentDevice(), Dmm);
}

TEST_F(InteractiveFormTest, FromTheDebugWindowTheStepRunsOnTheMainThread) {
  Request.OnMainThread = true;
  auto form = Show(Dmm);
  Type(*form, "CommandEdit", "*IDN?");
  SetChecked(*form, "ReadCheckBox", true);
  ClickControl(*form, "SendButton");  // logged before the click returns
  EXPECT_FALSE(form->IsBusy());
  ASSERT_EQ(form->Lines(1).Count(), 2);
  EXPECT_EQ(form->Lines(1).Get(1).Text, "QORV,DMM-5,0,1.0");
}

TEST_F(InteractiveFormTest, InteractWithoutDevicesAndDuringNothing) {
  TDeviceList empty{&Exp};
  Dialogs.ScriptAnswers({mbOK});
  EXPECT_FALSE(Interact(empty, nullptr));
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"No devices to interact with"}));
  TModalDialogActor<TInteractiveForm> console([this](TInteractiveForm& dialog) {
    EXPECT_EQ(dialog.CurrentDevice(), Dmm);
    ClickControl(dialog, "DoneButton");
  });
  EXPECT_TRUE(Interact(List, Dmm));
  EXPECT_TRUE(console.Seen);
  EXPECT_FALSE(console.LeftOpen);
}

}  // namespace
