#include "expressions/comparison.h"

#include <locale>
#include <stdexcept>

namespace {

// The user's locale as the environment names it; the classic one when it names none
// this system has.
const std::locale& UserLocale() {
  static const std::locale locale = [] {
    try {
      return std::locale("");
    } catch (const std::runtime_error&) {
      return std::locale::classic();
    }
  }();
  return locale;
}

}  // namespace

bool TextsEqual(const std::string& a, const std::string& b) {
  const auto& collate = std::use_facet<std::collate<char>>(UserLocale());
  return collate.compare(a.data(), a.data() + a.size(), b.data(), b.data() + b.size()) == 0;
}

std::unique_ptr<TComparison> TComparison::Make(int type) {
  switch (type) {
    case EQUAL: return std::make_unique<TEqual>();
    case GREATERTHAN: return std::make_unique<TGreaterThan>();
    case GREATEREQUAL: return std::make_unique<TGreaterEqual>();
    case LESSTHAN: return std::make_unique<TLessThan>();
    case LESSEQUAL: return std::make_unique<TLessEqual>();
    default: return nullptr;
  }
}
