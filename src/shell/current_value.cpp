#include "shell/current_value.h"

#include <exception>

#include "model/data.h"
#include "model/ui_port.h"
#include "model/write_file.h"

namespace {

bool IsBlank(char c) { return c >= 1 && c <= ' '; }

}  // namespace

std::vector<std::string> SplitCommaText(const std::string& text) {
  std::vector<std::string> items;
  std::size_t at = 0;
  const std::size_t end = text.size();
  const auto skipBlanks = [&] {
    while (at < end && IsBlank(text[at])) ++at;
  };
  skipBlanks();
  while (at < end) {
    std::string item;
    if (text[at] == '"') {
      // Up to the closing quote (or the end); "" stands for one quote.
      ++at;
      while (at < end) {
        if (text[at] == '"') {
          if (at + 1 < end && text[at + 1] == '"') {
            item += '"';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        item += text[at++];
      }
    } else {
      const std::size_t start = at;
      while (at < end && !IsBlank(text[at]) && text[at] != ',') ++at;
      item = text.substr(start, at - start);
    }
    items.push_back(item);
    skipBlanks();
    if (at < end && text[at] == ',') {
      ++at;
      skipBlanks();
    }
  }
  return items;
}

std::vector<std::string> CurrentValueLines(TData& data) {
  std::string line;
  {
    const auto lock = data.LockValues();  // the worker writes values meanwhile
    line = data.GetDataName() + " " + data.GetValueText();
  }
  if (!data.IsArray()) return {line};
  return SplitCommaText(line);
}

void TCurrentValueBox::Show(TData& data) {
  std::vector<std::string> lines = CurrentValueLines(data);
  Lines.insert(Lines.begin(), lines.begin(), lines.end());
}

bool TCurrentValueBox::Save(const std::string& directory) const {
  const std::string path = ChooseFile(true, "Text (*.txt) | *.txt", "txt", "", directory);
  if (path.empty()) return false;
  std::string text;
  for (const std::string& line : Lines) text += line + "\r\n";
  try {
    // The text goes to a file beside the target, which it replaces once complete.
    TWriteFile writer(path);
    writer.WriteText(text);
    writer.Commit();
  } catch (const std::exception& failure) {
    UiPort().ShowMessage("Error writing to file:" + std::string(failure.what()), "",
                         TMessageKind::Information);
    return false;
  }
  return true;
}
