#include "outputs/transfer_text.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <fstream>
#include <iterator>

#include "model/number_text.h"
#include "model/text.h"
#include "model/ui_port.h"

std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    std::size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.push_back(text.substr(start, stop - start));
    start = next;
  }
  return lines;
}

bool ReadTextFile(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

std::vector<std::string> SplitFields(const std::string& line, const std::string& delimiter) {
  if (delimiter.empty()) return {line};
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = line.find(delimiter, start);
    if (at == std::string::npos) break;
    fields.push_back(line.substr(start, at - start));
    start = at + delimiter.size();
  }
  fields.push_back(line.substr(start));
  return fields;
}

bool FieldToFloat(const std::string& field, float& value, std::string& error) {
  double number = 0;
  if (NumberText::TextToFloat(field, number) && std::fabs(number) <= FLT_MAX) {
    value = static_cast<float>(number);
    return true;
  }
  error = "'" + field + "' is not a valid floating point value";
  return false;
}

// TTransferSeries::ReadStrings and TTransferData::ParseText: the readers of delimited
// text, kept beside the clipboard reader that uses them.

bool TTransferSeries::ReadStrings(const std::vector<std::string>& xs,
                                  const std::vector<std::string>& ys, bool* failedY) {
  const std::int32_t count =
      std::min<std::int32_t>(ACount, static_cast<std::int32_t>(std::min(xs.size(), ys.size())));
  for (std::int32_t i = 0; i < count; ++i) {
    float x = 0, y = 0;
    std::string error;
    const bool xRead = FieldToFloat(TrimText(xs[static_cast<std::size_t>(i)]), x, error);
    if (!xRead || !FieldToFloat(TrimText(ys[static_cast<std::size_t>(i)]), y, error)) {
      if (failedY) *failedY = xRead;
      UiPort().ShowMessage(error + " Transfer Aborted", "", TMessageKind::Error);
      return false;
    }
    SetPoint(i, x, y);
  }
  return true;
}

bool TTransferData::ParseText(std::int32_t n, const std::vector<std::string>& lines,
                              const std::string& delimiter) {
  if (n < 1 || delimiter.empty()) return false;
  const auto rows = static_cast<std::int32_t>(lines.size());
  std::vector<TTransferSeries*> sets;
  for (std::int32_t i = 0; i < n; ++i)
    sets.push_back(AddSeries("Set " + NumberText::IntToText(i + 1), rows));
  for (std::int32_t r = 0; r < rows; ++r) {
    std::vector<std::string> fields = SplitFields(lines[static_cast<std::size_t>(r)], delimiter);
    for (std::string& field : fields) field = TrimText(field);
    for (std::int32_t i = 0; i < n; ++i) {
      TTransferSeries& set = *sets[static_cast<std::size_t>(i)];
      if (set.IsTruncated()) continue;
      const auto xAt = static_cast<std::size_t>(2 * i);
      // A row without this set's pair, or with an empty x field, ends the set there.
      if (xAt >= fields.size() || fields[xAt].empty()) {
        set.Truncate(r);
        continue;
      }
      std::string error;
      float x = 0, y = 0;
      if (xAt + 1 >= fields.size() || fields[xAt + 1].empty()) {
        error = "Row " + NumberText::IntToText(r + 1) + " has an x value without a y value";
      } else if (FieldToFloat(fields[xAt], x, error) && FieldToFloat(fields[xAt + 1], y, error)) {
        set.SetPoint(r, x, y);
        continue;
      }
      UiPort().ShowMessage(error, "", TMessageKind::Error);
      return false;
    }
  }
  return true;
}

std::string OutputTransferText(int outputType, const TTransferData& data, int notation,
                               int decimals) {
  return "OutputType=" + NumberText::IntToText(outputType) +
         "\r\nNumberOfSeries=" + NumberText::IntToText(data.GetTSCount()) + "\r\n" +
         data.ToText(notation, decimals, "\t");
}

namespace {

// The name before "=" and the value after it; false without "=".
bool NameValue(const std::string& line, std::string& name, std::string& value) {
  const std::size_t at = line.find('=');
  if (at == std::string::npos) return false;
  name = line.substr(0, at);
  value = line.substr(at + 1);
  return true;
}

}  // namespace

bool IsOutputTransferText(const std::vector<std::string>& lines) {
  if (lines.size() < 4) return false;
  std::string name, value, name2, value2;
  return NameValue(lines[0], name, value) && name == "OutputType" &&
         (value == "4" || value == "5") && NameValue(lines[1], name2, value2) &&
         name2 == "NumberOfSeries";
}

std::unique_ptr<TTransferData> ReadOutputTransferText(const std::string& text) {
  std::vector<std::string> lines = SplitTextLines(text);
  if (!IsOutputTransferText(lines)) return nullptr;
  std::string name, value;
  NameValue(lines[1], name, value);
  std::int32_t n = 0;
  const std::vector<std::string> header = SplitFields(lines[2], "\t");
  const auto headerPairs = static_cast<std::int32_t>((header.size() + 1) / 2);
  if (!NumberText::TextToInt(value, n) || n < 1 || n > MaxTransferSeries || n > headerPairs)
    return nullptr;
  lines.erase(lines.begin(), lines.begin() + 3);
  auto data = std::make_unique<TTransferData>();
  if (!data->ParseText(n, lines, "\t")) return nullptr;
  for (std::int32_t i = 0; i < n; ++i) {
    TTransferSeries& set = *data->GetSeries(i);
    const auto at = static_cast<std::size_t>(2 * i);
    if (at < header.size()) set.XName = header[at];
    if (at + 1 < header.size()) set.YName = header[at + 1];
  }
  return data;
}
