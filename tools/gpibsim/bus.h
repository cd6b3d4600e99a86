// The state of the whole simulated bus: the configuration, the CEC boards with their
// addressing, the open NI descriptors and the call log. One object per process; every
// entry point and control call holds its mutex (the run engine's worker thread and the
// main thread may call at the same time).
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "call_log.h"
#include "cec_board.h"
#include "config.h"
#include "instrument.h"

namespace gpibsim {

// An open NI device descriptor.
struct TNiDevice {
  int Board = 0;
  int Address = 0;
  int TimeOutCode = 0;  // kept, never waited for
  bool Eot = true;      // EOI with the last byte of each write
};

class TBus {
public:
  static TBus& Get();

  // Locks the bus and, before the first configuration, loads QORV_GPIBSIM_FILE.
  std::unique_lock<std::mutex> Lock();
  // The control calls' view: locks without loading anything.
  std::unique_lock<std::mutex> LockOnly() { return std::unique_lock(Mutex); }

  // Replace everything; answer 0 or the first bad line (-1: the file cannot be read).
  int Configure(std::string_view text);
  int ConfigureFile(const char* path);

  TInstrument* Find(TBusKind kind, int board, int address);
  TCecBoard* CecBoard(int number);
  bool NiBoardPresent(int number) const { return NiBoards.count(number) != 0; }

  TCallLog Log;
  std::string Error;  // why the last configuration failed
  std::map<int, TCecBoard> CecBoards;
  int SelectedCecBoard = 0;
  std::map<int, TNiDevice> NiDevices;  // by descriptor

  // Copies handed out by gpibsim_log and gpibsim_error, valid until the next control call.
  std::string LogCopy;
  std::string ErrorCopy;

private:
  TBus() = default;

  std::mutex Mutex;
  bool Loaded = false;
  std::vector<TInstrument> Instruments;
  std::set<int> NiBoards;
};

}  // namespace gpibsim
