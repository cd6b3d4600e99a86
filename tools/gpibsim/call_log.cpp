#include "call_log.h"

#include <cstdio>

namespace gpibsim {

std::string QuoteBytes(std::string_view bytes) {
  std::string text = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (c == '\r') {
      text += "\\r";
    } else if (c == '\n') {
      text += "\\n";
    } else if (byte >= 0x20 && byte < 0x7F) {
      text += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      text += hex;
    }
  }
  return text + '"';
}

std::string Hex4(int value) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%04X", static_cast<unsigned>(value) & 0xFFFFu);
  return hex;
}

void TCallLog::Add(std::string line) {
  Lines.push_back(std::move(line));
  if (Lines.size() > MaxLines) Lines.pop_front();
}

std::string TCallLog::Text() const {
  std::string text;
  for (const std::string& line : Lines) {
    text += line;
    text += '\n';
  }
  return text;
}

}  // namespace gpibsim
