// A report that keeps its lines, headings marked with "#".
#pragma once

#include <string>
#include <vector>

#include "model/report.h"

struct TLines : TReport {
  void AddHeading(const std::string& line) override { Lines.push_back("#" + line); }
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  std::vector<std::string> Lines;
};
