// The console's exchanges with one device, without any window: the checks of what the
// user entered (made on the main thread before anything is sent) and the steps that talk
// to the instrument (made on a worker thread). A step answers the log rows it produced;
// every communication failure becomes an error row, nothing is thrown.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "communication/console_colors.h"

class TDevice;

// One row of the console's log: the action (always in the action colour) and the
// result in its own role.
struct TConsoleRow {
  std::string Action;
  std::string Result;
  int ResultRole = acSEND;
};

// What the Device page asks for, checked.
struct TConsoleDeviceStep {
  bool Send = false;
  std::string Command;
  bool Read = false;
  std::int32_t ByteCount = 0;
};

// Where the user's attention goes after a refused entry.
enum class TConsoleFocus { None, Command, ByteCount };

// The Device page's entries checked: "Nothing to do", "Nothing to send", "You must
// enter an integer greater than zero" (also for a count beyond the integer range) and,
// above the Read command's limit of 67,108,864 bytes, its message. The count is checked
// before anything is allocated. False with the message and the control to focus.
bool CheckConsoleDeviceStep(bool send, const std::string& command, bool read,
                            const std::string& countText, TConsoleDeviceStep& step,
                            std::string& message, TConsoleFocus& focus);

// A read on a device whose time-out is none waits at most this long (10 s), so the
// console is never bound to a silent instrument for good.
constexpr std::int64_t ConsoleReadCapMicroseconds = 10'000'000;

// The Device page's exchange: the send, then (when it succeeded or nothing was sent)
// the read. With showAll the sent row shows the whole buffer (and CEC's talk addressing
// before a read). cancel, when set between the send and the read, skips the read.
// A device without a communication gives the row "The device <name> has no
// communication.". A CEC exchange holds the bus from its first call to its last.
std::vector<TConsoleRow> RunConsoleDeviceStep(TDevice& device, const TConsoleDeviceStep& step,
                                              bool showAll, const std::atomic<bool>& cancel);

// The GPIB page's exchange: the bus commands of the flags (TGPIB::busREN ...), sent as
// one; none when flags is 0. The device must be on GPIB.
std::vector<TConsoleRow> RunConsoleGpibStep(TDevice& device, int flags);

// "The device <name> has no communication."
std::string NoCommunicationText(const std::string& deviceName);
