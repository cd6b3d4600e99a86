#include "support/gpib_sim.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "communication/communication.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "platform/cec_library.h"
#include "platform/ni488_library.h"
#include "../../tools/gpibsim/gpibsim.h"

std::string TGpibSim::Path() {
#ifdef QORV_GPIBSIM_PATH
  return QORV_GPIBSIM_PATH;
#else
  return {};
#endif
}

TGpibSim::TGpibSim() {
  const std::string path = Path();
  if (path.empty()) {
    ADD_FAILURE() << "QORV_GPIBSIM_PATH is not defined for the tests";
    return;
  }
  ::setenv("QORV_NI488_LIBRARY", path.c_str(), 1);
  ::setenv("QORV_CEC_LIBRARY", path.c_str(), 1);
  UnloadLoaders();
  // Never unmapped: the library has thread-local status, and a module unloaded under a
  // thread-local block leaves the leak checker at exit reading freed memory.
  Handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!Handle) ADD_FAILURE() << "cannot open the simulated bus: " << ::dlerror();
}

TGpibSim::TGpibSim(const std::string& configuration) : TGpibSim() { Configure(configuration); }

TGpibSim::~TGpibSim() {
  UnloadLoaders();
  if (Handle) ::dlclose(Handle);
}

void TGpibSim::UnloadLoaders(bool forgetPaths) {
  TCecLibrary::Instance().Unload();
  TNi488Library::Instance().Unload();
  if (forgetPaths) {
    ::unsetenv("QORV_NI488_LIBRARY");
    ::unsetenv("QORV_CEC_LIBRARY");
  }
}

template <typename Fn>
Fn TGpibSim::Control(const char* name) const {
  void* entry = Handle ? ::dlsym(Handle, name) : nullptr;
  if (!entry) ADD_FAILURE() << "the simulated bus has no control call " << name;
  return reinterpret_cast<Fn>(entry);
}

bool TGpibSim::Configure(const std::string& text) {
  const auto configure = Control<decltype(&gpibsim_configure)>("gpibsim_configure");
  if (!configure) return false;
  // The boards start afresh: the loaders forget what they gave them.
  TCecLibrary::Instance().Unload();
  const int line = configure(text.c_str());
  if (line != 0) {
    const auto error = Control<decltype(&gpibsim_error)>("gpibsim_error");
    ADD_FAILURE() << "the simulated bus refuses line " << line << ": "
                  << (error ? error() : "?");
  }
  return line == 0;
}

std::vector<std::string> TGpibSim::Log() const {
  std::vector<std::string> lines;
  const auto log = Control<decltype(&gpibsim_log)>("gpibsim_log");
  if (!log) return lines;
  std::istringstream text(log());
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

void TGpibSim::ClearLog() {
  if (const auto clear = Control<decltype(&gpibsim_clear_log)>("gpibsim_clear_log")) clear();
}

std::string TGpibSim::Received(int kind, int board, int address) const {
  const auto received = Control<decltype(&gpibsim_received)>("gpibsim_received");
  if (!received) return {};
  const int size = received(kind, board, address, nullptr, 0);
  if (size < 0) {
    ADD_FAILURE() << "no simulated instrument " << kind << " " << board << " " << address;
    return {};
  }
  std::string bytes(static_cast<std::size_t>(size), '\0');
  received(kind, board, address, bytes.data(), size);
  return bytes;
}

void TGpibSim::SetStatusByte(int kind, int board, int address, int value) {
  const auto set = Control<decltype(&gpibsim_set_status_byte)>("gpibsim_set_status_byte");
  if (set && set(kind, board, address, value) != 0)
    ADD_FAILURE() << "no simulated instrument " << kind << " " << board << " " << address;
}

TBytes SavedRecord(TCommunication& communication, const TTempDir& temp) {
  TWriteFile file(temp.PathOf("saved.rec"));
  communication.Save(file);
  file.Commit();
  return temp.ReadBytes("saved.rec");
}

void LoadRecord(TCommunication& communication, const TTempDir& temp, const TBytes& bytes) {
  TReadFile file(temp.WriteBytes("loaded.rec", bytes));
  communication.Load(file);
}

void SendCommand(TCommunication& communication, const std::string& text, int terminator1,
                 int terminator2, bool addTerminators) {
  int length = 0;
  const auto buffer =
      communication.BuildSendCommand(text, terminator1, terminator2, addTerminators, length);
  communication.Send(buffer.get(), length, addTerminators);
}
