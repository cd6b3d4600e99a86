// The Read command against the simulated GPIB bus (NI and CEC) and a serial instrument:
// "*IDN?" into a string, ASCII and binary arrays, the terminator each read passes, the
// byte-count, time-out, size and decoding rules, faulty instruments, the trace, retypes,
// the record byte by byte with refused records; and an experiment of every device command
// saved, reopened and run again with the same results.
#include "scripts/device/read_script.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "communication/read_response.h"
#include "model/errors.h"
#include "model/value.h"
#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/device/device_fixture.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_rs232_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"
#include "scripts/files/read_file_script.h"
#include "shell/experiment_file.h"
#include "support/line_report.h"

namespace {

const TTexts Complete = {"Experiment Complete"};

std::string TextOf(TDataSingle* variable) { return variable->GetValue().GetText(); }
float FloatOf(TDataSingle* variable) {
  return static_cast<TValueNum&>(variable->GetValue()).GetFloat();
}
TTexts Elements(TDataArray* array) {
  TTexts texts;
  for (std::int32_t i = 0; i < array->GetSize(); ++i)
    texts.push_back(array->GetValueArray().GetElementText(i));
  return texts;
}
// Points values of bytes each, ASCII (delimiter ";") or binary.
TReadResponse Response(std::int32_t points = 1, std::int32_t bytes = 100, bool binary = false,
                       bool leftToRight = true) {
  TReadResponse response(points);
  response.SetReadType(binary ? rtBINARY : rtASCII);
  response.SetBytesPerPoint(bytes);
  response.SetLeftToRight(leftToRight);
  return response;
}
TBytes Descriptor(std::int32_t bytes, bool leftToRight, std::int32_t type) {
  return Cat({I32(bytes), B(leftToRight), I32(type)});
}

class ReadTest : public TDeviceFixture {
protected:
  TSendScript* Send(TDevice* device, const std::string& text) {
    auto* send = Make<TSendScript>();
    send->SetUpSend(device, text, true, nullptr, 0, -1, false);
    return send;
  }
  TReadScript* Read(TDevice* device, TData* variable, TReadResponse response,
                    TData* count = nullptr) {
    if (count) response.SetByteCountData(count);
    auto* read = Make<TReadScript>();
    read->SetUpRead(device, variable, response, true, true);
    return read;
  }
  // B1 holds only the query and its read: run on the worker, the texts shown.
  TTexts Query(TDevice* device, const std::string& query, TData* variable,
               const TReadResponse& response, TData* count = nullptr) {
    while (TScript* command = B1->GetFirstScript()) delete command;
    Send(device, query);
    Read(device, variable, response, count);
    return RunB1();
  }
  // Reads a record; the waiting references bind to the variables under 100, 101, ...
  TReadScript* Reread(const TBytes& bytes, const std::vector<TData*>& variables,
                      const std::string& version = "Qorv 1.5") {
    std::vector<TVariable*> waiting;
    auto* read = ReadOne<TReadScript>(bytes, &waiting, version);
    for (TVariable* reference : waiting)
      for (std::size_t i = 0; i < variables.size(); ++i)
        if (variables[i]) reference->ResolveLoadedLink(variables[i], std::int32_t(100 + i));
    return read;
  }

  TDataSingle* Id = Single(B1, "id", eatSTRING);
  TDataSingle* Volts = Single(B1, "volts", eatFLOAT, "7");
  TDataSingle* Count = Single(B1, "n", eatINTEGER, "-1");
  TDataArray* Arr = Array(B1, "arr", eatINTEGER, 8);
};

TEST_F(ReadTest, RepliesGoIntoVariablesAndArraysAsAsciiTextOrBinaryWords) {
  Send(Scope, "*IDN?");
  EXPECT_EQ(Read(Scope, Id, Response())->GetText(), "Scope: Read ASCII(id)");
  Send(Scope, "VOLT?");
  Read(Scope, Volts, Response(), Count);
  EXPECT_EQ(RunB1(), Complete);
  EXPECT_EQ(TextOf(Id), "ACME,SCOPE,0,1.0");
  EXPECT_EQ(FloatOf(Volts), 1250.0f);
  EXPECT_EQ(TextOf(Count), "11");  // "+12.5E+2 V" and the instrument's LF

  for (int i = 0; i < 8; ++i) Arr->GetValueArray().SetElementText("9", i);
  EXPECT_EQ(Query(Scope, "CURVE?", Arr, Response(5, 10)), Complete);
  EXPECT_EQ(Elements(Arr), (TTexts{"1", "2", "3", "4", "5", "9", "9", "9"}));
  // The whitespace option of a string array, on and off.
  TReadResponse comma = Response(3, 10);
  comma.SetDelimiter(",");
  TDataArray* words = Array(B1, "words", eatSTRING, 3);
  EXPECT_EQ(Query(Scope, "BLANKS?", words, comma), Complete);
  EXPECT_EQ(Elements(words), (TTexts{"7", "8", "9"}));
  static_cast<TReadScript*>(B1->GetFirstScript()->Pnextscript)->SetUpRead(
      Scope, words, comma, true, false);
  EXPECT_EQ(RunB1(), Complete);
  EXPECT_EQ(Elements(words), (TTexts{"10 11 12", "8", "9"}));

  // Binary words (2 bytes are never negative) from both boards, in either byte order.
  TDataArray* wave = Array(B1, "wave", eatINTEGER, 3);
  EXPECT_EQ(Query(Scope, "WAVE?", wave, Response(3, 2, true)), Complete);
  EXPECT_EQ(Elements(wave), (TTexts{"1", "65535", "300"}));
  EXPECT_EQ(B1->GetFirstScript()->Pnextscript->GetText(), "Scope: Read Binary(wave,3)");
  EXPECT_EQ(Query(Meter, "CURVE?", wave, Response(3, 2, true, false)), Complete);
  EXPECT_EQ(Elements(wave), (TTexts{"1000", "64536", "300"}));  // first byte most significant
}

TEST_F(ReadTest, ByteCountsTimeOutsSizesAndDecodingErrors) {
  Id->GetValue().SetText("old");
  EXPECT_EQ(Query(Scope, "QUIET?", Id, Response()),
            TTexts{"Read error: Number of bytes to read 100 Number of bytes read 0"});
  EXPECT_EQ(Query(Scope, "SLOW?", Volts, Response(1, 20)),
            TTexts{"Read error: Number of bytes to read 20 Number of bytes read 4"});
  EXPECT_EQ(TextOf(Id), "old");  // nothing written
  EXPECT_EQ(FloatOf(Volts), 7.0f);
  // With a byte count a time-out is no error: the count is stored and what came decoded.
  EXPECT_EQ(Query(Scope, "SLOW?", Volts, Response(1, 20), Count), Complete);
  EXPECT_EQ(TextOf(Count), "4");
  EXPECT_EQ(FloatOf(Volts), 1.2f);
  EXPECT_EQ(Query(Scope, "QUIET?", Id, Response(), Count), Complete);
  EXPECT_EQ(TextOf(Count) + TextOf(Id), "0");

  Arr->SetSize(3);
  Sim.ClearLog();
  EXPECT_EQ(Query(Scope, "CURVE?", Arr, Response(5, 10)),
            TTexts{"The number of points to read 5 exceeds the size of the variable arr size 3"});
  EXPECT_EQ(Sim.Log().back().substr(0, 6), "ibwrt ");  // refused before anything is read
  TDataSingle* points = Single(B1, "points", eatINTEGER, "2");
  TReadResponse fromVariable = Response(1, 10);
  fromVariable.SetNumberOfPointsData(points);
  EXPECT_EQ(Query(Scope, "CURVE?", Arr, fromVariable), Complete);
  EXPECT_EQ(Elements(Arr), (TTexts{"6", "7", "0"}));  // 1 to 5 went to the refused run
  EXPECT_EQ(B1->GetFirstScript()->Pnextscript->GetText(), "Scope: Read ASCII(arr,points)");
  points->GetValue().SetText("4");  // checked again at every run
  EXPECT_EQ(RunB1(),
            TTexts{"The number of points to read 4 exceeds the size of the variable arr size 3"});

  TDataSingle* big = Single(B1, "big", eatINTEGER, "5");
  EXPECT_EQ(Query(Scope, "BIG?", big, Response()),
            TTexts{"big read error: The value is not an integer. Value is 9999999999\r"
                   "Binary value:  39 39 39 39 39 39 39 39 39 39h."});
  EXPECT_EQ(TextOf(big), "5");
}

TEST_F(ReadTest, FaultyInstrumentsAndBadSettingsStopTheRun) {
  Read(NewDevice("Absent", std::make_unique<TNATGPIB>(3, 5, nullptr), 13, 10), Id, Response());
  EXPECT_EQ(RunB1(), TTexts{"GPIB Error: 7"});  // no board 3: the device cannot be opened
  delete B1->GetFirstScript();
  Read(Devices.NewDevice(), Id, Response());
  EXPECT_FALSE(B1->PrepareForRun());
  EXPECT_EQ(Ui.Texts().back(),
            "Will Not Run, None: Read ASCII(id): The device None has no communication.");
  delete B1->GetFirstScript();
  Read(Scope, Arr, Response(3, 5, true));
  EXPECT_FALSE(B1->PrepareForRun());  // refused before the run, with the reason shown
  EXPECT_EQ(Ui.Texts().back(), "Will Not Run, Scope: Read Binary(arr,3): The number of "
                               "bytes/point for binary data cannot be greater than 4");
}

TEST_F(ReadTest, TerminatorsOfSerialReadsAndTheTrace) {
  Instrument.SetReplyTerminator("\n");
  Instrument.ReplyText("Q?", "12\r34");
  Instrument.ReplyBytes("W?", std::string("\x01\x00\x0A\x00\x0D\x00", 6));
  PumpPort().SetTimeOut(300000);
  Pump->GetCoreDevice().SetReadChar2(13);
  TDataSingle* value = Single(B1, "value", eatINTEGER);
  TDataSingle* rest = Single(B1, "rest", eatINTEGER);
  // The second read character ends an ASCII read when it is set (the rest waits for the
  // next read), else the first.
  Send(Pump, "Q?");
  Read(Pump, value, Response(1, 20), Count);
  Read(Pump, rest, Response(1, 20));
  EXPECT_EQ(RunB1(), Complete);
  EXPECT_EQ(TextOf(value) + " " + TextOf(Count) + " " + TextOf(rest), "12 3 34");
  Pump->GetCoreDevice().SetReadChar2(0);
  EXPECT_EQ(Query(Pump, "Q?", value, Response(1, 20), Count), Complete);
  EXPECT_EQ(TextOf(value) + " " + TextOf(Count), "12 6");
  // A binary read has no terminator, in a run and under the debug window alike.
  TDataArray* wave = Array(B1, "wave", eatINTEGER, 3);
  EXPECT_EQ(Query(Pump, "W?", wave, Response(3, 2, true)), Complete);
  EXPECT_EQ(Elements(wave), (TTexts{"1", "10", "13"}));
  wave->GetValueArray().Fill(nullptr);
  EXPECT_EQ(Times(Trace(B1), "Reading from Pump"), 1);
  EXPECT_EQ(Elements(wave), (TTexts{"1", "10", "13"}));

  // The GPIB trace; a commented-out read reads nothing.
  EXPECT_EQ(Query(Scope, "*IDN?", Id, Response()), Complete);
  TScript* read = B1->GetFirstScript()->Pnextscript;
  TraceOf(B1->GetFirstScript());
  EXPECT_EQ(TraceOf(read), (TTexts{"Reading from Scope", "ibrd(100)", " Status OX2100"}));
  read->SetCommentedOut(true);
  Sim.ClearLog();
  EXPECT_EQ(TraceOf(read), TTexts{"Comment(Scope: Read ASCII(id))"});
  EXPECT_EQ(read->Execute(), read->Pnextscript);
  EXPECT_TRUE(Sim.Log().empty());
}

TEST_F(ReadTest, ListingAndRetypes) {
  TDataSingle* points = Single(B1, "points", eatINTEGER, "2");
  TReadResponse response = Response(1, 10);
  response.SetNumberOfPointsData(points);
  TReadScript* read = Read(Scope, Arr, response, Count);
  TLineReport listing;
  read->AddTextLine(listing);
  EXPECT_EQ(listing.Lines, (TTexts{"\tScope: Read ASCII(arr,points)",
                                   "\t\tReading as ASCII, 10 bytes//points values delimited by ; "}));
  // The description of the read is set in italics, the command's own line plainly.
  EXPECT_EQ(listing.Styles, (std::vector<TReportStyle>{{}, {.Italic = true}}));
  Arr->SetDataType(eatFLOAT);  // the target takes any type, without a question
  Ui.ScriptAnswers({mbYes});
  points->SetDataType(eatFLOAT);  // the points variable lets go, and the command goes
  EXPECT_EQ(B1->GetFirstScript(), nullptr);
  EXPECT_FALSE(Scope->HasScripts());
}

TEST_F(ReadTest, RecordsRoundTripAndRefuseWhatCannotRun) {
  TReadScript* single = Make<TReadScript>();
  single->SetUpRead(Scope, Id, TReadResponse(), false, true);
  const TBytes singleRecord = Cat({B(false), I32(100), B(false), Descriptor(100, true, 0),
                                   B(false), B(true), I32(101), B(false)});
  EXPECT_EQ(Written({single}), singleRecord);
  TDataSingle* points = Single(B1, "p", eatINTEGER, "3");
  TReadResponse response = Response(1, 2, true, false);
  response.SetNumberOfPointsData(points);
  TReadScript* array = Read(Scope, Arr, response, Count);
  array->SetCommentedOut(true);
  // The array reference writes element 0, the binary descriptor its unused delimiter.
  const TBytes arrayRecord = Cat({B(true), I32(100), B(false), B(true), I32(0), B(true),
                                  I32(101), Descriptor(2, false, 1), StringBytes(";"), B(true),
                                  I32(102), B(true), B(true), I32(103), B(true)});
  std::vector<TVariable*> exported;
  EXPECT_EQ(Written({array}, &exported), arrayRecord);
  EXPECT_EQ(exported.size(), 3u);  // target, byte count, points
  TReadScript* again = Reread(arrayRecord, {Arr, Count, points});
  EXPECT_EQ(Written({again}), arrayRecord);
  EXPECT_EQ(CheckError(again), "Device not defined for read command...aborting read");
  again->SetDevice(Scope);
  EXPECT_EQ(CheckError(again), "");
  EXPECT_EQ(again->AExpNode->GetText(), "Scope: Read Binary(arr,p)");
  const auto error = [&](const std::vector<TData*>& variables) {
    TReadScript* read = Reread(arrayRecord, variables);
    read->SetDevice(Scope);
    return CheckError(read);
  };
  EXPECT_EQ(error({Id, Count, points}), "Variable not defined for read command...aborting read");
  EXPECT_EQ(error({Arr, Count}),
            "Number of points variable not defined for read command...aborting read");
  // Version 1.3: neither option (both on) nor the commented-out flag.
  TReadScript* old = Reread(Cat({B(false), I32(100), B(false), Descriptor(100, true, 0), I32(101)}),
                            {Id}, "Qorv 1.3");
  EXPECT_TRUE(old->GetCleanString() && old->GetWSDelimiter() && !old->AbCommentedOut);
  EXPECT_FALSE(Reread(singleRecord, {Id})->GetCleanString());

  // An ASCII array without delimiter is refused, and nothing of it stays waiting.
  std::vector<TVariable*> waiting;
  EXPECT_THROW(ReadOne<TReadScript>(Cat({B(true), I32(100), B(false), B(true), I32(0), B(false),
                                         Descriptor(10, true, 0), StringBytes(""), B(false),
                                         I32(5), B(true), B(true), I32(101), B(false)}),
                                    &waiting),
               EReadError);
  EXPECT_TRUE(waiting.empty());

  // Preparing a read into a number array turns the whitespace option on, and it stays.
  TReadScript* numbers = Make<TReadScript>();
  numbers->SetUpRead(Scope, Arr, TReadResponse(2), true, false);
  EXPECT_FALSE(numbers->GetWSDelimiter());
  EXPECT_TRUE(numbers->SetNextScript());
  EXPECT_TRUE(numbers->GetWSDelimiter());
}

TEST_F(ReadTest, AnExperimentOfEveryDeviceCommandSavedAndReopenedRunsTheSame) {
  TDataSingle* status = Single(B1, "status");
  TDataSingle* two = Single(B1, "two", eatINTEGER, "2");
  TDataSingle* m = Single(B1, "m", eatINTEGER);
  TDataArray* fromFile = Array(B1, "ff", eatFLOAT, 4);
  TDataArray* wave = Array(B1, "wave", eatFLOAT, 4);
  TDataArray* ints = Array(B1, "ints", eatINTEGER, 3);
  wave->SetInitialValue("0.5");  // files keep initial values, which every element takes
  ints->SetInitialValue("3");
  const std::string data = Temp.PathOf("values.txt");
  std::ofstream(data) << "1.5, 2.5\n3.5\n";
  Send(Meter, "*IDN?");
  Read(Meter, Id, Response());
  Make<TSerialPollScript>()->SetUpSerialPoll(Meter, status);
  Send(Scope, "CURVE?");
  Read(Scope, Arr, Response(5, 10), Count);
  Send(Scope, "WAVE?");
  Make<TClearDeviceBufferScript>()->SetDevice(Scope);
  Send(Scope, "VOLT?");
  Read(Scope, Volts, Response());
  Make<TSendGPIBScript>()->SetUpSendGPIB(Scope, TSendGPIBScript::REN | TSendGPIBScript::LLO);
  Make<TSendBinaryScript>()->SetUpWithCountVariable(Scope, ints, TSendBinaryScript::sbINT16, two);
  auto* element = Make<TSendScript>();
  element->SetUpSend(Pump, "", false, wave, 2, 4, true);
  static_cast<TVariableDataArray*>(element->GetVariable())->GetArrayIndex().SetIndexConstant(2);
  Make<TSendRS232Script>()->SetUpSendRS232(Pump, false, true);
  Make<TReadFileScript>()->SetUpReadFile(data, fromFile, false, true, ",", "", m);
  // The values of all variables and the bytes each instrument received.
  const auto run = [&](TExperiment& experiment) {
    std::vector<TData*> all;
    experiment.GetAllVariables(all);
    for (TData* variable : all) variable->ResetValue();
    experiment.SelectFirstBlock();
    EXPECT_EQ(RunOnWorker(experiment.Run()), Complete);
    std::string text;
    for (TData* variable : all)
      text += variable->GetDataName() + "=" + variable->GetValueText() + ";";
    return text + CecReceived() + "|" + NiReceived() + "|" + PumpReceived(9);
  };
  B1->SetAsStartBlock();
  Line(B1, B2);  // a block needs a path to it
  const std::string first = run(Exp);
  EXPECT_EQ(TextOf(Id) + " " + TextOf(Count) + " " + TextOf(m) + " " + TextOf(status),
            "ACME,DMM,0,2.0 10 3 193");
  EXPECT_EQ(Elements(Arr), (TTexts{"1", "2", "3", "4", "5", "0", "0", "0"}));
  EXPECT_EQ(FloatOf(Volts), 1250.0f);  // the Clear Device Buffer took WAVE?'s reply
  EXPECT_EQ(static_cast<TValueFloatArray&>(fromFile->GetValueArray()).GetElementFloat(2), 3.5f);
  const std::string binary("\x03\x00\x03\x00", 4);  // two 3s as 2-byte integers
  EXPECT_EQ(NiReceived(), "CURVE?\r\nWAVE?\r\nVOLT?\r\nREN LLO" + binary);
  EXPECT_EQ(PumpReceived(9), "5.0000E-1");  // wave[2] in scientific notation

  std::string error;
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("e.qve"), Exp, Parts, &Devices, error)) << error;
  const TBytes saved = Temp.ReadBytes("e.qve");
  PumpPort().Close();  // the port goes to the reopened device
  TDeviceList devices(nullptr);
  TDrawParts parts;
  std::unique_ptr<TExperiment> reopened =
      OpenExperimentFile(Temp.PathOf("e.qve"), parts, &devices, error);
  ASSERT_NE(reopened, nullptr) << error;
  ASSERT_EQ(devices.Count(), 3u);
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("e.qve"), *reopened, parts, &devices, error));
  EXPECT_EQ(Temp.ReadBytes("e.qve"), saved);
  ASSERT_TRUE(Sim.Configure(Bus));  // the instruments start afresh
  Instrument.ClearReceived();
  EXPECT_EQ(run(*reopened), first);
}

}  // namespace
