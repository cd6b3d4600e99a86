// The simulated GPIB bus for tests: points the CEC and NI loaders at the simulator
// library, opens it for its control calls (the same instance the loaders use) and
// configures it. Both loaders forget what they had, so each helper starts afresh.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "communication/communication.h"
#include "model/errors.h"
#include "support/fake_ui_port.h"
#include "support/line_report.h"
#include "support/temp_dir.h"

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

// The GPIB communication tests' set-up: the UI port, the bus configured with the text, a
// read buffer with its count, and a trace.
class TGpibTest : public ::testing::Test {
protected:
  explicit TGpibTest(const std::string& bus) : Sim(bus) {}

  TFakeUiPort Ui;
  TGpibSim Sim;
  char Buffer[100] = {};
  int Count = -1;
  TTraceLines Trace;
};

// Builds the command text as a device does and sends it.
void SendCommand(TCommunication& communication, const std::string& text, int terminator1,
                 int terminator2, bool addTerminators = true);

// The settings record Save writes, and Load of a record's bytes (through files in temp).
TBytes SavedRecord(TCommunication& communication, const TTempDir& temp);
void LoadRecord(TCommunication& communication, const TTempDir& temp, const TBytes& bytes);

// The message of the error (EExperimentError unless named) an operation throws;
// "(no error)" when none.
template <typename E = EExperimentError, typename F>
std::string ErrorOf(F operation) {
  try {
    operation();
  } catch (const E& error) {
    return error.what();
  }
  return "(no error)";
}
