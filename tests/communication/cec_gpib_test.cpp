// The CEC GPIB communication against the simulated bus, through the real loader: the
// command-language texts, the board calls and their order, reads with the listener
// retry, the 64K limit, serial polls, bus commands, time-outs and the settings record.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "communication/cec_gpib.h"
#include "platform/cec_library.h"
#include "support/gpib_sim.h"

namespace {

using TLines = std::vector<std::string>;

TLines Join(TLines first, const TLines& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::string Transmit(const std::string& text, int status = 0) {
  return "cec_transmit \"" + text + "\" 65535 -> " + std::to_string(status);
}

// The first selecting operation: select, initialise, time-out, clear the bus.
const TLines Initialisation = {"cec_select_board 0", "cec_initialize 0 0",
                               "cec_set_timeout 10000", Transmit("IFC UNT UNL DCL")};

class CecGpibTest : public TGpibTest {
protected:
  CecGpibTest()
      : TGpibTest("cec-board 0\n"
                  "instrument cec 0 5\n  idn ACME,Meter,5\n"
                  "  reply PART? = partial 12 0123456789ABCDEFGHIJ\n"
                  "instrument cec 0 6\ninstrument cec 0 7\n  talker off\n"
                  "instrument cec 0 8\n  listener off\n") {}
};

TEST_F(CecGpibTest, CommandTextsFollowEoiAndTerminators) {
  TCECGPIB cec(0, 5, nullptr);
  const auto built = [&](const std::string& text, int t1, int t2, bool add) {
    int length = 0;
    const std::string command = cec.BuildSendCommand(text, t1, t2, add, length).get();
    EXPECT_EQ(length, static_cast<int>(command.size()) + 1);  // the NUL counts
    return command;
  };
  const std::string data = "UNT UNL MTA LISTEN 5 DATA '*IDN?";
  EXPECT_EQ(built("*IDN?", 10, 0, true), data + "' EOI END");
  EXPECT_EQ(built("*IDN?", 0, 0, true), data + "' EOI");
  EXPECT_EQ(built("*IDN?", 0, 10, true), data + "' EOI");  // no first: none
  EXPECT_EQ(built("*IDN?", 0, 0, false), data);
  // A quote in the text is doubled: the rest stays data, never bus words.
  EXPECT_EQ(built("A' IFC '", 0, 0, true), "UNT UNL MTA LISTEN 5 DATA 'A'' IFC ''' EOI");
  cec.SetEOI(false);
  EXPECT_EQ(built("*IDN?", 10, 0, true), data + "' END");
  EXPECT_EQ(built("*IDN?", 0, 0, true), data);
  EXPECT_EQ(cec.BuildReadCommand(), "UNT UNL MLA TALK 5");
  EXPECT_EQ(cec.GetName(), "CEC GPIB-Device Address: 5");
}

TEST_F(CecGpibTest, FirstUseInitialisesTheBoardReadsAddressTheTalkerAndCloseClearsTheBus) {
  TCECGPIB cec(0, 5, nullptr);
  cec.Close();  // never used: nothing to clear
  SendCommand(cec, "*IDN?", 10, 0);
  const std::string send = Transmit("UNT UNL MTA LISTEN 5 DATA '*IDN?' EOI END");
  EXPECT_EQ(Sim.Log(), Join(Initialisation, {"cec_set_end_chars 10 0", send}));
  EXPECT_EQ(Sim.Received(TGpibSim::kCEC, 0, 5), "*IDN?\n");
  Sim.ClearLog();
  EXPECT_FALSE(cec.Read(Buffer, 100, 10, Count));
  EXPECT_EQ(std::string(Buffer, Count), "ACME,Meter,5\n");
  EXPECT_EQ(Sim.Log(), (TLines{"cec_select_board 0", "cec_receive 100 -> 0 2",
                               Transmit("MLA TALK 5"), "cec_receive 100 -> 13 0"}));
  // Close clears the bus of its board once; the next use initialises the board again and
  // gives it the device's END characters.
  Sim.ClearLog();
  cec.Close();
  cec.Close();
  EXPECT_EQ(Sim.Log(), (TLines{"cec_select_board 0", Transmit("IFC UNT UNL DCL")}));
  Sim.ClearLog();
  SendCommand(cec, "X", 0, 0);
  EXPECT_EQ(Sim.Log(), Join(Initialisation, {"cec_set_end_chars 10 0",
                                             Transmit("UNT UNL MTA LISTEN 5 DATA 'X' EOI")}));
}

TEST_F(CecGpibTest, ReadsEndByTimeOutOrFailAfterFiveAddressings) {
  TCECGPIB meter(0, 5, nullptr);
  SendCommand(meter, "PART?", 10, 0);
  EXPECT_TRUE(meter.ReadTrace(Buffer, 100, 10, Count, Trace));
  EXPECT_EQ(std::string(Buffer, Count), "0123456789AB");
  EXPECT_EQ(Trace, (TLines{"rarray(response, 100)", " Status is 0x0008"}));

  TCECGPIB mute(0, 7, nullptr);
  SendCommand(mute, "*IDN?", 10, 0);
  Sim.ClearLog();
  EXPECT_EQ(ErrorOf([&] { mute.Read(Buffer, 100, 10, Count); }),
            "Read command error,  PC was not a listener");
  TLines expected = {"cec_select_board 0", "cec_receive 100 -> 0 2"};
  for (int retry = 0; retry < 5; ++retry)
    expected = Join(expected, {Transmit("MLA TALK 7"), "cec_receive 100 -> 0 2"});
  EXPECT_EQ(Sim.Log(), expected);
  // The traced read addresses with untalk and unlisten first.
  Sim.ClearLog();
  Trace.clear();
  EXPECT_THROW(mute.ReadTrace(Buffer, 100, 10, Count, Trace), EExperimentError);
  EXPECT_EQ(Sim.Log()[2], Transmit("UNT UNL MLA TALK 7"));
  EXPECT_EQ(Trace, (TLines{"rarray(response, 100)", " Status is 0x0002"}));
}

TEST_F(CecGpibTest, ReadsOf64KAndMoreAreRefusedBeforeTheBoardIsUsed) {
  TCECGPIB cec(0, 5, nullptr);
  std::vector<char> buffer(65536);
  EXPECT_TRUE(cec.CheckReadSize(65535));
  EXPECT_FALSE(cec.CheckReadSize(65536));
  EXPECT_EQ(ErrorOf([&] { cec.Read(buffer.data(), 65536, 10, Count); }),
            "65536 bytes exceeds 64K limit");
  EXPECT_EQ(ErrorOf([&] { cec.ReadTrace(buffer.data(), 65536, 10, Count, Trace); }),
            "65536 exceeds 64K limit");
  EXPECT_EQ(Sim.Log(), (TLines{"cec_select_board 0", "cec_select_board 0"}));
  SendCommand(cec, "*IDN?", 10, 0);
  EXPECT_FALSE(cec.Read(buffer.data(), 65535, 10, Count));
  EXPECT_EQ(std::string(buffer.data(), Count), "ACME,Meter,5\n");
}

TEST_F(CecGpibTest, DevicesOnOneBoardKeepTheirOwnEndCharactersAndTimeOuts) {
  TCECGPIB meter(0, 5, nullptr);
  TCECGPIB source(0, 6, nullptr);
  source.SetTimeOut(2000000);
  SendCommand(meter, "X", 13, 10);
  SendCommand(source, "Y", 10, 0);
  Sim.ClearLog();
  SendCommand(meter, "X", 13, 10);
  SendCommand(meter, "X", 13, 10);
  const std::string x = Transmit("UNT UNL MTA LISTEN 5 DATA 'X' EOI END");
  EXPECT_EQ(Sim.Log(), (TLines{"cec_select_board 0", "cec_set_timeout 10000",
                               "cec_set_end_chars 13 10", x, "cec_select_board 0", x}));
  EXPECT_EQ(Sim.Received(TGpibSim::kCEC, 0, 5), "X\r\nX\r\nX\r\n");
  EXPECT_EQ(Sim.Received(TGpibSim::kCEC, 0, 6), "Y\n");
  // A terminator above 127 goes to the board as a signed byte.
  SendCommand(source, "Z", 200, 0);
  EXPECT_EQ(Sim.Log().end()[-2], "cec_set_end_chars -56 0");
}

TEST_F(CecGpibTest, FailedSendsAndBoardCallsRaiseTheirErrors) {
  TCECGPIB absent(0, 9, nullptr);
  int length = 0;
  const auto buffer = absent.BuildSendCommand("X", 0, 0, true, length);
  EXPECT_EQ(ErrorOf([&] { absent.SendTrace(buffer.get(), length, true, Trace); }),
            "Send Command UNT UNL MTA LISTEN 9 DATA 'X' EOI timed out");
  EXPECT_EQ(Trace, (TLines{"transmit(UNT UNL MTA LISTEN 9 DATA 'X' EOI)", "Status is 0x0008"}));
  // Binary: addressing, then the bytes with EOI; a failure of either is an error.
  TCECGPIB meter(0, 5, nullptr);
  SendCommand(meter, "*CLS", 0, 0);
  Sim.ClearLog();
  Trace.clear();
  meter.SendBinaryTrace("\x01\x02", 2, Trace);
  EXPECT_EQ(Sim.Log(), (TLines{"cec_select_board 0", Transmit("UNT UNL MTA LISTEN 5"),
                               "cec_send_bytes \"\\x01\\x02\" 2 1 -> 0"}));
  EXPECT_EQ(Trace, TLines{"Status is 0x0000"});
  EXPECT_EQ(Sim.Received(TGpibSim::kCEC, 0, 5), "*CLS\x01\x02");
  TCECGPIB deaf(0, 8, nullptr);
  EXPECT_EQ(ErrorOf([&] { absent.SendBinary("\x01", 1); }), "Send Command timed out");
  EXPECT_EQ(ErrorOf([&] { deaf.SendBinary("\x01", 1); }), "Send Command timed out");
  // A board that is not there answers status 1 to everything.
  TCECGPIB elsewhere(1, 5, nullptr);
  EXPECT_EQ(ErrorOf([&] { SendCommand(elsewhere, "X", 10, 0); }),
            "Send Command UNT UNL MTA LISTEN 5 DATA 'X' EOI END timed out");
  EXPECT_EQ(ErrorOf([&] { elsewhere.Read(Buffer, 10, 10, Count); }),
            "Read command error, status 1");
  EXPECT_EQ(ErrorOf([&] { elsewhere.SerialPoll(); }), "Read Command timed out.");
}

TEST_F(CecGpibTest, SerialPollsAndBusCommands) {
  TCECGPIB cec(0, 5, nullptr);
  Sim.SetStatusByte(TGpibSim::kCEC, 0, 5, 0xC1);
  EXPECT_EQ(cec.SerialPollTrace(Trace), 193);
  EXPECT_EQ(Trace, TLines{" Poll result: OX00C1"});
  EXPECT_EQ(Sim.Log().back(), "cec_serial_poll 5 -> 193 0");
  EXPECT_EQ(cec.SerialPoll(), 0x81);  // the poll cleared the request bit

  // Bus commands are command-language words; the NUL counts in the length.
  int length = -1;
  EXPECT_STREQ(cec.BusCommandString(0, length).get(), "");
  EXPECT_EQ(length, 1);
  const auto buffer = cec.BusCommandString(TGPIB::busREN | TGPIB::busLLO, length);
  EXPECT_EQ(length, 8);
  cec.Send(buffer.get(), length, true);
  EXPECT_EQ(Sim.Log().back(), Transmit("REN LLO"));
}

TEST_F(CecGpibTest, TimeOutsInMilliseconds) {
  TCECGPIB cec(0, 5, nullptr);
  cec.SetTimeOut(0);  // initialises the board with it
  EXPECT_EQ(Sim.Log()[2], "cec_set_timeout 0");
  TLineReport report;
  cec.Describe(report);
  EXPECT_EQ(report.Lines, (TLines{"\t\tType:\tCEC GPIB", "\t\tBoard Address:\t0",
                                  "\t\tDevice Address:\t5", "\t\tTime Out:\tNone"}));
  Sim.ClearLog();
  cec.SetTimeOut(1500);  // an initialised board takes it at once
  EXPECT_EQ(cec.GetTimeOut(), 1000);
  EXPECT_EQ(Sim.Log(), (TLines{"cec_select_board 0", "cec_set_timeout 1"}));
  cec.SetTimeOut(INT64_MAX);  // the longest time-out, no overflow
  EXPECT_EQ(cec.GetTimeOut(), std::int64_t{2147483647} * 1000);
}

// The record's address checks are the NI class's too (nat_gpib_test.cpp).
TEST_F(CecGpibTest, SettingsRecordIsExactAndDamagedRecordsAreRefused) {
  TTempDir temp;
  TCECGPIB cec(2, 17, nullptr);
  cec.SetEOI(false);
  EXPECT_EQ(SavedRecord(cec, temp), Cat({Le32(2), Le32(17), Le32(10000), TBytes{0}}));
  TCECGPIB loaded;
  EXPECT_EQ(loaded.GetTimeOut(), 10000000);
  const TBytes other = Cat({Le32(1), Le32(30), Le32(250), TBytes{1}});
  LoadRecord(loaded, temp, other);
  EXPECT_EQ(loaded.GetTimeOut(), 250000);
  EXPECT_EQ(SavedRecord(loaded, temp), other);
  for (const TBytes& damaged : {Cat({Le32(0), Le32(5), Le32(0xFFFFFFFF), TBytes{1}}),
                                Cat({Le32(0), Le32(31), Le32(100), TBytes{1}}),
                                Cat({Le32(0), Le32(5), Le32(100)})}) {
    TCECGPIB fresh;
    EXPECT_THROW(LoadRecord(fresh, temp, damaged), EReadError);
  }
}

TEST(CecLibraryTest, MissingLibraryFailsTheOperationsAndFindsNoBoard) {
  TFakeUiPort ui;
  TGpibSim::UnloadLoaders(true);
  TCECGPIB cec(0, 5, nullptr);
  EXPECT_EQ(ErrorOf([&] { SendCommand(cec, "X", 0, 0); }),
            "The CEC GPIB library libcec488.so could not be loaded.");
  ::setenv("QORV_CEC_LIBRARY", "/nonexistent/libcec.so", 1);
  EXPECT_EQ(TCecLibrary::Instance().Presence(), 0);
  EXPECT_EQ(ErrorOf([&] { cec.SetTimeOut(1000); }),
            "The CEC GPIB library /nonexistent/libcec.so could not be loaded.");
  // A failed load is tried again: the simulator serves the next call.
  TGpibSim sim("cec-board 0\ninstrument cec 0 5\n");
  EXPECT_NE(TCecLibrary::Instance().Presence() & 0xFF, 0);
  EXPECT_EQ(cec.SerialPoll(), 0);
}

}  // namespace

namespace {

// Devices on two boards used from two threads at once (a run and the console): each
// exchange keeps the bus from its board selection to its last call.
TEST(CecGpibThreads, ExchangesOnTwoBoardsDoNotInterleave) {
  TFakeUiPort ui;
  TGpibSim sim("cec-board 0\ncec-board 1\n"
               "instrument cec 0 5\n  reply A? = text zero\n"
               "instrument cec 1 5\n  reply A? = text one\n");
  const auto exchanges = [](int board, const std::string& reply, int& wrong) {
    TCECGPIB cec(board, 5, nullptr);
    for (int i = 0; i < 150; ++i) {
      SendCommand(cec, "A?", 10, 0);
      char buffer[16] = {};
      int count = 0;
      cec.Read(buffer, 15, -1, count);
      if (std::string(buffer, static_cast<std::size_t>(count)) != reply + "\n") ++wrong;
    }
  };
  int wrong0 = 0, wrong1 = 0;
  std::thread other([&] { exchanges(1, "one", wrong1); });
  exchanges(0, "zero", wrong0);
  other.join();
  EXPECT_EQ(wrong0 + wrong1, 0);
}

}  // namespace
