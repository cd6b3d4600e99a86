// The termios serial layer through a pseudo-terminal with a simulated instrument on its
// far end: opening, reads with terminator and time-out, line settings read back from the
// device (and those a driver alters or refuses), XON/XOFF obeyed, buffer clearing, the
// bounded drain and the COM table with the machine's ports in name order. Sends, replies
// and the flags of each handshake are checked through TRS232 (rs232_test.cpp).
#include "platform/serial_port.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/serial_ports.h"
#include "support/gpib_sim.h"
#include "support/serial_instrument.h"

namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

termios Attributes(const TSerialPort& port) {
  termios settings{};
  EXPECT_EQ(tcgetattr(port.Handle(), &settings), 0);
  return settings;
}

std::string ReadText(TSerialPort& port, std::size_t maxBytes, int terminator, int timeoutMs) {
  std::string buffer(maxBytes, '\0');
  buffer.resize(port.Read(buffer.data(), maxBytes, terminator, timeoutMs));
  return buffer;
}

std::int64_t MillisecondsSince(TClock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - start).count();
}

TEST(SerialPortTest, OpeningFailsWithTheSystemsReason) {
  try {
    TSerialPort port("/nonexistent/tty");
    FAIL() << "opened";
  } catch (const ESerialError& error) {
    EXPECT_STREQ(error.what(), "No such file or directory");
  }
  EXPECT_THROW(TSerialPort("/dev/null"), ESerialError);  // no terminal
}

TEST(SerialPortTest, OpensRawAndReadsUpToTheTerminator) {
  TSerialInstrument instrument;
  TSerialPort port(instrument.SlavePath());
  const termios raw = Attributes(port);
  EXPECT_FALSE(raw.c_lflag & (ICANON | ECHO));
  EXPECT_TRUE(raw.c_cflag & CLOCAL);
  EXPECT_EQ(raw.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));

  // Bytes after a terminator wait for the next read; the size limit ends a read too.
  instrument.Emit("ab\rcdef\r");
  EXPECT_EQ(ReadText(port, 64, '\r', 1000), "ab\r");
  EXPECT_EQ(ReadText(port, 2, '\r', 1000), "cd");
  EXPECT_EQ(ReadText(port, 64, '\r', 1000), "ef\r");
}

TEST(SerialPortTest, TerminatorsOutsideTheByteRangeMeanNone) {
  TSerialInstrument instrument;
  TSerialPort port(instrument.SlavePath());
  const std::string binary("\x01\x00\xFF\x02", 4);
  for (int none : {0, -1, 256}) {
    instrument.Emit(binary);
    EXPECT_EQ(ReadText(port, 4, none, 1000), binary) << none;
  }
  instrument.Emit(binary);
  EXPECT_EQ(ReadText(port, 4, 255, 1000), std::string("\x01\x00\xFF", 3));
  EXPECT_EQ(ReadText(port, 4, 255, 50), "\x02");
}

TEST(SerialPortTest, ReadsEndAtTheTimeOutWithWhatCame) {
  TSerialInstrument instrument;
  TSerialPort port(instrument.SlavePath());
  auto start = TClock::now();
  EXPECT_EQ(ReadText(port, 10, '\n', 50), "");
  EXPECT_GE(MillisecondsSince(start), 50);
  EXPECT_LT(MillisecondsSince(start), 500);

  instrument.Emit("xyz");
  ASSERT_TRUE(WaitForPending(port, 3));  // here before the read: only its time-out is timed
  start = TClock::now();
  EXPECT_EQ(ReadText(port, 10, '\n', 60), "xyz");
  EXPECT_GE(MillisecondsSince(start), 60);

  // Time-out 0: no limit; the read waits for the terminator.
  instrument.ReplyText("LATE", "done");
  instrument.SetReplyDelay("LATE", 80ms);
  port.Write("LATE\r", 5, 500);
  EXPECT_EQ(ReadText(port, 10, '\r', 0), "done\r");
}

TEST(SerialPortTest, LineSettingsReadBackAndXoffHoldsTheLine) {
  TSerialInstrument instrument;
  TSerialPort port(instrument.SlavePath());
  port.SetLine(115200, 2, TSerialParity::None);
  const termios line = Attributes(port);
  EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B115200));
  EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B115200));
  EXPECT_EQ(port.GetBaudRate(), 115200);
  EXPECT_EQ(port.GetStopBits(), 2);
  port.SetLine(14400, 1, TSerialParity::None);  // a rate without a system name
  EXPECT_EQ(port.GetBaudRate(), 14400);
  EXPECT_THROW(port.SetLine(0, 1, TSerialParity::None), ESerialError);
  EXPECT_EQ(port.GetBaudRate(), 14400);  // a refused rate changes nothing

  // The line discipline takes received bytes in order: once the "." sent after XOFF or
  // XON can be read, the line is held or free again. Only the "." is there to read; the
  // discipline keeps XOFF and XON for itself.
  port.SetFlow({false, true, false});
  instrument.Emit("\x13.");  // XOFF
  ASSERT_TRUE(WaitForPending(port, 1));
  EXPECT_EQ(ReadText(port, 1, -1, 500), ".");
  const auto start = TClock::now();
  EXPECT_EQ(port.Write("held", 4, 50), 0u);
  EXPECT_LT(MillisecondsSince(start), 500);
  instrument.Emit("\x11.");  // XON
  ASSERT_TRUE(WaitForPending(port, 1));
  EXPECT_EQ(ReadText(port, 1, -1, 500), ".");
  EXPECT_EQ(port.Write("go\r", 3, 500), 3u);
  ASSERT_TRUE(instrument.WaitForMessages(1, 1s));
  EXPECT_EQ(instrument.Messages().back(), "go");

  // Without flow control XOFF is a byte like any other.
  port.SetFlow({});
  instrument.Emit("\x13");
  EXPECT_EQ(ReadText(port, 1, -1, 500), "\x13");
  EXPECT_EQ(port.Write("x", 1, 500), 1u);
}

// A driver that runs 9600 baud as 4800 and takes every other rate.
bool SlowsNinetySixHundred(termios& settings) {
  if (cfgetospeed(&settings) == B9600) {
    cfsetospeed(&settings, B4800);
    cfsetispeed(&settings, B4800);
  }
  return true;
}

TEST(SerialPortTest, SettingsTheLineDoesNotTakeAreErrors) {
  TSerialInstrument instrument;
  TSerialPort port(instrument.SlavePath());
  {
    // The call succeeds but the line runs another rate: only the read-back tells.
    TSerialDriverHook driver(SlowsNinetySixHundred);
    EXPECT_EQ(ErrorOf<ESerialError>([&] { port.SetLine(9600, 1, TSerialParity::None); }),
              "the line did not take baud rate 9600");
    EXPECT_EQ(port.GetBaudRate(), 4800);
    EXPECT_EQ(ErrorOf<ESerialError>([&] { port.SetLine(2400, 1, TSerialParity::None); }),
              "(no error)");
    EXPECT_EQ(port.GetBaudRate(), 2400);
  }
  {
    TSerialDriverHook driver([](termios& settings) {
      settings.c_cflag &= ~CSTOPB;
      return true;
    });
    EXPECT_EQ(ErrorOf<ESerialError>([&] { port.SetLine(2400, 2, TSerialParity::None); }),
              "the line did not take 2 stop bits");
  }
  // A pseudo-terminal drops parity of itself (the new rate makes the call succeed).
  EXPECT_EQ(ErrorOf<ESerialError>([&] { port.SetLine(4800, 1, TSerialParity::Even); }),
            "the line did not take the parity");
  {
    // A driver that refuses parity outright: the system's reason, the line as it was.
    TSerialDriverHook driver([](termios& settings) { return !(settings.c_cflag & PARENB); });
    port.SetLine(1200, 1, TSerialParity::None);
    EXPECT_EQ(ErrorOf<ESerialError>([&] { port.SetLine(9600, 1, TSerialParity::Odd); }),
              "Invalid argument");
    EXPECT_EQ(port.GetBaudRate(), 1200);
    EXPECT_EQ(port.GetParity(), TSerialParity::None);
  }
  {
    TSerialDriverHook driver([](termios& settings) {
      settings.c_cflag &= ~CRTSCTS;
      return true;
    });
    EXPECT_EQ(ErrorOf<ESerialError>([&] { port.SetFlow({false, false, true}); }),
              "the line did not take the handshake");
  }
  // With the hook gone the line takes 9600 again.
  port.SetLine(9600, 1, TSerialParity::None);
  EXPECT_EQ(port.GetBaudRate(), 9600);
}

TEST(SerialPortTest, ClearingAndDrainingTheReceiveSide) {
  TSerialInstrument instrument;
  TSerialPort port(instrument.SlavePath());
  instrument.Emit("junk\rkept");
  ASSERT_TRUE(WaitForPending(port, 9));
  // The read takes all nine bytes from the driver and keeps the four after the terminator.
  EXPECT_EQ(ReadText(port, 10, '\r', 500), "junk\r");
  EXPECT_EQ(port.Pending(), 4u);
  EXPECT_EQ(port.ClearReceive(), 4u);
  EXPECT_EQ(port.ClearReceive(), 0u);
  EXPECT_EQ(ReadText(port, 10, -1, 30), "");

  // A quiet line drains at once; one that keeps talking is left after the limit.
  auto start = TClock::now();
  EXPECT_TRUE(port.DrainReceive(1000));
  EXPECT_LT(MillisecondsSince(start), 200);
  instrument.StartTalking("talk", 1ms);
  start = TClock::now();
  EXPECT_FALSE(port.DrainReceive(150, 50));  // a wide quiet window: the talker may lag
  EXPECT_GE(MillisecondsSince(start), 150);
  EXPECT_LT(MillisecondsSince(start), 600);
  instrument.StopTalking();
}

TEST(SerialPortTest, TheComTableComesFromTheVariable) {
  const char* saved = std::getenv("QORV_SERIAL_PORTS");
  const std::string previous = saved ? saved : "";
  setenv("QORV_SERIAL_PORTS", "/dev/a::/dev/c", 1);
  EXPECT_EQ(SerialPortTable(), (std::vector<std::string>{"/dev/a", "", "/dev/c"}));
  EXPECT_EQ(SerialPortPath(0), "/dev/a");
  EXPECT_EQ(SerialPortPath(1), "");
  EXPECT_EQ(SerialPortPath(2), "/dev/c");
  EXPECT_EQ(SerialPortPath(3), "");
  EXPECT_EQ(SerialPortPath(-1), "");
  {
    TSerialInstrument third(2);
    EXPECT_EQ(SerialPortPath(2), third.SlavePath());
    EXPECT_EQ(SerialPortPath(0), "");
  }
  EXPECT_EQ(SerialPortPath(0), "/dev/a");  // the instrument put the table back
  unsetenv("QORV_SERIAL_PORTS");
  for (const auto& path : SerialPortTable()) EXPECT_EQ(path.rfind("/dev/", 0), 0u) << path;
  if (saved) setenv("QORV_SERIAL_PORTS", previous.c_str(), 1);
}

TEST(SerialPortTest, MachinePortsAreNumberedInNameOrder) {
  // libserialport lists ports in no promised order; COM n must not follow it. Numbers in
  // names count as numbers (ttyS2 before ttyS10), other characters by their codes.
  TMachinePorts machine({"/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyUSB2", "/dev/ttyACM0",
                         "/dev/ttyS10", "/dev/ttyS2"});
  const std::vector<std::string> sorted{"/dev/ttyACM0", "/dev/ttyS0",   "/dev/ttyS2",
                                        "/dev/ttyS10",  "/dev/ttyUSB2", "/dev/ttyUSB10"};
  EXPECT_EQ(SerialPortTable(), sorted);
  for (std::size_t i = 0; i < sorted.size(); ++i)
    EXPECT_EQ(SerialPortPath(static_cast<int>(i)), sorted[i]) << "COM" << i + 1;
  EXPECT_EQ(SerialPortPath(6), "");
  // The variable, when set, wins over the machine's ports.
  setenv("QORV_SERIAL_PORTS", "/dev/b:/dev/a", 1);
  EXPECT_EQ(SerialPortPath(0), "/dev/b");
}

}  // namespace
