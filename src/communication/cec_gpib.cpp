#include "communication/cec_gpib.h"

#include <limits>

#include "model/assertion.h"
#include "model/errors.h"
#include "platform/cec_library.h"

namespace {

// Clears the bus: interface clear, untalk, unlisten, device clear of every instrument.
const char* const ClearBusText = "IFC UNT UNL DCL";
// The longest command text the board library takes.
constexpr int TransmitLimit = 65535;
constexpr int DefaultTimeOut = 10000;
// Addressing retries of a read that finds the computer not addressed as listener.
constexpr int ListenerRetries = 5;

enum : int { stSuccess = 0, stNotListener = 2, stTimeOut = 8 };

// The END characters as the board library takes them: signed bytes widened to int.
int EndChar(int terminator) { return static_cast<signed char>(terminator); }

std::string StatusText(int status) {
  return "Status is 0x" + HexDigits(static_cast<std::uint32_t>(status));
}

// A receive ends well with its bytes (0) or the time-out (8).
void CheckReceiveStatus(int status) {
  if (status == stNotListener)
    throw EExperimentError("Read command error,  PC was not a listener");
  if (status != stSuccess && status != stTimeOut)
    throw EExperimentError("Read command error, status " + std::to_string(status));
}

}  // namespace

TCECGPIB::TCECGPIB() : TGPIB(CEC_GPIB, -1, -1) { ATimeOut = DefaultTimeOut; }

TCECGPIB::TCECGPIB(int boardAddress, int deviceAddress, const TCommunication* other)
    : TGPIB(CEC_GPIB, boardAddress, deviceAddress) {
  ATimeOut = other ? MicrosecondsToMilliseconds(other->GetTimeOut()) : DefaultTimeOut;
  if (const auto* gpib = dynamic_cast<const TGPIB*>(other)) EOI = gpib->GetEOI();
}

TCECGPIB::~TCECGPIB() {
  try {
    Close();
  } catch (const EExperimentError&) {
    // The library went away; there is nothing left to release.
  }
}

std::unique_lock<std::recursive_mutex> TCECGPIB::SelectBoard() {
  auto bus = TCecLibrary::Instance().LockBus();
  TCecLibrary::Instance().SelectBoard(ABoardAddress);
  return bus;
}

void TCECGPIB::Initialise() {
  auto& library = TCecLibrary::Instance();
  library.Initialize(ABoardAddress, 0);
  Initialised = true;
  library.SetTimeOut(ABoardAddress, ATimeOut);
  Transmit(ClearBusText);
}

void TCECGPIB::Prepare() {
  auto& library = TCecLibrary::Instance();
  if (!Initialised) Initialise();
  if (library.BoardTimeOut(ABoardAddress) != ATimeOut)
    library.SetTimeOut(ABoardAddress, ATimeOut);
  if (HasEndChars && library.BoardEndChars(ABoardAddress) != std::make_pair(EndChar1, EndChar2))
    library.SetEndChars(ABoardAddress, EndChar1, EndChar2);
}

void TCECGPIB::Transmit(const std::string& text) {
  TCecLibrary::Instance().Transmit(text.c_str(), TransmitLimit, Status);
}

std::unique_ptr<char[]> TCECGPIB::BuildSendCommand(const std::string& text, int terminator1,
                                                   int terminator2, bool addTerminators,
                                                   int& length) {
  std::string command = "UNT UNL MTA LISTEN " + std::to_string(ADeviceAddress) + " DATA '";
  // A quote inside the text is doubled, so the text never ends the data early.
  for (const char c : text) {
    command += c;
    if (c == '\'') command += '\'';
  }
  const bool end = terminator1 != 0;
  if (end) {
    HasEndChars = true;
    EndChar1 = EndChar(terminator1);
    EndChar2 = EndChar(terminator2);
  }
  if (EOI && addTerminators)
    command += end ? "' EOI END" : "' EOI";
  else if (end)
    command += "' END";
  return CommandBuffer(command, true, length);
}

std::string TCECGPIB::BuildReadCommand() {
  return "UNT UNL MLA TALK " + std::to_string(ADeviceAddress);
}

void TCECGPIB::Send(const char* buffer, int length, bool addTerminators) {
  TTraceLines ignored;
  SendTrace(buffer, length, addTerminators, ignored);
}

void TCECGPIB::SendTrace(const char* buffer, int /*length*/, bool /*addTerminators*/,
                         TTraceLines& trace) {
  QORV_ASSERT(buffer);
  const auto bus = SelectBoard();
  Prepare();
  trace.push_back("transmit(" + std::string(buffer) + ")");
  Transmit(buffer);
  trace.push_back(StatusText(Status));
  if (Status != stSuccess)
    throw EExperimentError("Send Command " + std::string(buffer) + " timed out");
}

void TCECGPIB::SendBinary(const char* buffer, int length) {
  TTraceLines ignored;
  SendBinaryTrace(buffer, length, ignored);
}

void TCECGPIB::SendBinaryTrace(const char* buffer, int length, TTraceLines& trace) {
  QORV_ASSERT(buffer);
  const auto bus = SelectBoard();
  Prepare();
  Transmit("UNT UNL MTA LISTEN " + std::to_string(ADeviceAddress));
  if (Status == stSuccess)
    TCecLibrary::Instance().SendBytes(buffer, length, EOI ? 1 : 0, Status);
  trace.push_back(StatusText(Status));
  if (Status != stSuccess) throw EExperimentError("Send Command timed out");
}

bool TCECGPIB::Receive(char* buffer, int maxBytes, int& bytesRead,
                       const std::string& retryText) {
  auto& library = TCecLibrary::Instance();
  int count = 0;
  library.Receive(buffer, maxBytes, count, Status);
  for (int retry = 0; Status == stNotListener && retry < ListenerRetries; ++retry) {
    Transmit(retryText);
    count = 0;
    library.Receive(buffer, maxBytes, count, Status);
  }
  bytesRead = count;
  return Status == stTimeOut;
}

bool TCECGPIB::Read(char* buffer, int maxBytes, int /*terminator*/, int& bytesRead) {
  QORV_ASSERT(buffer);
  QORV_ASSERT(maxBytes >= 0);
  const auto bus = SelectBoard();
  if (maxBytes > MaxReadSize)
    throw EExperimentError(std::to_string(maxBytes) + " bytes exceeds 64K limit");
  Prepare();
  int count = 0;
  const bool timedOut =
      Receive(buffer, maxBytes, count, "MLA TALK " + std::to_string(ADeviceAddress));
  CheckReceiveStatus(Status);
  Count = count;
  bytesRead = count;
  return timedOut;
}

bool TCECGPIB::ReadTrace(char* buffer, int maxBytes, int /*terminator*/, int& bytesRead,
                         TTraceLines& trace) {
  QORV_ASSERT(buffer);
  QORV_ASSERT(maxBytes >= 0);
  const auto bus = SelectBoard();
  if (!CheckReadSize(maxBytes))
    throw EExperimentError(std::to_string(maxBytes) + " exceeds 64K limit");
  Prepare();
  trace.push_back("rarray(response, " + std::to_string(maxBytes) + ")");
  const bool timedOut = Receive(buffer, maxBytes, Count,
                                "UNT UNL MLA TALK " + std::to_string(ADeviceAddress));
  trace.push_back(" " + StatusText(Status));
  bytesRead = Count;
  CheckReceiveStatus(Status);
  return timedOut;
}

int TCECGPIB::Poll() {
  const auto bus = SelectBoard();
  Prepare();
  unsigned char pollByte = 0;
  TCecLibrary::Instance().SerialPoll(ADeviceAddress, pollByte, Status);
  return pollByte;
}

int TCECGPIB::SerialPoll() {
  const int result = Poll();
  if (Status != stSuccess) throw EExperimentError("Read Command timed out.");
  return result;
}

int TCECGPIB::SerialPollTrace(TTraceLines& trace) {
  const int result = Poll();
  trace.push_back(" Poll result: OX" + HexDigits(static_cast<std::uint32_t>(result)));
  if (Status != stSuccess) throw EExperimentError("Read Command timed out.");
  return result;
}

std::unique_ptr<char[]> TCECGPIB::BusCommandString(int flags, int& length) {
  return CommandBuffer(BusCommandText(flags), true, length);
}

void TCECGPIB::Close() {
  if (!Initialised) return;
  Initialised = false;
  const auto bus = SelectBoard();
  Transmit(ClearBusText);
}

void TCECGPIB::SetTimeOut(std::int64_t microseconds) {
  ATimeOut = MicrosecondsToMilliseconds(microseconds);
  // The board is selected first, so the time-out reaches this device's board.
  const auto bus = SelectBoard();
  if (Initialised)
    TCecLibrary::Instance().SetTimeOut(ABoardAddress, ATimeOut);
  else
    Initialise();
}

bool TCECGPIB::CheckReadSize(std::int64_t bytes) { return bytes <= MaxReadSize; }

std::string TCECGPIB::GetName() const {
  return "CEC GPIB-Device Address: " + std::to_string(ADeviceAddress);
}

void TCECGPIB::Save(TWriteFile& writer) { SaveSettings(writer); }

void TCECGPIB::Load(TReadFile& reader) {
  LoadSettings(reader, std::numeric_limits<std::int32_t>::max());
}

bool TCECGPIB::AssignFrom(const TCommunication& other) {
  if (const auto* cec = dynamic_cast<const TCECGPIB*>(&other)) {
    ATimeOut = cec->ATimeOut;
    return true;
  }
  ATimeOut = MicrosecondsToMilliseconds(other.GetTimeOut());
  return false;
}

void TCECGPIB::Describe(TReport& report) {
  DescribeSettings(report, "CEC GPIB", MillisecondTimeOutText(ATimeOut));
}
