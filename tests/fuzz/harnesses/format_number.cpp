// Number to text: NumberText::FormatNumber against the exact reference, for doubles and
// for floats widened as their callers widen them. Bytes 0 to 7 are the double (bytes 0
// to 3 the float when byte 8 has bit 7 set); byte 8 the notation (0 to 2) and byte 9 the
// decimal places, signed (the function clamps them). Besides the reference, every text
// must read back through TextToFloat to the number, within the digits it shows.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "model/number_text.h"
#include "support/harness.h"

namespace {

// The slow exact method the fast formatting must match to the byte.
constexpr auto Reference = &NumberText::FormatNumberExact;

// The largest error a text of the notation may have: half a unit of its last digit,
// plus a little for the reading back.
double Tolerance(double value, int notation, int decimals, double shown) {
  const double magnitude = std::fabs(value) > std::fabs(shown) ? std::fabs(value) : std::fabs(shown);
  double unit;
  switch (notation) {
    case ntSTANDARD: unit = magnitude * 1e-14; break;
    case ntFIXED: unit = std::fmax(std::pow(10.0, -decimals), magnitude * 1e-6); break;
    default: unit = magnitude * std::pow(10.0, -decimals); break;
  }
  return unit / 2 + magnitude * 1e-15 + 2 * DBL_TRUE_MIN;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  THarnessInput input;
  double value;
  if (data[8] & 0x80) {
    float single;
    std::memcpy(&single, data, sizeof single);
    value = single;
  } else {
    std::memcpy(&value, data, sizeof value);
  }
  const int notation = (data[8] & 3) % 3;
  const int decimals = static_cast<std::int8_t>(data[9]);
  const std::string text = NumberText::FormatNumber(value, notation, decimals);
  FUZZ_CHECK(text == Reference(value, notation, decimals));

  if (std::isnan(value)) {
    FUZZ_CHECK(text == "NAN");
    return 0;
  }
  if (std::isinf(value)) {
    FUZZ_CHECK(text == (value < 0 ? "-INF" : "INF"));
    return 0;
  }
  double shown = 0;
  if (!NumberText::TextToFloat(text, shown)) {
    // Only a number at the top of the double range may round to a text beyond it.
    FUZZ_CHECK(std::fabs(value) > 1e308);
    return 0;
  }
  const int places = NumberText::ClampDecimals(decimals);
  FUZZ_CHECK(std::fabs(shown - value) <= Tolerance(value, notation, places, shown));
  return 0;
}
