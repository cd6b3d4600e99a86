// The instrument scan against the simulated bus: the demo's multimeter found by its
// reply, a silent instrument named by its address, replies trimmed, descriptors and the
// board taken off line, a cancelled scan, CEC boards never offered, and Apply's devices.
#include "communication/instrument_scan.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "communication/communications_tree.h"
#include "communication/console_exchange.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/holder.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

std::string DemoBus() {
  std::ifstream file(std::string(QORV_SOURCE_DIR) + "/tools/gpibsim/demo.sim");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class InstrumentScanTest : public TExperimentFixture {
protected:
  // Builds the tree on the bus as configured; answers the NI board node.
  THolderCommunication* NiBoard() {
    TGpibSettings gpib{true, 1, 1};
    List.BuildCommunicationsTree(gpib);
    const auto boards = ScannableBoards(List.GetCommunicationsTree());
    return boards.empty() ? nullptr : boards.front();
  }
  static std::vector<std::string> Texts(const std::vector<TScanItem>& items) {
    std::vector<std::string> texts;
    for (const TScanItem& item : items) texts.push_back(item.Text);
    return texts;
  }
  static bool Logged(const TGpibSim& sim, const std::string& line) {
    for (const std::string& entry : sim.Log())
      if (entry.rfind(line, 0) == 0) return true;
    return false;
  }

  TDeviceList List{&Exp};
  std::atomic<bool> Cancel{false};
};

TEST(ScanReply, TrimmedAtNulAndTrailingControlsAndNamedByAddressWhenEmpty) {
  EXPECT_EQ(TrimScanReply(std::string("ACME,X\r\n \t\x01", 11)), "ACME,X");
  EXPECT_EQ(TrimScanReply(std::string("ACME\0garbage", 12)), "ACME");
  EXPECT_EQ(TrimScanReply(" lead kept "), " lead kept");
  EXPECT_EQ(ScanName("\r\n", true, 7), "Device7");
  EXPECT_EQ(ScanName(std::string("\0x", 2), true, 3), "Device3");
  EXPECT_EQ(ScanName("ACME,DMM", false, 12), "Device12");
  EXPECT_EQ(ScanName("ACME,DMM\n", true, 12), "ACME,DMM");
}

TEST_F(InstrumentScanTest, TheDemoBoardFindsTheMultimeterAndApplyMakesADeviceThatAnswers) {
  TGpibSim sim(DemoBus() + "instrument ni 0 9\n  talker off\n");
  THolderCommunication* board = NiBoard();
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(board->GetText(), "NATIONAL_GPIB0");
  // The CEC board of the demo is present but not offered.
  EXPECT_EQ(ScannableBoards(List.GetCommunicationsTree()).size(), 1u);
  bool cecShown = false;
  for (int i = 0; i < List.GetCommunicationsTree().GroupCount(); ++i)
    cecShown = cecShown || List.GetCommunicationsTree().GetGroup(i).GetText() == "CEC_GPIB0";
  EXPECT_TRUE(cecShown);
  sim.ClearLog();
  int asked = 0;
  TScanProgress progress;
  progress.Asked = [&asked](int done) { asked = done; };
  const auto items = AutoDetectNatDevices(*board, Cancel, progress);
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"QORV,DMM-5,0,1.0 at address 5",
                                                    "Device9 at address 9"}));
  EXPECT_EQ(asked, board->LocationCount());
  EXPECT_TRUE(Logged(sim, "ibsic 0"));
  EXPECT_TRUE(Logged(sim, "ibonl 32 0"));   // each query's descriptor
  EXPECT_EQ(sim.Log().back().rfind("ibonl 0 0", 0), 0u);  // then the board

  ASSERT_EQ(items[0].Location->GetAddress(), 5);
  EXPECT_TRUE(AddScannedDevice(List, *items[0].Location, items[0].Text));
  ASSERT_EQ(List.Count(), 1u);
  TDevice* device = List.GetDevice(0);
  EXPECT_EQ(device->GetCoreDevice().GetName(), "QORV,DMM-5,0,1.0 at address 5");
  EXPECT_EQ(device->GetHolder(), items[0].Location);
  ASSERT_NE(device->GetCommunication(), nullptr);
  EXPECT_EQ(device->GetCommunication()->GetType(), NAT_GPIB);
  EXPECT_EQ(device->GetCommunication()->GetBoardAddress(), 0);
  EXPECT_EQ(device->GetCommunication()->GetDeviceAddress(), 5);
  const auto rows = RunConsoleDeviceStep(*device, {true, "*IDN?", true, 100}, false, Cancel);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].Result, "QORV,DMM-5,0,1.0");
  // The address is taken now: nothing more is made there.
  EXPECT_FALSE(AddScannedDevice(List, *items[0].Location, "again"));
  EXPECT_EQ(List.Count(), 1u);
}

TEST_F(InstrumentScanTest, CancelStopsBetweenAddressesAndTheBoardGoesOffLine) {
  std::string bus = "ni-board 0\n";
  for (int address = 1; address <= 5; ++address)
    bus += "instrument ni 0 " + std::to_string(address) + "\n  idn SLOW" +
           std::to_string(address) + "\n  delay 100\n";
  TGpibSim sim(bus);
  THolderCommunication* board = NiBoard();
  ASSERT_NE(board, nullptr);
  sim.ClearLog();
  TScanProgress progress;
  progress.Found = [this](const TScanItem&) { Cancel = true; };  // after the first item
  const auto items = AutoDetectNatDevices(*board, Cancel, progress);
  EXPECT_EQ(Texts(items), (std::vector<std::string>{"SLOW1 at address 1"}));
  EXPECT_FALSE(Logged(sim, "ibln 0 3"));
  EXPECT_FALSE(Logged(sim, "ibln 0 2"));
  EXPECT_TRUE(Logged(sim, "ibonl 32 0"));
  EXPECT_EQ(sim.Log().back().rfind("ibonl 0 0", 0), 0u);
}

TEST_F(InstrumentScanTest, NoScannableBoardIsRefusedAndCecBoardsAreNotScanned) {
  TGpibSim sim("cec-board 0\n");
  EXPECT_EQ(NiBoard(), nullptr);
  EXPECT_FALSE(ScanForDevices(List));
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{
                            "No GPIB board have been detected or the GPIB board does not "
                            "support device scan"}));
  // A CEC node scanned anyway finds nothing and asks nothing.
  const TCommunicationsTree& tree = List.GetCommunicationsTree();
  ASSERT_GE(tree.GroupCount(), 1);
  THolderCommunication& cec = tree.GetGroup(tree.GroupCount() - 1);
  ASSERT_EQ(cec.GetText(), "CEC_GPIB0");
  EXPECT_FALSE(cec.SupportsScan());
  sim.ClearLog();
  EXPECT_TRUE(AutoDetectNatDevices(cec, Cancel).empty());
  EXPECT_TRUE(sim.Log().empty());
}

}  // namespace
