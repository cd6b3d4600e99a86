// The CEC board's command language: a text of bus words handed to cec_transmit, e.g.
// "UNT UNL MTA LISTEN 5 DATA '*IDN?' EOI END" or "MLA TALK 5". Words are read left to
// right and act at once; the first failing word ends the text with its status.
#include <cctype>
#include <string>

#include "cec_board.h"

namespace gpibsim {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class TWordScanner {
public:
  explicit TWordScanner(std::string_view text) : Text(text) {}

  // The next word in upper case (a lone quote is a word of its own); empty at the end.
  std::string Word() {
    while (Pos < Text.size() && IsBlank(Text[Pos])) ++Pos;
    if (Pos < Text.size() && Text[Pos] == '\'') return std::string(1, Text[Pos++]);
    std::string word;
    while (Pos < Text.size() && !IsBlank(Text[Pos]) && Text[Pos] != '\'')
      word += static_cast<char>(std::toupper(static_cast<unsigned char>(Text[Pos++])));
    return word;
  }

  // The quoted text after DATA, appended to bytes: '' stands for one quote, and a
  // missing closing quote takes the data to the end of the text.
  bool Quoted(std::string& bytes) {
    while (Pos < Text.size() && IsBlank(Text[Pos])) ++Pos;
    if (Pos >= Text.size() || Text[Pos] != '\'') return false;
    for (++Pos; Pos < Text.size(); ++Pos) {
      if (Text[Pos] == '\'') {
        if (Pos + 1 >= Text.size() || Text[Pos + 1] != '\'') {
          ++Pos;
          return true;
        }
        ++Pos;
      }
      bytes += Text[Pos];
    }
    return true;
  }

private:
  std::string_view Text;
  std::size_t Pos = 0;
};

// A primary address 0..30 in decimal, or -1.
int Address(std::string_view word) {
  if (word.empty() || word.size() > 2) return -1;
  int address = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') return -1;
    address = address * 10 + (c - '0');
  }
  return address <= 30 ? address : -1;
}

}  // namespace

int TCecBoard::Transmit(std::string_view text) {
  TWordScanner scanner(text);
  std::string data;  // the bytes of DATA words not sent yet
  for (;;) {
    const std::string word = scanner.Word();
    if (word == "DATA") {
      if (!scanner.Quoted(data)) return cecERROR;
      continue;
    }
    // Pending data goes out before the next word acts; EOI and END mark its last byte.
    const bool eoi = word == "EOI" || word == "END";
    if (word == "END")
      for (const unsigned char c : EndCharacters)
        if (c != 0) data += static_cast<char>(c);
    if (const int status = Send(data, eoi); status != cecOK) return status;
    data.clear();
    if (word.empty()) return cecOK;
    if (eoi) continue;
    const std::string number = word == "TALK" || word == "LISTEN" ? scanner.Word() : "";
    if (const int status = Execute(word, number); status != cecOK) return status;
  }
}

int TCecBoard::Execute(const std::string& word, std::string_view number) {
  if (word == "UNT") {
    ComputerTalks = false;
    Talker = -1;
  } else if (word == "UNL") {
    ComputerListens = false;
    Listeners.clear();
  } else if (word == "MTA") {
    ComputerTalks = true;
    Talker = -1;
  } else if (word == "MLA") {
    ComputerListens = true;
  } else if (word == "TALK" || word == "LISTEN") {
    const int address = Address(number);
    if (address < 0) return cecERROR;
    if (word == "TALK") {
      Talker = address;
      ComputerTalks = false;
    } else {
      TInstrument* instrument = At(address);
      if (instrument == nullptr) return cecTIMEOUT;
      Listeners.insert(address);
      if (RemoteEnable) instrument->Remote = true;
    }
  } else if (word == "IFC") {
    Unaddress();
  } else if (word == "DCL") {
    for (auto& [address, instrument] : Instruments) instrument->Clear();
  } else if (word == "REN") {
    RemoteEnable = true;
  } else if (word == "LOCAL") {
    RemoteEnable = false;
    for (auto& [address, instrument] : Instruments) {
      instrument->Remote = false;
      instrument->LockedOut = false;
    }
  } else if (word == "GTL") {
    for (const int address : Listeners) At(address)->Remote = false;
  } else if (word == "LLO") {
    for (auto& [address, instrument] : Instruments) instrument->LockedOut = true;
  } else {
    return cecERROR;
  }
  return cecOK;
}

}  // namespace gpibsim
