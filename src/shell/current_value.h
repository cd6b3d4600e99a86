// The current-value box beside the attribute tree: "Show Current Value" puts a
// variable's name and value at its top, read while a run may be writing them; "Clear"
// empties it and "Save" writes its lines to a text file. The Qt list box mirrors Lines().
#pragma once

#include <string>
#include <vector>

class TData;

// Splits the text as comma text: items end at commas and at blanks outside double
// quotes; a double-quoted item keeps its commas and blanks ("" inside stands for one
// quote); blanks around an item are dropped, and two commas in a row give an empty item.
std::vector<std::string> SplitCommaText(const std::string& text);

// The lines the variable puts in the box: its name, a blank and its value text as one
// line; an array's line split as comma text (array A = 1,2,3 gives "A", "1", "2", "3").
// Read under the experiment's value lock, so that a running experiment never shows a
// value half written.
std::vector<std::string> CurrentValueLines(TData& data);

class TCurrentValueBox {
public:
  // The variable's lines go in front of the lines already there.
  void Show(TData& data);
  void Clear() { Lines.clear(); }
  const std::vector<std::string>& GetLines() const { return Lines; }

  // "Save": asks for a text file ("Text (*.txt) | *.txt", extension "txt", starting in
  // the directory) and writes the lines, one each. A file that cannot be written in
  // full is not touched, and the failure is shown. True once written.
  bool Save(const std::string& directory) const;

private:
  std::vector<std::string> Lines;
};
