// A simulated serial instrument: serves its rules on the master side of a pseudo-terminal
// pair. Every CR or LF ends a received message; a message is trimmed (TrimMessage),
// empty ones are ignored, and a message with a rule gets its reply at once.
#pragma once

#include <functional>
#include <string>

#include "pseudo_terminal.h"
#include "rules.h"

namespace serialsim {

class TSerialServer {
public:
  // Told of every message served, with the reply it got (empty: none).
  using TListener = std::function<void(const std::string& message, const std::string& reply)>;

  // Opens the pseudo-terminal (std::runtime_error when there is none to give).
  explicit TSerialServer(TRules rules);

  // The device path a program opens as the instrument's serial port.
  const std::string& SlavePath() const { return Terminal.SlavePath(); }
  // Called on the serving thread; set it before Serve.
  void SetListener(TListener listener) { Listener = std::move(listener); }

  // Serves until the stop descriptor becomes readable (a pipe or an eventfd written by
  // whoever ends the server). Answers 0 then, or the errno of a failure of the terminal.
  int Serve(int stopHandle);

private:
  void Received(const char* bytes, std::size_t count, int stopHandle);

  TPseudoTerminal Terminal;
  TRules Rules;
  TListener Listener;
  std::string Partial;  // the message being received
};

}  // namespace serialsim
