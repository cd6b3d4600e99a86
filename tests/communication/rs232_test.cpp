// TRS232: names, command buffers, constructors, time-outs, the printout and the settings
// record; then through a pseudo-terminal with a simulated instrument: sends, terminator
// reads and time-outs, the traces, line settings and handshakes on the device, buffer
// clearing, configuration failures (a rate the driver runs differently), COM numbers in
// the name order of the machine's ports, ports that cannot be opened and the bounded
// drain of Close.
#include "communication/rs232.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "communication/nat_gpib.h"
#include "platform/serial_port.h"
#include "support/gpib_sim.h"
#include "support/serial_instrument.h"

namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

termios Attributes(const TRS232& serial) {
  termios settings{};
  EXPECT_NE(serial.GetPort(), nullptr);
  if (serial.GetPort()) {
    EXPECT_EQ(tcgetattr(serial.GetPort()->Handle(), &settings), 0);
  }
  return settings;
}

class RS232Test : public ::testing::Test {
protected:
  // COM1 is the instrument; reads and writes give up after 50 ms.
  RS232Test() : Serial(nullptr, 0) { Serial.SetTimeOut(50000); }

  std::string ReadText(int maxBytes, int terminator, bool& timedOut) {
    std::string buffer(static_cast<std::size_t>(maxBytes), '\0');
    int count = -1;
    timedOut = Serial.Read(buffer.data(), maxBytes, terminator, count);
    buffer.resize(static_cast<std::size_t>(count));
    return buffer;
  }

  // Waits until the open port has at least bytes to read. A read that is to find what the
  // instrument sent waits for it first: the 50 ms time-out is the read's, not the line's.
  bool Arrived(std::size_t bytes) const {
    return Serial.GetPort() && WaitForPending(*Serial.GetPort(), bytes);
  }

  TFakeUiPort Ui;
  TSerialInstrument Instrument;
  TRS232 Serial;
};

TEST(RS232PlainTest, NamesAddressesAndCommandBuffers) {
  TRS232 first;
  TRS232 ninth(nullptr, 8);
  EXPECT_EQ(first.GetName(), "COM1");
  EXPECT_EQ(ninth.GetName(), "COM9");
  EXPECT_EQ(ninth.GetBoardAddress(), 8);
  EXPECT_EQ(ninth.GetDeviceAddress(), -1);
  EXPECT_FALSE(first.IsGPIB());
  EXPECT_EQ(first.BuildReadCommand(), "");
  EXPECT_TRUE(first.CheckReadSize(1 << 20));
  EXPECT_FALSE(first.IsOpen());
  for (const auto& [t1, t2, bytes] : {std::tuple{13, 0, std::string("*RST;\r")},
                                      {0, 10, std::string("*RST;")},  // no first: none
                                      {10, 13, std::string("*RST;\n\r")}}) {
    int length = -1;
    const auto buffer = first.BuildSendCommand("*RST;", t1, t2, true, length);
    EXPECT_EQ(std::string(buffer.get(), static_cast<std::size_t>(length) + 1), bytes + '\0');
  }
}

TEST(RS232PlainTest, ConstructorsTimeOutsAssignmentAndPrintout) {
  TRS232 fresh;
  EXPECT_EQ(fresh.GetBoardAddress(), 0);
  EXPECT_EQ(fresh.GetTimeOut(), 1000000LL * 1000);
  EXPECT_EQ(fresh.RS232Param, (TRS232Param{19200, 1, 0, 0, 0}));

  // Another port gives its settings and time-out, never its port.
  TRS232 source(nullptr, 2);
  source.RS232Param = {9600, 2, 3, 1, 4};
  source.SetTimeOut(2500000);
  TRS232 copy(&source, 5);
  TRS232 target(nullptr, 7);
  EXPECT_TRUE(target.AssignFrom(source));
  for (const TRS232* taken : {&copy, &target}) {
    EXPECT_EQ(taken->RS232Param, source.RS232Param);
    EXPECT_EQ(taken->GetTimeOut(), 2500000);
  }
  EXPECT_EQ(copy.GetBoardAddress(), 5);
  EXPECT_EQ(target.GetBoardAddress(), 7);
  TLineReport report;
  source.Describe(report);
  EXPECT_EQ(report.Lines,
            (std::vector<std::string>{"\t\tType:\tRS232", "\t\tPort:\tCOM3",
                                      "\t\tTimeOut:\t2 seconds", "\t\tBaud Rate:\t9600",
                                      "\t\tStop Bits:\t2", "\t\tParity:\t3", "\t\tIn Hand:\t1",
                                      "\t\tOut Hand:\t4"}));

  // Another class: only its time-out, in whole milliseconds, a sub-millisecond one as 1.
  TNATGPIB ni(0, 5, nullptr);
  ni.SetTimeOut(3000000);  // the 3 s code
  TRS232 fromNi(&ni, 1);
  EXPECT_EQ(fromNi.GetTimeOut(), 3000000);
  EXPECT_EQ(fromNi.RS232Param, TRS232Param{});
  ni.SetTimeOut(10);  // the 10 us code
  EXPECT_FALSE(target.AssignFrom(ni));
  EXPECT_EQ(target.GetTimeOut(), 1000);
  EXPECT_EQ(target.RS232Param, source.RS232Param);
  ni.SetTimeOut(0);
  EXPECT_EQ(TRS232(&ni, 0).GetTimeOut(), 0);

  target.SetTimeOut(1500);
  EXPECT_EQ(target.GetTimeOut(), 1000);
  target.SetTimeOut(-5);
  EXPECT_EQ(target.GetTimeOut(), 0);
}

TEST(RS232PlainTest, SettingsRecordRoundTripsAndRefusesValuesOutOfRange) {
  TTempDir temp;
  TRS232 serial(nullptr, 8);
  serial.RS232Param = {4800, 2, 2, 3, 4};
  serial.SetTimeOut(750000);
  const TBytes record = SavedRecord(serial, temp);
  EXPECT_EQ(record, Cat({Le32(8), Le32(4800), Le32(2), Le32(2), Le32(3), Le32(4), Le32(750)}));
  TRS232 loaded;
  LoadRecord(loaded, temp, record);
  EXPECT_EQ(loaded.GetBoardAddress(), 8);
  EXPECT_EQ(SavedRecord(loaded, temp), record);

  // Fields: port, baud, stop bits, parity, input and output handshake, time-out.
  const auto with = [](int field, std::int32_t value) {
    std::int32_t fields[7] = {0, 9600, 1, 0, 0, 0, 100};
    fields[field] = value;
    TBytes bytes;
    for (std::int32_t f : fields) bytes = Cat({bytes, Le32(static_cast<std::uint32_t>(f))});
    return bytes;
  };
  for (const auto& [field, value] : {std::pair{0, -1}, {0, 9}, {1, 0}, {2, 0}, {2, 3}, {3, 5},
                                     {3, -1}, {4, 6}, {5, 6}, {6, -1}}) {
    TRS232 refused(nullptr, 3);
    EXPECT_EQ(ErrorOf<EReadError>([&] { LoadRecord(refused, temp, with(field, value)); }),
              InvalidDeviceRecordText)
        << field << " = " << value;
    EXPECT_EQ(refused.GetBoardAddress(), 3);  // nothing taken from a refused record
  }
  LoadRecord(loaded, temp, with(0, 8));
  LoadRecord(loaded, temp, with(5, 5));
  EXPECT_EQ(loaded.RS232Param.OutputHandshakeIndex, 5);
  EXPECT_THROW(LoadRecord(loaded, temp, Cat({Le32(0), Le32(9600)})), EReadError);  // short
}

TEST(RS232PlainTest, ComNumbersFollowTheMachinesPortsInNameOrder) {
  // Four instruments behind port names listed out of order; each answers with its name.
  TFakeUiPort ui;
  TTempDir temp;
  const std::vector<std::string> names{"ttyUSB10", "ttyS0", "ttyUSB2", "ttyACM0"};
  std::vector<std::unique_ptr<TSerialInstrument>> instruments;
  std::vector<std::string> listed;
  for (const std::string& name : names) {
    auto& instrument = instruments.emplace_back(std::make_unique<TSerialInstrument>());
    instrument->ReplyText("WHO?", name);
    listed.push_back(temp.PathOf(name));
    std::filesystem::create_symlink(instrument->SlavePath(), listed.back());
  }
  TMachinePorts machine(listed);
  const std::vector<std::string> inOrder{"ttyACM0", "ttyS0", "ttyUSB2", "ttyUSB10"};
  for (int index = 0; index < 4; ++index) {
    TRS232 serial(nullptr, index);
    serial.SetTimeOut(1000000);
    SendCommand(serial, "WHO?", 13, 0);
    char reply[16];
    int count = 0;
    EXPECT_FALSE(serial.Read(reply, sizeof reply, 13, count)) << serial.GetName();
    EXPECT_EQ(std::string(reply, static_cast<std::size_t>(count)), inOrder[index] + "\r")
        << serial.GetName();
  }
  TRS232 fifth(nullptr, 4);  // the machine has four ports
  EXPECT_EQ(ErrorOf([&] { SendCommand(fifth, "WHO?", 13, 0); }), "COM port not initialized");
}

TEST_F(RS232Test, SendsAndReadsThroughTheInstrument) {
  Instrument.ReplyText("*IDN?", "QORV,SIM,1");
  SendCommand(Serial, "*IDN?", 13, 10);
  ASSERT_TRUE(Instrument.WaitForBytes(7, 1s));
  EXPECT_EQ(Instrument.Received(), "*IDN?\r\n");
  ASSERT_TRUE(Arrived(11));
  bool timedOut = true;
  EXPECT_EQ(ReadText(100, 13, timedOut), "QORV,SIM,1\r");
  EXPECT_FALSE(timedOut);

  // Three bytes, then silence: not a time-out, count 3.
  Instrument.ReplyPartial("PART", "ABCDEF", 3);
  SendCommand(Serial, "PART", 13, 0);
  ASSERT_TRUE(Arrived(3));
  EXPECT_EQ(ReadText(100, 13, timedOut), "ABC");
  EXPECT_FALSE(timedOut);
  // Nothing at all: a time-out with count 0, no error.
  Instrument.ReplySilent("QUIET");
  SendCommand(Serial, "QUIET", 13, 0);
  EXPECT_EQ(ReadText(100, 13, timedOut), "");
  EXPECT_TRUE(timedOut);

  // Binary bytes pass whole with no terminator; a send completes before clearing.
  Instrument.ReplyBytes("BIN", std::string("\x00\x0D\xFF\x0A", 4));
  SendCommand(Serial, "BIN", 13, 0);
  ASSERT_TRUE(Arrived(4));
  EXPECT_EQ(ReadText(4, -1, timedOut), std::string("\x00\x0D\xFF\x0A", 4));
  Instrument.ClearReceived();
  const std::string packed("\x01\x00\x02", 3);
  Serial.SendBinary(packed.data(), 3);
  Serial.ClearBuffers(true, false);
  ASSERT_TRUE(Instrument.WaitForBytes(3, 1s));
  EXPECT_EQ(Instrument.Received(), packed);
}

TEST_F(RS232Test, TracesOfSendsAndReads) {
  Instrument.ReplyText("V?", "1.5");
  int length = 0;
  const auto buffer = Serial.BuildSendCommand("V?", 13, 0, true, length);
  TTraceLines trace;
  Serial.SendTrace(buffer.get(), length, true, trace);
  ASSERT_TRUE(Arrived(4));
  char reply[16];
  int count = 0;
  EXPECT_FALSE(Serial.ReadTrace(reply, 16, 13, count, trace));
  EXPECT_EQ(std::string(reply, static_cast<std::size_t>(count)), "1.5\r");
  Serial.SendBinaryTrace("\x05", 1, trace);
  EXPECT_EQ(trace, (TTraceLines{"COM1 PutString(V?\r , Length=3 bytes, Timeout=50ms)",
                                "Transmit OK",
                                "COM1 GetString(response, Read 16 bytes, Timeout=50ms)",
                                "Read 4 bytes", "Transmit OK"}));
}

TEST_F(RS232Test, LineSettingsAndHandshakesReachTheDevice) {
  Serial.RS232Param = {9600, 2, 0, 0, 0};
  Serial.ClearBuffers(false, false);  // only opens the port
  ASSERT_TRUE(Serial.IsOpen());
  termios line = Attributes(Serial);
  EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
  EXPECT_TRUE(line.c_cflag & CSTOPB);

  struct TCase {
    int In, Out;
    bool IXoff, IXon, Hardware;
  };
  for (const TCase& c : {TCase{1, 1, true, true, false}, TCase{0, 0, false, false, false},
                         TCase{2, 4, false, false, true}, TCase{0, 4, false, false, true},
                         TCase{1, 0, true, false, false}, TCase{3, 5, false, false, false}}) {
    Serial.RS232Param.InputHandshakeIndex = static_cast<std::uint8_t>(c.In);
    Serial.RS232Param.OutputHandshakeIndex = static_cast<std::uint8_t>(c.Out);
    Serial.ConfigurePort(true);
    line = Attributes(Serial);
    EXPECT_EQ(bool(line.c_iflag & IXOFF), c.IXoff) << c.In << "/" << c.Out;
    EXPECT_EQ(bool(line.c_iflag & IXON), c.IXon) << c.In << "/" << c.Out;
    EXPECT_EQ(bool(line.c_cflag & CRTSCTS), c.Hardware) << c.In << "/" << c.Out;
  }
  EXPECT_TRUE(Instrument.Received().empty());

  // XOn/XOff output handshake: an instrument's XOFF holds the send back until the
  // time-out, and the send fails. The line discipline takes received bytes in order, so
  // the XOFF holds the line once the "." after it can be read; the XOFF itself never can.
  Serial.RS232Param.OutputHandshakeIndex = 1;
  Serial.ConfigurePort(true);
  Instrument.Emit("\x13.");
  ASSERT_TRUE(Arrived(1));
  bool timedOut = true;
  EXPECT_EQ(ReadText(1, -1, timedOut), ".");
  EXPECT_EQ(ErrorOf([&] { SendCommand(Serial, "HELD", 13, 0); }), "Transmission error.");
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(RS232Test, ClearBuffersDiscardsWhatCame) {
  Serial.ClearBuffers(false, false);  // only opens the port
  Instrument.Emit("one\rtwo\r");
  // All eight bytes there: the read keeps "two\r" after the terminator.
  ASSERT_TRUE(Arrived(8));
  bool timedOut = false;
  EXPECT_EQ(ReadText(10, 13, timedOut), "one\r");
  Serial.ClearBuffers(true, true);  // also what the port kept after the terminator
  EXPECT_EQ(ReadText(10, 13, timedOut), "");
  EXPECT_TRUE(timedOut);
}

TEST_F(RS232Test, FailedConfigurationShowsTheMessageAndClosesThePort) {
  Serial.RS232Param.ParityIndex = 1;  // a pseudo-terminal cannot take parity
  EXPECT_EQ(ErrorOf([&] { Serial.ClearBuffers(false, false); }), "COM port not initialized");
  EXPECT_FALSE(Serial.IsOpen());
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"COM port not connected."});
  EXPECT_EQ(Ui.HandOvers(), 1);

  // From the device dialog: no error, the message, the port closed.
  Serial.RS232Param.ParityIndex = 0;
  Serial.ClearBuffers(false, false);
  Serial.RS232Param.StopBits = 3;
  Serial.ConfigurePort(false);
  EXPECT_FALSE(Serial.IsOpen());
  EXPECT_EQ(Ui.Texts().size(), 2u);
  EXPECT_EQ(Ui.HandOvers(), 2);
  Serial.ConfigurePort(true);  // closed: nothing happens
  EXPECT_EQ(Ui.Texts().size(), 2u);
}

TEST_F(RS232Test, ARateThePortRunsDifferentlyLeavesItUnconfigured) {
  // The driver takes 9600 baud without complaint but runs the line at 4800.
  TSerialDriverHook driver([](termios& settings) {
    if (cfgetospeed(&settings) == B9600) {
      cfsetospeed(&settings, B4800);
      cfsetispeed(&settings, B4800);
    }
    return true;
  });
  Serial.RS232Param.BaudRate = 9600;
  EXPECT_EQ(ErrorOf([&] { Serial.ClearBuffers(false, false); }), "COM port not initialized");
  EXPECT_FALSE(Serial.IsOpen());
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"COM port not connected."});
  // A rate it does run opens the port.
  Serial.RS232Param.BaudRate = 4800;
  Serial.ClearBuffers(false, false);
  ASSERT_TRUE(Serial.IsOpen());
  EXPECT_EQ(Serial.GetPort()->GetBaudRate(), 4800);
  // A parity the driver refuses outright closes it from the device dialog too.
  TSerialDriverHook refusing([](termios& settings) { return !(settings.c_cflag & PARENB); });
  Serial.RS232Param.ParityIndex = 2;
  Serial.ConfigurePort(false);
  EXPECT_FALSE(Serial.IsOpen());
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>(2, "COM port not connected."));
}

TEST_F(RS232Test, PortsThatCannotBeOpened) {
  TRS232 third(nullptr, 2);  // the table has only COM1
  char reply[4];
  int count = 0;
  EXPECT_EQ(ErrorOf([&] { third.Read(reply, 4, 13, count); }), "COM port not initialized");
  setenv("QORV_SERIAL_PORTS", "/nonexistent/tty", 1);
  EXPECT_EQ(ErrorOf([&] { Serial.ClearBuffers(false, false); }), "COM port not initialized");
  EXPECT_FALSE(Serial.IsOpen());
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>(2, "COM port not connected.")));
}

TEST_F(RS232Test, CloseDrainsForAtMostAboutASecond) {
  Instrument.StartTalking("chatter\r", 1ms);
  Serial.ClearBuffers(false, false);
  const auto start = TClock::now();
  Serial.Close();
  EXPECT_LT(TClock::now() - start, 1500ms);
  EXPECT_FALSE(Serial.IsOpen());
  Instrument.StopTalking();
  Serial.Close();  // harmless when closed
}

}  // namespace
