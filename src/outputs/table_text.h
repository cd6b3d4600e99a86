// The table's text files ("Save As Type": comma or tab delimited): one line per row, for
// each data set in list order its X and Y texts in the window's number format, no header.
#pragma once

#include <cstdint>
#include <string>

class TTableForm;

// Rows first to first + count - 1, each ended by CR LF; a set with fewer points gives
// empty fields.
std::string TableTextRows(const TTableForm& form, std::int32_t first, std::int32_t count,
                          const std::string& delimiter);

// Asks for a file name ("Comma Text Files (*.txt)|*.txt", the window's name proposed) and
// writes every row to it. Cancelling writes nothing; a name without ".txt" shows "Invalid
// Extention"; a failed write shows "Error writing to file" and leaves an existing file as
// it was. Answers whether the file was written.
bool ExportTableText(const TTableForm& form, const std::string& delimiter);
