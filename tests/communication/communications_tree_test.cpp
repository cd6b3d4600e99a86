// The communications tree: node texts, the probes of ports and boards on the simulated
// bus and a pseudo-terminal, the presence algorithm with its messages and cut counts,
// locations and the communications they make, and the placement of devices read from
// files (free, overwritten, reassigned, skipped, not present).
#include "communication/communications_tree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/nat_gpib.h"
#include "communication/rs232.h"
#include "scripts/device/send_script.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"
#include "support/serial_instrument.h"

namespace {

class CommunicationsTreeTest : public TCommandFixture {
protected:
  // The tree built with these settings; the texts shown meanwhile go to Shown.
  void Build(TGpibSettings settings) {
    Settings = settings;
    Ui.Clear();
    List.BuildCommunicationsTree(Settings);
    Shown = Ui.Texts();
  }
  TCommunicationsTree& Tree() { return List.GetCommunicationsTree(); }
  TTexts GroupTexts() {
    TTexts texts;
    for (int i = 0; i < Tree().GroupCount(); ++i) texts.push_back(Tree().GetGroup(i).GetText());
    return texts;
  }
  // The location of a node (by its text) at an address.
  THolderDevice& At(const std::string& group, int address) {
    for (int i = 0; i < Tree().GroupCount(); ++i) {
      THolderCommunication& node = Tree().GetGroup(i);
      if (node.GetText() != group) continue;
      for (int j = 0; j < node.LocationCount(); ++j)
        if (node.GetLocation(j).GetAddress() == address) return node.GetLocation(j);
    }
    ADD_FAILURE() << group << " " << address;
    return Tree().GetGroup(0).GetLocation(0);
  }
  // A device on a location, as the device dialog makes one.
  TDevice* Place(const std::string& name, THolderDevice& location) {
    TDevice* device = List.NewDevice();
    device->GetCoreDevice().SetName(name);
    device->SetHolder(&location);
    device->UpdateListItem();
    return device;
  }
  TSendScript* Use(TDevice* device) {
    auto* send = new TSendScript(B1, NewNode(B1));
    send->SetDevice(device);
    return send;
  }
  // A device file of the device, and the device read back from it into the list.
  bool Reload(TDevice* device, const std::string& file) {
    EXPECT_TRUE(device->SaveDeviceFile(Temp.PathOf(file)));
    Ui.Clear();
    TDevice* copy = List.NewDevice();
    const bool placed = copy->LoadDeviceFile(Temp.PathOf(file), List.GetPlacer());
    if (!placed) List.RemoveDevice(copy);
    Shown = Ui.Texts();
    return placed;
  }
  // Answers the occupied and reassign dialogs as scripted; counts them.
  void AnswerDialogs(int choice, bool transfer, THolderDevice* reassignTo, int reassignResult = 1) {
    Ui.SetDialogHandler([=, this](TDialogRequest& request) {
      if (auto* occupied = dynamic_cast<TDeviceOccupiedRequest*>(&request)) {
        Occupied.push_back(occupied->CommunicationName + " | " + occupied->OccupantName);
        occupied->Choice = choice;
        occupied->TransferScripts = transfer;
        return 1;
      }
      if (auto* reassign = dynamic_cast<TReassignDeviceRequest*>(&request)) {
        ++Reassigns;
        EXPECT_EQ(reassign->Tree, &Tree());
        reassign->Selected = reassignTo;
        return reassignResult;
      }
      ADD_FAILURE() << "unexpected dialog";
      return 0;
    });
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < List.Count(); ++i) names.push_back(List.GetDevice(i)->GetName());
    return names;
  }

  TMachinePorts NoMachinePorts{{}};
  TGpibSim Sim{"cec-board 0\nni-board 0\n"};
  TDeviceList List{&Exp};
  TGpibSettings Settings;
  TTexts Shown;
  TTexts Occupied;
  int Reassigns = 0;
};

TEST_F(CommunicationsTreeTest, NodesShowTheirPortsBoardsAndWhoHoldsThem) {
  TSerialInstrument com3(2);
  Build({true, 1, 1});
  EXPECT_TRUE(Shown.empty());
  ASSERT_EQ(GroupTexts(), (TTexts{"RS232", "CEC_GPIB0", "NATIONAL_GPIB0"}));
  THolderCommunication& ports = Tree().GetGroup(0);
  ASSERT_EQ(ports.LocationCount(), 1);
  EXPECT_EQ(ports.GetLocation(0).GetText(), "COM 3");
  EXPECT_EQ(ports.GetLocation(0).GetAddress(), 2);
  THolderCommunication& cec = Tree().GetGroup(1);
  ASSERT_EQ(cec.LocationCount(), 29);
  EXPECT_EQ(cec.GetLocation(0).GetText(), "GPIB Address 1");
  EXPECT_EQ(cec.GetLocation(28).GetText(), "GPIB Address 29");
  EXPECT_FALSE(cec.IsDevice());
  EXPECT_TRUE(cec.GetLocation(0).IsDevice());

  TDevice* meter = Place("Meter", At("CEC_GPIB0", 5));
  EXPECT_EQ(At("CEC_GPIB0", 5).GetText(), "IN USE BY: Meter");
  At("CEC_GPIB0", 5).SetCurrentLocation(true);
  EXPECT_EQ(At("CEC_GPIB0", 5).GetText(), "Current location of Meter");
  At("CEC_GPIB0", 5).SetCurrentLocation(false);
  EXPECT_EQ(At("CEC_GPIB0", 5).GetText(), "IN USE BY: Meter");
  EXPECT_EQ(meter->GetListItem().Communication, "CEC GPIB-Device Address: 5");
  // Deleting the device frees its location.
  List.RemoveDevice(meter);
  EXPECT_EQ(At("CEC_GPIB0", 5).GetText(), "GPIB Address 5");
  EXPECT_EQ(At("CEC_GPIB0", 5).GetDevice(), nullptr);

  // Rebuilt, the tree forgets the devices on the old nodes (they keep their
  // communications); nothing dangles.
  TDevice* pump = Place("Pump", At("RS232", 2));
  Build({true, 1, 1});
  EXPECT_EQ(pump->GetHolder(), &At("RS232", 2));  // found again by its communication
  EXPECT_EQ(At("RS232", 2).GetText(), "IN USE BY: Pump");
}

TEST_F(CommunicationsTreeTest, AMissingConfiguredBoardIsReportedOnceAndCutsTheCount) {
  Sim.Configure("cec-board 0\ncec-board 2\nni-board 0\nni-board 1\n");
  Build({false, 2, 3});
  EXPECT_EQ(Shown, TTexts{"CEC board 1 not found."});
  EXPECT_EQ(Settings.CECCards, 1);
  EXPECT_EQ(Settings.NationalCards, 2);
  EXPECT_EQ(GroupTexts(), (TTexts{"CEC_GPIB0", "NATIONAL_GPIB0", "NATIONAL_GPIB1"}));

  Sim.Configure("ni-board 0\n");
  Build({false, 3, 0});
  EXPECT_EQ(Shown, TTexts{"National board 1 not found."});
  EXPECT_EQ(Settings.NationalCards, 1);
  EXPECT_EQ(Settings.CECCards, 0);
  EXPECT_EQ(GroupTexts(), TTexts{"NATIONAL_GPIB0"});

  // Automatic detection tries board 0 of each kind and says nothing of a missing one;
  // with no boards at all there is no GPIB node.
  Sim.Configure("cec-board 1\n");
  Build({true, 4, 4});
  EXPECT_TRUE(Shown.empty());
  EXPECT_EQ(GroupTexts(), TTexts{});
  EXPECT_EQ(Settings.CECCards, 4);  // automatic detection keeps the counts
  // Without the library no board is present either.
  TGpibSim::UnloadLoaders(true);
  ::setenv("QORV_NI488_LIBRARY", "/nonexistent/libgpib.so", 1);
  ::setenv("QORV_CEC_LIBRARY", "/nonexistent/libcec.so", 1);
  Build({false, 1, 1});
  EXPECT_EQ(Shown, (TTexts{"CEC board 0 not found.", "National board 0 not found."}));
  EXPECT_EQ(GroupTexts(), TTexts{});
  TGpibSim::UnloadLoaders(true);
}

TEST_F(CommunicationsTreeTest, LocationsMakeAndMatchCommunications) {
  TSerialInstrument com1(0);
  Build({true, 1, 1});
  THolderDevice& ni5 = At("NATIONAL_GPIB0", 5);
  TCECGPIB previous(0, 9, nullptr);
  previous.SetTimeOut(3000000);
  previous.SetEOI(false);
  std::unique_ptr<TCommunication> made = ni5.MakeCommunication(&previous);
  ASSERT_EQ(made->GetType(), NAT_GPIB);
  EXPECT_EQ(made->GetBoardAddress(), 0);
  EXPECT_EQ(made->GetDeviceAddress(), 5);
  EXPECT_EQ(made->GetTimeOut(), 3000000);
  EXPECT_FALSE(static_cast<TGPIB&>(*made).GetEOI());
  EXPECT_TRUE(ni5.Matches(*made));
  EXPECT_FALSE(ni5.Matches(TCECGPIB(0, 5, nullptr)));
  EXPECT_FALSE(ni5.Matches(TNATGPIB(1, 5, nullptr)));
  EXPECT_FALSE(ni5.Matches(TNATGPIB(0, 6, nullptr)));
  THolderDevice& com = At("RS232", 0);
  std::unique_ptr<TCommunication> serial = com.MakeCommunication(made.get());
  EXPECT_EQ(serial->GetName(), "COM1");
  EXPECT_EQ(serial->GetTimeOut(), 3000000);
  EXPECT_TRUE(com.Matches(*serial));
  EXPECT_FALSE(com.Matches(TRS232(nullptr, 1)));

  // A device keeps a communication that reaches its first location; moving makes a new
  // one from the old, releasing the old location.
  TDevice* meter = List.NewDevice();
  auto own = std::make_unique<TCECGPIB>(0, 5, nullptr);
  own->SetTimeOut(2000000);
  TCommunication* kept = own.get();
  meter->SetCommunication(std::move(own));
  meter->SetHolder(&At("CEC_GPIB0", 5));
  EXPECT_EQ(meter->GetCommunication(), kept);
  meter->SetHolder(&ni5);
  EXPECT_EQ(At("CEC_GPIB0", 5).GetDevice(), nullptr);
  EXPECT_EQ(ni5.GetDevice(), meter);
  EXPECT_EQ(meter->GetCommunication()->GetName(), "National GPIB-Device Address: 5");
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 3000000);  // the NI code at or above 2 s
  // A first location that the communication does not reach makes one.
  TDevice* pump = List.NewDevice();
  pump->SetCommunication(std::make_unique<TRS232>(nullptr, 4));
  pump->SetHolder(&com);
  EXPECT_EQ(pump->GetCommunication()->GetName(), "COM1");
}

TEST_F(CommunicationsTreeTest, DevicesReadFromFilesArePlacedOverwrittenReassignedOrSkipped) {
  Build({true, 1, 1});
  TDevice* meter = Place("Meter", At("CEC_GPIB0", 5));
  Use(meter);
  Use(meter);
  ASSERT_TRUE(meter->SaveDeviceFile(Temp.PathOf("meter.dev")));

  // Skip This Device drops the copy; the first device keeps its place and commands.
  AnswerDialogs(TDeviceOccupiedRequest::dcSKIP, true, nullptr);
  EXPECT_FALSE(Reload(meter, "meter.dev"));
  EXPECT_EQ(Occupied, TTexts{"CEC GPIB-Device Address: 5 | Meter"});
  EXPECT_EQ(Names(), TTexts{"Meter"});
  EXPECT_EQ(meter->GetScripts().size(), 2u);

  // Reassign puts the copy on the location chosen.
  AnswerDialogs(TDeviceOccupiedRequest::dcREASSIGN, true, &At("CEC_GPIB0", 7));
  EXPECT_TRUE(Reload(meter, "meter.dev"));
  EXPECT_EQ(Reassigns, 1);
  ASSERT_EQ(List.Count(), 2u);
  EXPECT_EQ(At("CEC_GPIB0", 7).GetDevice(), List.GetDevice(1));
  EXPECT_EQ(List.GetDevice(1)->GetListItem().Communication, "CEC GPIB-Device Address: 7");
  // A cancelled reassignment drops it.
  AnswerDialogs(TDeviceOccupiedRequest::dcREASSIGN, true, nullptr, 0);
  EXPECT_FALSE(Reload(meter, "meter.dev"));
  EXPECT_EQ(List.Count(), 2u);
  List.RemoveDevice(List.GetDevice(1));

  // Overwrite with "Transfer Scripts?": the first device goes, its commands use the copy.
  const std::vector<TDeviceAttributeScript*> commands = meter->GetScripts();
  AnswerDialogs(TDeviceOccupiedRequest::dcOVERWRITE, true, nullptr);
  EXPECT_TRUE(Reload(meter, "meter.dev"));
  ASSERT_EQ(List.Count(), 1u);
  TDevice* copy = List.GetDevice(0);
  EXPECT_EQ(At("CEC_GPIB0", 5).GetDevice(), copy);
  EXPECT_EQ(copy->GetScripts(), commands);
  EXPECT_EQ(commands[0]->GetDevice(), copy);
  // Overwrite without it: the first device goes with its commands.
  AnswerDialogs(TDeviceOccupiedRequest::dcOVERWRITE, false, nullptr);
  EXPECT_TRUE(Reload(copy, "copy.dev"));
  ASSERT_EQ(List.Count(), 1u);
  EXPECT_TRUE(List.GetDevice(0)->GetScripts().empty());
  EXPECT_EQ(Outline(B1->AExpNode), "");
}

TEST_F(CommunicationsTreeTest, ADeviceWhoseBoardIsAbsentIsReportedAndMayBeReassigned) {
  Build({true, 1, 1});
  TDevice* meter = Place("Meter", At("NATIONAL_GPIB0", 5));
  ASSERT_TRUE(meter->SaveDeviceFile(Temp.PathOf("meter.dev")));
  List.RemoveDevice(meter);
  Sim.Configure("cec-board 0\n");
  Build({true, 1, 1});
  ASSERT_EQ(GroupTexts(), TTexts{"CEC_GPIB0"});
  const std::string notPresent =
      "The communication used by this device is not present on this machine.\r It was at "
      "National GPIB-Device Address: 5";
  AnswerDialogs(TDeviceOccupiedRequest::dcSKIP, true, nullptr, 0);
  Ui.Clear();
  TDevice* lost = List.NewDevice();
  EXPECT_FALSE(lost->LoadDeviceFile(Temp.PathOf("meter.dev"), List.GetPlacer()));
  EXPECT_EQ(Ui.Texts(), TTexts{notPresent});
  EXPECT_EQ(Reassigns, 1);
  List.RemoveDevice(lost);

  AnswerDialogs(TDeviceOccupiedRequest::dcSKIP, true, &At("CEC_GPIB0", 12));
  Ui.Clear();
  TDevice* moved = List.NewDevice();
  EXPECT_TRUE(moved->LoadDeviceFile(Temp.PathOf("meter.dev"), List.GetPlacer()));
  EXPECT_EQ(Ui.Texts(), TTexts{notPresent});
  EXPECT_EQ(moved->GetListItem().Communication, "CEC GPIB-Device Address: 12");
  EXPECT_EQ(At("CEC_GPIB0", 12).GetText(), "IN USE BY: Meter");
  // The reassign dialog offers only free locations.
  const std::vector<THolderDevice*> free = Tree().FreeLocations(Tree().GetGroup(0));
  EXPECT_EQ(free.size(), 28u);
  EXPECT_EQ(std::count(free.begin(), free.end(), &At("CEC_GPIB0", 12)), 0);
}

TEST_F(CommunicationsTreeTest, NewGpibSettingsTakeTheGpibDevicesWithThem) {
  TSerialInstrument com1(0);
  Sim.Configure("cec-board 0\nni-board 0\nni-board 1\n");
  Build({true, 1, 1});
  TDevice* meter = Place("Meter", At("CEC_GPIB0", 5));
  Use(meter);
  Place("Pump", At("RS232", 0));
  Settings = {false, 3, 1};
  Ui.Clear();
  Tree().ChangeGpibSettings(Settings);
  EXPECT_EQ(Names(), TTexts{"Pump"});
  EXPECT_EQ(Outline(B1->AExpNode), "");
  EXPECT_EQ(GroupTexts(), (TTexts{"RS232", "NATIONAL_GPIB0", "NATIONAL_GPIB1", "CEC_GPIB0"}));
  EXPECT_EQ(Ui.Texts(), TTexts{"National board 2 not found."});
  EXPECT_EQ(Settings.NationalCards, 2);
  EXPECT_EQ(At("RS232", 0).GetText(), "IN USE BY: Pump");
}

}  // namespace
