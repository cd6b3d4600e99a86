// A row range of one data set or series offered for copying or export: which set, how
// far its rows reach, the chosen first and last rows (0-based, inclusive) and its name.
#pragma once

#include <cstdint>
#include <string>

class TCopyObject {
public:
  // The whole set: rows 0 to lastIndex (its point count - 1).
  TCopyObject(std::int32_t setIndex, std::int32_t lastIndex, const std::string& name);

  std::int32_t SetIndex() const { return Set; }
  std::int32_t LastIndex() const { return Last; }
  std::int32_t FirstRow() const { return FirstChosen; }
  std::int32_t LastRow() const { return LastChosen; }
  const std::string& Name() const { return Title; }

  // Taken when 0 <= i <= the last index (a range may be its set's last row alone); a
  // first row past the last row moves the last row to the last index.
  void SetFirstRow(std::int32_t i);
  // Taken when the first row <= i <= the last index (a range may be one row).
  void SetLastRow(std::int32_t i);
  std::int32_t RowCount() const { return LastChosen - FirstChosen + 1; }

  // "name first to last", rows counted from 1.
  std::string GetRangeText() const;
  // The range text and " (n rows)".
  std::string GetListText() const;

private:
  std::int32_t Set;
  std::int32_t Last;
  std::int32_t FirstChosen = 0;
  std::int32_t LastChosen;
  std::string Title;
};
