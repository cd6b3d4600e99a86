// An instrument at a GPIB address on a CEC IEEE-488 board. Addressing and termination go
// to the board library as command-language text ("UNT UNL MTA LISTEN 5 DATA '...' END");
// the board is initialised on first use and the time-out is kept in milliseconds.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "communication/communication.h"

class TCECGPIB : public TGPIB {
public:
  // Time-out 10 s, not initialised, both addresses unset (a device record's Load sets
  // them).
  TCECGPIB();
  // At a CEC address; the time-out is taken over from other (10 s without one), and the
  // EOI flag when other is GPIB.
  TCECGPIB(int boardAddress, int deviceAddress, const TCommunication* other);
  ~TCECGPIB() override;

  void Send(const char* buffer, int length, bool addTerminators) override;
  void SendTrace(const char* buffer, int length, bool addTerminators,
                 TTraceLines& trace) override;
  void SendBinary(const char* buffer, int length) override;
  void SendBinaryTrace(const char* buffer, int length, TTraceLines& trace) override;
  bool Read(char* buffer, int maxBytes, int terminator, int& bytesRead) override;
  bool ReadTrace(char* buffer, int maxBytes, int terminator, int& bytesRead,
                 TTraceLines& trace) override;
  // "UNT UNL MTA LISTEN <address> DATA '<text>" with quotes in the text doubled, then
  // "' EOI", "' EOI END", "' END" or nothing by the EOI flag and the terminators. The
  // END characters it asks for are set on the board by the next operation.
  std::unique_ptr<char[]> BuildSendCommand(const std::string& text, int terminator1,
                                           int terminator2, bool addTerminators,
                                           int& length) override;
  // "UNT UNL MLA TALK <address>".
  std::string BuildReadCommand() override;

  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  void Close() override;
  bool AssignFrom(const TCommunication& other) override;
  void Describe(TReport& report) override;
  // Below 65536 bytes.
  bool CheckReadSize(std::int64_t bytes) override;
  std::string GetName() const override;
  void SetTimeOut(std::int64_t microseconds) override;

  int SerialPoll() override;
  int SerialPollTrace(TTraceLines& trace) override;
  std::unique_ptr<char[]> BusCommandString(int flags, int& length) override;

  bool IsInitialised() const { return Initialised; }
  // The status of the last library call that answers one (0 = success), and the byte
  // count of the last receive.
  int GetStatus() const { return Status; }
  int GetCount() const { return Count; }

  // The largest read the board library takes.
  static constexpr int MaxReadSize = 65535;

private:
  // Selects the board, holding the bus for this device's exchange while the answer lives.
  [[nodiscard]] std::unique_lock<std::recursive_mutex> SelectBoard();
  // After SelectBoard: initialises the board when needed and gives it this device's
  // time-out and END characters where they differ from the board's current ones.
  void Prepare();
  void Initialise();
  void Transmit(const std::string& text);
  bool Receive(char* buffer, int maxBytes, int& bytesRead, const std::string& retryText);
  int Poll();

  bool Initialised = false;
  std::int32_t Status = 0;
  std::int32_t Count = 0;
  // The END characters this device's commands ask for; none until a command asks.
  bool HasEndChars = false;
  int EndChar1 = 0;
  int EndChar2 = 0;
};
