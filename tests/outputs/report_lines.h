// A report that keeps its lines, headings (bold lines) marked with "#".
#pragma once

#include "support/line_report.h"

struct TLines : TLineReport {
  TLines() : TLineReport("#") {}
};
