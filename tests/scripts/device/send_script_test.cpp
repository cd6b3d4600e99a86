// The sending commands: Send and Send Binary in runs against the simulated GPIB bus and
// the serial instrument (a constant text built once with the device's terminators, a
// variable's value formatted at each execution, exact little-endian binary bytes, the
// number of points and the refusals at run time, retypes, the trace and comment-out),
// and the records of all sending commands byte by byte, files of older versions and the
// checks after reading.
#include "scripts/device/send_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/number_text.h"
#include "scripts/device/device_fixture.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_rs232_script.h"
#include "scripts/device/serial_poll_script.h"

namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

class SendScriptTest : public TDeviceFixture {
protected:
  TSendScript* Send(TDevice* device, const std::string& text, TData* variable = nullptr,
                    std::uint8_t notation = 0, std::int32_t decimals = -1, bool space = false,
                    bool terminators = true) {
    auto* send = Make<TSendScript>();
    send->SetUpSend(device, text, terminators, variable, notation, decimals, space);
    return send;
  }
};

TEST_F(SendScriptTest, AConstantTextIsBuiltBeforeTheRunWithTheDevicesTerminators) {
  TSendScript* cec = Send(Meter, "*IDN?");
  Send(Scope, "*IDN?");
  TSendScript* bare = Send(Scope, "*CLS", nullptr, 0, -1, false, false);
  EXPECT_EQ(cec->GetText(), "Meter: Send(*IDN?) T");
  EXPECT_EQ(bare->GetText(), "Scope: Send(*CLS) NT");
  Prepare(B1);
  EXPECT_STREQ(cec->GetSendBuffer(), "UNT UNL MTA LISTEN 5 DATA '*IDN?' EOI END");
  for (int run = 0; run < 2; ++run) EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  EXPECT_TRUE(Logged("cec_set_end_chars 13 10"));
  EXPECT_EQ(CecReceived(), "*IDN?\r\n*IDN?\r\n");  // the same bytes at every execution
  const std::string ud =
      std::to_string(static_cast<TNATGPIB*>(Scope->GetCommunication())->GetDescriptor());
  EXPECT_TRUE(Logged("ibeot " + ud + " 0"));  // without terminators: no EOI either
  EXPECT_EQ(NiReceived(), "*IDN?\r\n*CLS*IDN?\r\n*CLS");
}

TEST_F(SendScriptTest, AVariablesValueIsFormattedWhenTheCommandRuns) {
  TDataSingle* n = Single(B1, "n", eatINTEGER, "5");
  TDataSingle* x = Single(B1, "x", eatFLOAT, "1.5");
  TDataArray* wave = Array(B1, "wave", eatINTEGER, 3);
  wave->GetValueArray().SetElementText("7", 1);
  TSendScript* spaced = Send(Pump, "VOLT", n, ntFIXED, 3, true);
  Increment(n);
  Send(Pump, "VOLT", n);
  Send(Pump, "", n);
  TSendScript* fixed = Send(Pump, "VOLT", x, ntFIXED, 3, true);
  TSendScript* element = Send(Pump, "CH", wave, 0, -1, true);
  TVariableArrayIndex& index =
      static_cast<TVariableDataArray*>(element->GetVariable())->GetArrayIndex();
  index.SetIndexConstant(1);
  // Only a float keeps its notation.
  EXPECT_EQ(std::vector<int>({spaced->GetNotation(), spaced->GetDecimals(), fixed->GetNotation(),
                              fixed->GetDecimals()}),
            std::vector<int>({ntSTANDARD, 1, ntFIXED, 3}));
  EXPECT_EQ(Outline(B1->AExpNode),
            "Pump: Send(VOLT n) T | Increment n by 1 | Pump: Send(VOLT n) T | Pump: Send(n) T"
            " | Pump: Send(VOLT x) T | Pump: Send(CH wave[1]) T");
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  std::string sent = "VOLT 5\rVOLT6\r6\rVOLT 1.500\rCH 7\r";
  EXPECT_EQ(PumpReceived(sent.size()), sent);

  // A value that cannot be formatted stops the run; the command sends again afterwards.
  index.SetIndexConstant(5);
  EXPECT_EQ(RunB1(), TTexts{"Index 5 is out of bounds."});
  index.SetIndexConstant(1);
  element->Execute();
  EXPECT_EQ(TraceOf(spaced).at(0), "Sending to Pump");
  sent += "VOLT 5\rVOLT6\r6\rVOLT 1.500\rCH 7\rVOLT 6\r";  // runs start from n's initial value
  EXPECT_EQ(PumpReceived(sent.size()), sent);
  spaced->SetCommentedOut(true);
  EXPECT_EQ(TraceOf(spaced), TTexts{"Comment(Pump: Send(VOLT n) T)"});

  // A retype leaves the command as it is, without a question.
  Ui.Clear();
  EXPECT_TRUE(x->SetDataType(eatSTRING));
  EXPECT_EQ(fixed->GetText(), "Pump: Send(VOLT x) T");
  EXPECT_TRUE(Ui.Texts().empty());
}

class SendBinaryTest : public TDeviceFixture {
protected:
  TDataArray* Values(const std::string& name, int type, std::vector<std::string> values) {
    TDataArray* array = Array(B1, name, type, std::int32_t(values.size()));
    for (std::int32_t i = 0; i < array->GetSize(); ++i)
      array->GetValueArray().SetElementText(values[std::size_t(i)], i);
    return array;
  }
  TDataArray* Ints = Values("ints", eatINTEGER, {"1", "-1", "70000"});
  TDataSingle* N = Single(B1, "n", eatINTEGER, "1");
  TSendBinaryScript* Command = Make<TSendBinaryScript>();
};

TEST_F(SendBinaryTest, ValuesGoAsLittleEndianBytes) {
  TDataArray* floats = Values("floats", eatFLOAT, {"1.5", "-0.25"});
  Command->SetUpWholeArray(Scope, Ints, TSendBinaryScript::sbINT16);
  auto* int32 = Make<TSendBinaryScript>();
  int32->SetUpWithCount(Meter, Ints, TSendBinaryScript::sbINT32, 2);
  auto* single = Make<TSendBinaryScript>();
  single->SetUpWithCountVariable(Pump, floats, TSendBinaryScript::sbFLOAT, N);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Scope: SendBinary(ints[...], 2 byte integer) | Meter: SendBinary(ints[2], 4 byte "
            "integer) | Pump: SendBinary(floats[n], IEEE Floating Point)");
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  EXPECT_EQ(NiReceived(), Bytes({0x01, 0x00, 0xFF, 0xFF, 0x70, 0x11}));
  EXPECT_EQ(CecReceived(), Bytes({0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(PumpReceived(4), Bytes({0x00, 0x00, 0xC0, 0x3F}));  // 1.5 only: n is 1
  N->SetInitialValue("2");
  const TTexts trace = TraceOf(single);
  ASSERT_GE(trace.size(), 2u);
  EXPECT_EQ(TTexts({trace.front(), trace.back()}),
            TTexts({"Sending floats to Pump", "Sent 2 points, 8 bytes."}));
  EXPECT_EQ(PumpReceived(12), Bytes({0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00,
                                     0x80, 0xBE}));
  single->SetCommentedOut(true);
  EXPECT_EQ(TraceOf(single), TTexts{"Comment(Pump: SendBinary(floats[n], IEEE Floating Point))"});
}

TEST_F(SendBinaryTest, TheNumberOfPointsTheStorageAndTheTypeAreCheckedAtRunTime) {
  TDataArray* unwritten = Array(B1, "unwritten", eatINTEGER, 3);
  N->SetInitialValue("0");
  Command->SetUpWithCountVariable(Scope, Ints, TSendBinaryScript::sbINT16, N);
  EXPECT_EQ(RunB1(), TTexts{"Aborting:  Number of points in read binary cannot be zero"});
  Command->SetUpWithCount(Scope, Ints, TSendBinaryScript::sbINT16, 4);
  EXPECT_EQ(RunB1(), TTexts{"Aborting:  Number of points to send exceeds array size"});
  Command->SetUpWithCount(Scope, Ints, TSendBinaryScript::sbINT16, 3);
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  Command->SetUpWholeArray(Scope, unwritten, TSendBinaryScript::sbINT16);
  EXPECT_EQ(RunB1(), TTexts{"Aborting:  Data buffer is empty"});
  Command->SetUpWholeArray(Scope, Ints, TSendBinaryScript::sbFLOAT);
  EXPECT_EQ(RunB1(), TTexts{"Aborting:  IEEE Floating Point does not fit the array ints"});
  EXPECT_EQ(NiReceived(), Bytes({0x01, 0x00, 0xFF, 0xFF, 0x70, 0x11}));  // the one good run
}

TEST_F(SendBinaryTest, OnlyTheArrayDecidesTheBinaryType) {
  Command->SetUpWithCountVariable(Scope, Ints, TSendBinaryScript::sbINT16, N);
  EXPECT_FALSE(Command->CanReleaseVariable(Command->GetPointCountVariable()));
  EXPECT_EQ(Command->GetBinaryType(), TSendBinaryScript::sbINT16);
  EXPECT_TRUE(Ints->SetDataType(eatFLOAT));  // no question: floats can be sent
  EXPECT_EQ(Command->GetText(), "Scope: SendBinary(ints[n], IEEE Floating Point)");
  EXPECT_TRUE(Ints->SetDataType(eatINTEGER));
  EXPECT_EQ(Command->GetBinaryType(), TSendBinaryScript::sbINT32);
  EXPECT_TRUE(Ui.Texts().empty());
  // A count variable that is no longer an integer takes the command along.
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(N->SetDataType(eatFLOAT));
  EXPECT_EQ(Outline(B1->AExpNode), "");
}

using SendRecordsTest = TDeviceFixture;

TEST_F(SendRecordsTest, RecordsAreExactReadBackAndCheckedAfterReading) {
  TDataSingle* status = Single(B1, "status");
  TDataSingle* count = Single(B1, "n", eatINTEGER, "2");
  TDataSingle* x = Single(B1, "x", eatFLOAT);
  TDataArray* wave = Array(B1, "wave", eatFLOAT, 4);
  TDataArray* ints = Array(B1, "ints", eatINTEGER, 3);
  auto* withVariable = Make<TSendScript>();
  withVariable->SetUpSend(Pump, "VOLT", true, x, 1, 3, true);
  auto* element = Make<TSendScript>();
  element->SetUpSend(Pump, "", false, wave, 2, 4, true);
  static_cast<TVariableDataArray*>(element->GetVariable())->GetArrayIndex().SetIndexConstant(2);
  auto* bus = Make<TSendGPIBScript>();
  bus->SetUpSendGPIB(Scope, TSendGPIBScript::REN | TSendGPIBScript::DCL | TSendGPIBScript::LLO);
  auto* clear = Make<TSendRS232Script>();
  clear->SetUpSendRS232(Pump, false, true);
  auto* poll = Make<TSerialPollScript>();
  poll->SetUpSerialPoll(Meter, status);
  auto* binary = Make<TSendBinaryScript>();
  binary->SetUpWithCountVariable(Scope, ints, TSendBinaryScript::sbINT16, count);
  const struct {
    TScript* command;
    TData* variable;
    TBytes record;
  } cases[] = {
      {withVariable, x, Cat({StringBytes("VOLT"), B(true), B(false), I32(100), B(true), I32(1),
                             I32(3), B(true), I32(101), B(false)})},
      {element, wave, Cat({StringBytes(""), B(true), B(true), I32(100), B(false), B(true), I32(2),
                           B(false), I32(2), I32(4), B(true), I32(101), B(false)})},
      {bus, nullptr, Cat({B(true), B(false), B(true), B(false), B(true), I32(100), B(false)})},
      {clear, nullptr, Cat({B(false), B(true), I32(100), B(false)})},
      {poll, status, Cat({I32(100), I32(101), B(false)})},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Written({c.command}), c.record) << c.command->GetText();
    TScript* read = ReadInto(B2, c.record, {c.command->GetScriptType()}, c.variable, 100)[0];
    EXPECT_EQ(Written({read}), c.record) << c.command->GetText();
  }
  EXPECT_EQ(Written({binary}), Cat({I32(100), B(false), B(false), B(true), I32(101), I32(-1),
                                    I32(TSendBinaryScript::sbINT16), I32(102), B(false)}));
  binary->SetUpWithCount(Scope, ints, TSendBinaryScript::sbINT32, 3);
  EXPECT_EQ(Written({binary}), Cat({I32(100), B(false), B(false), B(false), I32(3),
                                    I32(TSendBinaryScript::sbINT32), I32(101), B(false)}));
  // A block export takes the variables along.
  std::vector<TVariable*> exported;
  Written({withVariable, poll, binary}, &exported);
  EXPECT_EQ(exported, (std::vector<TVariable*>{withVariable->GetVariable(), poll->GetVariable(),
                                               binary->GetSendArray()}));

  // Before 1.1 a Send has no force-space flag; a notation no number has is refused.
  const TBytes old = Cat({StringBytes("*RST"), B(false), B(false), I32(0), I32(-1), I32(7)});
  auto* first = ReadOne<TSendScript>(old, nullptr, "Qorv 1.0");
  EXPECT_FALSE(first->GetForceSpace());
  EXPECT_FALSE(first->GetSendTerminators());
  auto* second = ReadOne<TSendScript>(Cat({old, B(true)}), nullptr, "Qorv 1.1");
  EXPECT_TRUE(second->GetForceSpace());
  EXPECT_THROW(ReadOne<TSendScript>(Cat({StringBytes("A"), B(false), B(true), I32(3), I32(1),
                                         B(false), I32(9), B(false)})),
               EReadError);

  // Commands without device or variable end the read; the variable is checked first.
  auto* send = ReadOne<TSendScript>(Written({element}));  // its variable stays unbound
  auto* newPoll = Make<TSerialPollScript>();
  auto* newBinary = Make<TSendBinaryScript>();
  EXPECT_EQ(TTexts({send->GetText(), newPoll->GetText(), newBinary->GetText()}),
            TTexts({"Send Nothing", "Serial Poll: ", ""}));
  EXPECT_EQ(CheckError(send), "Device not defined for Send script...aborting read");
  send->SetDevice(Pump);
  EXPECT_EQ(CheckError(send), "Variable not defined for Send script...aborting read");
  EXPECT_EQ(CheckError(newPoll), "Variable not defined for Serial Poll...aborting read");
  // A file binding the status byte to anything but an integer is refused the same way.
  newPoll->SetUpSerialPoll(Pump, Single(B1, "f", eatFLOAT, "0"));
  EXPECT_EQ(CheckError(newPoll), "Variable not defined for Serial Poll...aborting read");
  EXPECT_EQ(CheckError(newBinary),
            "Variable not defined for Send Binary command...aborting read");
  poll->SetDevice(nullptr);
  EXPECT_EQ(CheckError(poll), "Device not defined for Serial Poll...aborting read");
  binary->SetDevice(nullptr);
  EXPECT_EQ(CheckError(binary), "Device not defined for Send Binary command...aborting read");
  EXPECT_EQ(CheckError(Make<TSendGPIBScript>()),
            "Device not defined for SendGPIB script command...aborting read");
  EXPECT_EQ(CheckError(Make<TSendRS232Script>()),
            "Device not defined for SendRS232 script command...aborting read");
  EXPECT_EQ(CheckError(element), "");
}

}  // namespace
