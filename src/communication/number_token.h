// Cutting numbers out of instrument responses and text files: the token extractor and
// the number filter that the read decoders and the Read File command share.
#pragma once

#include <cstdint>
#include <string>

// The two options of the extractor and the filter.
struct TNumberOptions {
  bool DToE = false;              // the exponent symbol D (d) becomes E (e) before a float scan
  bool SpaceIsDelimiter = false;  // a blank ends a token as a delimiter does
};

// The next token of buffer[0, length) from position: delimiters (control characters 0..31
// and 127, the given delimiter characters, blanks when SpaceIsDelimiter) are skipped, then
// the characters up to the next delimiter (not consumed) or the length are taken, trimmed
// and filtered by FilterNumberText for the value type (0 string, 1 integer, 2 float).
// Position moves past the characters taken. An empty result is possible.
std::string ExtractToken(const TNumberOptions& options, const char* buffer, std::int64_t length,
                         const char* delimiters, int delimiterCount, std::int64_t& position,
                         int valueType);

// Strings pass unchanged. Integers and floats keep the first run of characters their scanner
// accepts (leading characters it refuses are dropped), trimmed: "V=+1.5D-3 V" gives
// "+1.5E-3" as a float with DToE, "12,5" gives "12" as an integer.
std::string FilterNumberText(const TNumberOptions& options, const std::string& text,
                             int valueType);
