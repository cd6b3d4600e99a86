#include "bus.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace gpibsim {

TBus& TBus::Get() {
  // A static object, not a heap one: the library may be unloaded (dlclose) before the
  // process ends, and its state must go with it rather than stay behind as a leak.
  static TBus bus;
  return bus;
}

std::unique_lock<std::mutex> TBus::Lock() {
  std::unique_lock lock(Mutex);
  if (!Loaded) {
    Loaded = true;
    const char* path = std::getenv("QORV_GPIBSIM_FILE");
    if (path != nullptr && *path != '\0') {
      const int line = ConfigureFile(path);
      if (line != 0)
        std::fprintf(stderr, "gpibsim: %s: line %d: %s\n", path, line, Error.c_str());
    }
  }
  return lock;
}

int TBus::Configure(std::string_view text) {
  TBusConfig config;
  const int line = ParseConfig(text, config, Error);
  if (line != 0) return line;
  Loaded = true;
  Instruments = std::move(config.Instruments);
  NiBoards = std::move(config.NiBoards);
  CecBoards.clear();
  for (const auto& [number, noscan] : config.CecBoards) {
    TCecBoard& board = CecBoards[number];
    board.Number = number;
    board.NoScan = noscan;
  }
  for (TInstrument& instrument : Instruments) {
    const auto board = CecBoards.find(instrument.Board);
    if (instrument.Kind == TBusKind::CEC && board != CecBoards.end())
      board->second.Instruments[instrument.Address] = &instrument;
  }
  SelectedCecBoard = 0;
  NiDevices.clear();
  Log.Clear();
  return 0;
}

int TBus::ConfigureFile(const char* path) {
  std::ifstream file(path != nullptr ? path : "", std::ios::binary);
  if (!file) {
    Error = std::string("cannot read the file ") + (path != nullptr ? path : "(null)");
    return -1;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return Configure(text.str());
}

TInstrument* TBus::Find(TBusKind kind, int board, int address) {
  for (TInstrument& instrument : Instruments)
    if (instrument.Kind == kind && instrument.Board == board && instrument.Address == address)
      return &instrument;
  return nullptr;
}

TCecBoard* TBus::CecBoard(int number) {
  const auto found = CecBoards.find(number);
  return found == CecBoards.end() ? nullptr : &found->second;
}

}  // namespace gpibsim
