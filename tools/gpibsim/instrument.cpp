#include "instrument.h"

namespace gpibsim {

TReplyRule* TInstrument::FindRule(std::string_view command) {
  for (TReplyRule& rule : Rules)
    if (rule.Command == command) return &rule;
  return nullptr;
}

void TInstrument::Accept(std::string_view bytes, bool eoi) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    Received += c;
    Input += c;
    const bool atTerminator =
        InputTerminator != None && static_cast<unsigned char>(c) == InputTerminator;
    if (!atTerminator && !(eoi && i + 1 == bytes.size())) continue;
    std::string message = std::move(Input);
    Input.clear();
    if (atTerminator) message.pop_back();
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                                message.back() == ' ' || message.back() == '\t'))
      message.pop_back();
    // An empty line is no message: an unread reply stays.
    if (!message.empty()) Answer(message);
  }
}

void TInstrument::Answer(std::string_view message) {
  Reply.clear();
  ReplyPosition = 0;
  ReplyEoi = Eoi;
  TReplyRule* found = FindRule(message);
  if (found == nullptr) return;
  TReplyRule& rule = *found;
  const std::string terminator =
      Terminator == None ? std::string() : std::string(1, static_cast<char>(Terminator));
  switch (rule.Kind) {
    case TReplyRule::TEXT:
      Reply = rule.Bytes + terminator;
      break;
    case TReplyRule::NUMBER:
      Reply = FormatNumber(rule.Generator.Next()) + terminator;
      break;
    case TReplyRule::NUMBERS:
      for (std::int64_t i = 0; i < rule.Count; ++i) {
        if (i > 0) Reply += rule.Separator;
        Reply += FormatNumber(rule.Generator.Next());
      }
      Reply += terminator;
      break;
    case TReplyRule::BINARY:
      Reply = rule.Bytes;
      break;
    case TReplyRule::PARTIAL:
      Reply = rule.Bytes.substr(0, static_cast<std::size_t>(rule.Count));
      ReplyEoi = false;
      break;
    case TReplyRule::SILENT:
      break;
  }
}

void TInstrument::Clear() {
  Input.clear();
  Reply.clear();
  ReplyPosition = 0;
}

int TInstrument::Poll() {
  const int byte = StatusByte;
  StatusByte &= ~0x40;
  return byte;
}

TTalkEnd TInstrument::Talk(char* buffer, long max, long& count,
                           const std::array<bool, 256>* endCharacters) {
  count = 0;
  while (count < max) {
    if (ReplyPosition >= Reply.size()) return TTalkEnd::SILENCE;
    const char c = Reply[ReplyPosition++];
    buffer[count++] = c;
    if (ReplyPosition == Reply.size()) {
      Reply.clear();
      ReplyPosition = 0;
      if (ReplyEoi) return TTalkEnd::EOI;
    }
    if (endCharacters != nullptr && (*endCharacters)[static_cast<unsigned char>(c)])
      return TTalkEnd::END_CHARACTER;
  }
  return TTalkEnd::COUNT;
}

}  // namespace gpibsim
