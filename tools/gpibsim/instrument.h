// A simulated instrument: its settings and reply rules from the configuration, and the
// state the bus changes (the message being received, the reply waiting to be read, the
// serial-poll status byte, remote and lockout).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generator.h"

namespace gpibsim {

enum class TBusKind { CEC = 1, NI = 2 };

struct TReplyRule {
  enum TKind { TEXT, NUMBER, NUMBERS, BINARY, PARTIAL, SILENT };

  std::string Command;  // the message it answers, matched exactly
  TKind Kind = SILENT;
  std::string Bytes;  // TEXT and PARTIAL: the text; BINARY: the encoded values
  std::int64_t Count = 0;  // NUMBERS: values per reply; PARTIAL: bytes that come
  std::string Separator;   // NUMBERS
  TGenerator Generator = TGenerator::Constant(0);  // NUMBER, NUMBERS
};

// How a read of the pending reply ended.
enum class TTalkEnd { COUNT, EOI, END_CHARACTER, SILENCE };

class TInstrument {
public:
  static constexpr int None = -1;  // no terminator

  TBusKind Kind = TBusKind::NI;
  int Board = 0;
  int Address = 0;
  int Terminator = 10;
  int InputTerminator = 10;
  bool Eoi = true;
  bool Talker = true;
  bool Listener = true;
  int StatusByte = 0;
  int ReplyDelayMs = 0;  // an NI read waits this long (outside the bus lock) first
  std::vector<TReplyRule> Rules;

  // Run-time state.
  std::string Received;  // every data byte since the configuration
  bool Remote = false;
  bool LockedOut = false;

  TReplyRule* FindRule(std::string_view command);

  // Data bytes from the bus; eoi marks the last one. Each complete message (ended by the
  // input terminator or EOI) is answered at once.
  void Accept(std::string_view bytes, bool eoi);
  // Device clear: the partial message and the unread reply are dropped.
  void Clear();
  // The serial poll: answers the status byte and clears its RQS bit (0x40).
  int Poll();
  // Talks the pending reply into buffer, at most max bytes, stopping after EOI or after
  // a byte marked in endCharacters (when given).
  TTalkEnd Talk(char* buffer, long max, long& count,
                const std::array<bool, 256>* endCharacters);

private:
  void Answer(std::string_view message);

  std::string Input;  // the message being received
  std::string Reply;  // the reply not yet read
  std::size_t ReplyPosition = 0;
  bool ReplyEoi = false;  // EOI comes with the reply's last byte
};

}  // namespace gpibsim
