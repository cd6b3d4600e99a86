// The experiment report as the model writes it: lines, each set plainly or in bold,
// underlined or italic type. The report window renders them; the report's files are
// written from a kept copy (TReportDocument).
#pragma once

#include <string>
#include <vector>

// How one line of the report is set.
struct TReportStyle {
  bool Bold = false;
  bool Underline = false;
  bool Italic = false;
  bool operator==(const TReportStyle&) const = default;
};

class TReport {
public:
  virtual ~TReport() = default;
  virtual void AddStyledLine(const std::string& line, TReportStyle style) = 0;

  void AddLine(const std::string& line) { AddStyledLine(line, {}); }
  // A heading is bold; the experiment's own sections are underlined as well.
  void AddHeading(const std::string& line, bool underline = false) {
    AddStyledLine(line, {.Bold = true, .Underline = underline});
  }
};

struct TReportLine {
  std::string Text;
  TReportStyle Style;
  bool operator==(const TReportLine&) const = default;
};

// A report kept line by line, to be shown, copied and saved.
class TReportDocument final : public TReport {
public:
  void AddStyledLine(const std::string& line, TReportStyle style) override {
    Lines.push_back({line, style});
  }
  const std::vector<TReportLine>& GetLines() const { return Lines; }
  bool IsEmpty() const { return Lines.empty(); }
  void Clear() { Lines.clear(); }

private:
  std::vector<TReportLine> Lines;
};
