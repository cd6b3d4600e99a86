// A small RTF reader for tests: the paragraphs of a rich-text file as report lines,
// each with the bold, underline and italic state its text was set in. It knows what a
// word processor must know to read the report back: groups, escaped "\", "{" and "}",
// \tab, \par, \b, \ul, \i and their ends, \uN with its fallback character, \'hh bytes,
// and destinations such as the font table, which it skips.
#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/report.h"

// The lines of the document; std::runtime_error when it is no RTF document (no
// "{\rtf" start, unbalanced groups, text after the document's group).
std::vector<TReportLine> ReadRtf(const std::string& rtf);

// Lines in failure messages: the text, then the style's marks.
inline void PrintTo(const TReportLine& line, std::ostream* out) {
  *out << '"' << line.Text << '"' << (line.Style.Bold ? " bold" : "")
       << (line.Style.Underline ? " underlined" : "") << (line.Style.Italic ? " italic" : "");
}
