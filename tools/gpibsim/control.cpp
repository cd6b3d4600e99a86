// The control calls of gpibsim.h, for tests and the demo.
#include <algorithm>
#include <cstring>

#include "bus.h"
#include "export.h"
#include "gpibsim.h"

using namespace gpibsim;

namespace {

TInstrument* FindByKind(TBus& bus, int kind, int board, int address) {
  if (kind != static_cast<int>(TBusKind::CEC) && kind != static_cast<int>(TBusKind::NI))
    return nullptr;
  return bus.Find(static_cast<TBusKind>(kind), board, address);
}

}  // namespace

extern "C" {

GPIBSIM_EXPORT int gpibsim_configure(const char* text) {
  TBus& bus = TBus::Get();
  const auto lock = bus.LockOnly();
  return bus.Configure(text != nullptr ? text : "");
}

GPIBSIM_EXPORT int gpibsim_configure_file(const char* path) {
  TBus& bus = TBus::Get();
  const auto lock = bus.LockOnly();
  return bus.ConfigureFile(path);
}

GPIBSIM_EXPORT const char* gpibsim_error(void) {
  TBus& bus = TBus::Get();
  const auto lock = bus.LockOnly();
  bus.ErrorCopy = bus.Error;
  return bus.ErrorCopy.c_str();
}

GPIBSIM_EXPORT const char* gpibsim_log(void) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  bus.LogCopy = bus.Log.Text();
  return bus.LogCopy.c_str();
}

GPIBSIM_EXPORT void gpibsim_clear_log(void) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  bus.Log.Clear();
}

GPIBSIM_EXPORT int gpibsim_received(int kind, int board, int address, char* buffer, int size) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  const TInstrument* instrument = FindByKind(bus, kind, board, address);
  if (instrument == nullptr) return -1;
  const std::string& bytes = instrument->Received;
  if (buffer != nullptr && size > 0)
    std::memcpy(buffer, bytes.data(), std::min(bytes.size(), static_cast<std::size_t>(size)));
  return static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7FFFFFFF));
}

GPIBSIM_EXPORT int gpibsim_set_status_byte(int kind, int board, int address, int value) {
  TBus& bus = TBus::Get();
  const auto lock = bus.Lock();
  TInstrument* instrument = FindByKind(bus, kind, board, address);
  if (instrument == nullptr) return -1;
  instrument->StatusByte = value & 0xFF;
  return 0;
}

}  // extern "C"
