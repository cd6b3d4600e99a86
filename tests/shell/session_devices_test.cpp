// The session's device commands: the choosers of device and configuration files with
// their filters and names, "No Devices to save.", a failed save that keeps the old file,
// a failed block read that removes exactly the devices it added even after one of them
// overwrote a device of the list, and a failed configuration read that keeps the devices
// read before the failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "communication/device.h"
#include "communication/device_settings.h"
#include "model/number_text.h"
#include "scripts/device/send_script.h"
#include "shell/experiment_file.h"
#include "support/gpib_sim.h"
#include "support/serial_instrument.h"
#include "session_fixture.h"

namespace {

class SessionDevicesTest : public TSessionFixture {
protected:
  SessionDevicesTest() {
    TGpibSettings gpib{true, 1, 1};
    Devices().BuildCommunicationsTree(gpib);
    Session.Directories.Device = Temp.PathOf("");
  }
  TDeviceList& Devices() { return Session.GetDeviceList(); }
  THolderDevice& Cec(int address) {
    return Devices().GetCommunicationsTree().GetGroup(0).GetLocation(address - 1);
  }
  TDevice* Make(const std::string& name, int address) {
    TDeviceSettings settings = NewDeviceSettings();
    settings.Name = name;
    SelectLocation(settings, &Cec(address));
    return Devices().AddDeviceFromDialog(settings);
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < Devices().Count(); ++i)
      names.push_back(Devices().GetDevice(i)->GetName());
    return names;
  }
  // Overwrites whatever a device read meets, moving the commands along.
  void OverwriteAlways() {
    Ui.SetDialogHandler([](TDialogRequest& request) {
      auto& occupied = dynamic_cast<TDeviceOccupiedRequest&>(request);
      occupied.Choice = TDeviceOccupiedRequest::dcOVERWRITE;
      occupied.TransferScripts = true;
      return 1;
    });
  }
  // The file cut just after the first occurrence of the text: a record that ends early.
  std::string CutAfter(const std::string& name, const std::string& text) {
    TBytes bytes = Temp.ReadBytes(name);
    const auto at = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
    EXPECT_NE(at, bytes.end()) << text;
    bytes.erase(at + static_cast<std::ptrdiff_t>(text.size()), bytes.end());
    return Temp.WriteBytes("cut-" + name, bytes);
  }

  TMachinePorts NoMachinePorts{{}};
  TGpibSim Sim{"cec-board 0\n"};
};

TEST_F(SessionDevicesTest, FileChoosersUseTheDeviceFiltersNamesAndFolder) {
  Ui.ScriptFiles({""});
  Session.OpenDeviceClick();
  ASSERT_EQ(Ui.FileChoices().size(), 1u);
  EXPECT_FALSE(Ui.FileChoices()[0].Save);
  EXPECT_EQ(Ui.FileChoices()[0].Filter, "Device (*.dev) | *.dev");
  EXPECT_EQ(Ui.FileChoices()[0].DefaultExt, "dev");
  EXPECT_EQ(Ui.FileChoices()[0].InitialDir, Temp.PathOf(""));

  EXPECT_FALSE(Session.SaveDeviceConfigurationClick());
  EXPECT_EQ(Ui.Texts(), TTexts{"No Devices to save."});
  EXPECT_EQ(Ui.FileChoices().size(), 1u);  // no chooser

  TDevice* meter = Make("Meter", 5);
  // A device without a file asks for one named after it; Cancel writes nothing.
  Ui.ScriptFiles({""});
  EXPECT_FALSE(Session.SaveDeviceClick(*meter));
  EXPECT_EQ(Ui.FileChoices().back().FileName, "Meter");
  EXPECT_TRUE(Ui.FileChoices().back().Save);
  EXPECT_EQ(meter->GetFileName(), "");
  Ui.ScriptFiles({Temp.PathOf("meter.dev")});
  EXPECT_TRUE(Session.SaveDeviceClick(*meter));
  // Saved once, it goes back to its file without a chooser.
  const std::size_t choices = Ui.FileChoices().size();
  meter->GetCoreDevice().SetName("Meter2");
  EXPECT_TRUE(Session.SaveDeviceClick(*meter));
  EXPECT_EQ(Ui.FileChoices().size(), choices);

  Exp().SetTitle("Bench");
  Ui.ScriptFiles({Temp.PathOf("bench.dcg")});
  EXPECT_TRUE(Session.SaveDeviceConfigurationClick());
  EXPECT_EQ(Ui.FileChoices().back().FileName, "BenchDevices");
  EXPECT_EQ(Ui.FileChoices().back().Filter, "Device Configuration(*.dcg) | *.dcg");
  EXPECT_EQ(Ui.FileChoices().back().DefaultExt, "dcg");

  // Opened back: the device file's device meets its own location held and is skipped;
  // the configuration's too.
  Ui.SetDialogHandler([](TDialogRequest& request) {
    dynamic_cast<TDeviceOccupiedRequest&>(request).Choice = TDeviceOccupiedRequest::dcSKIP;
    return 1;
  });
  const int changes = Window.DeviceChanges;
  Ui.ScriptFiles({Temp.PathOf("meter.dev"), Temp.PathOf("bench.dcg")});
  Session.OpenDeviceClick();
  Session.OpenDeviceConfigurationClick();
  EXPECT_EQ(Names(), TTexts{"Meter2"});
  EXPECT_EQ(Window.DeviceChanges, changes + 2);

  // A save made to fail (a device without a communication) leaves the old files as they
  // were, byte for byte.
  const TBytes device = Temp.ReadBytes("meter.dev");
  const TBytes configuration = Temp.ReadBytes("bench.dcg");
  meter->SetCommunication(nullptr);
  Ui.Clear();
  EXPECT_FALSE(Session.SaveDeviceClick(*meter));
  Ui.ScriptFiles({Temp.PathOf("bench.dcg")});
  EXPECT_FALSE(Session.SaveDeviceConfigurationClick());
  EXPECT_EQ(Ui.Texts(), (TTexts{"The device Meter2 has no communication.",
                                "The device Meter2 has no communication."}));
  EXPECT_EQ(Temp.ReadBytes("meter.dev"), device);
  EXPECT_EQ(Temp.ReadBytes("bench.dcg"), configuration);
}

TEST_F(SessionDevicesTest, AFailedReadRemovesExactlyTheDevicesItAdded) {
  // A block whose commands use Scope (address 5) and Probe (address 6).
  TBlock* block = AddBlock("Bench");
  TDevice* scope = Make("Scope", 5);
  TDevice* probe = Make("Probe", 6);
  for (TDevice* device : {scope, probe}) {
    auto* send = new TSendScript(block, Exp().GetExperimentTree().AddChild(block->AExpNode, "none"));
    send->SetUpSend(device, "*IDN?", true, nullptr, ntSTANDARD, 1, false);
  }
  std::string error;
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("bench.blk"), Exp(), block, &Devices(), error)) << error;
  ASSERT_TRUE(Devices().SaveDeviceConfiguration(Temp.PathOf("bench.dcg")));
  Session.GetDrawParts().DeletePart(block->GetDrawBlock());
  Devices().ClearDevices(false);

  // The list: Meter on Scope's address, Other elsewhere. The block file's Scope
  // overwrites Meter; then Probe's record ends early.
  TDevice* meter = Make("Meter", 5);
  Make("Other", 9);
  (void)meter;
  OverwriteAlways();
  Ui.Clear();
  EXPECT_EQ(Session.OpenBlockFile(CutAfter("bench.blk", "Probe"), 0, 0), nullptr);
  EXPECT_EQ(Names(), TTexts{"Other"});  // Meter was overwritten; Scope went again
  EXPECT_EQ(Cec(5).GetDevice(), nullptr);
  ASSERT_EQ(Ui.Texts().size(), 1u);

  // A configuration file keeps the devices read before the failure: Scope, which
  // overwrote Meter, stays; Probe goes.
  Make("Meter", 5);
  Ui.Clear();
  EXPECT_FALSE(Devices().LoadDeviceConfiguration(CutAfter("bench.dcg", "Probe")));
  EXPECT_EQ(Names(), (TTexts{"Other", "Scope"}));
  EXPECT_EQ(Cec(5).GetDevice()->GetName(), "Scope");
  EXPECT_EQ(Ui.Texts(), TTexts{"Stream read error"});
  // Read in full, both stay (the new Scope overwrites the first).
  Ui.Clear();
  EXPECT_TRUE(Devices().LoadDeviceConfiguration(Temp.PathOf("bench.dcg")));
  EXPECT_EQ(Names(), (TTexts{"Other", "Scope", "Probe"}));
}

}  // namespace
