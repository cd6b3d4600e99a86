// The outputs' clipboard text: what a graph or table writes when copying for another
// output ("OutputType=", "NumberOfSeries=", then the transfer text with tabs) and the
// reader that the Paste buttons use. Text that is not such text, or that cannot be read,
// is left to the text import wizard.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outputs/output_form.h"

// The most data sets a paste reads (what a graph or table holds).
constexpr std::int32_t MaxTransferSeries = 25;

// The lines of a text; a line ends at LF or CR LF, and the text's last line need not end.
std::vector<std::string> SplitTextLines(const std::string& text);

// The whole file as text; false when it cannot be opened or read.
bool ReadTextFile(const std::string& path, std::string& text);

// The fields of a line between the delimiters, untrimmed; a line without the delimiter
// is one field. An empty delimiter gives the line whole.
std::vector<std::string> SplitFields(const std::string& line, const std::string& delimiter);

// One field as a float; false with the conversion message in error when it is not a
// number (or lies beyond a float's range).
bool FieldToFloat(const std::string& field, float& value, std::string& error);

// The clipboard text of an output of that kind holding the data, numbers in the notation
// with decimals.
std::string OutputTransferText(int outputType, const TTransferData& data, int notation,
                               int decimals);

// True when the text starts as the outputs' clipboard text: at least 4 lines, the first
// "OutputType=4" or "OutputType=5", the second named "NumberOfSeries".
bool IsOutputTransferText(const std::vector<std::string>& lines);

// The data sets of the outputs' clipboard text, named from its header. None when the
// text is not such text, its "NumberOfSeries" is not from 1 to 25 or exceeds the
// header's pairs, or a field is refused (its message shown).
std::unique_ptr<TTransferData> ReadOutputTransferText(const std::string& text);
