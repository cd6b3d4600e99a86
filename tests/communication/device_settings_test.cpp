// The device dialog's entries without the dialog: defaults by location, the gating of
// the second characters, the checks in order, the overwrite question as the last step,
// the time-out taken exactly from the device, and how entries reach a device; the
// command editor's checks in order; a device's commands put into the current block; the
// Reset refused during a run.
#include "communication/device_settings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/device_script_entry.h"
#include "communication/read_response.h"
#include "communication/rs232.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/experiment_running.h"
#include "model/variable_data.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_script.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"
#include "support/serial_instrument.h"

namespace {

class DeviceSettingsTest : public TCommandFixture {
protected:
  DeviceSettingsTest() {
    TGpibSettings gpib{true, 1, 1};
    List.BuildCommunicationsTree(gpib);
  }
  THolderDevice& At(int group, int index) {
    return List.GetCommunicationsTree().GetGroup(group).GetLocation(index);
  }
  THolderDevice& Com1() { return At(0, 0); }
  THolderDevice& Cec(int address) { return At(1, address - 1); }
  THolderDevice& Ni(int address) { return At(2, address - 1); }
  TDevice* Make(const std::string& name, THolderDevice& location) {
    TDeviceSettings settings = NewDeviceSettings();
    settings.Name = name;
    SelectLocation(settings, &location);
    return List.AddDeviceFromDialog(settings);
  }

  TMachinePorts NoMachinePorts{{}};
  TSerialInstrument Port{0};
  TGpibSim Sim{"cec-board 0\nni-board 0\n"};
  TDeviceList List{&Exp};
};

TEST_F(DeviceSettingsTest, ALocationGivesItsDefaultsAndSecondCharactersFollowTheFirst) {
  TDeviceSettings settings = NewDeviceSettings();
  EXPECT_EQ(settings.Name, "");
  EXPECT_EQ(settings.Location, nullptr);
  EXPECT_TRUE(settings.DefaultIcon);
  EXPECT_TRUE(settings.TimeOutEnabled);
  EXPECT_EQ(settings.AppliedTimeOut(), 1000000);
  EXPECT_EQ(settings.BaudRate, "19200");
  SelectLocation(settings, &Ni(4));
  EXPECT_EQ((std::vector<int>{settings.SendChar1, settings.SendChar2, settings.ReadChar1,
                              settings.ReadChar2}),
            (std::vector<int>{0, 0, 10, 0}));
  EXPECT_TRUE(settings.EOI);
  TDeviceSettings serial = NewDeviceSettings();
  SelectLocation(serial, &Com1());
  EXPECT_EQ((std::vector<int>{serial.SendChar1, serial.SendChar2, serial.ReadChar1,
                              serial.ReadChar2}),
            (std::vector<int>{13, 0, 13, 0}));
  EXPECT_FALSE(serial.EOI);
  // Boxes chosen already keep their characters at another free location.
  serial.SendChar1 = 10;
  SelectLocation(serial, &Cec(3));
  EXPECT_EQ(serial.SendChar1, 10);
  EXPECT_TRUE(serial.EOI);

  // A held location shows its device's characters and EOI.
  TDevice* meter = Make("Meter", Cec(5));
  meter->GetCoreDevice().SetSendChar1(13);
  meter->GetCoreDevice().SetSendChar2(10);
  static_cast<TGPIB*>(meter->GetCommunication())->SetEOI(false);
  SelectLocation(settings, &Cec(5));
  EXPECT_EQ(settings.SendChar1, 13);
  EXPECT_EQ(settings.SendChar2, 10);
  EXPECT_FALSE(settings.EOI);

  // Without a first character the second is none, for sending as for reading.
  settings.SendChar1 = 0;
  settings.ReadChar1 = 0;
  settings.ReadChar2 = 13;
  GateSecondCharacters(settings);
  EXPECT_EQ(settings.SendChar2, 0);
  EXPECT_EQ(settings.ReadChar2, 0);
}

TEST_F(DeviceSettingsTest, ChecksComeInOrderAndTheOverwriteQuestionLast) {
  const auto refusal = [](const TDeviceSettings& settings) {
    const std::optional<TEntryRefusal> refused = CheckDeviceSettings(settings);
    return refused ? refused->Message + " @" + refused->Control : "";
  };
  TDeviceSettings settings = NewDeviceSettings();
  settings.BaudRate = "abc";
  settings.Name = "  ";
  EXPECT_EQ(refusal(settings), "You must give the device a name or press cancel @NameEdit");
  settings.Name = "Pump";
  EXPECT_EQ(refusal(settings), "You must pick a communication or press cancel @CommunicationTree");
  SelectLocation(settings, &Com1());
  const std::string baud = "The baud rate must be an integer value between 10 and 115200. @BaudRateCombo";
  for (const char* bad : {"abc", "9", "115201", "", "19200.5"}) {
    settings.BaudRate = bad;
    EXPECT_EQ(refusal(settings), baud) << bad;
  }
  for (const char* good : {"10", "115200", " 9600 "}) {
    settings.BaudRate = good;
    EXPECT_EQ(refusal(settings), "") << good;
  }
  // GPIB locations have no baud rate.
  settings.BaudRate = "abc";
  SelectLocation(settings, &Cec(2));
  EXPECT_EQ(refusal(settings), "");

  // Only a location held by another device asks; No keeps it.
  TDevice* meter = Make("Meter", Cec(2));
  EXPECT_TRUE(ConfirmLocation(settings, meter));
  EXPECT_TRUE(Ui.Texts().empty());
  Ui.ScriptAnswers({mbNo});
  EXPECT_FALSE(ConfirmLocation(settings, nullptr));
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Ui.Shown()[0].Text,
            "Communication is already in use by another device.\rSelecting this communication "
            "will overwrite this device.\rPressing Yes will overwrite.");
  EXPECT_EQ(Ui.Shown()[0].Caption, "Qorv Warning");
  EXPECT_EQ(Ui.Shown()[0].Kind, TMessageKind::Warning);
  EXPECT_EQ(Ui.Shown()[0].Buttons, mbYes | mbNo);
  EXPECT_EQ(List.Count(), 1u);
}

TEST_F(DeviceSettingsTest, ApplyingReplacesTheOccupantLastAndKeepsTheExactTimeOut) {
  TDevice* meter = Make("Meter", Cec(2));
  auto* send = new TSendScript(B1, NewNode(B1));
  send->SetDevice(meter);
  meter->GetCommunication()->SetTimeOut(1500000);
  // The device's own settings: the time-out as it keeps it.
  TDeviceSettings own = DeviceSettingsOf(*meter);
  EXPECT_EQ(own.TimeOut, 1500000);
  EXPECT_TRUE(own.TimeOutEnabled);
  EXPECT_EQ(own.Location, &Cec(2));
  ApplyDeviceSettings(*meter, own);
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 1500000);
  // No time-out shows disabled and stays 0.
  meter->GetCommunication()->SetTimeOut(0);
  own = DeviceSettingsOf(*meter);
  EXPECT_FALSE(own.TimeOutEnabled);
  ApplyDeviceSettings(*meter, own);
  EXPECT_EQ(meter->GetCommunication()->GetTimeOut(), 0);

  // A new device on the meter's location: the meter goes, and with "Yes" its command
  // uses the new device.
  TDeviceSettings settings = NewDeviceSettings();
  settings.Name = "Scope";
  SelectLocation(settings, &Cec(2));
  Ui.ScriptAnswers({mbYes});
  TDevice* scope = List.AddDeviceFromDialog(settings);
  EXPECT_EQ(Ui.Texts(), TTexts{"Meter has scripts that are using it.  Do you want these scripts "
                               "transfered to the replacing device.\rPress Yes to transfer the "
                               "scripts."});
  ASSERT_EQ(List.Count(), 1u);
  EXPECT_EQ(List.GetDevice(0), scope);
  EXPECT_EQ(send->GetDevice(), scope);
  EXPECT_EQ(Cec(2).GetText(), "IN USE BY: Scope");
  EXPECT_EQ(scope->GetListItem().Communication, "CEC GPIB-Device Address: 2");

  // Serial settings reach the port's record; other parities than none are kept even
  // where the port cannot take them.
  TDeviceSettings pump = NewDeviceSettings();
  pump.Name = "Pump";
  SelectLocation(pump, &Com1());
  pump.BaudRate = "9600";
  pump.StopBits = 2;
  pump.ParityIndex = 2;
  pump.InputHandshakeIndex = 1;
  pump.OutputHandshakeIndex = 4;
  pump.SendChar1 = 13;
  pump.SendChar2 = 10;
  TDevice* made = List.AddDeviceFromDialog(pump);
  const TRS232Param& line = static_cast<TRS232*>(made->GetCommunication())->RS232Param;
  EXPECT_EQ(line, (TRS232Param{9600, 2, 2, 1, 4}));
  EXPECT_EQ(made->GetCoreDevice().GetSendChar1(), 13);
  EXPECT_EQ(made->GetCoreDevice().GetSendChar2(), 10);
  EXPECT_EQ(made->GetCoreDevice().GetReadChar1(), 13);
  // The settings a pseudo-terminal cannot take are still stored and read back.
  ASSERT_TRUE(made->SaveDeviceFile(Temp.PathOf("pump.dev")));
  TDeviceList other(&Exp);
  TDevice* read = other.NewDevice();
  ASSERT_TRUE(read->LoadDeviceFile(Temp.PathOf("pump.dev"), other.GetPlacer()));
  EXPECT_EQ(static_cast<TRS232*>(read->GetCommunication())->RS232Param, (TRS232Param{9600, 2, 2, 1, 4}));
}

TEST_F(DeviceSettingsTest, TheCommandEditorChecksInOrder) {
  const auto refusal = [](const TDeviceScriptEntry& entry) {
    const std::optional<TEntryRefusal> refused = CheckDeviceScriptEntry(entry);
    return refused ? refused->Message + " @" + refused->Control : "";
  };
  TDeviceScriptEntry entry;
  entry.IsResponse = true;
  entry.Points = "";
  entry.BytesPerPoint = "";
  EXPECT_EQ(refusal(entry), "You must enter a command @CommandEdit");
  entry.Command = "MEAS?";
  EXPECT_EQ(refusal(entry), "You must enter a number of points to read. @PointsEdit");
  entry.PointsFromVariable = true;
  EXPECT_EQ(refusal(entry), "You must enter a Read Command array size. @PointsEdit");
  entry.Points = "x";
  EXPECT_EQ(refusal(entry),
            "The Read command array size must be an integer value greater than one. @PointsEdit");
  entry.Points = "1";
  EXPECT_EQ(refusal(entry),
            "The Read command array size must be an integer value greater than one. @PointsEdit");
  entry.PointsFromVariable = false;
  entry.Points = "0";
  EXPECT_EQ(refusal(entry),
            "The number of points must be an integer value greater than zero. @PointsEdit");
  entry.Points = "1";
  EXPECT_EQ(refusal(entry), "You must enter a number of bytes/point to read in @BytesEdit");
  entry.BytesPerPoint = "-2";
  EXPECT_EQ(refusal(entry),
            "The number of bytes/point must be an integer greater than zero @BytesEdit");
  entry.BytesPerPoint = "5";
  entry.Delimiter = "";
  EXPECT_EQ(refusal(entry), "");  // one ASCII point needs no delimiter
  entry.ReadAs = rtBINARY;
  EXPECT_EQ(refusal(entry),
            "The number of bytes/point for binary data cannot be greater than 4 @BytesEdit");
  entry.BytesPerPoint = "4";
  entry.Points = "8";
  EXPECT_EQ(refusal(entry), "");  // binary arrays have no delimiter
  entry.ReadAs = rtASCII;
  EXPECT_EQ(refusal(entry),
            "The delimiter cannot be blank when reading in an ASCII array. @DelimiterEdit");
  entry.Delimiter = ";;";
  EXPECT_EQ(refusal(entry), "The delimiter cannot more than one character long. @DelimiterEdit");
  entry.Delimiter = ",";
  EXPECT_EQ(refusal(entry), "");
  entry.IsResponse = false;
  entry.Points = "";
  EXPECT_EQ(refusal(entry), "");

  // A checked entry written into a command and read back.
  TDeviceScript script("none");
  entry.IsResponse = true;
  entry.Points = "12";
  entry.PointsFromVariable = true;
  entry.ValueType = eatFLOAT;
  entry.StoreByteCount = true;
  entry.SendEndChars = false;
  ApplyDeviceScriptEntry(script, entry);
  EXPECT_EQ(script.GetText(), "Send(MEAS?)+" + script.GetResponse()->GetText());
  EXPECT_TRUE(script.GetSendEndChars());  // always with a response
  const TDeviceScriptEntry back = DeviceScriptEntryOf(script);
  EXPECT_EQ(back.Points, "12");
  EXPECT_TRUE(back.PointsFromVariable);
  EXPECT_EQ(back.Delimiter, ",");
  EXPECT_EQ(back.ValueType, eatFLOAT);
  EXPECT_TRUE(back.StoreByteCount);
}

TEST_F(DeviceSettingsTest, ADeviceCommandGoesIntoTheCurrentBlockAsSendAndRead) {
  TBlock* block = AddBlock("Start Block");
  Exp.SelectBlock(block->AExpNode);
  ASSERT_EQ(Exp.GetCurrentBlock(), block);
  TDevice* meter = Make("Meter", Ni(5));
  TDeviceScript* plain = meter->GetCoreDevice().NewScript("*RST");
  plain->SetSendEndChars(false);
  TDeviceScript* measure = meter->GetCoreDevice().NewScript("READ?");
  measure->EnsureResponse();
  measure->GetResponse()->SetValueType(eatFLOAT);
  measure->GetResponse()->SetArraySize(5);
  measure->GetResponse()->SetDelimiter(",");
  measure->GetResponse()->SetByteCountFromVariable(true);
  TDataArray* values = Array(block, "Values", eatFLOAT, 5);
  TDataSingle* count = Single(block, "Count");

  // The prompts in order, answered from the script: a new data variable made at the
  // first, the byte count declined (its storing is dropped in the command made, not in
  // the device's), the points variable declined: nothing is added and the new variable
  // goes again.
  std::vector<std::string> captions;
  std::vector<std::function<void(TChangeVarRequest&)>> answers;
  Ui.SetDialogHandler([&](TDialogRequest& request) {
    auto& choose = dynamic_cast<TChangeVarRequest&>(request);
    captions.push_back(choose.Caption);
    if (answers.empty()) return 0;
    auto answer = answers.front();
    answers.erase(answers.begin());
    answer(choose);
    return 1;
  });
  answers = {[](TChangeVarRequest& choose) {
    choose.NewNameChosen = true;
    choose.NewName = "Fresh";
  }};
  const int arraysBefore = Exp.GetDataArrayList()->GetCount();
  EXPECT_FALSE(meter->AddCommandToBlock(1, Exp));
  EXPECT_EQ(captions, (TTexts{"Variable to store read data", "Variable to store read bytes",
                              "Variable to store number of read points."}));
  EXPECT_EQ(Exp.GetDataArrayList()->GetCount(), arraysBefore);
  EXPECT_TRUE(measure->GetResponse()->GetStoreByteCount());
  EXPECT_EQ(Children(block->AExpNode).size(), 1u);  // the blank line only

  // Chosen variables: a Send and a Read.
  captions.clear();
  const auto pick = [](TData* variable) {
    return [variable](TChangeVarRequest& choose) { choose.ASelectedData = variable; };
  };
  answers = {pick(values), pick(count), pick(count)};
  EXPECT_TRUE(meter->AddCommandToBlock(1, Exp));
  EXPECT_EQ(captions.size(), 3u);
  // A command without a response gives one Send, with its ending-characters choice.
  EXPECT_TRUE(meter->AddCommandToBlock(0, Exp));
  const TTexts lines = Children(block->AExpNode);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(meter->GetScripts().size(), 3u);
  auto* sendMeasure = dynamic_cast<TSendScript*>(meter->GetScripts()[0]);
  auto* read = dynamic_cast<TReadScript*>(meter->GetScripts()[1]);
  auto* sendReset = dynamic_cast<TSendScript*>(meter->GetScripts()[2]);
  ASSERT_TRUE(sendMeasure && read && sendReset);
  EXPECT_EQ(sendMeasure->GetCommandString(), "READ?");
  EXPECT_EQ(read->GetVariable()->GetData(), values);
  EXPECT_EQ(read->GetReadCountVariable()->GetData(), count);
  EXPECT_TRUE(read->GetCleanString());
  EXPECT_TRUE(read->GetWSDelimiter());
  EXPECT_EQ(sendReset->GetCommandString(), "*RST");
  EXPECT_FALSE(sendReset->GetSendTerminators());
  EXPECT_EQ(measure->GetResponse()->GetDataNumPoints(), nullptr);  // the device's stays bare

  // Deleting the device deletes its three commands.
  List.RemoveDevice(meter);
  EXPECT_EQ(Children(block->AExpNode).size(), 1u);
}

TEST_F(DeviceSettingsTest, ResetClosesTheConnectionOnlyOutsideARun) {
  TDevice* pump = Make("Pump", Com1());
  auto& serial = static_cast<TRS232&>(*pump->GetCommunication());
  serial.ClearBuffers(true, true);
  ASSERT_TRUE(serial.IsOpen());
  ExperimentRunning = true;
  EXPECT_FALSE(pump->Reset());
  EXPECT_TRUE(serial.IsOpen());
  ExperimentRunning = false;
  EXPECT_TRUE(pump->Reset());
  EXPECT_FALSE(serial.IsOpen());
  EXPECT_TRUE(Ui.Texts().empty());
}

}  // namespace
