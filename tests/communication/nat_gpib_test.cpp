// The National Instruments GPIB communication against the simulated bus, through the
// real run-time loader: opening, the EOI switch around writes, errors, partial reads,
// serial polls, time-out codes, bus commands, the settings record and the missing
// library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "communication/nat_gpib.h"
#include "platform/ni488_library.h"
#include "support/gpib_sim.h"

namespace {

using TLines = std::vector<std::string>;

const char* const Bus =
    "ni-board 0\ninstrument ni 0 5\n  idn ACME,Meter,5\n"
    "  reply PART? = partial 12 0123456789ABCDEFGHIJ\n  reply QUIET? = silent\n"
    "instrument ni 0 8\n  listener off\n";

std::string Ud(const TNATGPIB& nat) { return std::to_string(nat.GetDescriptor()); }
// A log line up to its status; the status bits of a trace line " Status OX....".
std::string Call(const std::string& line) { return line.substr(0, line.find(" -> ")); }
int TraceStatus(const std::string& line) { return std::stoi(line.substr(10), nullptr, 16); }

class NatGpibTest : public TGpibTest {
protected:
  NatGpibTest() : TGpibTest(Bus) {}
};

TEST_F(NatGpibTest, OpensOnFirstUseSwitchesEoiOffForWritesWithoutTerminatorsAndCloses) {
  TNATGPIB nat(0, 5, nullptr);
  nat.Close();  // never opened: nothing to close
  SendCommand(nat, "*IDN?", 10, 0);
  EXPECT_GE(nat.GetDescriptor(), 32);
  ASSERT_EQ(Sim.Log().size(), 2u);
  EXPECT_EQ(Sim.Log()[0], "ibdev 0 5 0 11 1 0 -> " + Ud(nat));
  EXPECT_EQ(Call(Sim.Log()[1]), "ibwrt " + Ud(nat) + " \"*IDN?\\n\" 6");
  EXPECT_FALSE(nat.Read(Buffer, 100, 10, Count));
  EXPECT_EQ(std::string(Buffer, Count), "ACME,Meter,5\n");

  Sim.ClearLog();
  SendCommand(nat, "A", 0, 0, false);
  const TLines log = Sim.Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "ibeot " + Ud(nat) + " 0 -> 0x0100");
  EXPECT_EQ(Call(log[1]), "ibwrt " + Ud(nat) + " \"A\" 1");
  EXPECT_EQ(log[2], "ibeot " + Ud(nat) + " 1 -> 0x0100");
  nat.SetEOI(false);
  Sim.ClearLog();
  SendCommand(nat, "B", 0, 0, false);
  ASSERT_EQ(Sim.Log().size(), 1u);
  EXPECT_EQ(Call(Sim.Log()[0]), "ibwrt " + Ud(nat) + " \"B\" 1");
  // Close takes the device offline once; the next use opens it again.
  const std::string ud = Ud(nat);
  Sim.ClearLog();
  nat.Close();
  nat.Close();
  EXPECT_EQ(Sim.Log(), TLines{"ibonl " + ud + " 0 -> 0x0100"});
  SendCommand(nat, "X", 0, 0);
  EXPECT_EQ(Sim.Log()[1].substr(0, 6), "ibdev ");
}

TEST_F(NatGpibTest, FailedWritesRaiseTheirErrorsAndEoiGoesBackOn) {
  TNATGPIB deaf(0, 8, nullptr);
  EXPECT_EQ(ErrorOf([&] { SendCommand(deaf, "X", 0, 0, false); }), "GPIB Error: 6");
  EXPECT_EQ(Sim.Log().back(), "ibeot " + Ud(deaf) + " 1 -> 0x0100");
  EXPECT_EQ(ErrorOf([&] { deaf.SendBinary("\x01", 1); }), "GPIB Error: 6");

  TNATGPIB absent(0, 9, nullptr);
  EXPECT_EQ(ErrorOf([&] { absent.SendTrace("X", 1, true, Trace); }), "GPIB Error2");
  ASSERT_EQ(Trace.size(), 3u);
  EXPECT_EQ(Trace[0], "ibwrt(" + Ud(absent) + ", X, 1)");
  EXPECT_TRUE(TraceStatus(Trace[1]) & niERR);
  EXPECT_EQ(Trace[2], "GPIB error: 2");
  Trace.clear();
  EXPECT_EQ(ErrorOf([&] { absent.SendBinaryTrace("\x01", 1, Trace); }), "GPIB Error: 2");
  EXPECT_EQ(Trace.back(), "GPIB error: 2");
}

TEST_F(NatGpibTest, FailedOpenLeavesTheDeviceClosedAndTheNextUseRetries) {
  TNATGPIB nat(1, 5, nullptr);
  EXPECT_EQ(ErrorOf([&] { SendCommand(nat, "X", 0, 0); }), "GPIB Error: 7");
  EXPECT_EQ(ErrorOf([&] { nat.Read(Buffer, 10, 10, Count); }), "GPIB Error: 7");
  EXPECT_EQ(ErrorOf([&] { nat.SerialPoll(); }), "GPIB Error: 7");
  EXPECT_EQ(nat.GetDescriptor(), -1);
  EXPECT_EQ(Sim.Log().front(), "ibdev 1 5 0 11 1 0 -> -1");
  ASSERT_TRUE(Sim.Configure("ni-board 1\ninstrument ni 1 5\n"));
  SendCommand(nat, "X", 10, 0);
  EXPECT_EQ(Sim.Received(TGpibSim::kNI, 1, 5), "X\n");
}

TEST_F(NatGpibTest, ReadsEndedByTheTimeOutKeepWhatCame) {
  TNATGPIB nat(0, 5, nullptr);
  SendCommand(nat, "PART?", 10, 0);
  EXPECT_TRUE(nat.ReadTrace(Buffer, 100, 10, Count, Trace));
  EXPECT_EQ(std::string(Buffer, Count), "0123456789AB");
  ASSERT_EQ(Trace.size(), 2u);
  EXPECT_EQ(Trace[0], "ibrd(100)");
  EXPECT_EQ(TraceStatus(Trace[1]) & (niERR | niTIMO), niERR | niTIMO);
  EXPECT_EQ(Call(Sim.Log().back()), "ibrd " + Ud(nat) + " 100");
  SendCommand(nat, "QUIET?", 10, 0);
  EXPECT_TRUE(nat.Read(Buffer, 100, 10, Count));
  EXPECT_EQ(Count, 0);
}

TEST_F(NatGpibTest, SerialPollAnswersTheStatusByteOrTheError) {
  TNATGPIB nat(0, 5, nullptr);
  Sim.SetStatusByte(TGpibSim::kNI, 0, 5, 0xC1);
  EXPECT_EQ(nat.SerialPollTrace(Trace), 193);
  EXPECT_EQ(Trace, TLines{" Poll result: OX00C1"});
  EXPECT_EQ(Call(Sim.Log().back()), "ibrsp " + Ud(nat));
  EXPECT_EQ(nat.SerialPoll(), 0x81);
  // A new configuration forgets the descriptor: the poll fails with EDVR (1).
  ASSERT_TRUE(Sim.Configure(Bus));
  Trace.clear();
  const std::string error = ErrorOf([&] { nat.SerialPollTrace(Trace); });
  ASSERT_EQ(error.size(), 12u);
  EXPECT_EQ(error.substr(0, 8), "Error 0X");
  EXPECT_TRUE(std::stoi(error.substr(8), nullptr, 16) & niERR);
  EXPECT_EQ(Trace, (TLines{" Poll result: OX0000", "GPIB error: 0X0001"}));
}

TEST_F(NatGpibTest, TimeOutsAreCodesRoundedUp) {
  TNATGPIB nat(0, 5, nullptr);
  const std::pair<std::int64_t, int> cases[] = {
      {1, 1},          {10, 1},         {11, 2},         {1000000, 11}, {1000001, 12},
      {300000000, 16}, {300000001, 17}, {INT64_MAX, 17}, {0, 0},        {-5, 0}};
  for (const auto& [microseconds, code] : cases) {
    nat.SetTimeOut(microseconds);
    EXPECT_EQ(nat.GetTimeOutCode(), code) << microseconds;
  }
  EXPECT_TRUE(Sim.Log().empty());  // closed: nothing reaches the library
  EXPECT_EQ(TNATGPIB::TimeOutText(2), "30 microseconds");
  EXPECT_EQ(TNATGPIB::TimeOutText(5), "1 millisecond");
  EXPECT_EQ(TNATGPIB::TimeOutText(11), "1 second");
  // The code in force opens the device; an open device takes a new code at once.
  nat.SetTimeOut(30000);
  SendCommand(nat, "X", 0, 0);
  EXPECT_EQ(Sim.Log().front(), "ibdev 0 5 0 8 1 0 -> " + Ud(nat));
  nat.SetTimeOut(2500);
  EXPECT_EQ(Sim.Log().back(), "ibtmo " + Ud(nat) + " 6 -> 0x0100");
  TLineReport report;
  nat.Describe(report);
  EXPECT_EQ(report.Lines, (TLines{"\t\tType:\tNational GPIB", "\t\tBoard Address:\t0",
                                  "\t\tDevice Address:\t5", "\t\tTime Out:\t3 milliseconds"}));
}

TEST_F(NatGpibTest, CommandBuffersAndBusCommandsAreDataBytes) {
  TNATGPIB nat(0, 5, nullptr);
  for (const auto& [first, second, bytes] : {std::tuple{13, 10, std::string("ABC\r\n")},
                                             {0, 0, std::string("ABC")},
                                             {0, 10, std::string("ABC")}}) {  // no first: none
    int length = 0;
    const auto buffer = nat.BuildSendCommand("ABC", first, second, false, length);
    EXPECT_EQ(std::string(buffer.get(), length + 1), bytes + '\0') << first << second;
  }
  int length = 0;
  EXPECT_STREQ(nat.BusCommandString(0, length).get(), "");
  EXPECT_EQ(length, 0);
  const auto buffer = nat.BusCommandString(TGPIB::busDCL | TGPIB::busGTL, length);
  nat.Send(buffer.get(), length, true);
  EXPECT_EQ(Call(Sim.Log().back()), "ibwrt " + Ud(nat) + " \"GTL DCL\" 7");
  EXPECT_EQ(nat.GetName(), "National GPIB-Device Address: 5");
}

TEST_F(NatGpibTest, SettingsRecordIsExactAndDamagedRecordsAreRefused) {
  TTempDir temp;
  TNATGPIB nat(3, 22, nullptr);
  nat.SetTimeOut(100000);
  const TBytes record = Cat({Le32(3), Le32(22), Le32(9), TBytes{1}});
  EXPECT_EQ(SavedRecord(nat, temp), record);
  TNATGPIB loaded;
  EXPECT_EQ(loaded.GetTimeOutCode(), 11);
  const TBytes other = Cat({Le32(0), Le32(0), Le32(17), TBytes{0}});
  LoadRecord(loaded, temp, other);
  EXPECT_EQ(loaded.GetTimeOut(), 1000000000);
  EXPECT_FALSE(loaded.GetEOI());
  EXPECT_EQ(SavedRecord(loaded, temp), other);
  const std::uint32_t none = 0xFFFFFFFF;
  for (const TBytes& damaged : {Cat({Le32(0), Le32(5), Le32(18), TBytes{1}}),
                                Cat({Le32(0), Le32(5), Le32(none), TBytes{1}}),
                                Cat({Le32(none), Le32(5), Le32(11), TBytes{1}}),
                                Cat({Le32(0), Le32(31), Le32(11), TBytes{1}}),
                                Cat({Le32(0), Le32(5), Le32(11)})}) {
    TNATGPIB fresh;
    EXPECT_THROW(LoadRecord(fresh, temp, damaged), EReadError);
  }
  EXPECT_DEATH(OnConsole([&] { LoadRecord(nat, temp, record); }), "Assertion failed");
}

TEST(Ni488LibraryTest, MissingLibraryFailsEveryCallWithErrAndIberrZero) {
  TFakeUiPort ui;
  // None named (the default file is not installed), a missing file, a library without
  // the status variables.
  for (const char* file : {"", "/nonexistent/libgpib.so", "libm.so.6"}) {
    TGpibSim::UnloadLoaders(true);
    if (*file) ::setenv("QORV_NI488_LIBRARY", file, 1);
    auto& library = TNi488Library::Instance();
    EXPECT_EQ(library.Ibdev(0, 5, 0, 11, 1, 0), -1) << file;
    EXPECT_EQ(TNi488Library::Ibsta(), niERR);
    EXPECT_EQ(TNi488Library::Iberr(), 0);
    EXPECT_EQ(library.Ibfind("GPIB0"), -1);
    char buffer[4];
    EXPECT_EQ(library.Ibrd(32, buffer, 4), niERR);
    TNATGPIB nat(0, 5, nullptr);
    int count = 0;
    EXPECT_EQ(ErrorOf([&] { SendCommand(nat, "X", 10, 0); }), "GPIB Error: 0");
    EXPECT_EQ(ErrorOf([&] { nat.SendBinary("X", 1); }), "GPIB Error: 0");
    EXPECT_EQ(ErrorOf([&] { nat.Read(buffer, 4, 10, count); }), "GPIB Error: 0");
    EXPECT_EQ(ErrorOf([&] { nat.SerialPoll(); }), "GPIB Error: 0");
  }
  // The next call loads again: the simulator answers.
  TGpibSim sim("ni-board 0\n");
  EXPECT_EQ(TNi488Library::Instance().Ibfind("GPIB0"), 0);
  EXPECT_EQ(TNi488Library::Ibsta() & niERR, 0);
}

TEST(Ni488LibraryTest, EachThreadReadsTheStatusOfItsOwnCalls) {
  TFakeUiPort ui;
  TGpibSim sim("ni-board 0\n");
  auto& library = TNi488Library::Instance();
  EXPECT_EQ(library.Ibfind("GPIB3"), -1);
  int workerStatus = -1;
  std::thread([&] {
    library.Ibfind("GPIB0");
    workerStatus = TNi488Library::Ibsta();
  }).join();
  EXPECT_EQ(workerStatus & niERR, 0);
  EXPECT_EQ(TNi488Library::Ibsta() & niERR, niERR);
}

}  // namespace
