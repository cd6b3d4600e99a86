#include "shell/reopen_list.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "model/number_text.h"

bool TReopenList::Add(const std::string& path) {
  // The same path only: "/data/a.qve" is another file than "/old/data/a.qve".
  if (Find(path) != Count()) return false;
  Captions.insert(Captions.begin(), "&0 " + path);
  for (std::size_t i = 0; i < Captions.size(); ++i)
    Captions[i] = "&" + NumberText::IntToText(static_cast<std::int64_t>(i)) + " " +
                  PathOfCaption(Captions[i]);
  return true;
}

void TReopenList::Remove(std::size_t index) {
  if (index < Captions.size())
    Captions.erase(Captions.begin() + static_cast<std::ptrdiff_t>(index));
}

std::size_t TReopenList::Find(const std::string& path) const {
  for (std::size_t i = 0; i < Captions.size(); ++i)
    if (PathOfCaption(Captions[i]) == path) return i;
  return Captions.size();
}

void TReopenList::Load(const std::vector<std::string>& captions) {
  Captions.clear();
  for (const std::string& caption : captions) {
    const std::string path = PathOfCaption(caption);
    std::error_code error;
    if (!path.empty() && std::filesystem::exists(path, error)) Captions.push_back(caption);
  }
}

std::string TReopenList::PathOfCaption(const std::string& caption) {
  const std::size_t blank = caption.find(' ');
  return blank == std::string::npos ? std::string() : caption.substr(blank + 1);
}
