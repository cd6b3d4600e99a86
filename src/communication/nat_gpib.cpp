#include "communication/nat_gpib.h"

#include "model/assertion.h"
#include "model/errors.h"
#include "platform/ni488_library.h"

namespace {

// Microseconds and Describe text of each time-out code.
constexpr std::array<std::int64_t, TNATGPIB::MaxTimeOutCode + 1> Microseconds = {
    0,        10,        30,        100,        300,     1000,    3000,     10000,   30000,
    100000,   300000,    1000000,   3000000,    10000000, 30000000, 100000000, 300000000,
    1000000000};

const char* const TimeOutTexts[TNATGPIB::MaxTimeOutCode + 1] = {
    "None",             "10 microseconds",  "30 microseconds",  "100 microseconds",
    "300 microseconds", "1 millisecond",    "3 milliseconds",   "10 milliseconds",
    "30 milliseconds",  "100 milliseconds", "300 milliseconds", "1 second",
    "3 seconds",        "10 seconds",       "30 seconds",       "100 seconds",
    "300 seconds",      "1000 seconds"};

std::string Hex(int value) { return HexDigits(static_cast<std::uint32_t>(value)); }

std::string Status(int ibsta) { return " Status OX" + Hex(ibsta); }

// Traces a write's status; an error or a time-out throws errorText + iberr.
void CheckWrite(int ibsta, int iberr, TTraceLines& trace, const char* errorText) {
  trace.push_back(Status(ibsta));
  if (ibsta & niERR) trace.push_back("GPIB error: " + std::to_string(iberr));
  if (ibsta & (niERR | niTIMO)) throw EExperimentError(errorText + std::to_string(iberr));
}

}  // namespace


TNATGPIB::TNATGPIB() : TGPIB(NAT_GPIB, -1, -1) { ATimeOut = DefaultTimeOutCode; }

TNATGPIB::TNATGPIB(int boardAddress, int deviceAddress, const TCommunication* other)
    : TGPIB(NAT_GPIB, boardAddress, deviceAddress) {
  ATimeOut = other ? TimeOutCode(other->GetTimeOut()) : DefaultTimeOutCode;
  const auto* gpib = dynamic_cast<const TGPIB*>(other);
  EOI = gpib ? gpib->GetEOI() : true;
}

TNATGPIB::~TNATGPIB() { Close(); }

int TNATGPIB::TimeOutCode(std::int64_t microseconds) {
  if (microseconds <= 0) return 0;
  for (int code = 1; code < MaxTimeOutCode; ++code)
    if (microseconds <= Microseconds[code]) return code;
  return MaxTimeOutCode;
}

std::int64_t TNATGPIB::TimeOutMicroseconds(int code) {
  QORV_ASSERT(code >= 0 && code <= MaxTimeOutCode);
  return Microseconds[code];
}

std::string TNATGPIB::TimeOutText(int code) {
  QORV_ASSERT(code >= 0 && code <= MaxTimeOutCode);
  return TimeOutTexts[code];
}

void TNATGPIB::Open() {
  if (Pdevicenum >= 0) return;
  const int descriptor =
      TNi488Library::Instance().Ibdev(ABoardAddress, ADeviceAddress, 0, ATimeOut, EOI ? 1 : 0, 0);
  if (descriptor < 0)
    throw EExperimentError("GPIB Error: " + std::to_string(TNi488Library::Iberr()));
  Pdevicenum = descriptor;
}

std::unique_ptr<char[]> TNATGPIB::BuildSendCommand(const std::string& text, int terminator1,
                                                   int terminator2, bool /*addTerminators*/,
                                                   int& length) {
  return CommandBuffer(WithTerminators(text, terminator1, terminator2), false, length);
}

int TNATGPIB::Write(const char* buffer, int length, bool addTerminators, int& iberr) {
  QORV_ASSERT(buffer);
  Open();
  QORV_ASSERT(Pdevicenum > -1);
  auto& library = TNi488Library::Instance();
  const bool eotOff = !addTerminators && EOI;
  if (eotOff) library.Ibeot(Pdevicenum, 0);
  const int ibsta = library.Ibwrt(Pdevicenum, buffer, length);
  iberr = TNi488Library::Iberr();
  // EOI goes back on whatever the write did; the write's status is what counts.
  if (eotOff) library.Ibeot(Pdevicenum, 1);
  return ibsta;
}

void TNATGPIB::Send(const char* buffer, int length, bool addTerminators) {
  int iberr = 0;
  if (Write(buffer, length, addTerminators, iberr) & niERR)
    throw EExperimentError("GPIB Error: " + std::to_string(iberr));
}

void TNATGPIB::SendTrace(const char* buffer, int length, bool addTerminators,
                         TTraceLines& trace) {
  QORV_ASSERT(buffer);
  Open();
  trace.push_back("ibwrt(" + std::to_string(Pdevicenum) + ", " + buffer + ", " +
                  std::to_string(length) + ")");
  int iberr = 0;
  const int ibsta = Write(buffer, length, addTerminators, iberr);
  CheckWrite(ibsta, iberr, trace, "GPIB Error");
}

void TNATGPIB::SendBinary(const char* buffer, int length) {
  TTraceLines ignored;
  SendBinaryTrace(buffer, length, ignored);
}

void TNATGPIB::SendBinaryTrace(const char* buffer, int length, TTraceLines& trace) {
  // Raw bytes: EOI stays as it is.
  int iberr = 0;
  const int ibsta = Write(buffer, length, true, iberr);
  CheckWrite(ibsta, iberr, trace, "GPIB Error: ");
}

bool TNATGPIB::Read(char* buffer, int maxBytes, int /*terminator*/, int& bytesRead) {
  TTraceLines ignored;
  return ReadTrace(buffer, maxBytes, -1, bytesRead, ignored);
}

bool TNATGPIB::ReadTrace(char* buffer, int maxBytes, int /*terminator*/, int& bytesRead,
                         TTraceLines& trace) {
  QORV_ASSERT(buffer);
  QORV_ASSERT(maxBytes >= 0);
  Open();
  QORV_ASSERT(Pdevicenum > -1);
  trace.push_back("ibrd(" + std::to_string(maxBytes) + ")");
  const int ibsta = TNi488Library::Instance().Ibrd(Pdevicenum, buffer, maxBytes);
  const int iberr = TNi488Library::Iberr();
  bytesRead = static_cast<int>(TNi488Library::Ibcntl());
  trace.push_back(Status(ibsta));
  // A read ended by the time-out keeps what came; any other error is one.
  if ((ibsta & niERR) && iberr != niEABO) {
    trace.push_back("GPIB Error: " + std::to_string(iberr));
    throw EExperimentError("GPIB Error " + std::to_string(iberr));
  }
  return (ibsta & niTIMO) != 0;
}

int TNATGPIB::SerialPoll() {
  TTraceLines ignored;
  return SerialPollTrace(ignored);
}

int TNATGPIB::SerialPollTrace(TTraceLines& trace) {
  Open();
  char pollByte = 0;
  const int ibsta = TNi488Library::Instance().Ibrsp(Pdevicenum, &pollByte);
  const int iberr = TNi488Library::Iberr();
  const int result = static_cast<unsigned char>(pollByte);
  trace.push_back(" Poll result: OX" + Hex(result));
  if (ibsta & niERR) trace.push_back("GPIB error: 0X" + Hex(iberr));
  if (ibsta & (niERR | niTIMO)) throw EExperimentError("Error 0X" + Hex(ibsta));
  return result;
}

std::unique_ptr<char[]> TNATGPIB::BusCommandString(int flags, int& length) {
  return CommandBuffer(BusCommandText(flags), false, length);
}

void TNATGPIB::Close() {
  if (Pdevicenum < 0) return;
  TNi488Library::Instance().Ibonl(Pdevicenum, 0);
  Pdevicenum = -1;
}

void TNATGPIB::SetTimeOut(std::int64_t microseconds) {
  ATimeOut = TimeOutCode(microseconds);
  if (Pdevicenum >= 0) TNi488Library::Instance().Ibtmo(Pdevicenum, ATimeOut);
}

std::int64_t TNATGPIB::GetTimeOut() const { return TimeOutMicroseconds(ATimeOut); }

bool TNATGPIB::CheckReadSize(std::int64_t /*bytes*/) { return true; }

std::string TNATGPIB::GetName() const {
  return "National GPIB-Device Address: " + std::to_string(ADeviceAddress);
}

void TNATGPIB::Save(TWriteFile& writer) { SaveSettings(writer); }

void TNATGPIB::Load(TReadFile& reader) { LoadSettings(reader, MaxTimeOutCode); }

bool TNATGPIB::AssignFrom(const TCommunication& other) {
  if (const auto* nat = dynamic_cast<const TNATGPIB*>(&other)) {
    ATimeOut = nat->ATimeOut;
    return true;
  }
  ATimeOut = TimeOutCode(other.GetTimeOut());
  return false;
}

void TNATGPIB::Describe(TReport& report) {
  DescribeSettings(report, "National GPIB", TimeOutText(ATimeOut));
}
