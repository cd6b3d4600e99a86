#include "model/array_index_check.h"

#include "model/number_text.h"
#include "model/text.h"

std::string ArrayIndexFault(const std::string& text, std::int32_t size) {
  const std::string typed = TrimText(text);
  if (typed.empty()) return "You must enter/select and index for the array";
  std::int32_t index = -1;
  if (!NumberText::TextToInt(typed, index)) index = -1;
  if (index < 0) return "Invalid index for the array";
  if (index >= size)
    return "The maximum index for this array is " + NumberText::IntToText(size - 1);
  return std::string();
}
