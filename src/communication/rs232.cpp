#include "communication/rs232.h"

#include <algorithm>
#include <cstring>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "platform/serial_port.h"
#include "platform/serial_ports.h"

namespace {

constexpr std::int32_t DefaultTimeOutMs = 1000000;
// How long Close keeps draining an instrument that goes on talking.
constexpr int CloseDrainMs = 1000;

const char* const NotConnectedText = "COM port not connected.";
const char* const NotInitializedText = "COM port not initialized";
const char* const TransmissionErrorText = "Transmission error.";

TSerialParity ParityOf(int index) {
  static constexpr TSerialParity parities[] = {TSerialParity::None, TSerialParity::Odd,
                                               TSerialParity::Even, TSerialParity::Space,
                                               TSerialParity::Mark};
  QORV_ASSERT(index >= 0 && index < TRS232::ParityCount);
  return parities[index];
}

// Handshake indexes: 0 None, 1 XOn/XOff, 2 RTS, 3 DTR, 4 CTS, 5 DSR. The system's serial
// interface has no DTR/DSR flow control, so those two act as none.
TSerialFlow FlowOf(int input, int output) {
  TSerialFlow flow;
  flow.XOnXOffIn = input == 1;
  flow.XOnXOffOut = output == 1;
  flow.Hardware = input == 2 || input == 4 || output == 2 || output == 4;
  return flow;
}

std::size_t TextLength(const char* buffer, int length) {
  return length > 0 ? ::strnlen(buffer, static_cast<std::size_t>(length)) : 0;
}

}  // namespace

TRS232::TRS232() : TCommunication(RS232) { ATimeOut = DefaultTimeOutMs; }

TRS232::TRS232(const TCommunication* other, int portIndex)
    : TCommunication(RS232), PortIndex(portIndex) {
  ATimeOut = DefaultTimeOutMs;
  if (!other) return;
  if (const auto* serial = dynamic_cast<const TRS232*>(other)) {
    RS232Param = serial->RS232Param;
    ATimeOut = serial->ATimeOut;
  } else {
    ATimeOut = MicrosecondsToMilliseconds(other->GetTimeOut());
  }
}

TRS232::~TRS232() { Close(); }

void TRS232::Open() {
  // A port that is not there, or that the system refuses, is not connected.
  const std::string path = SerialPortPath(PortIndex);
  try {
    if (path.empty()) throw ESerialError("no such port");
    Port = std::make_unique<TSerialPort>(path);
  } catch (const ESerialError&) {
    NotConnected(true);
  }
  ConfigurePort(true);
}

void TRS232::NotConnected(bool throwOnFailure) {
  // The worker may be the caller: the message goes through the main thread.
  UiPort().RunInMainThread(
      [&] { UiPort().ShowMessage(NotConnectedText, "", TMessageKind::Error); });
  Close();
  if (throwOnFailure) throw EExperimentError(NotInitializedText);
}

void TRS232::EnsureOpen() {
  if (!Port) Open();
}

void TRS232::ConfigurePort(bool throwOnFailure) {
  if (!Port) return;
  try {
    Port->ClearTransmit();
    Port->ClearReceive();
    Port->SetLine(RS232Param.BaudRate, RS232Param.StopBits, ParityOf(RS232Param.ParityIndex));
    Port->SetFlow(FlowOf(RS232Param.InputHandshakeIndex, RS232Param.OutputHandshakeIndex));
  } catch (const ESerialError&) {
    NotConnected(throwOnFailure);
  }
}

void TRS232::Close() {
  if (!Port) return;
  try {
    Port->ClearTransmit();
  } catch (const ESerialError&) {
  }
  try {
    Port->DrainReceive(CloseDrainMs);
  } catch (const ESerialError&) {
  }
  Port.reset();
}

int TRS232::WriteBytes(const char* buffer, int length) {
  try {
    return static_cast<int>(Port->Write(buffer, static_cast<std::size_t>(length), ATimeOut));
  } catch (const ESerialError&) {
    return -1;
  }
}

void TRS232::Send(const char* buffer, int length, bool) {
  QORV_ASSERT(buffer != nullptr);
  ClearBuffers(true, false);
  // The buffer goes out as a text: up to its terminating NUL.
  if (WriteBytes(buffer, static_cast<int>(TextLength(buffer, length))) != length)
    throw EExperimentError(TransmissionErrorText);
}

void TRS232::SendTrace(const char* buffer, int length, bool, TTraceLines& trace) {
  QORV_ASSERT(buffer != nullptr);
  ClearBuffers(true, false);
  const std::size_t textLength = TextLength(buffer, length);
  trace.push_back(GetName() + " PutString(" + std::string(buffer, textLength) +
                  " , Length=" + std::to_string(length) +
                  " bytes, Timeout=" + std::to_string(ATimeOut) + "ms)");
  if (WriteBytes(buffer, static_cast<int>(textLength)) != length) {
    trace.push_back("Transmission Error");
    throw EExperimentError(TransmissionErrorText);
  }
  trace.push_back("Transmit OK");
}

void TRS232::SendBinary(const char* buffer, int length) {
  QORV_ASSERT(buffer != nullptr);
  ClearBuffers(true, false);
  if (WriteBytes(buffer, std::max(length, 0)) != length)
    throw EExperimentError(TransmissionErrorText);
}

void TRS232::SendBinaryTrace(const char* buffer, int length, TTraceLines& trace) {
  SendBinary(buffer, length);
  trace.push_back("Transmit OK");
}

int TRS232::ReadBytes(char* buffer, int maxBytes, int terminator) {
  EnsureOpen();
  if (maxBytes <= 0) return 0;
  try {
    return static_cast<int>(
        Port->Read(buffer, static_cast<std::size_t>(maxBytes), terminator, ATimeOut));
  } catch (const ESerialError& error) {
    throw EExperimentError(GetName() + " could not be read: " + error.what());
  }
}

bool TRS232::Read(char* buffer, int maxBytes, int terminator, int& bytesRead) {
  QORV_ASSERT(buffer != nullptr);
  bytesRead = ReadBytes(buffer, maxBytes, terminator);
  return bytesRead < 1;
}

bool TRS232::ReadTrace(char* buffer, int maxBytes, int terminator, int& bytesRead,
                       TTraceLines& trace) {
  QORV_ASSERT(buffer != nullptr);
  EnsureOpen();
  trace.push_back(GetName() + " GetString(response, Read " + std::to_string(maxBytes) +
                  " bytes, Timeout=" + std::to_string(ATimeOut) + "ms)");
  bytesRead = ReadBytes(buffer, maxBytes, terminator);
  trace.push_back("Read " + std::to_string(bytesRead) + " bytes");
  return bytesRead < 1;
}

std::unique_ptr<char[]> TRS232::BuildSendCommand(const std::string& text, int terminator1,
                                                 int terminator2, bool, int& length) {
  return CommandBuffer(WithTerminators(text, terminator1, terminator2), false, length);
}

void TRS232::Save(TWriteFile& writer) {
  writer.WriteInteger(PortIndex);
  writer.WriteInteger(RS232Param.BaudRate);
  writer.WriteInteger(RS232Param.StopBits);
  writer.WriteInteger(RS232Param.ParityIndex);
  writer.WriteInteger(RS232Param.InputHandshakeIndex);
  writer.WriteInteger(RS232Param.OutputHandshakeIndex);
  writer.WriteInteger(ATimeOut);
}

void TRS232::Load(TReadFile& reader) {
  std::int32_t port, baud, stopBits, parity, input, output, timeOut;
  reader.ReadInteger(port);
  reader.ReadInteger(baud);
  reader.ReadInteger(stopBits);
  reader.ReadInteger(parity);
  reader.ReadInteger(input);
  reader.ReadInteger(output);
  reader.ReadInteger(timeOut);
  const auto inRange = [](std::int32_t value, int count) { return value >= 0 && value < count; };
  if (!inRange(port, PortCount) || baud <= 0 || (stopBits != 1 && stopBits != 2) ||
      !inRange(parity, ParityCount) || !inRange(input, HandshakeCount) ||
      !inRange(output, HandshakeCount) || timeOut < 0)
    throw EReadError(InvalidDeviceRecordText);
  PortIndex = port;
  RS232Param.BaudRate = baud;
  RS232Param.StopBits = stopBits;
  RS232Param.ParityIndex = static_cast<std::uint8_t>(parity);
  RS232Param.InputHandshakeIndex = static_cast<std::uint8_t>(input);
  RS232Param.OutputHandshakeIndex = static_cast<std::uint8_t>(output);
  ATimeOut = timeOut;
}

bool TRS232::AssignFrom(const TCommunication& other) {
  if (const auto* serial = dynamic_cast<const TRS232*>(&other)) {
    RS232Param = serial->RS232Param;
    ATimeOut = serial->ATimeOut;
    return true;
  }
  ATimeOut = MicrosecondsToMilliseconds(other.GetTimeOut());
  return false;
}

void TRS232::Describe(TReport& report) {
  report.AddLine("\t\tType:\tRS232");
  report.AddLine("\t\tPort:\t" + GetName());
  report.AddLine("\t\tTimeOut:\t" + MillisecondTimeOutText(ATimeOut));
  report.AddLine("\t\tBaud Rate:\t" + std::to_string(RS232Param.BaudRate));
  report.AddLine("\t\tStop Bits:\t" + std::to_string(RS232Param.StopBits));
  report.AddLine("\t\tParity:\t" + std::to_string(RS232Param.ParityIndex));
  report.AddLine("\t\tIn Hand:\t" + std::to_string(RS232Param.InputHandshakeIndex));
  report.AddLine("\t\tOut Hand:\t" + std::to_string(RS232Param.OutputHandshakeIndex));
}

bool TRS232::CheckReadSize(std::int64_t) { return true; }

std::string TRS232::GetName() const { return "COM" + std::to_string(PortIndex + 1); }

void TRS232::SetTimeOut(std::int64_t microseconds) {
  ATimeOut = MicrosecondsToMilliseconds(microseconds);
}

void TRS232::ClearBuffers(bool transmit, bool receive) {
  EnsureOpen();
  try {
    if (transmit) Port->ClearTransmit();
    if (receive) Port->ClearReceive();
  } catch (const ESerialError& error) {
    throw EExperimentError(GetName() + ": " + error.what());
  }
}
