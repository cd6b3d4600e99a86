#include "support/rtf_reader.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

namespace {

struct TState {
  TReportStyle Style;
  bool Skip = false;  // inside a destination whose text is no document text
};

void AppendUtf8(std::string& text, std::uint32_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (code >> 18));
    text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

class TRtfReader {
public:
  explicit TRtfReader(const std::string& rtf) : Rtf(rtf) {}

  std::vector<TReportLine> Read() {
    if (Rtf.rfind("{\\rtf", 0) != 0) throw std::runtime_error("no {\\rtf start");
    while (Pos < Rtf.size()) {
      const char c = Rtf[Pos];
      if (Depth == 0 && Started) {
        if (!std::isspace(static_cast<unsigned char>(c)))
          throw std::runtime_error("text after the document");
        ++Pos;
      } else if (c == '{') {
        States.push_back(States.empty() ? TState{} : States.back());
        ++Depth;
        Started = true;
        ++Pos;
        // A destination: {\* ...} or a table of the header.
        for (const std::string destination :
             {"\\*", "\\fonttbl", "\\colortbl", "\\stylesheet", "\\info"})
          if (Rtf.compare(Pos, destination.size(), destination) == 0) States.back().Skip = true;
      } else if (c == '}') {
        if (Depth == 0) throw std::runtime_error("unbalanced }");
        States.pop_back();
        --Depth;
        ++Pos;
      } else if (c == '\\') {
        ControlWord();
      } else if (c == '\r' || c == '\n') {
        ++Pos;
      } else {
        Text(std::string(1, c));
        ++Pos;
      }
    }
    if (Depth != 0) throw std::runtime_error("unbalanced {");
    return Lines;
  }

private:
  TState& State() { return States.back(); }

  void Text(const std::string& text) {
    if (States.empty() || State().Skip) return;
    if (Line.empty() && !HasText) LineStyle = State().Style;
    HasText = true;
    Line += text;
  }

  void EndLine() {
    if (State().Skip) return;
    Lines.push_back({Line, HasText ? LineStyle : State().Style});
    Line.clear();
    HasText = false;
  }

  void Unit(std::uint32_t unit) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      High = unit;
      return;
    }
    std::uint32_t code = unit;
    if (unit >= 0xDC00 && unit <= 0xDFFF && High != 0)
      code = 0x10000 + ((High - 0xD800) << 10) + (unit - 0xDC00);
    High = 0;
    std::string text;
    AppendUtf8(text, code);
    Text(text);
  }

  void ControlWord() {
    ++Pos;  // the backslash
    if (Pos >= Rtf.size()) throw std::runtime_error("a lone backslash at the end");
    const char c = Rtf[Pos];
    if (c == '\\' || c == '{' || c == '}') {
      Text(std::string(1, c));
      ++Pos;
      return;
    }
    if (c == '\'') {
      const std::string hex = Rtf.substr(Pos + 1, 2);
      Pos += 3;
      Text(std::string(1, static_cast<char>(std::strtol(hex.c_str(), nullptr, 16))));
      return;
    }
    if (!std::isalpha(static_cast<unsigned char>(c))) {  // a control symbol: \~, \-, \*
      ++Pos;
      return;
    }
    const auto at = [this](auto test) {
      return Pos < Rtf.size() && test(static_cast<unsigned char>(Rtf[Pos]));
    };
    const auto letter = [](unsigned char c) { return std::isalpha(c) != 0; };
    const auto digit = [](unsigned char c) { return std::isdigit(c) != 0; };
    std::string word;
    while (at(letter)) word += Rtf[Pos++];
    std::string number;
    if (at([](unsigned char c) { return c == '-'; }) || at(digit)) number += Rtf[Pos++];
    while (at(digit)) number += Rtf[Pos++];
    if (Pos < Rtf.size() && Rtf[Pos] == ' ') ++Pos;  // the delimiter
    const bool off = number == "0";
    if (word == "par") {
      EndLine();
    } else if (word == "tab") {
      Text("\t");
    } else if (word == "b") {
      State().Style.Bold = !off;
    } else if (word == "i") {
      State().Style.Italic = !off;
    } else if (word == "ul") {
      State().Style.Underline = !off;
    } else if (word == "ulnone") {
      State().Style.Underline = false;
    } else if (word == "plain") {
      State().Style = {};
    } else if (word == "u") {
      Unit(static_cast<std::uint16_t>(std::atoi(number.c_str())));
      if (Pos < Rtf.size()) ++Pos;  // the one fallback character (\uc1)
    }
  }

  const std::string& Rtf;
  std::size_t Pos = 0;
  int Depth = 0;
  bool Started = false;
  std::vector<TState> States;
  std::vector<TReportLine> Lines;
  std::string Line;
  bool HasText = false;
  TReportStyle LineStyle;
  std::uint32_t High = 0;
};

}  // namespace

std::vector<TReportLine> ReadRtf(const std::string& rtf) { return TRtfReader(rtf).Read(); }
