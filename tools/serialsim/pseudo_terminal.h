// A pseudo-terminal pair in raw mode: the master side is the instrument's end, the slave
// side the "serial port" a program opens by its device path. The slave stays open here
// as long as the object lives, so that the master never sees a hang-up between the
// port user's opens and closes.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace serialsim {

class TPseudoTerminal {
public:
  // Opens the pair: raw, the master non-blocking, both closed on exec.
  // std::runtime_error when the system has no pseudo-terminal to give.
  TPseudoTerminal();
  ~TPseudoTerminal();
  TPseudoTerminal(const TPseudoTerminal&) = delete;
  TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

  // The master's descriptor, for reading and polling.
  int Master() const { return MasterHandle; }
  // The device path of the slave side (for example /dev/pts/7).
  const std::string& SlavePath() const { return Slave; }

  // Writes every byte to the master, waiting for room while the port side is slow; gives
  // up after the limit, when stopped() answers true or at a write error. Answers whether
  // every byte went.
  bool WriteAll(const std::string& bytes, std::chrono::milliseconds limit,
                const std::function<bool()>& stopped = {}) const;

private:
  int MasterHandle = -1;
  int SlaveHandle = -1;
  std::string Slave;
};

}  // namespace serialsim
