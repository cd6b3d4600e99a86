#include "cec_board.h"

#include <array>

namespace gpibsim {

TInstrument* TCecBoard::At(int address) {
  const auto found = Instruments.find(address);
  return found == Instruments.end() ? nullptr : found->second;
}

void TCecBoard::Unaddress() {
  ComputerTalks = false;
  ComputerListens = false;
  Talker = -1;
  Listeners.clear();
}

int TCecBoard::Send(std::string_view bytes, bool eoi) {
  if (bytes.empty()) return cecOK;
  if (!ComputerTalks) return cecERROR;
  if (Listeners.empty()) return cecTIMEOUT;
  // A listener that accepts nothing holds the handshake: no listener gets the bytes.
  for (const int address : Listeners)
    if (!At(address)->Listener) return cecTIMEOUT;
  for (const int address : Listeners) At(address)->Accept(bytes, eoi);
  return cecOK;
}

int TCecBoard::Receive(char* buffer, long max, long& count) {
  count = 0;
  TInstrument* talker = ComputerListens ? At(Talker) : nullptr;
  if (talker == nullptr || !talker->Talker) return cecNOT_LISTENER;
  std::array<bool, 256> ends{};
  ends[EndCharacters[0]] = true;
  ends[EndCharacters[1]] = true;
  ends[0] = false;
  return talker->Talk(buffer, max, count, &ends) == TTalkEnd::SILENCE ? cecTIMEOUT : cecOK;
}

int TCecBoard::SerialPoll(int address, int& byte) {
  byte = 0;
  if (address < 0 || address > 30) return cecERROR;
  TInstrument* instrument = At(address);
  if (instrument == nullptr) return cecTIMEOUT;
  byte = instrument->Poll();
  return cecOK;
}

}  // namespace gpibsim
