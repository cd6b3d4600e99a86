// The device list: configuration files, the device sections of experiment and block
// files with the binding of the commands read, placement, deleting, replacing and
// clearing with their questions, device commands and the printout.
#include "communication/device_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/device.h"
#include "communication/rs232.h"
#include "model/errors.h"
#include "scripts/device/device_attribute_script.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

// A device command whose text names its device; running it asks for the communication.
class TDeviceStub : public TDeviceAttributeScript {
public:
  using TDeviceAttributeScript::TDeviceAttributeScript;
  int Edit() override { return 0; }
  TScript* Execute() override {
    GetCommunication();
    return Pnextscript;
  }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Execute(); }
  bool CanMakeCopyScript() override { return false; }
  std::string GetText() override { return "Use " + (Device ? Device->GetName() : "none"); }
  int GetScriptType() const override { return TScript::SEND; }
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return true; }
  bool IsStoredVariable(TVariable*) override { return false; }
};

// Declines the devices of one name.
struct TDeclining : TDevicePlacer {
  explicit TDeclining(std::string name) : Name(std::move(name)) {}
  bool PlaceDevice(TDevice& device) override { return device.GetName() != Name; }
  std::string Name;
};

const TBytes ConfigurationHead = Cat({StringBytes("Qorv Device Configuration"),
                                      StringBytes("Qorv 1.5")});
const TBytes SerialCom1 = Cat({I32(0), I32(0), I32(19200), I32(1), I32(0), I32(0), I32(0),
                               I32(1000000)});
const TBytes CecAt5 = Cat({I32(1), I32(0), I32(5), I32(10000), B(true)});
// A device record: LF appended, reads end at LF, no commands, no icon.
TBytes Record(const std::string& name, const TBytes& settings) {
  return Cat({StringBytes(name), I32(10), I32(0), I32(10), I32(0), B(false), B(false), settings});
}

class DeviceListTest : public TCommandFixture {
protected:
  TDevice* Add(TDeviceList& list, const std::string& name, bool gpib) {
    TDevice* device = list.NewDevice();
    device->GetCoreDevice().SetName(name);
    device->GetCoreDevice().SetSendChar1(10);
    device->GetCoreDevice().SetReadChar1(10);
    if (gpib) {
      auto cec = std::make_unique<TCECGPIB>(0, 5, nullptr);
      cec->SetEOI(true);
      device->SetCommunication(std::move(cec));
    } else {
      device->SetCommunication(std::make_unique<TRS232>(nullptr, 0));
    }
    device->UpdateListItem();
    return device;
  }
  TDevice* Pump(TDeviceList& list) { return Add(list, "Pump", false); }
  TDevice* Meter(TDeviceList& list) { return Add(list, "Meter", true); }
  TDeviceStub* Use(TDevice* device, TBlock* block = nullptr) {
    auto* stub = new TDeviceStub(block ? block : B1, NewNode(block ? block : B1));
    stub->SetDevice(device);
    return stub;
  }
  static TTexts Names(const TDeviceList& list) {
    std::vector<TDevice*> devices{nullptr};
    list.GetDevices(devices);
    TTexts names;
    for (TDevice* device : devices) names.push_back(device->GetListItem().Caption);
    return names;
  }

  TDeviceList List{&Exp};
};

TEST_F(DeviceListTest, ConfigurationFilesAreExactAndAppend) {
  ASSERT_TRUE(List.SaveDeviceConfiguration(Temp.PathOf("none.dcg")));
  EXPECT_EQ(Temp.ReadBytes("none.dcg"), Cat({ConfigurationHead, I32(0)}));
  EXPECT_TRUE(List.LoadDeviceConfiguration(Temp.PathOf("none.dcg")));
  EXPECT_TRUE(List.IsEmpty());

  Use(Pump(List));  // the commands' identifiers are not written
  Meter(List);
  ASSERT_TRUE(List.SaveDeviceConfiguration(Temp.PathOf("two.dcg")));
  EXPECT_EQ(Temp.ReadBytes("two.dcg"), Cat({ConfigurationHead, I32(2), Record("Pump", SerialCom1),
                                            Record("Meter", CecAt5)}));
  TDeviceList other(&Exp);
  Meter(other);
  EXPECT_TRUE(other.LoadDeviceConfiguration(Temp.PathOf("two.dcg")));
  EXPECT_TRUE(other.LoadDeviceConfiguration(Temp.PathOf("two.dcg")));
  EXPECT_EQ(Names(other), (TTexts{"Meter", "Pump", "Meter", "Pump", "Meter"}));
  EXPECT_EQ(other.GetDevice(4)->GetListItem().Communication, "CEC GPIB-Device Address: 5");
  EXPECT_TRUE(Ui.Texts().empty());
  // The file is re-saved to the same bytes; a device left without a communication (a
  // device file that failed) fails the save with a message, the old file kept.
  TDeviceList again(&Exp);
  ASSERT_TRUE(again.LoadDeviceConfiguration(Temp.PathOf("two.dcg")));
  ASSERT_TRUE(again.SaveDeviceConfiguration(Temp.PathOf("again.dcg")));
  EXPECT_EQ(Temp.ReadBytes("again.dcg"), Temp.ReadBytes("two.dcg"));
  again.NewDevice()->GetCoreDevice().SetName("Half");
  EXPECT_FALSE(again.SaveDeviceConfiguration(Temp.PathOf("again.dcg")));
  EXPECT_EQ(Ui.Texts(), TTexts{"The device Half has no communication."});
  EXPECT_EQ(Temp.ReadBytes("again.dcg"), Temp.ReadBytes("two.dcg"));

  // Errors are shown; the device being read goes, the devices read before it stay.
  const auto error = [&](const TBytes& bytes) {
    Ui.Clear();
    EXPECT_FALSE(other.LoadDeviceConfiguration(Temp.WriteBytes("bad.dcg", bytes)));
    return Ui.Texts() == TTexts{} ? "" : Ui.Texts().back();
  };
  EXPECT_EQ(error(Cat({StringBytes("Qorv Device"), StringBytes("Qorv 1.5"), I32(0)})),
            "Invalid device configuration file");
  EXPECT_EQ(error(Cat({StringBytes("Qorv Device Configuration"), StringBytes("Qorv 9.9")})),
            "Cannot read this version number Qorv 9.9");
  EXPECT_EQ(error(Cat({ConfigurationHead, I32(3), Record("Pump", SerialCom1),
                       Record("Bad", Cat({I32(4), I32(0)}))})),
            "Invalid device configuration file");
  EXPECT_EQ(error(Cat({ConfigurationHead, I32(2), Record("Pump", SerialCom1), I32(1)})),
            "Stream read error");
  EXPECT_EQ(Names(other), (TTexts{"Meter", "Pump", "Meter", "Pump", "Meter", "Pump", "Pump"}));

  // A device the placement declines is dropped.
  TDeclining declining("Pump");
  List.SetPlacer(&declining);
  EXPECT_TRUE(List.LoadDeviceConfiguration(Temp.PathOf("two.dcg")));
  EXPECT_EQ(Names(List), (TTexts{"Pump", "Meter", "Meter"}));
}

TEST_F(DeviceListTest, AConfigurationCutShortKeepsTheDevicesReadBeforeTheCut) {
  Pump(List);
  Meter(List);
  Add(List, "Lamp", true);
  ASSERT_TRUE(List.SaveDeviceConfiguration(Temp.PathOf("three.dcg")));
  TBytes bytes = Temp.ReadBytes("three.dcg");
  const TBytes lamp = Record("Lamp", CecAt5);
  ASSERT_EQ(bytes.size(), ConfigurationHead.size() + 4 + Record("Pump", SerialCom1).size() +
                              Record("Meter", CecAt5).size() + lamp.size());
  // Cut inside the third record, after its name.
  bytes.resize(bytes.size() - lamp.size() + StringBytes("Lamp").size() + 2);
  TDeviceList other(&Exp);
  Ui.Clear();
  EXPECT_FALSE(other.LoadDeviceConfiguration(Temp.WriteBytes("cut.dcg", bytes)));
  EXPECT_EQ(Names(other), (TTexts{"Pump", "Meter"}));
  EXPECT_EQ(Ui.Texts(), TTexts{"Stream read error"});
  // The devices that stay are the experiment's: it is modified.
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));

  // Cut inside the first record: nothing stays and nothing is modified.
  bytes.resize(ConfigurationHead.size() + 4 + 3);
  TDeviceList none(&Exp);
  Ui.Clear();
  EXPECT_FALSE(none.LoadDeviceConfiguration(Temp.WriteBytes("cut.dcg", bytes)));
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_EQ(Ui.Texts(), TTexts{"Stream read error"});
  EXPECT_TRUE(Ui.ExperimentChanges().empty());
}

TEST_F(DeviceListTest, DevicesOfExperimentAndBlockFilesBindTheirCommands) {
  TDevice* pump = Pump(List);
  TDevice* meter = Meter(List);
  TDeviceStub* first = Use(pump);
  TDeviceStub* second = Use(pump);
  // The commands' records (identifiers 100 and 101), then every device with the
  // identifiers of the commands using it.
  const TBytes commands = Cat({I32(100), B(false), I32(101), B(false)});
  const TBytes section = Cat({I32(2), Record("Pump", SerialCom1), I32(2), I32(100), I32(101),
                              Record("Meter", CecAt5), I32(0)});
  EXPECT_EQ(Written([&](TWriteFile& writer) {
              first->Save(writer);
              second->Save(writer);
              List.SaveDevices(writer);
            }),
            Cat({commands, section}));

  // Two commands read into B2, then the devices; an identifier without a match is skipped.
  const auto read = [&](TDeviceList& list, const TBytes& devices) {
    std::unique_ptr<TReadFile> reader = Reader(Cat({commands, devices}));
    std::vector<TDeviceStub*> stubs{new TDeviceStub(B2, NewNode(B2)),
                                    new TDeviceStub(B2, NewNode(B2))};
    for (TDeviceStub* stub : stubs) stub->Load(*reader);
    list.LoadDevices(*reader);
    return stubs;
  };
  TDeviceList other(&Exp);
  std::vector<TDeviceStub*> stubs = read(other, section);
  ASSERT_EQ(other.Count(), 2u);
  EXPECT_EQ(other.GetDevice(0)->GetScripts(),
            (std::vector<TDeviceAttributeScript*>{stubs[0], stubs[1]}));
  EXPECT_EQ(Children(B2->AExpNode), (TTexts{"Use Pump", "Use Pump"}));
  EXPECT_FALSE(other.GetDevice(1)->HasScripts());
  stubs = read(other, Cat({I32(1), Record("Lamp", CecAt5), I32(2), I32(555), I32(101)}));
  EXPECT_EQ(stubs[0]->GetDevice(), nullptr);
  EXPECT_EQ(stubs[1]->GetDevice()->GetName(), "Lamp");
  other.LoadDevices(*Reader({}));  // no section
  EXPECT_EQ(other.Count(), 3u);

  // A declined device goes with its commands; a later device naming them binds nothing.
  TDeclining declining("Pump");
  other.SetPlacer(&declining);
  const std::size_t before = Children(B2->AExpNode).size();
  stubs = read(other, Cat({I32(2), Record("Pump", SerialCom1), I32(1), I32(100),
                           Record("Meter", CecAt5), I32(2), I32(100), I32(101)}));
  EXPECT_EQ(Children(B2->AExpNode).size(), before + 1);
  EXPECT_EQ(other.GetDevice(3)->GetScripts(), (std::vector<TDeviceAttributeScript*>{stubs[1]}));
  // A placement that overwrites a device of the same file takes that device's commands
  // along: a later device naming them binds nothing (and touches no deleted command).
  struct TOverwriting : TDevicePlacer {
    TDeviceList* List;
    bool PlaceDevice(TDevice& device) override {
      if (device.GetName() == "Lamp") List->RemoveDevice(List->GetDevice(List->Count() - 2));
      return true;
    }
  } overwriting;
  overwriting.List = &other;
  other.SetPlacer(&overwriting);
  read(other, Cat({I32(3), Record("Pump", SerialCom1), I32(1), I32(100), Record("Lamp", CecAt5),
                   I32(0), Record("Meter", CecAt5), I32(1), I32(100)}));
  ASSERT_EQ(other.Count(), 6u);
  EXPECT_FALSE(other.GetDevice(5)->HasScripts());
  other.SetPlacer(&declining);
  // Identifiers not above 0 and unknown kinds end the read; the device goes.
  for (const TBytes& bad : {Cat({I32(1), Record("Bad", CecAt5), I32(2), I32(100), I32(0)}),
                            Cat({I32(1), Record("Bad", Cat({I32(7), I32(0)}))})}) {
    EXPECT_EQ(ErrorOf<EReadError>([&] { read(other, bad); }), InvalidDeviceRecordText);
    EXPECT_EQ(other.Count(), 6u);
  }

  // Block files: the devices of the exported commands in their order, each with those
  // commands only, which leave the export's list.
  TDeviceStub* third = Use(meter);
  TStub* plain = Stub(B1, "plain");
  std::vector<TScript*> left;
  std::vector<TVariable*> exported;
  const auto usedDevices = [&](std::vector<TScript*> scripts) {
    return Written(
        [&](TWriteFile& writer) {
          writer.GetBlockScriptList() = scripts;
          List.SaveUsedDevices(writer);
          left = writer.GetBlockScriptList();
        },
        "used.blk", &exported);
  };
  EXPECT_EQ(usedDevices({first, plain, third, second}),
            Cat({I32(2), Record("Pump", SerialCom1), I32(2), I32(100), I32(101),
                 Record("Meter", CecAt5), I32(1), I32(102)}));
  EXPECT_EQ(left, (std::vector<TScript*>{plain}));
  EXPECT_EQ(usedDevices({}), I32(0));
  EXPECT_EQ(Written([&](TWriteFile& writer) { List.SaveUsedDevices(writer); }), I32(0));
}

TEST_F(DeviceListTest, DeletingReplacingAndClearingAsk) {
  TDevice* pump = Pump(List);
  TDevice* meter = Meter(List);
  Use(meter);
  Use(meter);
  Use(pump);
  Ui.Clear();
  Ui.ScriptAnswers({mbNo, mbYes, mbYes});
  EXPECT_FALSE(List.DeleteDevice(pump));
  EXPECT_TRUE(List.DeleteDevice(meter));
  EXPECT_TRUE(List.DeleteDevice(Meter(List)));
  const std::string question = "Do you really want to delete this device.\r";
  EXPECT_EQ(Ui.Texts(), (TTexts{question + "Pump has scripts that are using it.  Those scripts "
                                           "will be deleted with the device.\rPress Yes to delete.",
                                question + "Meter has scripts that are using it.  Those scripts "
                                           "will be deleted with the device.\rPress Yes to delete.",
                                question + "Press Yes to delete."}));
  EXPECT_EQ(Ui.Shown()[0].Caption, "Qorv message");
  EXPECT_EQ(Ui.Shown()[0].Buttons, mbYes | mbNo);
  EXPECT_EQ(Ui.Shown()[0].Kind, TMessageKind::Warning);
  EXPECT_EQ(Ui.Shown()[0].Default, mbNo);  // Enter does not delete
  EXPECT_EQ(Names(List), (TTexts{"Pump"}));
  EXPECT_EQ(Children(B1->AExpNode), (TTexts{"Use Pump"}));  // the meter's two went along
  // Each device deleted marks the experiment modified; the one kept does not.
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}, {1, 0}}));

  // Replacing: Yes moves the commands out for the new device, No lets them go.
  TDevice* old = Meter(List);
  Use(old);
  std::vector<TDeviceAttributeScript*> moved{nullptr};
  Ui.Clear();
  Ui.ScriptAnswers({mbYes, mbNo});
  List.ReplaceDevice(old, moved);
  EXPECT_EQ(Ui.Texts(), (TTexts{"Meter has scripts that are using it.  Do you want these scripts "
                                "transfered to the replacing device.\rPress Yes to transfer the "
                                "scripts."}));
  EXPECT_EQ(Ui.Shown()[0].Default, mbYes);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0]->GetDevice(), nullptr);
  TDevice* lamp = Add(List, "Lamp", true);
  lamp->AdoptScripts(moved);
  EXPECT_TRUE(moved.empty());
  EXPECT_EQ(Children(B1->AExpNode), (TTexts{"Use Pump", "Use Lamp"}));
  List.ReplaceDevice(lamp, moved);
  List.ReplaceDevice(Meter(List), moved);  // no commands: no question
  EXPECT_TRUE(moved.empty());
  EXPECT_EQ(Ui.Texts().size(), 2u);
  EXPECT_EQ(Children(B1->AExpNode), (TTexts{"Use Pump"}));
  EXPECT_EQ(Names(List), (TTexts{"Pump"}));

  Ui.Clear();
  Ui.ScriptAnswers({mbNo, mbYes});
  EXPECT_FALSE(List.ClearDevices(true));
  EXPECT_TRUE(Ui.ExperimentChanges().empty());
  EXPECT_TRUE(List.ClearDevices(true));
  EXPECT_EQ(Ui.Texts()[0], "This will clear all devices in the experiment.\rAny scripts that are "
                           "using these devices will be deleted as well.Press Yes to delete.");
  EXPECT_EQ(Ui.Shown()[0].Default, mbNo);
  EXPECT_TRUE(List.IsEmpty());
  EXPECT_TRUE(Children(B1->AExpNode).empty());
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));
  // Without the question (a new or opened experiment replaces this one) nothing is marked.
  Use(Meter(List));
  EXPECT_TRUE(List.ClearDevices(false));
  EXPECT_EQ(Ui.Texts().size(), 2u);
  EXPECT_TRUE(Children(B1->AExpNode).empty());
  EXPECT_EQ(Ui.ExperimentChanges().size(), 1u);
}

TEST_F(DeviceListTest, DeviceCommandsFollowTheirDeviceAndNeedItsCommunication) {
  TDevice* meter = Meter(List);
  TDevice* pump = Pump(List);
  TDeviceStub* stub = Use(nullptr);
  EXPECT_EQ(stub->AExpNode->GetText(), "Use none");
  EXPECT_EQ(ErrorOf([&] { stub->Execute(); }), "The command has no device.");
  stub->SetDevice(meter);
  stub->SetDevice(pump);
  EXPECT_FALSE(meter->HasScripts());
  pump->GetCoreDevice().SetName("Pump 2");
  pump->UpdateListItem();
  EXPECT_EQ(stub->AExpNode->GetText(), "Use Pump 2");
  stub->Execute();
  pump->SetCommunication(nullptr);
  EXPECT_EQ(ErrorOf([&] { stub->Execute(); }),
            "The device Pump 2 has no communication.");
  stub->ForgetDevice(meter);
  EXPECT_EQ(stub->GetDevice(), pump);
  delete stub;
  EXPECT_FALSE(pump->HasScripts());
}

TEST_F(DeviceListTest, DescribeEveryDevice) {
  TLineReport none("<b>");
  List.Describe(none, true);
  EXPECT_EQ(none.Lines, (TTexts{"No devices"}));
  Meter(List);
  Pump(List);
  TLineReport lines("<b>");
  List.Describe(lines, false);
  const TTexts meter = {"", "<b>Device:\tMeter", "<b>\tCommunication Parameters:",
                        "\t\tType:\tCEC GPIB", "\t\tBoard Address:\t0", "\t\tDevice Address:\t5",
                        "\t\tTime Out:\t10 seconds", "<b>\tCommand Syntax:", "\t\tEOI: Yes",
                        "\t\tFirst character to append to each Send string:\t\\n",
                        "\t\tSecond character to append to each Send string:\tNone",
                        "\t\tFirst character to end read:\t\\n",
                        "\t\tSecond character to end read:\tNone"};
  ASSERT_EQ(lines.Lines.size(), meter.size() + 16);  // the pump: 8 settings, no EOI line
  EXPECT_EQ(TTexts(lines.Lines.begin(), lines.Lines.begin() + 13), meter);
  EXPECT_EQ(lines.Lines[14], "<b>Device:\tPump");
  EXPECT_EQ(lines.Lines[16], "\t\tType:\tRS232");
  EXPECT_EQ(lines.Lines[24], "<b>\tCommand Syntax:");
  EXPECT_EQ(lines.Lines[25], meter[9]);
}

}  // namespace
