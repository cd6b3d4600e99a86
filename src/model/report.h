// The experiment report as the model writes it: heading lines and plain lines. The
// report window renders them.
#pragma once

#include <string>

class TReport {
public:
  virtual ~TReport() = default;
  virtual void AddHeading(const std::string& line) = 0;
  virtual void AddLine(const std::string& line) = 0;
};
