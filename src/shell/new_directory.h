// "Add" of the "Find Directory" dialog: a new folder made inside the folder the
// dialog's list is in. The name is one folder's name: a name holding a path separator
// ("/" or "\") would reach outside the folder shown, so it is refused.
#pragma once

#include <string>

struct TNewDirectory {
  enum TOutcome {
    ndEMPTY,    // no name: nothing to make
    ndREFUSED,  // a name holding "/" or "\"; Message says where folders are made
    ndCREATED,  // Path made
    ndFAILED,   // Path could not be made (Message: "Error creating " + Path)
  };
  TOutcome Outcome = ndEMPTY;
  std::string Path;
  std::string Message;
};

// Makes the folder current + separator + name, unless the name is empty or refused.
TNewDirectory MakeNewDirectory(const std::string& current, const std::string& name);
