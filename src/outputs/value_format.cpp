#include "outputs/value_format.h"

#include <algorithm>
#include <cctype>

#include "model/number_text.h"

TValueFormat ParseValueFormat(const std::string& format) {
  TValueFormat result;
  // "0." then one "0" per decimal, then "E-0" for the scientific notation.
  std::size_t begin = 0, end = format.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(format[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(format[end - 1]))) --end;
  const std::string text = format.substr(begin, end - begin);
  if (text.empty() || text[0] != '0') return result;
  int decimals = 0;
  std::size_t at = 1;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && text[at] == '0') {
      ++decimals;
      ++at;
    }
  }
  if (at == text.size())
    result.Notation = ntFIXED;
  else if (text[at] == 'E' || text[at] == 'e')
    result.Notation = ntSCIENTIFIC;
  else
    return result;
  result.Decimals = NumberText::ClampDecimals(decimals);
  return result;
}

std::string FormatValue(double value, const TValueFormat& format) {
  char text[NumberText::FormatNumberMaxChars];
  char* end = NumberText::FormatNumberTo(text, value, format.Notation,
                                         NumberText::ClampDecimals(format.Decimals));
  // The value texts of variables keep their "E+3"; the pattern drops the "+".
  if (format.Notation == ntSCIENTIFIC) end = std::remove(text, end, '+');
  return std::string(text, end);
}

std::string FormatValue(double value, const std::string& format) {
  return FormatValue(value, ParseValueFormat(format));
}

std::string CommaFreeFormat(const std::string& format) {
  std::string result = format;
  result.erase(std::remove(result.begin(), result.end(), ','), result.end());
  return result;
}
