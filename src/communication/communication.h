// The one contract through which devices reach their instruments: a GPIB address on a
// CEC or National Instruments board, or a serial port. Commands, the device dialog and
// the console call only these operations. Time-outs cross the contract in microseconds
// (64-bit, so no conversion overflows); each class keeps them in its own unit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TReadFile;
class TReport;
class TWriteFile;

// The kind of a connection, as stored in device records.
enum TCommType : std::uint8_t { RS232 = 0, CEC_GPIB = 1, NAT_GPIB = 2 };

// Lines describing each library call of a traced operation (the debug window's trace).
using TTraceLines = std::vector<std::string>;

// The text of an EReadError raised by a settings record that cannot be right (a kind or
// a setting out of range); the file loaders put their own message in its place.
extern const char* const InvalidDeviceRecordText;

class TCommunication {
public:
  virtual ~TCommunication() = default;
  TCommunication(const TCommunication&) = delete;
  TCommunication& operator=(const TCommunication&) = delete;

  // Transmits a buffer made by BuildSendCommand (or BusCommandString); the flag is the
  // command's add-terminators choice. Failures throw EExperimentError.
  virtual void Send(const char* buffer, int length, bool addTerminators) = 0;
  virtual void SendTrace(const char* buffer, int length, bool addTerminators,
                         TTraceLines& trace) = 0;
  // Raw bytes, without terminators or addressing text.
  virtual void SendBinary(const char* buffer, int length) = 0;
  virtual void SendBinaryTrace(const char* buffer, int length, TTraceLines& trace) = 0;
  // Reads at most maxBytes into buffer; terminator is a character code, or -1 (or any
  // value outside 1..255) for none. Stores the bytes received; answers true when the
  // read ended by time-out.
  virtual bool Read(char* buffer, int maxBytes, int terminator, int& bytesRead) = 0;
  virtual bool ReadTrace(char* buffer, int maxBytes, int terminator, int& bytesRead,
                         TTraceLines& trace) = 0;
  // The bytes Send expects for a command text, NUL-terminated; length is what Send must
  // be given. The caller passes 0 for both terminators when none are wanted. A second
  // terminator without a first counts as no terminators.
  virtual std::unique_ptr<char[]> BuildSendCommand(const std::string& text, int terminator1,
                                                   int terminator2, bool addTerminators,
                                                   int& length) = 0;
  // The text that addresses the instrument as talker (CEC); empty otherwise.
  virtual std::string BuildReadCommand();

  // The settings record, written after the device record's kind.
  virtual void Save(TWriteFile& writer) = 0;
  // Reads the settings record; EReadError(InvalidDeviceRecordText) for a setting out of
  // range.
  virtual void Load(TReadFile& reader) = 0;
  // Releases the connection; the next operation opens it again. Harmless when closed.
  virtual void Close() = 0;
  // Takes over the settings of another communication; true when it is of this class.
  virtual bool AssignFrom(const TCommunication& other) = 0;
  // Printout lines of the settings, each "\t\t" + label + "\t" + value.
  virtual void Describe(TReport& report) = 0;
  virtual bool CheckReadSize(std::int64_t bytes) = 0;
  // "CEC GPIB-Device Address: 5", "National GPIB-Device Address: 5", "COM1".
  virtual std::string GetName() const = 0;
  // GPIB: the board number; RS-232: the port index.
  virtual int GetBoardAddress() const = 0;
  // GPIB: the primary address; RS-232: -1.
  virtual int GetDeviceAddress() const = 0;
  virtual void SetTimeOut(std::int64_t microseconds) = 0;
  // The base answers ATimeOut milliseconds in microseconds.
  virtual std::int64_t GetTimeOut() const;

  TCommType GetType() const { return Type; }
  bool IsGPIB() const { return Type != RS232; }

  // The device dialog's time-out display: 0 stays 0; otherwise whole milliseconds (at
  // least 1), shown in seconds from 1000 ms on.
  static std::int64_t TimeOutToDisplay(std::int64_t microseconds, bool& seconds);
  static std::int64_t TimeOutFromDisplay(std::int64_t value, bool seconds);
  // "None", "<n> seconds" from 1000 ms on, else "<n> milliseconds".
  static std::string MillisecondTimeOutText(std::int32_t milliseconds);
  // Microseconds to whole milliseconds for the classes that keep them: 0 (none) for 0
  // or less, else at least 1 ms, at most the int32 range.
  static std::int32_t MicrosecondsToMilliseconds(std::int64_t microseconds);

protected:
  explicit TCommunication(TCommType type) : Type(type) {}

  // A new buffer of the bytes and a closing NUL; length is the byte count, plus one when
  // the NUL counts (CEC's command texts).
  static std::unique_ptr<char[]> CommandBuffer(const std::string& bytes, bool countNul,
                                               int& length);
  // The text with terminator1 and then terminator2 appended where each is above 0; a
  // second without a first counts as none.
  static std::string WithTerminators(std::string text, int terminator1, int terminator2);

  const TCommType Type;
  // Milliseconds (CEC, RS-232; 0 = none) or the NI time-out code 0..17.
  std::int32_t ATimeOut = -1;
};

// The two GPIB classes: board and primary address, the EOI flag, serial poll and bus
// commands.
class TGPIB : public TCommunication {
public:
  // Bus-command flags of the Send GPIB command.
  enum : int { busREN = 1, busGTL = 2, busDCL = 4, busIFC = 8, busLLO = 16 };

  int GetBoardAddress() const override { return ABoardAddress; }
  int GetDeviceAddress() const override { return ADeviceAddress; }
  bool GetEOI() const { return EOI; }
  void SetEOI(bool eoi) { EOI = eoi; }

  // The instrument's status byte, 0..255.
  virtual int SerialPoll() = 0;
  virtual int SerialPollTrace(TTraceLines& trace) = 0;
  // The words of the set flags (REN GTL DCL IFC LLO, in that order, blank-separated);
  // CEC counts the terminating NUL in length, NI does not.
  virtual std::unique_ptr<char[]> BusCommandString(int flags, int& length) = 0;
  static std::string BusCommandText(int flags);

protected:
  TGPIB(TCommType type, int boardAddress, int deviceAddress)
      : TCommunication(type), ABoardAddress(boardAddress), ADeviceAddress(deviceAddress) {}

  // The settings record of both classes: int32 board, address, time-out (in the class's
  // unit), bool EOI. LoadSettings refuses a board below 0, an address outside 0..30 and a
  // time-out outside 0..maxTimeOut (EReadError(InvalidDeviceRecordText)).
  void SaveSettings(TWriteFile& writer) const;
  void LoadSettings(TReadFile& reader, std::int32_t maxTimeOut);
  // The printout lines of the settings: the type, both addresses and the time-out text.
  void DescribeSettings(TReport& report, const std::string& type,
                        const std::string& timeOut) const;

  std::int32_t ABoardAddress = -1;
  std::int32_t ADeviceAddress = -1;
  bool EOI = true;
};

// A new closed communication of a record's kind (0 RS-232, 1 CEC GPIB, 2 NI GPIB) with
// its default settings, ready for Load; EReadError(InvalidDeviceRecordText) for any other
// kind. (communication_factory.cpp)
std::unique_ptr<TCommunication> CreateCommunication(std::int32_t kind);

// Upper-case hexadecimal digits, at least minDigits of them, as the traces print
// statuses (each trace puts its own prefix before them).
std::string HexDigits(std::uint32_t value, int minDigits = 4);
