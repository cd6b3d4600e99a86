#include "outputs/copy_text.h"

#include <algorithm>

#include "model/number_text.h"
#include "model/ui_port.h"
#include "outputs/table_form.h"

std::string TTableCopySource::XName(std::int32_t set) const { return Form.GetSeries(set).XName; }

std::string TTableCopySource::YName(std::int32_t set) const { return Form.GetSeries(set).YName; }

std::string TTableCopySource::XText(std::int32_t set, std::int32_t row) const {
  return Form.GetXText(set, row);
}

std::string TTableCopySource::YText(std::int32_t set, std::int32_t row) const {
  return Form.GetYText(set, row);
}

bool CopyTextFits(std::int32_t rows, std::size_t ranges) {
  return static_cast<std::int64_t>(rows) * 4 * static_cast<std::int64_t>(ranges) * 2 <= 64000;
}

bool BuildCopyText(const std::vector<TCopyObject>& ranges, TCopyKind kind,
                   const TCopyTextSource& source, std::vector<std::string>& lines) {
  lines.clear();
  const std::string d = kind == ckCOMMA ? "," : "\t";
  std::int32_t rows = 1;
  for (const TCopyObject& range : ranges) rows = std::max(rows, range.RowCount());
  if (!CopyTextFits(rows, ranges.size())) {
    UiPort().ShowMessage("Too much data to put on the clipboard", "", TMessageKind::Warning);
    return false;
  }
  if (kind == ckOUTPUT) {
    lines.push_back("OutputType=4");
    lines.push_back("NumberOfSeries=" + NumberText::IntToText(static_cast<std::int64_t>(ranges.size())));
  }
  std::string header;
  for (std::size_t j = 0; j < ranges.size(); ++j) {
    if (j > 0) header += d;
    header += source.XName(ranges[j].SetIndex()) + d + source.YName(ranges[j].SetIndex());
  }
  lines.push_back(header);
  const std::string missing = source.MissingField();
  for (std::int32_t r = 0; r < rows; ++r) {
    std::string line;
    for (std::size_t j = 0; j < ranges.size(); ++j) {
      const TCopyObject& range = ranges[j];
      if (j > 0) line += d;
      const std::int32_t i = range.FirstRow() + r;
      if (i > range.LastRow())
        line += missing + d + missing;
      else
        line += source.XText(range.SetIndex(), i) + d + source.YText(range.SetIndex(), i);
    }
    lines.push_back(line);
  }
  return true;
}

std::string JoinCopyLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}
