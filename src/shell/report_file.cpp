#include "shell/report_file.h"

#include <cstdint>
#include <cstdio>
#include <utility>

#include "model/report.h"
#include "model/text.h"
#include "model/write_file.h"

namespace {

// The code point of the UTF-8 sequence at text[i] and its length; length 0 when the
// bytes there are no well-formed sequence.
std::pair<std::uint32_t, std::size_t> DecodeUtf8(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  std::uint32_t code = 0;
  std::uint32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return {0, 0};
  }
  if (i + length > text.size()) return {0, 0};
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return {0, 0};
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and code points beyond Unicode are no characters.
  if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return {0, 0};
  return {code, length};
}

// \uN? with N the UTF-16 unit as a signed 16-bit number, "?" the reader's fallback.
void AppendUnit(std::string& rtf, std::uint32_t unit) {
  rtf += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(unit))) +
         "?";
}

void AppendByte(std::string& rtf, unsigned char byte) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\'%02x", byte);
  rtf += hex;
}

void AppendEscaped(std::string& rtf, const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\\' || byte == '{' || byte == '}') {
      rtf += '\\';
      rtf += static_cast<char>(byte);
    } else if (byte == '\t') {
      rtf += "\\tab ";
    } else if (byte < 0x20 || byte == 0x7F) {
      AppendByte(rtf, byte);
    } else if (byte < 0x80) {
      rtf += static_cast<char>(byte);
    } else {
      const auto [code, length] = DecodeUtf8(text, i);
      if (length == 0) {
        AppendByte(rtf, byte);
      } else {
        if (code < 0x10000) {
          AppendUnit(rtf, code);
        } else {
          AppendUnit(rtf, 0xD800 + ((code - 0x10000) >> 10));
          AppendUnit(rtf, 0xDC00 + ((code - 0x10000) & 0x3FF));
        }
        i += length;
        continue;
      }
    }
    ++i;
  }
}

}  // namespace

std::string ReportRtf(const TReportDocument& report) {
  // Arial 10 pt with half-inch tab stops, the listing's columns as the preview sets them.
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720"
      "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs20\n";
  for (const TReportLine& line : report.GetLines()) {
    const TReportStyle& style = line.Style;
    const bool styled = style.Bold || style.Underline || style.Italic;
    // A group per styled line: its style ends with the group.
    if (styled) {
      rtf += '{';
      if (style.Bold) rtf += "\\b";
      if (style.Underline) rtf += "\\ul";
      if (style.Italic) rtf += "\\i";
      rtf += ' ';
    }
    AppendEscaped(rtf, line.Text);
    if (styled) rtf += '}';
    rtf += "\\par\n";
  }
  rtf += "}\n";
  return rtf;
}

std::string ReportText(const TReportDocument& report) {
  std::string text;
  for (const TReportLine& line : report.GetLines()) text += line.Text + '\n';
  return text;
}

bool IsRichTextName(const std::string& path) { return UpperText(path).ends_with(".RTF"); }

void SaveReport(const TReportDocument& report, const std::string& path) {
  TWriteFile file(path);
  file.WriteText(IsRichTextName(path) ? ReportRtf(report) : ReportText(report));
  file.Commit();
}
