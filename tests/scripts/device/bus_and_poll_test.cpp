// The Send GPIB, Send RS232 and Serial Poll commands against the simulated GPIB bus and
// the serial instrument, and the refusal of a device whose kind does not fit a device
// command.
#include <gtest/gtest.h>

#include <string>

#include "scripts/device/device_fixture.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_rs232_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"

namespace {

using BusAndPollTest = TDeviceFixture;

TEST_F(BusAndPollTest, BusCommandsGoToTheBoardAndPollsStoreTheStatusByte) {
  TDataSingle* status = Single(B1, "status");
  TDataSingle* other = Single(B1, "other");
  auto* cec = Make<TSendGPIBScript>();
  cec->SetUpSendGPIB(Meter, TSendGPIBScript::REN | TSendGPIBScript::DCL | TSendGPIBScript::LLO);
  Make<TSendGPIBScript>()->SetUpSendGPIB(Scope, TSendGPIBScript::IFC);
  auto* cecPoll = Make<TSerialPollScript>();
  cecPoll->SetUpSerialPoll(Meter, status);
  auto* niPoll = Make<TSerialPollScript>();
  niPoll->SetUpSerialPoll(Scope, other);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Meter: Send GPIB Commands(REN DCL LLO) | Scope: Send GPIB Commands(IFC) | "
            "status=Serial Poll: Meter | other=Serial Poll: Scope");
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  EXPECT_TRUE(Logged("cec_transmit \"REN DCL LLO\" 65535 -> 0"));
  EXPECT_TRUE(Logged(" \"IFC\" 3 -> "));  // the NI board writes the words
  EXPECT_TRUE(Logged("cec_serial_poll 5 -> 193 0"));
  EXPECT_EQ(status->GetValueText() + " " + other->GetValueText(), "193 193");  // 0xC1
  EXPECT_EQ(TraceOf(cec).at(0), "Sending to Meter");
  EXPECT_EQ(TraceOf(niPoll).at(0), "Serial polling: Scope");
  EXPECT_EQ(other->GetValueText(), "129");  // the poll cleared the request bit 0x40
  cec->SetCommentedOut(true);
  Sim.ClearLog();
  EXPECT_EQ(TraceOf(cec), TTexts{"Comment(Meter: Send GPIB Commands(REN DCL LLO))"});
  cec->Execute();
  EXPECT_TRUE(Sim.Log().empty());
  // Only an integer can take the byte: a retype takes the poll along.
  EXPECT_FALSE(cecPoll->CanReleaseVariable(cecPoll->GetVariable()));
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(status->SetDataType(eatFLOAT));
  const TTexts left = Children(B1->AExpNode);
  ASSERT_EQ(left.size(), 3u);
  EXPECT_EQ(left[2], "other=Serial Poll: Scope");
}

TEST_F(BusAndPollTest, SendRS232ClearsTheChosenBuffers) {
  TRS232& serial = PumpPort();
  serial.SetTimeOut(100000);
  serial.ClearBuffers(false, false);  // open: what comes now stays until cleared
  const auto pending = [&] {
    std::string buffer(10, '\0');
    int count = 0;
    serial.Read(buffer.data(), 10, 13, count);
    return buffer.substr(0, static_cast<std::size_t>(count));
  };
  auto* clear = Make<TSendRS232Script>();
  const struct {
    bool transmit, receive;
    std::string text, trace, left;
  } cases[] = {
      {true, false, "Pump: Send RS232(Clear Transmit)", "Pump:  clearing transmit buffer",
       "kept\r"},
      {false, true, "Pump: Send RS232(Clear Receive)", "Pump: clearing receive buffer", ""},
      {true, true, "Pump: Send RS232(Clear Transmit, Clear Receive)",
       "Pump:  clearing transmit buffer and clearing receive buffer", ""},
  };
  for (const auto& c : cases) {
    clear->SetUpSendRS232(Pump, c.transmit, c.receive);
    EXPECT_EQ(clear->GetText(), c.text);
    for (bool traced : {false, true}) {
      Instrument.Emit("kept\r");
      ASSERT_TRUE(serial.IsOpen());
      ASSERT_TRUE(WaitForPending(*serial.GetPort(), 5));  // there before the clear runs
      if (traced)
        EXPECT_EQ(TraceOf(clear), TTexts{c.trace});
      else
        EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
      EXPECT_EQ(pending(), c.left) << c.text;
    }
  }
}

TEST_F(BusAndPollTest, ADeviceOfTheWrongKindRefusesTheRun) {
  TDataSingle* status = Single(B1, "status");
  auto* bus = Make<TSendGPIBScript>();
  bus->SetUpSendGPIB(Pump, TSendGPIBScript::REN);
  auto* poll = Make<TSerialPollScript>();
  poll->SetUpSerialPoll(Pump, status);
  auto* clear = Make<TSendRS232Script>();
  clear->SetUpSendRS232(Meter, false, true);
  for (TScript* command : std::initializer_list<TScript*>{bus, poll, clear})
    EXPECT_FALSE(command->SetNextScript());
  EXPECT_EQ(Ui.Texts(), (TTexts{"Will Not Run, Pump: Send GPIB Commands(REN) needs a GPIB device.",
                                "Will Not Run, status=Serial Poll: Pump needs a GPIB device.",
                                "Will Not Run, Meter: Send RS232(Clear Receive) needs an RS232 "
                                "device."}));
  // Run without the check, they stop the run instead.
  EXPECT_EQ(ErrorOf([&] { poll->Execute(); }), "status=Serial Poll: Pump needs a GPIB device.");
  EXPECT_EQ(ErrorOf([&] { clear->Execute(); }),
            "Meter: Send RS232(Clear Receive) needs an RS232 device.");
  // A device whose communication changed kind.
  Meter->SetCommunication(std::make_unique<TRS232>(nullptr, 1));
  EXPECT_TRUE(clear->SetNextScript());
  bus->SetUpSendGPIB(Meter, TSendGPIBScript::GTL);
  EXPECT_FALSE(bus->SetNextScript());
  // A device without a communication refuses the run, or stops it.
  TDevice* bare = Devices.NewDevice();
  bare->GetCoreDevice().SetName("Bare");
  auto* send = Make<TSendScript>(B2);
  send->SetUpSend(bare, "*RST", true, nullptr, 0, -1, false);
  EXPECT_FALSE(send->SetNextScript());
  EXPECT_EQ(Ui.Texts().back(),
            "Will Not Run, Bare: Send(*RST) T: The device Bare has no communication.");
  EXPECT_EQ(ErrorOf([&] { send->Execute(); }), "The device Bare has no communication.");
}

}  // namespace
