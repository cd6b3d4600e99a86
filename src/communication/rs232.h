// An instrument on a serial port COM1..COM9, driven through our termios layer
// (platform/serial_port.h). COM n is the n-th entry of the port table
// (platform/serial_ports.h). The port opens, configured from the stored settings, at the
// first I/O operation and stays open until Close. Reads end at one terminator character
// or at the time-out, kept in milliseconds (0 = none).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "communication/communication.h"

class TSerialPort;

// The five line settings of a port.
struct TRS232Param {
  std::int32_t BaudRate = 19200;
  std::int32_t StopBits = 1;            // 1 or 2
  std::uint8_t ParityIndex = 0;         // into TRS232::ParityLetters: N O E S M
  std::uint8_t InputHandshakeIndex = 0;   // into TRS232::HandshakeNames
  std::uint8_t OutputHandshakeIndex = 0;  // into TRS232::HandshakeNames

  bool operator==(const TRS232Param&) const = default;
};

class TRS232 : public TCommunication {
public:
  // Parity by index: 0 none, 1 odd, 2 even, 3 space, 4 mark.
  static constexpr char ParityLetters[5] = {'N', 'O', 'E', 'S', 'M'};
  // Handshakes by index. The input handshake is how the port holds the instrument off,
  // the output handshake what the port obeys before it transmits:
  //   0 None; 1 XOn/XOff (input: IXOFF, output: IXON);
  //   2 RTS, 4 CTS: hardware flow control (CRTSCTS, which covers both directions);
  //   3 DTR, 5 DSR: termios has no DTR/DSR flow control; DTR stays raised while the port
  //   is open and DSR is not watched.
  static constexpr const char* HandshakeNames[6] = {"None", "XOn/XOff", "RTS",
                                                    "DTR",  "CTS",      "DSR"};
  static constexpr int ParityCount = 5;
  static constexpr int HandshakeCount = 6;
  static constexpr int PortCount = 9;  // COM1..COM9

  // Port index 0 (COM1), time-out 1,000,000 ms, default settings; closed.
  TRS232();
  // At the given port index; another TRS232 gives its settings and time-out, any other
  // communication its time-out in whole milliseconds, none 1,000,000 ms.
  TRS232(const TCommunication* other, int portIndex);
  ~TRS232() override;

  void Send(const char* buffer, int length, bool addTerminators) override;
  void SendTrace(const char* buffer, int length, bool addTerminators,
                 TTraceLines& trace) override;
  void SendBinary(const char* buffer, int length) override;
  void SendBinaryTrace(const char* buffer, int length, TTraceLines& trace) override;
  // Answers true only when not a single byte came before the time-out.
  bool Read(char* buffer, int maxBytes, int terminator, int& bytesRead) override;
  bool ReadTrace(char* buffer, int maxBytes, int terminator, int& bytesRead,
                 TTraceLines& trace) override;
  std::unique_ptr<char[]> BuildSendCommand(const std::string& text, int terminator1,
                                           int terminator2, bool addTerminators,
                                           int& length) override;
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // Clears the transmit buffer, drains the receive buffer (at most about a second, so an
  // instrument that keeps talking cannot hold it) and closes the port.
  void Close() override;
  bool AssignFrom(const TCommunication& other) override;
  void Describe(TReport& report) override;
  bool CheckReadSize(std::int64_t bytes) override;
  std::string GetName() const override;
  int GetBoardAddress() const override { return PortIndex; }
  int GetDeviceAddress() const override { return -1; }
  void SetTimeOut(std::int64_t microseconds) override;

  // Opens the port when closed, then clears the transmit and/or receive buffer.
  virtual void ClearBuffers(bool transmit, bool receive);
  // Applies RS232Param to the open port (nothing while closed). On failure the message
  // is shown, the port closed and, with throwOnFailure, EExperimentError
  // "COM port not initialized" thrown.
  void ConfigurePort(bool throwOnFailure);

  bool IsOpen() const { return Port != nullptr; }
  int GetPortIndex() const { return PortIndex; }
  // The open port (null while closed), for tests and diagnostics.
  TSerialPort* GetPort() const { return Port.get(); }

  // The line settings; a change takes effect on an open port through ConfigurePort.
  TRS232Param RS232Param;

private:
  void Open();
  void EnsureOpen();
  // A port that cannot be opened or configured: "COM port not connected." shown, the port
  // closed, and with the flag EExperimentError "COM port not initialized".
  void NotConnected(bool throwOnFailure);
  int WriteBytes(const char* buffer, int length);
  int ReadBytes(char* buffer, int maxBytes, int terminator);

  std::int32_t PortIndex = 0;
  std::unique_ptr<TSerialPort> Port;  // null: closed
};
