// The console's exchanges against the simulated bus and a serial pseudo-terminal: the
// rows a send and a read give, time-outs, partial reads, bus commands, refused entries
// and failures shown as rows; the colour roles of its log; refusal during a run.
#include "communication/console_exchange.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/console.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/instrument_scan.h"
#include "communication/nat_gpib.h"
#include "communication/rs232.h"
#include "model/experiment_running.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"
#include "support/serial_instrument.h"

namespace {

const char* const Bus = R"(
cec-board 0
ni-board 0
instrument ni 0 5
  idn QORV,DMM-5,0,1.0
  reply SLOW? = partial 4 +1.250E+00
  reply QUIET? = silent
instrument cec 0 7
  idn QORV,DIGITISER-7,0,1.0
)";

class ConsoleExchangeTest : public TExperimentFixture {
protected:
  TDevice& Make(const std::string& name, std::unique_ptr<TCommunication> comm) {
    TDevice* device = List.NewDevice();
    device->GetCoreDevice().SetName(name);
    device->GetCoreDevice().SetSendChar1('\n');
    device->GetCoreDevice().SetReadChar1('\n');
    if (comm) device->SetCommunication(std::move(comm));
    return *device;
  }
  std::vector<TConsoleRow> Exchange(TDevice& device, const std::string& command, int count,
                                    bool showAll = false) {
    TConsoleDeviceStep step{!command.empty(), command, count > 0, count};
    return RunConsoleDeviceStep(device, step, showAll, Cancel);
  }

  TDeviceList List{&Exp};
  std::atomic<bool> Cancel{false};
};

TEST_F(ConsoleExchangeTest, SendAndReadAnIdentificationOnNiAndCec) {
  TGpibSim sim(Bus);
  TDevice& dmm = Make("DMM", std::make_unique<TNATGPIB>(0, 5, nullptr));
  auto rows = Exchange(dmm, "*IDN?", 100);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Action, "DMM Sent");
  EXPECT_EQ(rows[0].Result, "*IDN?");
  EXPECT_EQ(rows[0].ResultRole, acSEND);
  EXPECT_EQ(rows[1].Action, "DMM Read");
  EXPECT_EQ(rows[1].Result, "QORV,DMM-5,0,1.0");  // cut at the read terminator
  EXPECT_EQ(rows[1].ResultRole, acREAD);
  EXPECT_EQ(sim.Received(TGpibSim::kNI, 0, 5), "*IDN?\n");

  // CEC with every interaction shown: the whole command text and the talk addressing.
  TDevice& dig = Make("DIG", std::make_unique<TCECGPIB>(0, 7, nullptr));
  rows = Exchange(dig, "*IDN?", 100, true);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_NE(rows[0].Result.find("LISTEN 7"), std::string::npos) << rows[0].Result;
  EXPECT_EQ(rows[1].Action, "DIG Sent");
  EXPECT_NE(rows[1].Result.find("TALK 7"), std::string::npos) << rows[1].Result;
  EXPECT_EQ(rows[2].Result, "QORV,DIGITISER-7,0,1.0");
}

TEST_F(ConsoleExchangeTest, TimeOutsPartialReadsAndFailuresBecomeRows) {
  TGpibSim sim(Bus);
  TDevice& dmm = Make("DMM", std::make_unique<TNATGPIB>(0, 5, nullptr));
  auto rows = Exchange(dmm, "QUIET?", 100);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Action, "DMM Sent");
  EXPECT_EQ(rows[1].Action, "DMM Read");
  EXPECT_EQ(rows[1].Result, "No bytes read - time out");
  EXPECT_EQ(rows[1].ResultRole, acERROR);

  rows = Exchange(dmm, "SLOW?", 100);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].Result, "+1.2");
  EXPECT_EQ(rows[1].ResultRole, acREAD);
  EXPECT_EQ(rows[2].Action, "DMM Read Error");
  EXPECT_EQ(rows[2].Result, " Read 4 bytes of 100");
  EXPECT_EQ(rows[2].ResultRole, acERROR);

  // An absent board: the send's own message, no read, and the console goes on.
  TDevice& absent = Make("Gone", std::make_unique<TNATGPIB>(3, 5, nullptr));
  rows = Exchange(absent, "*IDN?", 100);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Result.rfind("GPIB Error: ", 0), 0u) << rows[0].Result;
  EXPECT_EQ(rows[0].ResultRole, acERROR);

  TDevice& bare = Make("Bare", nullptr);
  rows = Exchange(bare, "*IDN?", 100);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Result, "The device Bare has no communication.");
  EXPECT_TRUE(RunConsoleGpibStep(bare, TGPIB::busREN).at(0).ResultRole == acERROR);

  // Cancel between the send and the read skips the read.
  Cancel = true;
  rows = Exchange(dmm, "*IDN?", 100);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Action, "DMM Sent");
}

TEST_F(ConsoleExchangeTest, BusCommandsAreSentAsOneAndLogged) {
  TGpibSim sim(Bus);
  TDevice& dmm = Make("DMM", std::make_unique<TNATGPIB>(0, 5, nullptr));
  EXPECT_TRUE(RunConsoleGpibStep(dmm, 0).empty());
  const auto rows = RunConsoleGpibStep(dmm, TGPIB::busREN | TGPIB::busLLO);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].Action, "DMM GPIB");
  EXPECT_EQ(rows[0].Result, "REN LLO");
  EXPECT_EQ(rows[0].ResultRole, acGPIB);
  bool logged = false;
  for (const std::string& line : sim.Log())
    logged = logged || (line.rfind("ibwrt", 0) == 0 && line.find("REN LLO") != std::string::npos);
  EXPECT_TRUE(logged);
}

TEST_F(ConsoleExchangeTest, EntriesAreCheckedBeforeAnythingIsSent) {
  TConsoleDeviceStep step;
  std::string message;
  TConsoleFocus focus;
  EXPECT_FALSE(CheckConsoleDeviceStep(false, "x", false, "100", step, message, focus));
  EXPECT_EQ(message, "Nothing to do");
  EXPECT_FALSE(CheckConsoleDeviceStep(true, "", false, "100", step, message, focus));
  EXPECT_EQ(message, "Nothing to send");
  EXPECT_EQ(focus, TConsoleFocus::Command);
  for (const char* bad : {"0", "-3", "word", "", "  ", "99999999999"}) {
    message.clear();
    EXPECT_FALSE(CheckConsoleDeviceStep(true, "x", true, bad, step, message, focus)) << bad;
    EXPECT_EQ(message, "You must enter an integer greater than zero") << bad;
    EXPECT_EQ(focus, TConsoleFocus::ByteCount);
  }
  EXPECT_FALSE(CheckConsoleDeviceStep(false, "", true, "67108865", step, message, focus));
  EXPECT_EQ(message, "Read size of 67108865 bytes exceeds the limit of 67108864 bytes");
  EXPECT_TRUE(CheckConsoleDeviceStep(false, "", true, " 67108864 ", step, message, focus));
  EXPECT_EQ(step.ByteCount, 67108864);
  EXPECT_TRUE(CheckConsoleDeviceStep(true, "*IDN?", false, "junk", step, message, focus));
  EXPECT_FALSE(step.Read);
}

TEST_F(ConsoleExchangeTest, SerialExchangeOnAPseudoTerminal) {
  TSerialInstrument instrument(1);
  instrument.ReplyText("*IDN?", "QORV,PSU-1,0,1.0");
  TDevice& psu = Make("PSU", std::make_unique<TRS232>(nullptr, 1));
  psu.GetCoreDevice().SetSendChar1('\r');
  psu.GetCoreDevice().SetReadChar1('\r');
  psu.GetCommunication()->SetTimeOut(0);  // none: the console's cap bounds the read
  const auto rows = Exchange(psu, "*IDN?", 100);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].Result, "QORV,PSU-1,0,1.0");
  EXPECT_EQ(psu.GetCommunication()->GetTimeOut(), 0);  // put back after the read
  EXPECT_EQ(instrument.Received(), "*IDN?\r");
}

TEST(ConsoleColors, RolesResolveThroughTheCurrentAssignment) {
  TAllowedColors colors;
  EXPECT_EQ(colors.GetRoleColor(acBACK1), 0xFFFFFFu);
  EXPECT_EQ(colors.GetRoleColor(acBACK2), 0x00FFFFu);
  EXPECT_EQ(colors.GetRoleColor(acSEND), 0xFF0000u);
  EXPECT_EQ(colors.GetRoleColor(acERROR), 0x0000FFu);
  EXPECT_EQ(colors.GetColor(-1), 0u);
  EXPECT_EQ(colors.GetColor(16), 0u);
  TColorString lines(colors);
  EXPECT_EQ(lines.Add("sent", acSEND, acBACK2), 0);
  auto indices = colors.GetRoleIndices();
  indices[acSEND] = 10;  // red
  colors.SetRoleIndices(indices);
  const auto line = lines.Get(0);
  EXPECT_EQ(line.Text, "sent");
  EXPECT_EQ(line.Foreground, 0x0000FFu);  // the old line takes the new colour
  EXPECT_EQ(line.Background, 0x00FFFFu);
  EXPECT_EQ(lines.Get(1).Text, "none");
  EXPECT_EQ(std::string(TAllowedColors::RoleName(acGPIB)), "GPIB Text");
  lines.Clear();
  EXPECT_EQ(lines.Count(), 0);
}

}  // namespace

namespace {

// The console and the scan are refused while a run talks to the instruments; the debug
// window's console is not, and runs its steps on the main thread.
TEST_F(ConsoleExchangeTest, RefusedDuringARunExceptFromTheDebugWindow) {
  TGpibSim sim(Bus);
  TDevice& dmm = Make("DMM", std::make_unique<TNATGPIB>(0, 5, nullptr));
  std::vector<bool> opened;  // OnMainThread of each console request
  Ui.SetDialogHandler([&opened](TDialogRequest& request) {
    if (auto* console = dynamic_cast<TInteractRequest*>(&request)) {
      opened.push_back(console->OnMainThread);
      EXPECT_EQ(console->Devices.size(), 1u);
    }
    return 0;
  });
  ExperimentRunning = true;
  EXPECT_FALSE(Interact(List, &dmm));
  EXPECT_FALSE(ScanForDevices(List));
  EXPECT_TRUE(Interact(List, &dmm, true));
  ExperimentRunning = false;
  EXPECT_TRUE(Interact(List, &dmm));
  // A debug run does not set the running flag: its window's console still steps here.
  EXPECT_TRUE(Interact(List, &dmm, true));
  EXPECT_EQ(opened, (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(Ui.Texts().empty());
}

}  // namespace
