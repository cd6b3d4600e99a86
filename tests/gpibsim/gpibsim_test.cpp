// The simulated GPIB bus, reached as the run-time loaders reach it: the library opened
// with dlopen and every entry point and control call looked up by name. Expected bytes,
// statuses and log lines follow the simulator's documented rules (tools/gpibsim/README.md).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>

#include "platform/cec_api.h"
#include "platform/ni488_api.h"
#include "support/temp_dir.h"
#include "tools/gpibsim/gpibsim.h"

namespace {

constexpr int CMPL = 0x0100;
constexpr int CEC = 1;
constexpr int NI = 2;

// The library's entry points; the handle stays open for the whole test program.
struct TSim {
  // Never unmapped (thread-local status; see tests/support/gpib_sim.cpp).
  explicit TSim(const char* path)
      : Handle(dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}
  template <typename Fn>
  Fn Get(const char* name) const {
    void* entry = Handle != nullptr ? dlsym(Handle, name) : nullptr;
    if (entry == nullptr) ADD_FAILURE() << "no entry point " << name;
    return reinterpret_cast<Fn>(entry);
  }

  void* Handle;
  decltype(&gpibsim_configure) Configure = Get<decltype(&gpibsim_configure)>("gpibsim_configure");
  decltype(&gpibsim_configure_file) ConfigureFile =
      Get<decltype(&gpibsim_configure_file)>("gpibsim_configure_file");
  decltype(&gpibsim_error) Error = Get<decltype(&gpibsim_error)>("gpibsim_error");
  decltype(&gpibsim_log) Log = Get<decltype(&gpibsim_log)>("gpibsim_log");
  decltype(&gpibsim_clear_log) ClearLog = Get<decltype(&gpibsim_clear_log)>("gpibsim_clear_log");
  decltype(&gpibsim_received) Received = Get<decltype(&gpibsim_received)>("gpibsim_received");
  decltype(&gpibsim_set_status_byte) SetStatusByte =
      Get<decltype(&gpibsim_set_status_byte)>("gpibsim_set_status_byte");
  cec_presence_fn Presence = Get<cec_presence_fn>("cec_presence");
  cec_select_board_fn SelectBoard = Get<cec_select_board_fn>("cec_select_board");
  cec_board_query_fn BoardQuery = Get<cec_board_query_fn>("cec_board_query");
  cec_initialize_fn Initialize = Get<cec_initialize_fn>("cec_initialize");
  cec_receive_fn CecReceive = Get<cec_receive_fn>("cec_receive");
  cec_set_end_chars_fn SetEndChars = Get<cec_set_end_chars_fn>("cec_set_end_chars");
  cec_set_timeout_fn SetTimeout = Get<cec_set_timeout_fn>("cec_set_timeout");
  cec_serial_poll_fn CecPoll = Get<cec_serial_poll_fn>("cec_serial_poll");
  cec_send_bytes_fn SendBytes = Get<cec_send_bytes_fn>("cec_send_bytes");
  cec_transmit_fn CecTransmit = Get<cec_transmit_fn>("cec_transmit");
  ni_ibdev_fn Ibdev = Get<ni_ibdev_fn>("ibdev");
  ni_ibfind_fn Ibfind = Get<ni_ibfind_fn>("ibfind");
  ni_ibwrt_fn Ibwrt = Get<ni_ibwrt_fn>("ibwrt");
  ni_ibrd_fn Ibrd = Get<ni_ibrd_fn>("ibrd");
  ni_ibrsp_fn Ibrsp = Get<ni_ibrsp_fn>("ibrsp");
  ni_ibtmo_fn Ibtmo = Get<ni_ibtmo_fn>("ibtmo");
  ni_ibeot_fn Ibeot = Get<ni_ibeot_fn>("ibeot");
  ni_ibonl_fn Ibonl = Get<ni_ibonl_fn>("ibonl");
  ni_ibln_fn Ibln = Get<ni_ibln_fn>("ibln");
  ni_ibsic_fn Ibsic = Get<ni_ibsic_fn>("ibsic");
  ni_thread_status_fn Ibsta = Get<ni_thread_status_fn>("ThreadIbsta");
  ni_thread_status_fn Iberr = Get<ni_thread_status_fn>("ThreadIberr");
  ni_thread_count_fn Ibcntl = Get<ni_thread_count_fn>("ThreadIbcntl");
};

const TSim& Sim() {
  static const TSim sim(QORV_GPIBSIM_PATH);
  return sim;
}

void Configure(const std::string& text) {
  ASSERT_EQ(Sim().Configure(text.c_str()), 0) << Sim().Error();
}

std::string Received(int kind, int address) {
  std::string bytes(static_cast<std::size_t>(Sim().Received(kind, 0, address, nullptr, 0)), ' ');
  Sim().Received(kind, 0, address, bytes.data(), static_cast<int>(bytes.size()));
  return bytes;
}

int Transmit(const std::string& text) {
  int status = -1;
  Sim().CecTransmit(text.c_str(), 65535, &status);
  return status;
}

// The bytes and the status of one CEC receive.
std::pair<std::string, int> CecReceive(int max) {
  std::string buffer(static_cast<std::size_t>(max), '\0');
  int count = -1;
  int status = -1;
  Sim().CecReceive(buffer.data(), max, &count, &status);
  return {buffer.substr(0, static_cast<std::size_t>(count)), status};
}

struct TRead {
  std::string Bytes;
  int Ibsta;
  int Iberr;
  long Ibcntl;
};

TRead Ibrd(int ud, long count) {
  std::string buffer(static_cast<std::size_t>(count), '\0');
  const int ibsta = Sim().Ibrd(ud, buffer.data(), count);
  EXPECT_EQ(ibsta, Sim().Ibsta());
  return {buffer.substr(0, static_cast<std::size_t>(Sim().Ibcntl())), ibsta, Sim().Iberr(),
          Sim().Ibcntl()};
}

int Ibwrt(int ud, const std::string& bytes) {
  return Sim().Ibwrt(ud, bytes.data(), static_cast<long>(bytes.size()));
}

// An NI query on board 0 with END on: the reply to one command.
std::string Query(int ud, const std::string& command) {
  EXPECT_EQ(Ibwrt(ud, command), CMPL);
  return Ibrd(ud, 1000).Bytes;
}

std::string Bytes(std::initializer_list<int> codes) {
  std::string bytes;
  for (const int code : codes) bytes += static_cast<char>(code);
  return bytes;
}

TEST(GpibSim, ConfigurationErrorsAnswerTheirLine) {
  const std::pair<const char*, int> bad[] = {
      {"ni-board 0\nbogus 1\n", 2},
      {"# a comment\n\nidn X\n", 3},  // a property before any instrument
      {"cec-board 0 scan\n", 1},
      {"cec-board 0\r\ncec-board 0x0\r\n", 2},
      {"ni-board 32\n", 1},
      {"instrument gpib 0 1\n", 1},
      {"instrument ni 0 31\n", 1},
      {"instrument ni 0 5\ninstrument ni 0 5\n", 2},
      {"instrument ni 0 5\n  terminator 256\n", 2},
      {"instrument ni 0 5\n  eoi maybe\n", 2},
      {"instrument ni 0 5\n  status 0x100\n", 2},
      {"instrument ni 0 5\n  talker off now\n", 2},
      {"instrument ni 0 5\n  reply A text x\n", 2},
      {"instrument ni 0 5\n  reply = text x\n", 2},
      {"instrument ni 0 5\n  reply A = shout x\n", 2},
      {"instrument ni 0 5\n  reply A = number wave 1\n", 2},
      {"instrument ni 0 5\n  reply A = number constant 1 2\n", 2},
      {"instrument ni 0 5\n  reply A = number constant 1,5\n", 2},
      {"instrument ni 0 5\n  reply A = number constant --1\n", 2},
      {"instrument ni 0 5\n  reply A = number sine 1 0\n", 2},
      {"instrument ni 0 5\n  reply A = number ramp 0 1 0\n", 2},
      {"instrument ni 0 5\n  reply A = numbers 0 , constant 1\n", 2},
      {"instrument ni 0 5\n  reply A = numbers 2 \\q constant 1\n", 2},
      {"instrument ni 0 5\n  reply A = binary int16 le 65536\n", 2},
      {"instrument ni 0 5\n  reply A = binary int8 le -129\n", 2},
      {"instrument ni 0 5\n  reply A = binary int8 me 1\n", 2},
      {"instrument ni 0 5\n  reply A = binary float32 be\n", 2},
      {"instrument ni 0 5\n  reply A = partial -1 x\n", 2},
      {"instrument ni 0 5\n  reply A = silent\n  reply A = text again\n", 3},
      {"instrument ni 0 5\n  idn X\n  reply *IDN? = text Y\n", 3},
  };
  for (const auto& [text, line] : bad) {
    EXPECT_EQ(Sim().Configure(text), line) << text;
    EXPECT_STRNE(Sim().Error(), "") << text;
  }

  // Comments, CR LF line ends, hex numbers and commands holding blanks are read.
  Configure(
      "# boards\r\nni-board 0x0   # the first\r\n\r\ninstrument ni 0 0x5\r\n"
      "  terminator none\r\n  reply MEAS:VOLT? DC = text #2 text # kept\r\n");
  EXPECT_STREQ(Sim().Error(), "");
  const int ud = Sim().Ibdev(0, 5, 0, 11, 1, 0);
  EXPECT_EQ(Query(ud, "MEAS:VOLT? DC"), "#2 text # kept");

  // A refused text leaves the previous configuration in place; so does a missing file.
  EXPECT_EQ(Sim().Configure("ni-board 1\nwhat\n"), 2);
  EXPECT_EQ(Sim().Ibfind("GPIB0"), 0);
  EXPECT_EQ(Sim().ConfigureFile("/nonexistent/bus.sim"), -1);
  EXPECT_STRNE(Sim().Error(), "");
  EXPECT_EQ(Sim().Ibfind("GPIB0"), 0);

  const TTempDir temp;
  std::ofstream(temp.PathOf("bus.sim")) << "ni-board 0\nni-board 3\n";
  EXPECT_EQ(Sim().ConfigureFile(temp.PathOf("bus.sim").c_str()), 0);
  EXPECT_EQ(Sim().Ibfind("gpib3"), 3);

  // The demo's file is read as it stands.
  const auto demo = std::filesystem::path(__FILE__).parent_path() / "../../tools/gpibsim/demo.sim";
  EXPECT_EQ(Sim().ConfigureFile(demo.c_str()), 0) << Sim().Error();
  EXPECT_EQ(Query(Sim().Ibdev(0, 5, 0, 11, 1, 0), "*IDN?"), "QORV,DMM-5,0,1.0\n");
}

TEST(GpibSim, CecCommandLanguage) {
  Configure(
      "cec-board 0\ninstrument cec 0 5\n  idn CEC,DMM\n  reply R? = text abc\n"
      "instrument cec 0 6\n  talker off\ninstrument cec 0 7\n  listener off\n");
  EXPECT_EQ(Sim().Presence(), 1);
  EXPECT_EQ(Sim().SelectBoard(0), 0);
  EXPECT_EQ(Sim().BoardQuery(204), 0);
  EXPECT_EQ(Sim().BoardQuery(0), 1);
  EXPECT_EQ(Sim().Initialize(0, 0), 0);

  // DATA with doubled quotes; a missing closing quote takes the rest of the text.
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 DATA 'it''s' EOI"), 0);
  EXPECT_EQ(Received(CEC, 5), "it's");
  EXPECT_EQ(Transmit("unt unl mta listen 5 data 'A B"), 0);
  EXPECT_EQ(Received(CEC, 5), "it'sA B");
  // END appends the non-zero END characters (each a byte of the int given).
  EXPECT_EQ(Sim().SetEndChars(13, 10), 0);
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 DATA 'x' END"), 0);
  EXPECT_EQ(Sim().SetEndChars(10, 0), 0);
  EXPECT_EQ(Transmit("DATA 'y' END"), 0);
  EXPECT_EQ(Sim().SetEndChars(-1, 0), 0);
  EXPECT_EQ(Transmit("END"), 0);
  EXPECT_EQ(Received(CEC, 5), "it'sA Bx\r\ny\n\xFF");
  EXPECT_EQ(Sim().SetEndChars(10, 0), 0);

  // The talker's reply comes after MLA TALK (the order the CEC tests follow through the
  // loader); a read stops at max bytes, the rest comes with the next one, then silence.
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 DATA 'R?' END UNT UNL MLA TALK 5"), 0);
  EXPECT_EQ(CecReceive(2), std::make_pair(std::string("ab"), 0));
  EXPECT_EQ(CecReceive(100), std::make_pair(std::string("c\n"), 0));
  EXPECT_EQ(CecReceive(100), std::make_pair(std::string(), 8));
  // DCL drops an unread reply.
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 DATA 'R?' END"), 0);
  EXPECT_EQ(Transmit("DCL MLA TALK 5"), 0);
  EXPECT_EQ(CecReceive(100).second, 8);

  // Failures: an empty address, an unknown word, a bad address, DATA without its quote,
  // data while the computer is not talker, a listener that accepts nothing, a talker
  // that never talks.
  const std::string before = Received(CEC, 5);
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 LISTEN 9 DATA 'lost' EOI"), 8);
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 JUMP DATA 'lost' EOI"), 1);
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 31 DATA 'lost' EOI"), 1);
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 DATA lost"), 1);
  EXPECT_EQ(Transmit("UNT UNL LISTEN 5 DATA 'lost' EOI"), 1);
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 LISTEN 7 DATA 'lost' EOI"), 8);
  EXPECT_EQ(Received(CEC, 5), before);
  EXPECT_EQ(Transmit("UNT UNL MLA TALK 6"), 0);
  EXPECT_EQ(CecReceive(100).second, 2);
  // Bus commands act without touching the data.
  EXPECT_EQ(Transmit("REN LLO GTL LOCAL IFC UNT UNL DCL"), 0);
  EXPECT_EQ(Received(CEC, 5), before);

  // Raw bytes go to the addressed listeners, EOI on the last when asked.
  int status = -1;
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5"), 0);
  EXPECT_EQ(Sim().SendBytes("R", 1, 0, &status), 0);
  EXPECT_EQ(Sim().SendBytes("?", 1, 1, &status), 0);
  EXPECT_EQ(Transmit("MLA TALK 5"), 0);
  EXPECT_EQ(CecReceive(100), std::make_pair(std::string("abc\n"), 0));
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 7"), 0);
  EXPECT_EQ(Sim().SendBytes("x", 1, 1, &status), 8);

  // A poll of an empty address times out (the status byte: through the CEC tests).
  unsigned char poll = 0;
  EXPECT_EQ(Sim().CecPoll(9, &poll, &status), 8);
  EXPECT_EQ(Sim().SetStatusByte(CEC, 0, 9, 1), -1);

  // A board not configured present answers 1 once selected; its query 204 is no number.
  EXPECT_EQ(Sim().SelectBoard(1), 1);
  EXPECT_EQ(Sim().BoardQuery(204), -1);
  EXPECT_EQ(Sim().Initialize(1, 0), 1);
  EXPECT_EQ(Sim().SetTimeout(100), 1);
  EXPECT_EQ(Sim().Presence(), 1);

  Configure("cec-board 2 noscan\nni-board 0\n");
  EXPECT_EQ(Sim().SelectBoard(2), 0);
  EXPECT_EQ(Sim().BoardQuery(204), 2);
  EXPECT_EQ(Sim().BoardQuery(0), 0);
  Configure("ni-board 0\n");
  EXPECT_EQ(Sim().Presence(), 0);
}

TEST(GpibSim, CecReadsEndAtEoiOrAnEndCharacter) {
  Configure(
      "cec-board 0\ninstrument cec 0 3\n  eoi off\n  terminator 13\n"
      "  reply R? = text 1.5\n  reply P? = partial 2 1.5\n");
  Sim().SelectBoard(0);
  const auto ask = [](const char* command) {
    EXPECT_EQ(Transmit(std::string("UNT UNL MTA LISTEN 3 DATA '") + command +
                       "' END UNT UNL MLA TALK 3"),
              0);
  };
  Sim().SetEndChars(10, 0);
  ask("R?");  // no EOI and no END character: the read times out with what came
  EXPECT_EQ(CecReceive(100), std::make_pair(std::string("1.5\r"), 8));
  Sim().SetEndChars(13, 10);
  ask("R?");
  EXPECT_EQ(CecReceive(100), std::make_pair(std::string("1.5\r"), 0));
  ask("P?");
  EXPECT_EQ(CecReceive(100), std::make_pair(std::string("1."), 8));
}

TEST(GpibSim, NiReadsWritesAndTimeOuts) {
  Configure(
      "ni-board 0\ninstrument ni 0 5\n  idn NI,DMM\n"
      "  reply QUIET? = silent\ninstrument ni 0 6\n  eoi off\n  reply R? = text abc\n"
      "instrument ni 0 7\n  listener off\ninstrument ni 0 8\n  talker off\n"
      "  reply R? = text abc\ninstrument ni 0 9\n  input-terminator 59\n  terminator none\n"
      "  reply A = text a\n  reply B = text b\n");
  // Opening: bad arguments (an absent board: through the NI tests), then descriptors
  // from 32 up.
  EXPECT_EQ(Sim().Ibdev(0, 31, 0, 11, 1, 0), -1);
  EXPECT_EQ(Sim().Ibdev(0, 5, 0, 18, 1, 0), -1);
  EXPECT_EQ(Sim().Iberr(), 4);
  const int ud = Sim().Ibdev(0, 5, 0, 11, 1, 0);
  EXPECT_EQ(ud, 32);
  EXPECT_EQ(Sim().Ibsta(), CMPL);

  // A reply with EOI ends with END; the next read finds silence. (Partial and silent
  // replies: through the NI tests.)
  EXPECT_EQ(Ibwrt(ud, "*IDN?"), CMPL);
  EXPECT_EQ(Sim().Ibcntl(), 5);
  const TRead whole = Ibrd(ud, 100);
  EXPECT_EQ(whole.Bytes, "NI,DMM\n");
  EXPECT_EQ(whole.Ibsta, CMPL | niEND);
  EXPECT_EQ(whole.Ibcntl, 7);
  const TRead silence = Ibrd(ud, 100);
  EXPECT_EQ(silence.Ibsta, niERR | niTIMO);
  EXPECT_EQ(silence.Ibcntl, 0);
  // A read of fewer bytes than the reply completes without END; the rest follows.
  Ibwrt(ud, "*IDN?\r\n");
  const TRead part = Ibrd(ud, 3);
  EXPECT_EQ(part.Bytes, "NI,");
  EXPECT_EQ(part.Ibsta, CMPL);
  EXPECT_EQ(Ibrd(ud, 100).Bytes, "DMM\n");
  // A new message replaces an unread reply; an empty one does not.
  Ibwrt(ud, "*IDN?");
  Ibwrt(ud, "QUIET?");
  EXPECT_EQ(Ibrd(ud, 100).Ibsta, niERR | niTIMO);
  Ibwrt(ud, "*IDN?");
  Ibwrt(ud, " \r\n");
  EXPECT_EQ(Ibrd(ud, 100).Bytes, "NI,DMM\n");
  // Without END a message needs its terminator: "*IDN?" alone is not complete.
  EXPECT_EQ(Sim().Ibeot(ud, 0), CMPL);
  Ibwrt(ud, "*IDN?");
  EXPECT_EQ(Ibrd(ud, 100).Ibsta, niERR | niTIMO);
  Ibwrt(ud, "\n");
  EXPECT_EQ(Ibrd(ud, 100).Bytes, "NI,DMM\n");
  EXPECT_EQ(Sim().Ibeot(ud, 1), CMPL);

  // A reply without EOI runs out: time-out with every byte; an exact count completes.
  const int noEoi = Sim().Ibdev(0, 6, 0, 11, 1, 0);
  EXPECT_EQ(noEoi, 33);
  Ibwrt(noEoi, "R?");
  const TRead runsOut = Ibrd(noEoi, 100);
  EXPECT_EQ(runsOut.Bytes, "abc\n");
  EXPECT_EQ(runsOut.Ibsta, niERR | niTIMO);
  EXPECT_EQ(runsOut.Ibcntl, 4);
  Ibwrt(noEoi, "R?");
  EXPECT_EQ(Ibrd(noEoi, 4).Ibsta, CMPL);
  // Messages split at the input terminator; no output terminator.
  const int split = Sim().Ibdev(0, 9, 0, 11, 1, 0);
  Ibwrt(split, "A;B");
  EXPECT_EQ(Ibrd(split, 10).Bytes, "b");
  EXPECT_EQ(Received(NI, 9), "A;B");

  // Listener off, talker off and an empty address.
  EXPECT_EQ(Ibwrt(Sim().Ibdev(0, 7, 0, 11, 1, 0), "x"), niERR | niTIMO);
  EXPECT_EQ(Sim().Iberr(), niEABO);
  const int quiet = Sim().Ibdev(0, 8, 0, 11, 1, 0);
  EXPECT_EQ(Ibwrt(quiet, "R?"), CMPL);
  EXPECT_EQ(Ibrd(quiet, 100).Ibsta, niERR | niTIMO);
  // An empty address opens; a write finds no listener (through the NI tests), a read and
  // a poll time out.
  const int empty = Sim().Ibdev(0, 20, 0, 11, 1, 0);
  EXPECT_GE(empty, 32);
  EXPECT_EQ(Ibrd(empty, 10).Iberr, niEABO);
  char poll = 0;
  EXPECT_EQ(Sim().Ibrsp(empty, &poll), niERR | niTIMO);

  // Boards: ibfind, ibln, ibsic; unknown descriptors answer EDVR.
  EXPECT_EQ(Sim().Ibfind("GPIB0"), 0);
  EXPECT_EQ(Sim().Ibfind("GPIB1"), -1);
  EXPECT_EQ(Sim().Ibsta(), niERR);
  EXPECT_EQ(Sim().Ibfind("DMM"), -1);
  short listener = -1;
  EXPECT_EQ(Sim().Ibln(0, 5, 0, &listener), CMPL);
  EXPECT_EQ(listener, 1);
  EXPECT_EQ(Sim().Ibln(0, 4, 0, &listener), CMPL);
  EXPECT_EQ(listener, 0);
  EXPECT_EQ(Sim().Ibsic(0), CMPL);
  EXPECT_EQ(Sim().Ibtmo(ud, 13), CMPL);
  EXPECT_EQ(Sim().Ibtmo(ud, 18), niERR);
  EXPECT_EQ(Sim().Ibonl(0, 0), CMPL);  // the board stays usable
  EXPECT_EQ(Sim().Ibonl(noEoi, 0), CMPL);
  for (const int unknown : {noEoi, 1, 99, -1}) {
    EXPECT_EQ(Ibwrt(unknown, "x"), niERR) << unknown;
    EXPECT_EQ(Sim().Iberr(), 1);
  }
  EXPECT_EQ(Sim().Ibonl(noEoi, 0), niERR);
  EXPECT_EQ(Sim().Ibdev(0, 6, 0, 11, 1, 0), noEoi);  // the lowest free descriptor again
}

TEST(GpibSim, StatusIsKeptPerThreadAndInTheVariables) {
  Configure("ni-board 0\ninstrument ni 0 5\n");
  const int ud = Sim().Ibdev(0, 5, 0, 11, 1, 0);
  Ibrd(ud, 10);
  int other = 0;
  std::thread([&] {
    Sim().Ibfind("GPIB0");
    other = Sim().Ibsta();
  }).join();
  EXPECT_EQ(other, CMPL);
  EXPECT_EQ(Sim().Ibsta(), niERR | niTIMO);
  EXPECT_EQ(*static_cast<int*>(dlsym(Sim().Handle, "ibsta")), CMPL);  // the last call
  Ibwrt(ud, "abc");
  EXPECT_EQ(*static_cast<int*>(dlsym(Sim().Handle, "iberr")), 0);
  EXPECT_EQ(*static_cast<long*>(dlsym(Sim().Handle, "ibcntl")), 3);
}

TEST(GpibSim, BinaryRepliesInBothByteOrders) {
  Configure(
      "ni-board 0\ninstrument ni 0 4\n"
      "  reply B16? = binary int16 be 1 -2 0x1234\n"
      "  reply L16? = binary int16 le 1 -2 0x1234\n"
      "  reply I8? = binary int8 le -1 127 0x80 10\n"
      "  reply F? = binary float32 be 1.5 -2\n"
      "  reply FL? = binary float32 le 1.5\n"
      "  reply I32? = binary int32 le -2 0x01020304\n"
      "  reply B32? = binary int32 be 0xFFFFFFFF\n");
  const int ud = Sim().Ibdev(0, 4, 0, 11, 1, 0);
  EXPECT_EQ(Query(ud, "B16?"), Bytes({0x00, 0x01, 0xFF, 0xFE, 0x12, 0x34}));
  EXPECT_EQ(Sim().Ibsta(), CMPL | niEND);  // no terminator, EOI on the last byte
  EXPECT_EQ(Query(ud, "L16?"), Bytes({0x01, 0x00, 0xFE, 0xFF, 0x34, 0x12}));
  EXPECT_EQ(Query(ud, "I8?"), Bytes({0xFF, 0x7F, 0x80, 0x0A}));
  EXPECT_EQ(Query(ud, "F?"), Bytes({0x3F, 0xC0, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00}));
  EXPECT_EQ(Query(ud, "FL?"), Bytes({0x00, 0x00, 0xC0, 0x3F}));
  EXPECT_EQ(Query(ud, "I32?"), Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01}));
  EXPECT_EQ(Query(ud, "B32?"), Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
}

// SplitMix64 as the README describes the noise generator.
double Noise(std::uint64_t& state, double amplitude) {
  std::uint64_t z = state += 0x9E3779B97F4A7C15u;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  z ^= z >> 31;
  return amplitude * (2 * std::ldexp(static_cast<double>(z >> 11), -53) - 1);
}

std::string G15(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

TEST(GpibSim, GeneratorSequences) {
  const char* const text =
      "ni-board 0\ninstrument ni 0 2\n  terminator none\n"
      "  reply C? = number counter 1 0.5\n  reply R? = number ramp 0 1 4\n"
      "  reply S? = number sine 2 4\n  reply K? = number constant 0x10\n"
      "  reply T? = number constant 0.333333333333333333\n"
      "  reply L? = numbers 4 ; counter 10 -1\n  reply W? = numbers 3 \\s counter 0 0.1\n"
      "  reply N? = number noise 42 0.5\n";
  Configure(text);
  const int ud = Sim().Ibdev(0, 2, 0, 11, 1, 0);
  for (const char* value : {"1", "1.5", "2", "2.5"}) EXPECT_EQ(Query(ud, "C?"), value);
  for (const char* value : {"0", "0.25", "0.5", "0.75", "1", "0", "0.25"})
    EXPECT_EQ(Query(ud, "R?"), value);
  EXPECT_EQ(Query(ud, "S?"), "0");
  EXPECT_EQ(Query(ud, "S?"), "2");
  EXPECT_LT(std::fabs(std::stod(Query(ud, "S?"))), 1e-12);
  EXPECT_EQ(Query(ud, "S?"), "-2");
  EXPECT_EQ(Query(ud, "K?"), "16");
  EXPECT_EQ(Query(ud, "T?"), "0.333333333333333");  // 15 significant digits
  EXPECT_EQ(Query(ud, "L?"), "10;9;8;7");
  EXPECT_EQ(Query(ud, "L?"), "6;5;4;3");
  EXPECT_EQ(Query(ud, "W?"), "0 0.1 0.2");

  std::uint64_t state = 42;
  const std::string first = Query(ud, "N?");
  EXPECT_EQ(first, G15(Noise(state, 0.5)));
  EXPECT_EQ(Query(ud, "N?"), G15(Noise(state, 0.5)));
  for (int i = 0; i < 200; ++i) {
    const double value = std::stod(Query(ud, "N?"));
    EXPECT_GE(value, -0.5);
    EXPECT_LT(value, 0.5);
  }
  // A new configuration starts every sequence again.
  Configure(text);
  EXPECT_EQ(Query(Sim().Ibdev(0, 2, 0, 11, 1, 0), "N?"), first);
}

// The lines of the calls the CEC and NI tests do not compare whole, and the quoting.
TEST(GpibSim, CallLogLines) {
  Configure("cec-board 0\nni-board 0\ninstrument cec 0 5\n  idn Q\ninstrument ni 0 5\n");
  int status = 0;
  char buffer[100];
  Sim().Presence();
  Sim().SelectBoard(0);
  Sim().BoardQuery(204);
  Sim().CecTransmit("MTA LISTEN 5", 65535, &status);
  Sim().SendBytes("a\"\\\r\n\x01\xFF", 7, 1, &status);
  Sim().Ibfind("GPIB0");
  const int ud = Sim().Ibdev(0, 5, 0, 11, 1, 0);
  Sim().Ibwrt(ud, "*IDN?", 5);
  Sim().Ibrd(ud, buffer, 100);
  Sim().Ibrsp(ud, buffer);
  short listener = 0;
  Sim().Ibln(0, 5, 0, &listener);
  Sim().Ibsic(0);
  Sim().Ibonl(ud, 0);
  Sim().Ibonl(ud, 0);
  EXPECT_EQ(std::string(Sim().Log()),
            "cec_presence -> 1\n"
            "cec_select_board 0\n"
            "cec_board_query 204 -> 0\n"
            "cec_transmit \"MTA LISTEN 5\" 65535 -> 0\n"
            "cec_send_bytes \"a\\\"\\\\\\r\\n\\x01\\xFF\" 7 1 -> 0\n"
            "ibfind \"GPIB0\" -> 0\n"
            "ibdev 0 5 0 11 1 0 -> 32\n"
            "ibwrt 32 \"*IDN?\" 5 -> 0x0100\n"
            "ibrd 32 100 -> 0xC000\n"
            "ibrsp 32 -> 0x0100\n"
            "ibln 0 5 0 -> 0x0100\n"
            "ibsic 0 -> 0x0100\n"
            "ibonl 32 0 -> 0x0100\n"
            "ibonl 32 0 -> 0x8000\n");
  EXPECT_EQ(Received(CEC, 5), "a\"\\\r\n\x01\xFF");
  EXPECT_EQ(Sim().Received(CEC, 0, 6, nullptr, 0), -1);
  EXPECT_EQ(Sim().Received(3, 0, 5, nullptr, 0), -1);
  Sim().ClearLog();
  EXPECT_STREQ(Sim().Log(), "");
  Sim().Presence();
  Configure("");
  EXPECT_STREQ(Sim().Log(), "");
}

// QORV_GPIBSIM_FILE configures a fresh instance of the library on its first call. A
// copy of the file gives a fresh instance beside the one the other tests use.
TEST(GpibSim, ConfigurationFileNamedByTheEnvironment) {
  const TTempDir temp;
  std::ofstream(temp.PathOf("bus.sim")) << "cec-board 0\n";
  const std::string copy = temp.PathOf("libcopy.so");
  std::filesystem::copy_file(QORV_GPIBSIM_PATH, copy);
  setenv("QORV_GPIBSIM_FILE", temp.PathOf("bus.sim").c_str(), 1);
  const TSim fresh(copy.c_str());
  EXPECT_EQ(fresh.Presence(), 1);
  EXPECT_STREQ(fresh.Log(), "cec_presence -> 1\n");
  unsetenv("QORV_GPIBSIM_FILE");
  dlclose(fresh.Handle);
}

}  // namespace
