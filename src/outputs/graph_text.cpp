#include "outputs/graph_text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "model/number_text.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/graph_form.h"
#include "outputs/value_format.h"

namespace {

std::string AskTextFile(const TGraphForm& form, const std::string& filter) {
  const std::string& folder = PreferredOutputDirectory();
  std::error_code error;
  const bool useFolder = !folder.empty() && std::filesystem::is_directory(folder, error);
  return ChooseFile(true, filter, "txt", form.GetName(), useFolder ? folder : std::string());
}

}  // namespace

TGraphCopySource::TGraphCopySource(const TGraphForm& form)
    : Form(form), Format(ParseValueFormat(SeriesValueFormat)) {}

std::string TGraphCopySource::XName(std::int32_t set) const {
  return set >= 0 && set < Form.SeriesCount() ? Form.GetSeries(set).XName : std::string();
}

std::string TGraphCopySource::YName(std::int32_t set) const {
  return set >= 0 && set < Form.SeriesCount() ? Form.GetSeries(set).YName : std::string();
}

std::string TGraphCopySource::XText(std::int32_t set, std::int32_t row) const {
  if (set < 0 || set >= Form.SeriesCount() || row < 0 || row >= Form.GetSeries(set).Count())
    return {};
  return FormatValue(Form.GetSeries(set).X[static_cast<std::size_t>(row)], Format);
}

std::string TGraphCopySource::YText(std::int32_t set, std::int32_t row) const {
  if (set < 0 || set >= Form.SeriesCount() || row < 0 || row >= Form.GetSeries(set).Count())
    return {};
  // The Y value too by the X conversion, as the chart's copy does.
  return FormatValue(Form.GetSeries(set).Y[static_cast<std::size_t>(row)], Format);
}

std::int32_t LongestSeries(const TGraphForm& form) {
  std::int32_t longest = 0;
  for (std::int32_t s = 0; s < form.SeriesCount(); ++s)
    longest = std::max(longest, form.GetSeries(s).Count());
  return longest;
}

bool HasSuffix(const std::string& name, const std::string& extension) {
  if (name.size() <= extension.size()) return false;
  const std::string tail = name.substr(name.size() - extension.size());
  return std::equal(tail.begin(), tail.end(), extension.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

std::vector<TCopyObject> WholeSeriesRanges(const TGraphForm& form) {
  std::vector<TCopyObject> ranges;
  for (std::int32_t s = 0; s < form.SeriesCount(); ++s) {
    const TGraphSeries& series = form.GetSeries(s);
    if (series.Count() > 0) ranges.emplace_back(s, series.Count() - 1, series.Name);
  }
  return ranges;
}

std::int32_t FindPoint(const std::vector<double>& x, double target, std::int32_t start) {
  const auto count = static_cast<std::int32_t>(x.size());
  if (start < 0 || start >= count) return -1;
  const auto found = std::lower_bound(x.begin() + start, x.end(), target);
  if (found == x.end()) return count - 1;
  return static_cast<std::int32_t>(found - x.begin());
}

std::vector<TCopyObject> BandRanges(const TGraphForm& form, double left, double right) {
  if (left > right) std::swap(left, right);
  std::vector<TCopyObject> ranges;
  for (std::int32_t s = 0; s < form.SeriesCount(); ++s) {
    const TGraphSeries& series = form.GetSeries(s);
    if (series.Count() == 0) continue;
    const auto [low, high] = std::minmax_element(series.X.begin(), series.X.end());
    if (!(*high >= left && *low <= right)) continue;
    const std::int32_t first = FindPoint(series.X, left, 0);
    if (first < 0 || series.X[static_cast<std::size_t>(first)] > right) continue;
    std::int32_t last = FindPoint(series.X, right, first);
    if (last < 0) continue;
    // The point found may lie past the band's right edge: the row before it ends it.
    if (series.X[static_cast<std::size_t>(last)] > right && last > first) --last;
    TCopyObject& range = ranges.emplace_back(s, series.Count() - 1, series.Name);
    range.SetFirstRow(first);
    range.SetLastRow(last);
  }
  return ranges;
}

std::int32_t GraphCommaRows(const TGraphForm& form, std::vector<std::string>& lines,
                            const std::string& delimiter, std::int32_t rowCount,
                            std::int32_t first) {
  lines.clear();
  // The series' own value format, not the axes' (the number format would round the data
  // written), without the "," that would split its fields; the series stay as they are.
  const TValueFormat format = ParseValueFormat(CommaFreeFormat(SeriesValueFormat));
  const std::int32_t end = std::min(rowCount, first + CommaRowsPerBlock);
  for (std::int32_t r = std::max(first, 0); r < end; ++r) {
    std::string line;
    for (std::int32_t s = 0; s < form.SeriesCount(); ++s) {
      const TGraphSeries& series = form.GetSeries(s);
      if (s > 0) line += delimiter;
      if (r < series.Count()) {
        const auto p = static_cast<std::size_t>(r);
        line += FormatValue(series.X[p], format) + delimiter + FormatValue(series.Y[p], format);
      } else {
        line += " " + delimiter + " ";
      }
    }
    lines.push_back(std::move(line));
  }
  const std::int32_t next = first + CommaRowsPerBlock;
  return next >= rowCount ? -1 : next;
}

std::vector<std::string> GraphTabRows(const TGraphForm& form) {
  // Both axes carry the graph's values format.
  const TValueFormat format = ParseValueFormat(form.GetAxisValuesFormat());
  std::vector<std::string> lines;
  const std::int32_t rows = LongestSeries(form);
  for (std::int32_t r = 0; r < rows; ++r) {
    std::string line;
    for (std::int32_t s = 0; s < form.SeriesCount(); ++s) {
      const TGraphSeries& series = form.GetSeries(s);
      const bool last = s == form.SeriesCount() - 1;
      if (r < series.Count()) {
        const auto p = static_cast<std::size_t>(r);
        line += FormatValue(series.X[p], format) + "\t" + FormatValue(series.Y[p], format);
      } else {
        line += "\t ";
      }
      if (!last) line += "\t";
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool ExportGraphComma(const TGraphForm& form) {
  const std::int32_t rows = LongestSeries(form);
  if (rows == 0) {
    UiPort().ShowMessage("Nothing to save", "", TMessageKind::Information);
    return false;
  }
  const std::string fileName = AskTextFile(form, "Text Files (*.txt)|*.txt");
  if (fileName.empty()) return false;
  if (!HasSuffix(fileName, ".txt")) {
    UiPort().ShowMessage("InvalidExtension", "", TMessageKind::Warning);
    return false;
  }
  try {
    TWriteFile writer(fileName);
    writer.WriteText("");
    std::vector<std::string> lines;
    std::int32_t first = 0;
    while (first >= 0) {
      first = GraphCommaRows(form, lines, ",", rows, first);
      writer.WriteText(JoinCopyLines(lines));
    }
    writer.Commit();
  } catch (const std::runtime_error&) {
    UiPort().ShowMessage("Error writing to file", "", TMessageKind::Error);
    return false;
  }
  return true;
}

bool ExportGraphTab(const TGraphForm& form) {
  // Any series with a point is something to save, not only the first.
  if (LongestSeries(form) == 0) {
    UiPort().ShowMessage("Nothing to save", "", TMessageKind::Information);
    return false;
  }
  const std::string fileName = AskTextFile(form, "Tab Text Files (*.txt)|*.txt");
  if (fileName.empty()) return false;
  if (!HasSuffix(fileName, ".txt")) {
    UiPort().ShowMessage("Invalid Extention", "", TMessageKind::Warning);
    return false;
  }
  try {
    TWriteFile writer(fileName);
    writer.WriteText(JoinCopyLines(GraphTabRows(form)));
    writer.Commit();
  } catch (const std::runtime_error&) {
    UiPort().ShowMessage("Error writing to file", "", TMessageKind::Error);
    return false;
  }
  return true;
}
