#include "communication/console_exchange.h"

#include <memory>
#include <mutex>
#include <optional>

#include "communication/communication.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/read_data.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/text.h"
#include "platform/cec_library.h"

namespace {

const char* const CountMessage = "You must enter an integer greater than zero";

// The CEC board selection is shared by every CEC device: the bus stays ours for the
// whole exchange so no other device's addressing falls between our calls.
std::optional<std::unique_lock<std::recursive_mutex>> HoldBoard(const TCommunication& comm) {
  if (comm.GetType() != CEC_GPIB) return std::nullopt;
  return TCecLibrary::Instance().LockBus();
}

// A time-out of none is bounded while the console reads, then put back.
class TReadCap {
public:
  explicit TReadCap(TCommunication& comm) : Comm(comm), Previous(comm.GetTimeOut()) {
    if (Previous == 0) Comm.SetTimeOut(ConsoleReadCapMicroseconds);
  }
  ~TReadCap() {
    if (Previous == 0) Comm.SetTimeOut(0);
  }
  TReadCap(const TReadCap&) = delete;
  TReadCap& operator=(const TReadCap&) = delete;

private:
  TCommunication& Comm;
  const std::int64_t Previous;
};

}  // namespace

std::string NoCommunicationText(const std::string& deviceName) {
  return "The device " + deviceName + " has no communication.";
}

bool CheckConsoleDeviceStep(bool send, const std::string& command, bool read,
                            const std::string& countText, TConsoleDeviceStep& step,
                            std::string& message, TConsoleFocus& focus) {
  focus = TConsoleFocus::None;
  if (!send && !read) {
    message = "Nothing to do";
    return false;
  }
  if (send && command.empty()) {
    message = "Nothing to send";
    focus = TConsoleFocus::Command;
    return false;
  }
  std::int32_t count = 0;
  if (read) {
    const std::string text = TrimText(countText);
    if (!NumberText::TextToInt(text, count) || count < 1) {
      message = CountMessage;
      focus = TConsoleFocus::ByteCount;
      return false;
    }
    if (count > MaxReadByteCount) {
      message = "Read size of " + NumberText::IntToText(count) + " bytes exceeds the limit of " +
                NumberText::IntToText(MaxReadByteCount) + " bytes";
      focus = TConsoleFocus::ByteCount;
      return false;
    }
  }
  step = {send, command, read, count};
  return true;
}

std::vector<TConsoleRow> RunConsoleDeviceStep(TDevice& device, const TConsoleDeviceStep& step,
                                              bool showAll, const std::atomic<bool>& cancel) {
  const TCoreDevice& core = device.GetCoreDevice();
  const std::string name = core.GetName();
  std::vector<TConsoleRow> rows;
  TCommunication* comm = device.GetCommunication();
  if (comm == nullptr) {
    rows.push_back({name + " Error", NoCommunicationText(name), acERROR});
    return rows;
  }
  const auto board = HoldBoard(*comm);
  bool sent = true;
  if (step.Send) {
    TConsoleRow row{name + " Sent", step.Command, acSEND};
    try {
      int length = 0;
      const std::unique_ptr<char[]> buffer = comm->BuildSendCommand(
          step.Command, core.GetSendChar1(), core.GetSendChar2(), true, length);
      if (showAll) row.Result = std::string(buffer.get());
      comm->Send(buffer.get(), length, true);
    } catch (const EExperimentError& error) {
      // The send's own reason (an absent board, a time-out) rather than a guess.
      row = {name + " Sent", error.what(), acERROR};
      sent = false;
    }
    rows.push_back(row);
  }
  if (!step.Read || !sent || cancel.load()) return rows;

  QORV_ASSERT(step.ByteCount >= 1);
  const int n = step.ByteCount;
  const int first = core.GetReadChar1();
  const int terminator = core.GetReadChar2() > 0 ? core.GetReadChar2() : first;
  std::string text;
  std::string errorText;
  int role = acREAD;
  try {
    const TReadCap cap(*comm);
    std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(n) + 1]());
    int count = 0;
    const bool timedOut = comm->Read(buffer.get(), n, terminator, count);
    if (count < 1) {
      text = "No bytes read - time out";
      role = acERROR;
    } else {
      text.assign(buffer.get(), static_cast<std::size_t>(count < n ? count : n));
      if (first > 0) {
        const std::size_t end = text.find(static_cast<char>(first));
        if (end != std::string::npos) text.resize(end);
      }
      if (timedOut)
        errorText = " Read " + NumberText::IntToText(count) + " bytes of " +
                    NumberText::IntToText(n);
    }
  } catch (const EExperimentError& error) {
    text = error.what();
    role = acERROR;
  }
  if (showAll) {
    const std::string talk = comm->BuildReadCommand();
    if (!talk.empty()) rows.push_back({name + " Sent", talk, role});
  }
  rows.push_back({name + " Read", text, role});
  if (!errorText.empty()) rows.push_back({name + " Read Error", errorText, acERROR});
  return rows;
}

std::vector<TConsoleRow> RunConsoleGpibStep(TDevice& device, int flags) {
  const std::string name = device.GetCoreDevice().GetName();
  std::vector<TConsoleRow> rows;
  if (flags == 0) return rows;
  TCommunication* comm = device.GetCommunication();
  if (comm == nullptr) {
    rows.push_back({name + " Error", NoCommunicationText(name), acERROR});
    return rows;
  }
  auto* gpib = dynamic_cast<TGPIB*>(comm);
  QORV_ASSERT(gpib != nullptr);
  const auto board = HoldBoard(*comm);
  int length = 0;
  const std::unique_ptr<char[]> buffer = gpib->BusCommandString(flags, length);
  TConsoleRow row{name + " GPIB", std::string(buffer.get()), acGPIB};
  try {
    gpib->Send(buffer.get(), length, true);
  } catch (const EExperimentError&) {
    row.Result += "Timed Out";
    row.ResultRole = acERROR;
  }
  rows.push_back(row);
  return rows;
}
