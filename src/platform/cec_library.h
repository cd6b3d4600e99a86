// The CEC board library, loaded at run time on first use from the file named by
// QORV_CEC_LIBRARY, else "libcec488.so" (the entry points of platform/cec_api.h). One
// instance serves the process; it may be used from the worker and the main thread. A
// failed load is tried again at the next call.
//
// Besides the calls, it keeps what each board currently has been given (END characters,
// time-out), so that devices sharing a board can give the board their own settings only
// when they differ.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/cec_api.h"
#include "platform/shared_library.h"

class TCecLibrary {
public:
  static TCecLibrary& Instance();
  TCecLibrary(const TCecLibrary&) = delete;
  TCecLibrary& operator=(const TCecLibrary&) = delete;

  // The file it loads from (the variable's value at this moment, or the default).
  static std::string FileName();

  // True when the library is (or now could be) loaded.
  bool Load();
  // Releases the library and forgets every board's settings; the next call loads again.
  void Unload();

  // Each call loads the library when needed; a library or entry point that cannot be
  // found throws EExperimentError ("The CEC GPIB library <file> could not be loaded.").
  // Non-zero low byte: a board is present. Answers 0 without the library (no throw).
  int Presence();
  int SelectBoard(int board);
  int BoardQuery(int what);
  // Initialising a board forgets its END characters and time-out.
  int Initialize(int board, int level);
  int Receive(char* buffer, int maxBytes, int& count, int& status);
  // END characters and time-out of a board (the one selected by the caller); both are
  // remembered for it.
  int SetEndChars(int board, int first, int second);
  int SetTimeOut(int board, int milliseconds);
  int SerialPoll(int address, unsigned char& pollByte, int& status);
  int SendBytes(const char* buffer, int length, int eoi, int& status);
  int Transmit(const char* text, int maxBytes, int& status);

  // Selecting a board is the library's own state: a device's exchange, from its
  // selection to its last call, holds this lock so that the worker and the main thread
  // (the console, a reset) never interleave on the bus.
  std::unique_lock<std::recursive_mutex> LockBus() {
    return std::unique_lock<std::recursive_mutex>(BusLock);
  }

  // What the board was last given; empty when not known (never given, or initialised
  // since).
  std::optional<std::pair<int, int>> BoardEndChars(int board);
  std::optional<int> BoardTimeOut(int board);

private:
  TCecLibrary();
  ~TCecLibrary() = default;

  enum TEntry : int {
    ePresence, eSelectBoard, eBoardQuery, eInitialize, eReceive, eSetEndChars,
    eSetTimeOut, eSerialPoll, eSendBytes, eTransmit, eEntryCount
  };
  // The entry point, loading the library when needed; throws when it cannot be found.
  void* Entry(TEntry entry);

  struct TBoardState {
    std::optional<std::pair<int, int>> EndChars;
    std::optional<int> TimeOut;
  };

  std::mutex Lock;
  std::recursive_mutex BusLock;
  TSharedLibrary Library;
  std::unordered_map<int, TBoardState> Boards;
};
