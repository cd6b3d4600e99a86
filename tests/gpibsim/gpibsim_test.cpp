// The simulated GPIB bus reached as the loaders reach it (dlopen, every export by name): what
// the CEC and NI tests in tests/communication do not show. Rules: tools/gpibsim/README.md.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
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
#include "support/gpib_sim.h"
#include "tools/gpibsim/gpibsim.h"

namespace {

constexpr int CMPL = 0x0100;

// Every export of the library, a member named as the export (a missing one fails the test).
#define QORV_ENTRY(Type, name) Type name = Get<Type>(#name);
#define QORV_CEC(name) QORV_ENTRY(cec_##name##_fn, cec_##name)
#define QORV_NI(name) QORV_ENTRY(ni_##name##_fn, name)
#define QORV_CONTROL(name) QORV_ENTRY(decltype(&::gpibsim_##name), gpibsim_##name)
struct TSim {
  // Never unmapped (thread-local status; see tests/support/gpib_sim.cpp).
  explicit TSim(const char* path) : Handle(dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}
  template <typename Fn> Fn Get(const char* name) const {
    void* entry = Handle != nullptr ? dlsym(Handle, name) : nullptr;
    if (entry == nullptr) ADD_FAILURE() << "no export " << name;
    return reinterpret_cast<Fn>(entry);
  }
  void* Handle;
  QORV_CEC(presence) QORV_CEC(select_board) QORV_CEC(board_query) QORV_CEC(initialize)
  QORV_CEC(receive) QORV_CEC(set_end_chars) QORV_CEC(set_timeout) QORV_CEC(serial_poll)
  QORV_CEC(send_bytes) QORV_CEC(transmit)
  QORV_NI(ibdev) QORV_NI(ibfind) QORV_NI(ibwrt) QORV_NI(ibrd) QORV_NI(ibrsp) QORV_NI(ibtmo)
  QORV_NI(ibeot) QORV_NI(ibonl) QORV_NI(ibln) QORV_NI(ibsic) QORV_ENTRY(int*, ibsta)
  QORV_ENTRY(int*, iberr) QORV_ENTRY(long*, ibcntl) QORV_ENTRY(ni_thread_count_fn, ThreadIbcntl)
  QORV_ENTRY(ni_thread_status_fn, ThreadIbsta) QORV_ENTRY(ni_thread_status_fn, ThreadIberr)
  QORV_CONTROL(configure) QORV_CONTROL(configure_file) QORV_CONTROL(error) QORV_CONTROL(log)
  QORV_CONTROL(clear_log) QORV_CONTROL(received) QORV_CONTROL(set_status_byte)
};

const TSim& Sim() {
  static const TSim sim(QORV_GPIBSIM_PATH);
  return sim;
}

int Transmit(const std::string& text) {
  int status = -1;
  Sim().cec_transmit(text.c_str(), 65535, &status);
  return status;
}

// The bytes and the status of a read: cec_receive's status, or ibrd's ibsta.
using TReply = std::pair<std::string, int>;
TReply CecReceive(int max) {
  std::string buffer(static_cast<std::size_t>(max), '\0');
  int count = -1, status = -1;
  Sim().cec_receive(buffer.data(), max, &count, &status);
  return {buffer.substr(0, static_cast<std::size_t>(count)), status};
}
TReply Ibrd(int ud, long count) {
  std::string buffer(static_cast<std::size_t>(count), '\0');
  const int ibsta = Sim().ibrd(ud, buffer.data(), count);
  return {buffer.substr(0, static_cast<std::size_t>(Sim().ThreadIbcntl())), ibsta};
}

int Ibwrt(int ud, const std::string& bytes) {
  return Sim().ibwrt(ud, bytes.data(), static_cast<long>(bytes.size()));
}

std::string Query(int ud, const std::string& message) {
  EXPECT_EQ(Ibwrt(ud, message), CMPL);
  return Ibrd(ud, 1000).first;
}

TEST(GpibSim, ConfigurationErrorsAnswerTheirLineAndTheDemoLoads) {
  const std::pair<const char*, int> bad[] = {
      {"ni-board 0\nbogus 1\n", 2}, {"cec-board 0 scan\n", 1}, {"ni-board 32\n", 1},
      {"# a comment\n\nidn X\n", 3}, {"instrument gpib 0 1\n", 1}, {"instrument ni 0 31\n", 1},
      {"cec-board 0\r\ncec-board 0x0\r\n", 2}, {"instrument ni 0 5\ninstrument ni 0 5\n", 2},
      {"instrument ni 0 5\n  reply A = silent\n  reply A = text again\n", 3},
      {"instrument ni 0 5\n  idn X\n  reply *IDN? = text Y\n", 3}};
  const auto refused = [](const std::string& text, int line) {
    EXPECT_EQ(Sim().gpibsim_configure(text.c_str()), line) << text;
    EXPECT_STRNE(Sim().gpibsim_error(), "") << text;
  };
  for (const auto& [text, line] : bad) refused(text, line);
  for (const char* property :
       {"terminator 256", "eoi maybe", "status 0x100", "talker off now", "reply A text x",
        "reply = text x", "reply A = shout x", "reply A = number wave 1",
        "reply A = number constant 1 2", "reply A = number constant 1,5",
        "reply A = number constant --1", "reply A = number sine 1 0", "reply A = number ramp 0 1 0",
        "reply A = numbers 0 , constant 1", "reply A = numbers 2 \\q constant 1",
        "reply A = binary int16 le 65536", "reply A = binary int8 le -129",
        "reply A = binary int8 me 1", "reply A = binary float32 be", "reply A = partial -1 x"})
    refused(std::string("instrument ni 0 5\n  ") + property + "\n", 2);
  // Comments, CR LF line ends, hex numbers and commands holding blanks are read.
  TGpibSim bus(
      "# boards\r\nni-board 0x0   # the first\r\n\r\ninstrument ni 0 0x5\r\n"
      "  terminator none\r\n  reply MEAS:VOLT? DC = text #2 text # kept\r\n");
  EXPECT_EQ(Query(Sim().ibdev(0, 5, 0, 11, 1, 0), "MEAS:VOLT? DC"), "#2 text # kept");
  // A refused text leaves the previous configuration in place; so does a missing file.
  EXPECT_EQ(Sim().gpibsim_configure("ni-board 1\nwhat\n"), 2);
  EXPECT_EQ(Sim().gpibsim_configure_file("/nonexistent/bus.sim"), -1);
  EXPECT_STRNE(Sim().gpibsim_error(), "");
  EXPECT_EQ(Sim().ibfind("gpib0"), 0);
  EXPECT_EQ(Sim().ibfind("GPIB1"), -1);
  const auto demo = std::filesystem::path(QORV_SOURCE_DIR) / "tools/gpibsim/demo.sim";
  EXPECT_EQ(Sim().gpibsim_configure_file(demo.c_str()), 0) << Sim().gpibsim_error();
  EXPECT_EQ(Query(Sim().ibdev(0, 5, 0, 11, 1, 0), "*IDN?"), "QORV,DMM-5,0,1.0\n");
}

// The words and calls the CEC class never sends, and the board queries.
TEST(GpibSim, CecCommandLanguageAndBoardQueries) {
  TGpibSim bus(
      "cec-board 0\ninstrument cec 0 5\n  reply R? = text abc\ninstrument cec 0 7\n"
      "  listener off\n");
  EXPECT_EQ(Sim().cec_board_query(0), 1);
  // A failing word ends the text with its status; no listener gets any byte.
  for (const auto& [text, status] :
       {std::pair{"UNT UNL LISTEN 5 DATA 'x'", 1}, {"MTA LISTEN 5 LISTEN 9 DATA 'x'", 8},
        {"MTA LISTEN 31 DATA 'x'", 1}, {"MTA LISTEN 5 JUMP DATA 'x'", 1},
        {"MTA LISTEN 5 DATA x", 1}, {"MTA LISTEN 5 LISTEN 7 DATA 'x'", 8}})
    EXPECT_EQ(Transmit(text), status) << text;
  // Lower case; a missing closing quote takes the rest; END appends the non-zero END
  // characters (the low byte of each).
  EXPECT_EQ(Transmit("unt unl mta listen 5 data 'it''s A"), 0);
  for (const auto& [first, second] : {std::pair{13, 10}, {-1, 0}, {10, 0}}) {
    Sim().cec_set_end_chars(first, second);
    EXPECT_EQ(Transmit("DATA 'x' END"), 0);
  }
  EXPECT_EQ(bus.Received(TGpibSim::kCEC, 0, 5), "it's Ax\r\nx\xFFx\n");
  // DCL drops an unread reply; raw bytes complete a message at the one sent with EOI.
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5 DATA 'R?' END DCL MLA TALK 5"), 0);
  EXPECT_EQ(CecReceive(100), TReply("", 8));
  int status = -1;
  EXPECT_EQ(Transmit("UNT UNL MTA LISTEN 5"), 0);
  EXPECT_EQ(Sim().cec_send_bytes("R", 1, 0, &status), 0);
  EXPECT_EQ(Sim().cec_send_bytes("?", 1, 1, &status), 0);
  EXPECT_EQ(Transmit("MLA TALK 5"), 0);
  EXPECT_EQ(CecReceive(100), TReply("abc\n", 0));
  EXPECT_EQ(Sim().gpibsim_set_status_byte(TGpibSim::kCEC, 0, 9, 1), -1);
  EXPECT_EQ(Sim().gpibsim_received(TGpibSim::kCEC, 0, 9, nullptr, 0), -1);
  EXPECT_EQ(Sim().cec_select_board(1), 1);
  EXPECT_EQ(Sim().cec_board_query(204), -1);  // an absent board has no number
  bus.Configure("cec-board 2 noscan\nni-board 0\n");
  EXPECT_EQ(Sim().cec_select_board(2), 0);
  EXPECT_EQ(Sim().cec_board_query(204), 2);
  EXPECT_EQ(Sim().cec_board_query(0), 0);
}

// How NI messages complete, the calls the NI class never makes, and the status: per
// thread, and the last call's in the variables.
TEST(GpibSim, NiMessagesDescriptorsAndStatus) {
  TGpibSim bus(
      "ni-board 0\ninstrument ni 0 5\n  idn NI,DMM\n  reply QUIET? = silent\ninstrument ni 0 9\n"
      "  input-terminator 59\n  terminator none\n  reply A = text a\n  reply B = text b\n");
  EXPECT_EQ(Sim().cec_presence(), 0);  // no CEC board
  EXPECT_EQ(Sim().ibdev(0, 31, 0, 11, 1, 0), -1);
  EXPECT_EQ(Sim().ibdev(0, 5, 0, 18, 1, 0), -1);
  EXPECT_EQ(Sim().ThreadIberr(), 4);
  const int ud = Sim().ibdev(0, 5, 0, 11, 1, 0);
  EXPECT_EQ(ud, 32);
  // A new message replaces an unread reply, an empty one does not; without EOI a message
  // needs its terminator; a read of fewer bytes than the reply ends without END.
  Ibwrt(ud, "*IDN?");
  EXPECT_EQ(Query(ud, "QUIET?"), "");
  Ibwrt(ud, "*IDN?");
  EXPECT_EQ(Query(ud, " \r\n"), "NI,DMM\n");
  Sim().ibeot(ud, 0);
  EXPECT_EQ(Query(ud, "*IDN?"), "");
  Ibwrt(ud, "\n");
  EXPECT_EQ(Ibrd(ud, 3), TReply("NI,", CMPL));
  EXPECT_EQ(Ibrd(ud, 100), TReply("DMM\n", CMPL | niEND));
  const int split = Sim().ibdev(0, 9, 0, 11, 1, 0);
  EXPECT_EQ(Query(split, "A;B"), "b");  // messages end at ';'
  short listener = -1;
  EXPECT_EQ(Sim().ibln(split, 5, 0, &listener), CMPL);
  EXPECT_EQ(listener, 1);
  EXPECT_EQ(Sim().ibsic(ud), niERR);  // a board's call
  EXPECT_EQ(Sim().ibonl(split, 0), CMPL);
  for (const int unknown : {split, 1, 99, -1}) EXPECT_EQ(Ibwrt(unknown, "x"), niERR) << unknown;
  EXPECT_EQ(Sim().ThreadIberr(), 1);
  EXPECT_EQ(Sim().ibdev(0, 9, 0, 11, 1, 0), split);  // the lowest free descriptor again
  EXPECT_EQ(Ibrd(ud, 10).second, niERR | niTIMO);
  std::thread([] {
    EXPECT_EQ(Sim().ibfind("GPIB0"), 0);
    EXPECT_EQ(Sim().ThreadIbsta(), CMPL);
  }).join();
  EXPECT_EQ(Sim().ThreadIbsta(), niERR | niTIMO);
  EXPECT_EQ(*Sim().ibsta, CMPL);
  Ibwrt(ud, "abc");
  EXPECT_EQ(*Sim().iberr, 0);
  EXPECT_EQ(*Sim().ibcntl, 3);
}

TEST(GpibSim, GeneratorSequences) {
  const char* const text =
      "ni-board 0\ninstrument ni 0 2\n  terminator none\n  reply C? = number counter 1 0.5\n"
      "  reply R? = number ramp 0 1 4\n  reply S? = number sine 2 4\n"
      "  reply K? = number constant 0x10\n  reply T? = number constant 0.333333333333333333\n"
      "  reply L? = numbers 4 ; counter 10 -1\n  reply W? = numbers 3 \\s counter 0 0.1\n"
      "  reply N? = number noise 42 0.5\n";
  TGpibSim bus(text);
  const int ud = Sim().ibdev(0, 2, 0, 11, 1, 0);
  for (const auto& [command, value] :
       {std::pair{"C?", "1"}, {"C?", "1.5"}, {"C?", "2"}, {"R?", "0"}, {"R?", "0.25"},
        {"R?", "0.5"}, {"R?", "0.75"}, {"R?", "1"}, {"R?", "0"}, {"S?", "0"}, {"S?", "2"},
        {"K?", "16"}, {"T?", "0.333333333333333"}, {"L?", "10;9;8;7"}, {"L?", "6;5;4;3"},
        {"W?", "0 0.1 0.2"}})
    EXPECT_EQ(Query(ud, command), value) << command;
  // Noise: SplitMix64 from the seed, u = (z >> 11) / 2^53, the value a (2 u - 1).
  for (std::uint64_t state = 42, i = 0; i < 200; ++i) {
    std::uint64_t z = state += 0x9E3779B97F4A7C15u;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    const double u = std::ldexp((z ^ (z >> 31)) >> 11, -53);
    char value[40];
    std::snprintf(value, sizeof value, "%.15g", 0.5 * (2 * u - 1));
    EXPECT_EQ(Query(ud, "N?"), value) << i;
  }
  bus.Configure(text);  // every sequence starts again
  EXPECT_EQ(Query(Sim().ibdev(0, 2, 0, 11, 1, 0), "C?"), "1");
}

// QORV_GPIBSIM_FILE configures a fresh instance of the library on its first call: a copy
// of the file gives one beside the instance the other tests use. Its log shows the quoting.
TEST(GpibSim, ConfigurationFileNamedByTheEnvironment) {
  const TTempDir temp;
  std::ofstream(temp.PathOf("bus.sim")) << "cec-board 0\n";
  std::filesystem::copy_file(QORV_GPIBSIM_PATH, temp.PathOf("libcopy.so"));
  setenv("QORV_GPIBSIM_FILE", temp.PathOf("bus.sim").c_str(), 1);
  const TSim fresh(temp.PathOf("libcopy.so").c_str());
  EXPECT_EQ(fresh.cec_presence(), 1);
  EXPECT_EQ(fresh.ibfind("\"\\\r\n\x01\xFF"), -1);
  EXPECT_STREQ(fresh.gpibsim_log(),
               "cec_presence -> 1\nibfind \"\\\"\\\\\\r\\n\\x01\\xFF\" -> -1\n");
  unsetenv("QORV_GPIBSIM_FILE");
  dlclose(fresh.Handle);
}

}  // namespace

namespace {

// A slow instrument's read sleeps with the bus unlocked: another thread's calls go on
// meanwhile, and a bad delay is refused with its line.
TEST(GpibSim, ReplyDelaySleepsOutsideTheLock) {
  TGpibSim bus("ni-board 0\ninstrument ni 0 5\n  idn SLOW\n  delay 300\ninstrument ni 0 6\n"
               "  idn FAST\n");
  const int slow = Sim().ibdev(0, 5, 0, 11, 1, 0);
  const int fast = Sim().ibdev(0, 6, 0, 11, 1, 0);
  Ibwrt(slow, "*IDN?");
  const auto start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::duration fastTook{};
  std::thread other([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(Query(fast, "*IDN?"), "FAST\n");
    fastTook = std::chrono::steady_clock::now() - begin;
  });
  EXPECT_EQ(Ibrd(slow, 100).first, "SLOW\n");
  other.join();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_LT(fastTook, std::chrono::milliseconds(200));  // not held up by the sleep
  EXPECT_EQ(Sim().gpibsim_configure("ni-board 0\ninstrument ni 0 5\n  delay -1\n"), 3);
}

}  // namespace
