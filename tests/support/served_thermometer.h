// An instrument of tools/serialsim's rules served on its own thread on a pseudo-terminal,
// as qorv_serialsim serves it; COM1 (QORV_SERIAL_PORTS) is its port while it lives.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "serialsim/rules.h"
#include "serialsim/server.h"

using TServed = std::vector<std::pair<std::string, std::string>>;

class TServedThermometer {
public:
  explicit TServedThermometer(const std::string& rulesFile) : Server(Rules(rulesFile)) {
    if (::pipe2(Stop, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    Server.SetListener([this](const std::string& message, const std::string& reply) {
      std::lock_guard guard(Lock);
      Log.emplace_back(message, reply);
    });
    if (const char* table = std::getenv("QORV_SERIAL_PORTS")) PreviousTable = table;
    ::setenv("QORV_SERIAL_PORTS", Server.SlavePath().c_str(), 1);
    Worker = std::thread([this] { Failure = Server.Serve(Stop[0]); });
  }
  ~TServedThermometer() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(Stop[1], &byte, 1);
    Worker.join();
    ::close(Stop[0]);
    ::close(Stop[1]);
    if (PreviousTable)
      ::setenv("QORV_SERIAL_PORTS", PreviousTable->c_str(), 1);
    else
      ::unsetenv("QORV_SERIAL_PORTS");
    EXPECT_EQ(Failure, 0);
  }

  // The messages served so far with their replies; the log starts again.
  TServed Take() {
    std::lock_guard guard(Lock);
    return std::exchange(Log, {});
  }

private:
  static serialsim::TRules Rules(const std::string& rulesFile) {
    serialsim::TRules rules;
    std::string error;
    EXPECT_TRUE(serialsim::LoadRulesFile(rulesFile, rules, error)) << error;
    return rules;
  }

  serialsim::TSerialServer Server;
  int Stop[2] = {-1, -1};
  std::optional<std::string> PreviousTable;
  std::mutex Lock;
  TServed Log;
  int Failure = 0;
  std::thread Worker;
};

