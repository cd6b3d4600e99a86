#include "outputs/copy_object.h"

#include "model/number_text.h"

TCopyObject::TCopyObject(std::int32_t setIndex, std::int32_t lastIndex, const std::string& name)
    : Set(setIndex), Last(lastIndex), LastChosen(lastIndex), Title(name) {}

void TCopyObject::SetFirstRow(std::int32_t i) {
  if (i < 0 || i > Last) return;
  FirstChosen = i;
  if (FirstChosen > LastChosen) LastChosen = Last;
}

void TCopyObject::SetLastRow(std::int32_t i) {
  if (i < FirstChosen || i > Last) return;
  LastChosen = i;
}

std::string TCopyObject::GetRangeText() const {
  return Title + " " + NumberText::IntToText(FirstChosen + 1) + " to " +
         NumberText::IntToText(LastChosen + 1);
}

std::string TCopyObject::GetListText() const {
  return GetRangeText() + " (" + NumberText::IntToText(RowCount()) + " rows)";
}
