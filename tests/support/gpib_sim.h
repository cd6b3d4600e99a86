// The simulated GPIB bus for tests: points the CEC and NI loaders at the simulator
// library, opens it for its control calls (the same instance the loaders use) and
// configures it. Both loaders forget what they had, so each helper starts afresh.
#pragma once

#include <string>
#include <vector>

#include "model/errors.h"
#include "model/report.h"
#include "support/temp_dir.h"

class TCommunication;

class TGpibSim {
public:
  // Instrument kinds of the control calls.
  enum TKind : int { kCEC = 1, kNI = 2 };

  TGpibSim();
  // Configures the bus with text at once.
  explicit TGpibSim(const std::string& configuration);
  ~TGpibSim();
  TGpibSim(const TGpibSim&) = delete;
  TGpibSim& operator=(const TGpibSim&) = delete;

  // The simulator library's path.
  static std::string Path();

  // Replaces the configuration and clears the log; a text the simulator refuses fails
  // the test with its reason. Answers whether it was taken.
  bool Configure(const std::string& text);
  // The call log, one entry per call, without line ends.
  std::vector<std::string> Log() const;
  void ClearLog();
  // The bytes the instrument has received since the configuration.
  std::string Received(int kind, int board, int address) const;
  void SetStatusByte(int kind, int board, int address, int value);

  // Releases both loaders' libraries (they load again at the next call, from the file
  // named then); with forgetPaths the variables naming the simulator are removed too.
  static void UnloadLoaders(bool forgetPaths = false);

private:
  void* Handle = nullptr;
  template <typename Fn>
  Fn Control(const char* name) const;
};

// Printout lines, as Describe writes them.
class TLineReport : public TReport {
public:
  void AddHeading(const std::string& line) override { Lines.push_back(line); }
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  std::vector<std::string> Lines;
};

// The settings record Save writes, and Load of a record's bytes (through files in temp).
TBytes SavedRecord(TCommunication& communication, const TTempDir& temp);
void LoadRecord(TCommunication& communication, const TTempDir& temp, const TBytes& bytes);

// The message of the EExperimentError an operation throws; "(no error)" when none.
template <typename F>
std::string ErrorOf(F operation) {
  try {
    operation();
  } catch (const EExperimentError& error) {
    return error.GetMessage();
  }
  return "(no error)";
}
