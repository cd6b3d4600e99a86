#include "shell/debug_log.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/text_save.h"

int TDebugLog::Add(const std::string& text, std::uint32_t colour, std::int8_t style) {
  return Add(std::vector<TDebugFormat>{TDebugFormat{text, colour, style}});
}

int TDebugLog::Add(const std::vector<TDebugFormat>& lines) {
  const int first = Count();
  if (lines.empty()) return first;
  Entries.insert(Entries.end(), lines.begin(), lines.end());
  // A copy: a listener may remove itself while it is told.
  const auto listeners = Listeners;
  for (TDebugLogListener* listener : listeners) listener->LinesAdded(first, Count() - first);
  return first;
}

void TDebugLog::Clear() {
  Entries.clear();
  Entries.shrink_to_fit();  // a long run's log may have been large
  const auto listeners = Listeners;
  for (TDebugLogListener* listener : listeners) listener->LogCleared();
}

const TDebugFormat& TDebugLog::Line(int index) const {
  QORV_ASSERT(index >= 0 && index < Count());
  return Entries[static_cast<std::size_t>(index)];
}

std::string TDebugLog::Text(const std::string& lineEnd) const {
  std::size_t size = 0;
  for (const TDebugFormat& line : Entries) size += line.Text.size() + lineEnd.size();
  std::string text;
  text.reserve(size);
  for (const TDebugFormat& line : Entries) {
    text += line.Text;
    text += lineEnd;
  }
  return text;
}

bool TDebugLog::SaveToFile(const std::string& path) const {
  if (path.empty()) return false;
  return SaveWholeText(path, Text("\r\n"));
}

void TDebugLog::AddListener(TDebugLogListener* listener) {
  QORV_ASSERT(listener != nullptr);
  if (std::find(Listeners.begin(), Listeners.end(), listener) == Listeners.end())
    Listeners.push_back(listener);
}

void TDebugLog::RemoveListener(TDebugLogListener* listener) {
  Listeners.erase(std::remove(Listeners.begin(), Listeners.end(), listener), Listeners.end());
}
