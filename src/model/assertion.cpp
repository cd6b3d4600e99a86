#include "model/assertion.h"

#include <cstdlib>
#include <string>

#include "model/number_text.h"
#include "model/ui_port.h"

void AssertionFailed(const char* expression, const char* file, int line) {
  std::string name(file);
  const auto slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  UiPort().ShowMessage("Assertion failed: " + std::string(expression) + ", file " + name +
                           ", line " + NumberText::IntToText(line),
                       "", TMessageKind::Error);
  std::abort();
}
