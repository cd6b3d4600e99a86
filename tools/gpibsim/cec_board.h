// A present CEC board: its END characters, its time-out and the addressing of the bus it
// controls (who talks, who listens), with the instruments on it.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "instrument.h"

namespace gpibsim {

// Status values of the CEC calls.
enum : int { cecOK = 0, cecERROR = 1, cecNOT_LISTENER = 2, cecTIMEOUT = 8 };

class TCecBoard {
public:
  int Number = 0;
  bool NoScan = false;
  std::map<int, TInstrument*> Instruments;  // by address
  unsigned char EndCharacters[2] = {0, 0};
  int TimeOut = 10000;  // milliseconds; kept, never waited for

  TInstrument* At(int address);
  // IFC and initialisation: nobody talks or listens.
  void Unaddress();
  // Interprets a text of the command language (cec_language.cpp).
  int Transmit(std::string_view text);
  // Data bytes from the computer to the addressed listeners; eoi marks the last one.
  int Send(std::string_view bytes, bool eoi);
  // Reads the addressed talker's reply into buffer, at most max bytes.
  int Receive(char* buffer, long max, long& count);
  int SerialPoll(int address, int& byte);

private:
  int Execute(const std::string& word, std::string_view number);

  bool ComputerTalks = false;
  bool ComputerListens = false;
  int Talker = -1;  // the instrument addressed to talk, or -1
  std::set<int> Listeners;
  bool RemoteEnable = false;
};

}  // namespace gpibsim
