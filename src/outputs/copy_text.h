// The clipboard text of chosen row ranges, as the copy dialog's kinds make it: for
// another output ("OutputType=4", "NumberOfSeries=n", then tab-delimited), comma or tab
// delimited. A header line of each range's X and Y names, then one line per row; a range
// shorter than the longest gives empty fields (the source says what an empty field holds).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outputs/copy_object.h"

class TTableForm;

// The index of the copy dialog's "Copy to clipboard as" choice.
enum TCopyKind : std::int32_t { ckOUTPUT = 0, ckCOMMA = 1, ckTAB = 2 };

// The names and value texts of the sets the ranges name.
class TCopyTextSource {
public:
  virtual ~TCopyTextSource() = default;
  virtual std::string XName(std::int32_t set) const = 0;
  virtual std::string YName(std::int32_t set) const = 0;
  virtual std::string XText(std::int32_t set, std::int32_t row) const = 0;
  virtual std::string YText(std::int32_t set, std::int32_t row) const = 0;
  // What stands in each field of a row past a range's last row.
  virtual std::string MissingField() const { return ""; }
};

// A table's data sets: their headers, values in the window's number format, empty
// fields past a range's end.
class TTableCopySource final : public TCopyTextSource {
public:
  explicit TTableCopySource(const TTableForm& form) : Form(form) {}
  std::string XName(std::int32_t set) const override;
  std::string YName(std::int32_t set) const override;
  std::string XText(std::int32_t set, std::int32_t row) const override;
  std::string YText(std::int32_t set, std::int32_t row) const override;

private:
  const TTableForm& Form;
};

// The most rows x ranges the clipboard takes: rows x 4 x ranges x 2 may not pass 64000.
bool CopyTextFits(std::int32_t rows, std::size_t ranges);

// The lines of the ranges in their order for the kind. Too many rows for the clipboard
// shows "Too much data to put on the clipboard", empties lines and answers false.
bool BuildCopyText(const std::vector<TCopyObject>& ranges, TCopyKind kind,
                   const TCopyTextSource& source, std::vector<std::string>& lines);

// The lines as one text, each ended by CR LF.
std::string JoinCopyLines(const std::vector<std::string>& lines);
