// The output windows' number pattern as text: "" standard, "0.00" fixed with two
// decimals, "0.00E-0" scientific with two decimals (as the number format gives it), and
// numbers shown in it: the graph's axes and the table's cells, text files and clipboard.
// Numbers become text only through the project's formatter.
#pragma once

#include <string>

struct TValueFormat {
  int Notation = 0;  // TNotationType
  int Decimals = 0;  // 0 to NumberText::MaxDecimalPlaces
};

// The notation and decimals of a values format; a text that is no such format shows
// numbers in the standard notation.
TValueFormat ParseValueFormat(const std::string& format);
// The value as text in the format. The scientific pattern ("E-0") writes the exponent's
// sign only when it is negative: "1.25E0", "2.50E-1".
std::string FormatValue(double value, const TValueFormat& format);
std::string FormatValue(double value, const std::string& format);
// The format with every "," removed (a thousands separator would split a comma file's
// fields).
std::string CommaFreeFormat(const std::string& format);
