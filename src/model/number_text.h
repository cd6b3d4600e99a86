// The one module that converts between text and numbers. Every number that becomes
// text, and every text that becomes a number, goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// How a number becomes text (one byte in documents).
enum TNotationType : std::uint8_t {
  ntSTANDARD = 0,    // general format, 15 significant digits
  ntFIXED = 1,       // fixed-point, 7 significant digits, given decimal places
  ntSCIENTIFIC = 2,  // one digit, given decimal places, exponent with sign
};

namespace NumberText {

// The regional decimal separator used by conversions in both directions ('.' unless
// the application sets another at start-up).
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// String to signed 32-bit integer: an optional sign and decimal digits, nothing else
// (no blanks, no hexadecimal); false when the text does not convert or is out of range.
bool TextToInt(const std::string& text, std::int32_t& result);
// The same on the characters [first, last).
bool CharsToInt(const char* first, const char* last, std::int32_t& result);

// String to float: optional sign, digits with at most one regional decimal separator,
// an optional exponent "E"/"e" with optional sign and digits. No blanks, "inf", "nan"
// or hexadecimal forms. False when the text does not convert or is out of the range
// of a double.
bool TextToFloat(const std::string& text, double& result);
// The same on the characters [first, last).
bool CharsToFloat(const char* first, const char* last, double& result);

// Truncates toward zero, saturating to the int32 range; NaN gives 0.
std::int32_t TruncToInt32(double value);
// True when value truncated toward zero fits in an int32.
bool TruncFitsInt32(double value);

// Decimal text of an integer ("-12").
std::string IntToText(std::int64_t value);

// The most decimal places a number is shown with: a single or a double has no more
// digits worth showing, and a count read from a file cannot grow a text past it.
inline constexpr int MaxDecimalPlaces = 18;

// Decimal places as numbers are shown with them: 0 to MaxDecimalPlaces. The readers clamp
// the counts of files with it rather than refuse them, so that every file loads as before.
int ClampDecimals(std::int64_t decimals);

// A number in a notation with a number of decimal places (ignored by the standard
// notation; clamped by ClampDecimals). A float must be widened to double by the caller, so
// the widening shows ("0.100000001490116" for the single 0.1).
//  - standard: 15 significant digits; fixed-point without trailing zeros when the
//    number has at most 15 integer digits and a magnitude of at least 0.00001, else
//    scientific ("1E20", "1.5E-10");
//  - fixed: exactly `decimals` digits after the separator, 7 significant digits, later
//    digits 0; more than 7 integer digits falls back to the scientific form of the
//    standard notation with 7 digits ("1.234568E7");
//  - scientific: decimals + 1 significant digits, "E", the exponent's sign and digits
//    ("1.23E+3").
// Ties round half away from zero. NaN and infinities give "NAN", "INF" and "-INF".
// Any other notation is a consistency failure.
std::string FormatNumber(double value, int notation, int decimals);

// The longest text FormatNumber gives ("-1234567." and 18 decimals).
inline constexpr std::size_t FormatNumberMaxChars = 27;

// FormatNumber writing into [first, first + FormatNumberMaxChars) without a
// terminating zero; returns the end of the text.
char* FormatNumberTo(char* first, double value, int notation, int decimals);

// The reference method for FormatNumber, for tests and comparisons only: the same text,
// built slowly from the value's complete decimal expansion. Not for production use.
std::string FormatNumberExact(double value, int notation, int decimals);

}  // namespace NumberText
