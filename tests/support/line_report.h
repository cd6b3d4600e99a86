// A report that keeps its lines as text, bold lines starting with the mark given, and
// each line's style beside it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/report.h"

class TLineReport : public TReport {
public:
  explicit TLineReport(std::string headingMark = "") : HeadingMark(std::move(headingMark)) {}
  void AddStyledLine(const std::string& line, TReportStyle style) override {
    Lines.push_back(style.Bold ? HeadingMark + line : line);
    Styles.push_back(style);
  }
  std::vector<std::string> Lines;
  std::vector<TReportStyle> Styles;

private:
  std::string HeadingMark;
};
