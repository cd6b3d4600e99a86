// An instrument at a GPIB address on a National Instruments board, through the NI-488.2
// library loaded at run time. The time-out is kept as an NI-488.2 time-out code 0..17.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "communication/communication.h"

class TNATGPIB : public TGPIB {
public:
  static constexpr int MaxTimeOutCode = 17;
  // 1 s.
  static constexpr int DefaultTimeOutCode = 11;

  // Code 11, closed, both addresses unset (a device record's Load sets them).
  TNATGPIB();
  // At an NI address; the time-out code is converted from other's time-out and the END
  // flag copied from a GPIB other (on otherwise); code 11 and END on without other.
  TNATGPIB(int boardAddress, int deviceAddress, const TCommunication* other);
  ~TNATGPIB() override;

  void Send(const char* buffer, int length, bool addTerminators) override;
  void SendTrace(const char* buffer, int length, bool addTerminators,
                 TTraceLines& trace) override;
  void SendBinary(const char* buffer, int length) override;
  void SendBinaryTrace(const char* buffer, int length, TTraceLines& trace) override;
  bool Read(char* buffer, int maxBytes, int terminator, int& bytesRead) override;
  bool ReadTrace(char* buffer, int maxBytes, int terminator, int& bytesRead,
                 TTraceLines& trace) override;
  // The text, then the terminators that are non-zero; a second without a first counts as
  // none.
  std::unique_ptr<char[]> BuildSendCommand(const std::string& text, int terminator1,
                                           int terminator2, bool addTerminators,
                                           int& length) override;

  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  void Close() override;
  bool AssignFrom(const TCommunication& other) override;
  void Describe(TReport& report) override;
  bool CheckReadSize(std::int64_t bytes) override;
  std::string GetName() const override;
  void SetTimeOut(std::int64_t microseconds) override;
  // The code's duration in microseconds.
  std::int64_t GetTimeOut() const override;

  int SerialPoll() override;
  int SerialPollTrace(TTraceLines& trace) override;
  std::unique_ptr<char[]> BusCommandString(int flags, int& length) override;

  int GetTimeOutCode() const { return ATimeOut; }
  // The descriptor of the open device; -1 when closed.
  int GetDescriptor() const { return Pdevicenum; }

  // The smallest code whose duration is at least microseconds (0 for none or less).
  static int TimeOutCode(std::int64_t microseconds);
  static std::int64_t TimeOutMicroseconds(int code);
  // "None", "10 microseconds", ..., "1 second", ..., "1000 seconds".
  static std::string TimeOutText(int code);

private:
  // Opens the device when it is closed; "GPIB Error: " + iberr when that fails.
  void Open();
  // Writes with EOI on the last byte unless the command asked for no terminators (END
  // on): answers the write's ibsta and iberr.
  int Write(const char* buffer, int length, bool addTerminators, int& iberr);

  std::int32_t Pdevicenum = -1;
};
