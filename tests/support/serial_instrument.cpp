#include "support/serial_instrument.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "serialsim/rules.h"

namespace {

using TClock = std::chrono::steady_clock;

void CloseHandle(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

TSerialInstrument::TSerialInstrument(int portIndex) {
  if (::pipe2(Wake, O_CLOEXEC | O_NONBLOCK) != 0)
    throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));

  if (const char* previous = std::getenv("QORV_SERIAL_PORTS")) PreviousTable = previous;
  // Empty entries before the slave keep their places: portIndex ':'s, then the path.
  const std::string table =
      std::string(static_cast<std::size_t>(portIndex), ':') + Terminal.SlavePath();
  ::setenv("QORV_SERIAL_PORTS", table.c_str(), 1);

  Worker = std::thread([this] { Serve(); });
}

TSerialInstrument::~TSerialInstrument() {
  {
    std::lock_guard guard(Lock);
    Stopping = true;
  }
  Changed.notify_all();
  const char wake = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(Wake[1], &wake, 1);
  Worker.join();
  CloseHandle(Wake[0]);
  CloseHandle(Wake[1]);
  if (PreviousTable)
    ::setenv("QORV_SERIAL_PORTS", PreviousTable->c_str(), 1);
  else
    ::unsetenv("QORV_SERIAL_PORTS");
}

void TSerialInstrument::SetInputTerminator(int code) {
  std::lock_guard guard(Lock);
  InputTerminator = code;
}

void TSerialInstrument::SetReplyTerminator(const std::string& terminator) {
  std::lock_guard guard(Lock);
  ReplyTerminator = terminator;
}

void TSerialInstrument::ReplyText(const std::string& command, const std::string& text) {
  std::lock_guard guard(Lock);
  Rules[command] = text + ReplyTerminator;
}

void TSerialInstrument::ReplyPartial(const std::string& command, const std::string& text,
                                     std::size_t count) {
  std::lock_guard guard(Lock);
  Rules[command] = text.substr(0, count);
}

void TSerialInstrument::ReplySilent(const std::string& command) {
  std::lock_guard guard(Lock);
  Rules[command].clear();
}

void TSerialInstrument::ReplyBytes(const std::string& command, const std::string& bytes) {
  std::lock_guard guard(Lock);
  Rules[command] = bytes;
}

void TSerialInstrument::SetReplyDelay(const std::string& command,
                                      std::chrono::milliseconds delay) {
  std::lock_guard guard(Lock);
  Delays[command] = delay;
}

void TSerialInstrument::Emit(const std::string& bytes) { WriteAll(bytes); }

void TSerialInstrument::StartTalking(const std::string& chunk,
                                     std::chrono::milliseconds interval) {
  {
    std::lock_guard guard(Lock);
    Talk = chunk;
    TalkInterval = interval;
  }
  const char wake = 0;
  [[maybe_unused]] const ssize_t ignored = ::write(Wake[1], &wake, 1);
}

void TSerialInstrument::StopTalking() { StartTalking({}, std::chrono::milliseconds(0)); }

std::string TSerialInstrument::Received() const {
  std::lock_guard guard(Lock);
  return ReceivedBytes;
}

std::vector<std::string> TSerialInstrument::Messages() const {
  std::lock_guard guard(Lock);
  return Completed;
}

void TSerialInstrument::ClearReceived() {
  std::lock_guard guard(Lock);
  ReceivedBytes.clear();
  Partial.clear();
  Completed.clear();
}

bool TSerialInstrument::WaitForBytes(std::size_t bytes, std::chrono::milliseconds limit) const {
  std::unique_lock guard(Lock);
  return Changed.wait_for(guard, limit, [&] { return ReceivedBytes.size() >= bytes; });
}

bool TSerialInstrument::WaitForMessages(std::size_t count,
                                        std::chrono::milliseconds limit) const {
  std::unique_lock guard(Lock);
  return Changed.wait_for(guard, limit, [&] { return Completed.size() >= count; });
}

bool TSerialInstrument::StopRequested() const {
  std::lock_guard guard(Lock);
  return Stopping;
}

void TSerialInstrument::Serve() {
  auto nextTalk = TClock::now();
  for (;;) {
    std::string talk;
    std::chrono::milliseconds interval;
    {
      std::lock_guard guard(Lock);
      if (Stopping) return;
      talk = Talk;
      interval = TalkInterval;
    }
    int timeout = -1;
    if (!talk.empty()) {
      const auto now = TClock::now();
      if (nextTalk <= now) {
        // Room or not, the chunk goes (or is dropped): a talker never waits.
        [[maybe_unused]] const ssize_t put = ::write(Terminal.Master(), talk.data(), talk.size());
        nextTalk = now + interval;
      }
      timeout = static_cast<int>(
          std::chrono::ceil<std::chrono::milliseconds>(nextTalk - TClock::now()).count());
      if (timeout < 0) timeout = 0;
    }

    pollfd handles[2] = {{Terminal.Master(), POLLIN, 0}, {Wake[0], POLLIN, 0}};
    if (::poll(handles, 2, timeout) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (handles[1].revents & POLLIN) {
      char scrap[64];
      while (::read(Wake[0], scrap, sizeof scrap) > 0) {
      }
      continue;
    }
    if (!(handles[0].revents & POLLIN)) {
      if (handles[0].revents & (POLLHUP | POLLERR)) {
        // Nobody on the port side just now; look again shortly.
        ::poll(handles + 1, 1, 5);
      }
      continue;
    }
    char chunk[4096];
    const ssize_t got = ::read(Terminal.Master(), chunk, sizeof chunk);
    if (got <= 0) continue;
    std::vector<std::string> messages;
    {
      std::lock_guard guard(Lock);
      ReceivedBytes.append(chunk, static_cast<std::size_t>(got));
      for (ssize_t i = 0; i < got; ++i) {
        const auto byte = static_cast<unsigned char>(chunk[i]);
        if (InputTerminator >= 0 && byte == InputTerminator) {
          messages.push_back(serialsim::TrimMessage(Partial));
          Partial.clear();
        } else {
          Partial += static_cast<char>(byte);
        }
      }
      if (InputTerminator < 0) {
        messages.push_back(serialsim::TrimMessage(Partial));
        Partial.clear();
      }
      for (const auto& message : messages) Completed.push_back(message);
    }
    Changed.notify_all();
    for (const auto& message : messages) HandleMessage(message);
  }
}

void TSerialInstrument::HandleMessage(const std::string& message) {
  std::string reply;
  {
    std::unique_lock guard(Lock);
    const auto rule = Rules.find(message);
    if (rule == Rules.end() || rule->second.empty()) return;
    reply = rule->second;
    const auto delay = Delays.find(message);
    if (delay != Delays.end() &&
        Changed.wait_for(guard, delay->second, [&] { return Stopping; }))
      return;
  }
  WriteAll(reply);
}

void TSerialInstrument::WriteAll(const std::string& bytes) {
  Terminal.WriteAll(bytes, std::chrono::seconds(1), [this] { return StopRequested(); });
}

bool WaitForPending(const TSerialPort& port, std::size_t count,
                    std::chrono::milliseconds limit) {
  // The driver tells how many bytes it holds but not when more come: look again shortly.
  const auto giveUp = TClock::now() + limit;
  while (port.Pending() < count) {
    if (TClock::now() >= giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TMachinePorts::TMachinePorts(std::vector<std::string> names)
    : Previous(SetSerialPortLister([names = std::move(names)] { return names; })) {
  if (const char* table = std::getenv("QORV_SERIAL_PORTS")) PreviousTable = table;
  ::unsetenv("QORV_SERIAL_PORTS");
}

TMachinePorts::~TMachinePorts() {
  SetSerialPortLister(std::move(Previous));
  if (PreviousTable)
    ::setenv("QORV_SERIAL_PORTS", PreviousTable->c_str(), 1);
  else
    ::unsetenv("QORV_SERIAL_PORTS");
}
