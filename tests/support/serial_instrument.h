// A simulated instrument on a serial line: the master side of a pseudo-terminal pair,
// served by a thread that records every byte received, splits it into messages at an
// input terminator and answers configured command -> reply rules. The slave side is the
// "port": the instrument makes the COM table (QORV_SERIAL_PORTS) map a COM index to it
// and puts the previous table back when it goes.
//
// A message is matched after leading and trailing CR, LF and blanks are removed; a
// message without a rule gets no reply. Rules and talking can be changed at any time.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/serial_port.h"
#include "platform/serial_ports.h"
#include "serialsim/pseudo_terminal.h"

class TSerialInstrument {
public:
  // portIndex: the COM entry that maps to the instrument (0 = COM1).
  explicit TSerialInstrument(int portIndex = 0);
  ~TSerialInstrument();
  TSerialInstrument(const TSerialInstrument&) = delete;
  TSerialInstrument& operator=(const TSerialInstrument&) = delete;

  // The device path of the port side (for example /dev/pts/7).
  const std::string& SlavePath() const { return Terminal.SlavePath(); }

  // The byte that ends a received message (default 13, CR); -1: every read ends one.
  void SetInputTerminator(int code);
  // Appended to every text reply (default "\r").
  void SetReplyTerminator(const std::string& terminator);

  // The reply text followed by the reply terminator (as set when the rule is made).
  void ReplyText(const std::string& command, const std::string& text);
  // Only the first count bytes of text, no terminator: the reader times out with them.
  void ReplyPartial(const std::string& command, const std::string& text, std::size_t count);
  // No reply at all.
  void ReplySilent(const std::string& command);
  // Exactly these bytes (binary data), no terminator.
  void ReplyBytes(const std::string& command, const std::string& bytes);
  // Later rules for the command wait this long before their reply.
  void SetReplyDelay(const std::string& command, std::chrono::milliseconds delay);

  // Sends bytes unasked, now; the port has them a little later (WaitForPending).
  void Emit(const std::string& bytes);
  // Sends chunk again and again, every interval, until StopTalking (bytes the port side
  // has no room for are dropped).
  void StartTalking(const std::string& chunk, std::chrono::milliseconds interval);
  void StopTalking();

  // Every byte received so far, and the messages completed (as matched).
  std::string Received() const;
  std::vector<std::string> Messages() const;
  void ClearReceived();
  // Waits until at least bytes have been received / count messages completed; answers
  // whether they came in time.
  bool WaitForBytes(std::size_t bytes, std::chrono::milliseconds limit) const;
  bool WaitForMessages(std::size_t count, std::chrono::milliseconds limit) const;

private:
  void Serve();
  void HandleMessage(const std::string& message);
  void WriteAll(const std::string& bytes);
  bool StopRequested() const;

  serialsim::TPseudoTerminal Terminal;
  int Wake[2] = {-1, -1};
  std::optional<std::string> PreviousTable;

  mutable std::mutex Lock;
  mutable std::condition_variable Changed;
  int InputTerminator = 13;
  std::string ReplyTerminator = "\r";
  std::map<std::string, std::string> Rules;  // command -> the bytes that go back
  std::map<std::string, std::chrono::milliseconds> Delays;
  std::string Talk;
  std::chrono::milliseconds TalkInterval{0};
  std::string ReceivedBytes;
  std::string Partial;  // the message being received
  std::vector<std::string> Completed;
  bool Stopping = false;
  std::thread Worker;
};

// Waits until the port has at least count bytes to read: what the instrument emitted has
// come through the port's line discipline, which takes some time after Emit returns.
// Answers whether the bytes came within the limit.
bool WaitForPending(const TSerialPort& port, std::size_t count,
                    std::chrono::milliseconds limit = std::chrono::seconds(10));

// A port driver that alters or refuses settings, played through the serial layer's
// settings hook for as long as the object lives.
class TSerialDriverHook {
public:
  explicit TSerialDriverHook(TSerialPort::TSettingsHook hook)
      : Previous(TSerialPort::SetSettingsHook(std::move(hook))) {}
  ~TSerialDriverHook() { TSerialPort::SetSettingsHook(std::move(Previous)); }
  TSerialDriverHook(const TSerialDriverHook&) = delete;
  TSerialDriverHook& operator=(const TSerialDriverHook&) = delete;

private:
  TSerialPort::TSettingsHook Previous;
};

// The machine's serial ports as libserialport would list them (these names, in this
// order), with QORV_SERIAL_PORTS unset, for as long as the object lives.
class TMachinePorts {
public:
  explicit TMachinePorts(std::vector<std::string> names);
  ~TMachinePorts();
  TMachinePorts(const TMachinePorts&) = delete;
  TMachinePorts& operator=(const TMachinePorts&) = delete;

private:
  TSerialPortLister Previous;
  std::optional<std::string> PreviousTable;
};
