#include "outputs/row_select.h"

#include <algorithm>
#include <cctype>

#include "model/number_text.h"

namespace {

std::string Num(std::int64_t value) { return NumberText::IntToText(value); }

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The start field: an integer from 1 to the limit (a text that is not one reads as 0).
bool ReadStart(const std::string& text, std::int32_t limit, std::int32_t& start,
               TRowChoice& choice) {
  if (!NumberText::TextToInt(Trimmed(text), start)) start = 0;
  if (start >= 1 && start <= limit) return true;
  choice.Message =
      "The start row must be an integer value greater than 0 and less than " + Num(limit + 1);
  return false;
}

}  // namespace

std::string StartRowText(std::int32_t firstRow) { return Num(firstRow + 1); }

std::string EndRowText(std::int32_t lastRow, std::int32_t limit) {
  return lastRow + 1 >= limit ? "End" : Num(lastRow + 1);
}

TRowChoice ChooseRows(const std::string& start, const std::string& end, std::int32_t limit) {
  TRowChoice choice;
  std::int32_t first = 0;
  if (!ReadStart(start, limit, first, choice)) return choice;
  std::int32_t last = 0;
  const std::string trimmed = Trimmed(end);
  if (!NumberText::TextToInt(trimmed, last)) {
    std::string upper = trimmed;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper != "END") {
      choice.Message = "The end row must be an integer value greater than " + Trimmed(start);
      return choice;
    }
    last = limit;
  }
  if (last < first) {
    choice.Message = "The end row must be an integer value greater than " + Trimmed(start);
    return choice;
  }
  if (last > limit) {
    choice.Message = "The end row must not be greater than " + Num(limit);
    return choice;
  }
  choice.Accepted = true;
  choice.First = first - 1;
  choice.Last = last - 1;
  return choice;
}

TRowChoice ChooseStartRow(const std::string& start, std::int32_t limit, std::int32_t minimumRows) {
  TRowChoice choice;
  std::int32_t first = 0;
  if (!ReadStart(start, limit, first, choice)) return choice;
  if (static_cast<std::int64_t>(limit) - first + 1 < minimumRows) {
    choice.Message = "There must be at least " + Num(minimumRows) + " rows";
    return choice;
  }
  choice.Accepted = true;
  choice.First = first - 1;
  choice.Last = limit - 1;
  return choice;
}
