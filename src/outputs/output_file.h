// Output files (".opt"): the header "Qorv Output", the version text, the int32 output
// type (3 text, 4 table, 5 graph, 6 big number) and the window's body with its data.
#pragma once

#include <memory>
#include <string>

class TDeadOutputList;
class TOutputForm;

// Saves the window to the file; the window remembers the name. An empty name does
// nothing; a name without ".opt" (case-sensitive, anywhere) shows "Invalid Extention";
// a failed write shows the window's write error. Answers whether the file was written.
bool SaveOutputFile(TOutputForm& form, const std::string& fileName);

// A detached window of the kind (3 to 6) in the list; none for another kind.
std::unique_ptr<TOutputForm> MakeDetachedForm(int kind, TDeadOutputList* list);

// Reads an output file into a new detached window of its kind, whose file name becomes
// the path. EReadError "Invalid output file." for a wrong header or kind, "Cannot read
// this version number " + version, the reader's error for a damaged body, or
// OutOfMemoryReadError("Invalid output file.") when memory runs out.
std::unique_ptr<TOutputForm> LoadOutputFile(const std::string& fileName, TDeadOutputList* list);
