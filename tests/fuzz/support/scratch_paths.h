// Keeps a loaded experiment's files inside the scratch folder before it runs, through
// the program's own operations: every data file is edited through its dialog to a name
// in the folder, every big-number window logs to a file there, and every Read File
// command reads the given file instead of the one it names.
#pragma once

#include <string>

class TExperiment;
class TQuietUiPort;

void KeepFilesInScratch(TExperiment& experiment, TQuietUiPort& port,
                        const std::string& fileToRead);
