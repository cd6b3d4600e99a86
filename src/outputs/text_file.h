// "Save As Text" of the text window: its lines as a plain text file.
#pragma once

#include <string>

class TTextForm;

// The save chooser (filter "Output(*.txt)|*.txt", default extension "*.txt", no name
// proposed); "" when cancelled.
std::string AskTextFileName();

// Writes exactly the window's text to the file: into a temporary file beside it that
// replaces it only when complete, so a failed save leaves an existing file as it was.
// An empty name does nothing; a name without ".txt" (case-sensitive, anywhere) shows
// "Invalid Extention"; a file that cannot be made shows "Cannot Open File"; a failed
// write "Error writing to file: " and the reason. Answers whether the file was written.
bool SaveTextFile(const TTextForm& form, const std::string& fileName);
