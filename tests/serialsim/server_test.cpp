// The simulated serial instrument end to end: the server on a pseudo-terminal as a port
// user sees it, and the qorv_serialsim program as scripts/run starts it.
#include "serialsim/server.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using TServed = std::vector<std::pair<std::string, std::string>>;

serialsim::TRules Rules(const std::string& text) {
  serialsim::TRules rules;
  std::string error;
  EXPECT_EQ(serialsim::ParseRules(text, rules, error), 0) << error;
  return rules;
}

// The port user's end: the slave opened raw.
class TPort {
public:
  explicit TPort(const std::string& path) : Handle(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
    EXPECT_GE(Handle, 0) << path;
    termios raw{};
    ::tcgetattr(Handle, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(Handle, TCSANOW, &raw);
  }
  ~TPort() { ::close(Handle); }
  void Write(const std::string& bytes) {
    EXPECT_EQ(::write(Handle, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // What came within the time, up to the LF that ends a reply.
  std::string ReadLine(std::chrono::milliseconds limit = 2000ms) {
    std::string line;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (line.empty() || line.back() != '\n') {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          end - std::chrono::steady_clock::now());
      pollfd handle{Handle, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&handle, 1, static_cast<int>(left.count())) <= 0) break;
      char byte;
      if (::read(Handle, &byte, 1) == 1) line += byte;
    }
    return line;
  }

private:
  int Handle;
};

class SerialServerTest : public ::testing::Test {
protected:
  SerialServerTest() {
    EXPECT_EQ(::pipe2(Stop, O_CLOEXEC), 0);
    Server.SetListener([this](const std::string& message, const std::string& reply) {
      std::lock_guard guard(Lock);
      Served.emplace_back(message, reply);
    });
    Worker = std::thread([this] { Failure = Server.Serve(Stop[0]); });
  }
  ~SerialServerTest() override {
    EndServer();
    ::close(Stop[0]);
    ::close(Stop[1]);
  }
  void EndServer() {
    if (!Worker.joinable()) return;
    const char byte = 1;
    EXPECT_EQ(::write(Stop[1], &byte, 1), 1);
    Worker.join();
    EXPECT_EQ(Failure, 0);
  }
  TServed Taken() {
    std::lock_guard guard(Lock);
    return std::exchange(Served, {});
  }

  serialsim::TSerialServer Server{Rules("idn ACME\nreply TEMP? = fixed 1 counter 20 0.5\n")};
  int Stop[2] = {-1, -1};
  int Failure = -1;
  std::mutex Lock;
  TServed Served;
  std::thread Worker;
};

TEST_F(SerialServerTest, MessagesEndAtCrOrLfWhereverTheWritesSplitThem) {
  TPort port(Server.SlavePath());
  // A write this small reaches the server whole: with the reply to *IDN? here, the server
  // has read the "TE" after it too, and "MP?\n" comes in a later read.
  port.Write("*IDN?\r\nTE");
  EXPECT_EQ(port.ReadLine(), "ACME\n");
  port.Write("MP?\n");
  EXPECT_EQ(port.ReadLine(), "20.0\n");
  port.Write("  TEMP?  \rBOGUS\r\nTEMP?\n");
  EXPECT_EQ(port.ReadLine(), "20.5\n");
  EXPECT_EQ(port.ReadLine(), "21.0\n");  // BOGUS got nothing
  port.Write(std::string(70000, 'x') + "\n");
  port.Write("*IDN?\n");
  EXPECT_EQ(port.ReadLine(), "ACME\n");
  const TServed served = Taken();
  ASSERT_EQ(served.size(), 7u);
  EXPECT_EQ(served[3], (TServed::value_type{"BOGUS", ""}));
  EXPECT_EQ(served[5].first, std::string(65536, 'x'));  // a runaway message is cut
  EXPECT_EQ(served[6], (TServed::value_type{"*IDN?", "ACME\n"}));

  // A port user that comes and goes leaves the instrument serving.
  { TPort again(Server.SlavePath()); }
  TPort third(Server.SlavePath());
  third.Write("TEMP?\r");
  EXPECT_EQ(third.ReadLine(), "21.5\n");
  EndServer();
}

// Starts qorv_serialsim with the arguments; answers its process id.
pid_t Spawn(const std::vector<std::string>& arguments) {
  std::vector<char*> argv{const_cast<char*>(QORV_SERIALSIM_PATH)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  EXPECT_EQ(::posix_spawn(&pid, QORV_SERIALSIM_PATH, nullptr, nullptr, argv.data(), environ), 0);
  return pid;
}

// The exit status of the process once it ended within the time; -1 when it did not.
int ExitStatus(pid_t pid, std::chrono::milliseconds limit = 5000ms) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(5ms);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return -1;
}

// Whether the file exists (or is gone) within 5 s.
bool ExistsWithin(const std::string& path, bool exists = true) {
  const auto end = std::chrono::steady_clock::now() + 5000ms;
  while (std::filesystem::exists(path) != exists) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

TEST(SerialSimProgram, ServesItsPortUntilTermNamingItInThePathFile) {
  TTempDir temp;
  const std::string rules = temp.WriteBytes("t.rules", {'i', 'd', 'n', ' ', 'T', '\n'});
  const std::string pathFile = temp.PathOf("port");
  const pid_t pid = Spawn({"--path-file", pathFile, rules});
  ASSERT_TRUE(ExistsWithin(pathFile));
  std::string slave;
  std::getline(std::ifstream(pathFile), slave);
  ASSERT_TRUE(slave.starts_with("/dev/")) << slave;
  {
    TPort port(slave);
    port.Write("*IDN?\r");
    EXPECT_EQ(port.ReadLine(), "T\n");
  }
  ::kill(pid, SIGTERM);
  EXPECT_EQ(ExitStatus(pid), 0);
  EXPECT_FALSE(std::filesystem::exists(pathFile));  // removed on the way out

  // A bad rules file or no rules at all: status 2, nothing served.
  const std::string bad = temp.WriteBytes("bad.rules", {'x', '\n'});
  EXPECT_EQ(ExitStatus(Spawn({"--path-file", pathFile, bad})), 2);
  EXPECT_EQ(ExitStatus(Spawn({})), 2);
  EXPECT_FALSE(std::filesystem::exists(pathFile));
}

TEST(SerialSimProgram, EndsWhenTheProgramThatStartedItIsGone) {
  TTempDir temp;
  const std::string rules = temp.WriteBytes("t.rules", {'i', 'd', 'n', ' ', 'T', '\n'});
  const std::string pathFile = temp.PathOf("port");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t parent = ::fork();
  ASSERT_GE(parent, 0);
  if (parent == 0) {
    // The go-between starts the instrument, waits until it serves, and ends.
    const pid_t child = Spawn({"--path-file", pathFile, rules});
    const bool served = ExistsWithin(pathFile);
    const char byte = served ? 1 : 0;
    [[maybe_unused]] const ssize_t ignored = ::write(ready[1], &byte, 1);
    ::_exit(child > 0 && served ? 0 : 1);
  }
  char byte = 0;
  EXPECT_EQ(::read(ready[0], &byte, 1), 1);
  EXPECT_EQ(byte, 1);
  EXPECT_EQ(ExitStatus(parent), 0);
  // Its parent gone, the instrument ends and takes its path file along.
  EXPECT_TRUE(ExistsWithin(pathFile, false));
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
