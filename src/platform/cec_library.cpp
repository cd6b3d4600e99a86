#include "platform/cec_library.h"

#include "model/errors.h"

namespace {

const char* const EntryNames[] = {QORV_CEC_ENTRY_NAMES};
const char* const Variable = "QORV_CEC_LIBRARY";
const char* const DefaultFile = "libcec488.so";

}  // namespace

TCecLibrary& TCecLibrary::Instance() {
  static TCecLibrary library;
  return library;
}

TCecLibrary::TCecLibrary() : Library(Variable, DefaultFile, EntryNames, eEntryCount) {}

std::string TCecLibrary::FileName() { return TSharedLibrary::FileName(Variable, DefaultFile); }

bool TCecLibrary::Load() {
  std::lock_guard<std::mutex> guard(Lock);
  return Library.Load();
}

void TCecLibrary::Unload() {
  std::lock_guard<std::mutex> guard(Lock);
  Library.Unload();
  Boards.clear();
}

void* TCecLibrary::Entry(TEntry entry) {
  std::lock_guard<std::mutex> guard(Lock);
  const std::string library = "The CEC GPIB library ";
  if (!Library.Load()) throw EExperimentError(library + Library.File() + " could not be loaded.");
  void* function = Library.Function(entry);
  if (!function)
    throw EExperimentError(library + Library.File() + " has no entry point " +
                           Library.Name(entry) + ".");
  return function;
}

int TCecLibrary::Presence() {
  void* entry;
  try {
    entry = Entry(ePresence);
  } catch (const EExperimentError&) {
    return 0;
  }
  return reinterpret_cast<cec_presence_fn>(entry)();
}

int TCecLibrary::SelectBoard(int board) {
  return reinterpret_cast<cec_select_board_fn>(Entry(eSelectBoard))(board);
}

int TCecLibrary::BoardQuery(int what) {
  return reinterpret_cast<cec_board_query_fn>(Entry(eBoardQuery))(what);
}

int TCecLibrary::Initialize(int board, int level) {
  const int result = reinterpret_cast<cec_initialize_fn>(Entry(eInitialize))(board, level);
  std::lock_guard<std::mutex> guard(Lock);
  Boards.erase(board);
  return result;
}

int TCecLibrary::Receive(char* buffer, int maxBytes, int& count, int& status) {
  return reinterpret_cast<cec_receive_fn>(Entry(eReceive))(buffer, maxBytes, &count, &status);
}

int TCecLibrary::SetEndChars(int board, int first, int second) {
  const int result =
      reinterpret_cast<cec_set_end_chars_fn>(Entry(eSetEndChars))(first, second);
  std::lock_guard<std::mutex> guard(Lock);
  Boards[board].EndChars = std::make_pair(first, second);
  return result;
}

int TCecLibrary::SetTimeOut(int board, int milliseconds) {
  const int result = reinterpret_cast<cec_set_timeout_fn>(Entry(eSetTimeOut))(milliseconds);
  std::lock_guard<std::mutex> guard(Lock);
  Boards[board].TimeOut = milliseconds;
  return result;
}

int TCecLibrary::SerialPoll(int address, unsigned char& pollByte, int& status) {
  return reinterpret_cast<cec_serial_poll_fn>(Entry(eSerialPoll))(address, &pollByte,
                                                                    &status);
}

int TCecLibrary::SendBytes(const char* buffer, int length, int eoi, int& status) {
  return reinterpret_cast<cec_send_bytes_fn>(Entry(eSendBytes))(buffer, length, eoi,
                                                                  &status);
}

int TCecLibrary::Transmit(const char* text, int maxBytes, int& status) {
  return reinterpret_cast<cec_transmit_fn>(Entry(eTransmit))(text, maxBytes, &status);
}

std::optional<std::pair<int, int>> TCecLibrary::BoardEndChars(int board) {
  std::lock_guard<std::mutex> guard(Lock);
  const auto found = Boards.find(board);
  return found == Boards.end() ? std::nullopt : found->second.EndChars;
}

std::optional<int> TCecLibrary::BoardTimeOut(int board) {
  std::lock_guard<std::mutex> guard(Lock);
  const auto found = Boards.find(board);
  return found == Boards.end() ? std::nullopt : found->second.TimeOut;
}
