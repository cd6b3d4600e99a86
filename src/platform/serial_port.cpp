#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/serial_baud.h"

namespace {

using TClock = std::chrono::steady_clock;

struct TBaud {
  int Rate;
  speed_t Code;
};

constexpr TBaud BaudRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},
#ifdef B460800
    {460800, B460800},   {500000, B500000},   {576000, B576000},   {921600, B921600},
    {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
    {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
#endif
};

const TBaud* FindRate(int rate) {
  for (const auto& baud : BaudRates)
    if (baud.Rate == rate) return &baud;
  return nullptr;
}

const TBaud* FindCode(speed_t code) {
  for (const auto& baud : BaudRates)
    if (baud.Code == code) return &baud;
  return nullptr;
}

std::string SystemReason() { return std::strerror(errno); }

TSerialPort::TSettingsHook& SettingsHook() {
  static TSerialPort::TSettingsHook hook;
  return hook;
}

// tcsetattr, through the test hook when one is set.
int SetSettings(int fd, termios settings) {
  if (const TSerialPort::TSettingsHook& hook = SettingsHook(); hook && !hook(settings)) {
    errno = EINVAL;
    return -1;
  }
  return ::tcsetattr(fd, TCSANOW, &settings);
}

// Milliseconds left until the deadline, at least 0; -1 (wait without limit) when there
// is no deadline.
int MillisecondsLeft(const TClock::time_point* deadline) {
  if (!deadline) return -1;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - TClock::now());
  return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 1 << 30));
}

int PollFor(int fd, short events, int timeoutMs, short& revents) {
  pollfd entry{fd, events, 0};
  int result;
  do result = ::poll(&entry, 1, timeoutMs);
  while (result < 0 && errno == EINTR);
  revents = entry.revents;
  return result;
}

}  // namespace

TSerialPort::TSerialPort(const std::string& path) : DevicePath(path) {
  Fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (Fd < 0) throw ESerialError(SystemReason());
  termios settings{};
  if (!::isatty(Fd) || ::tcgetattr(Fd, &settings) != 0) {
    const std::string reason = SystemReason();
    ::close(Fd);
    Fd = -1;
    throw ESerialError(reason);
  }
  ::cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  settings.c_cflag &= ~CRTSCTS;
  settings.c_iflag &= ~(IXON | IXOFF | IXANY);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  settings.c_cc[VSTART] = 0x11;
  settings.c_cc[VSTOP] = 0x13;
  if (SetSettings(Fd, settings) != 0) {
    const std::string reason = SystemReason();
    ::close(Fd);
    Fd = -1;
    throw ESerialError(reason);
  }
}

TSerialPort::~TSerialPort() {
  if (Fd >= 0) ::close(Fd);
}

TSerialPort::TSettingsHook TSerialPort::SetSettingsHook(TSettingsHook hook) {
  return std::exchange(SettingsHook(), std::move(hook));
}

void TSerialPort::SetLine(int baud, int stopBits, TSerialParity parity) {
  const TBaud* rate = FindRate(baud);
  if (stopBits != 1 && stopBits != 2)
    throw ESerialError(std::to_string(stopBits) + " stop bits are not supported");
#ifndef CMSPAR
  if (parity == TSerialParity::Space || parity == TSerialParity::Mark)
    throw ESerialError("space and mark parity are not supported");
#endif
  termios settings{};
  if (::tcgetattr(Fd, &settings) != 0) throw ESerialError(SystemReason());
  if (rate &&
      (::cfsetispeed(&settings, rate->Code) != 0 || ::cfsetospeed(&settings, rate->Code) != 0))
    throw ESerialError(SystemReason());
  settings.c_cflag &= ~(CSTOPB | PARENB | PARODD);
#ifdef CMSPAR
  settings.c_cflag &= ~CMSPAR;
#endif
  if (stopBits == 2) settings.c_cflag |= CSTOPB;
  switch (parity) {
    case TSerialParity::None: break;
    case TSerialParity::Odd: settings.c_cflag |= PARENB | PARODD; break;
    case TSerialParity::Even: settings.c_cflag |= PARENB; break;
#ifdef CMSPAR
    case TSerialParity::Space: settings.c_cflag |= PARENB | CMSPAR; break;
    case TSerialParity::Mark: settings.c_cflag |= PARENB | CMSPAR | PARODD; break;
#else
    default: break;
#endif
  }
  if (SetSettings(Fd, settings) != 0) throw ESerialError(SystemReason());
  // A rate without a system name goes through the free-rate interface.
  if (!rate && !SetFreeBaudRate(Fd, baud))
    throw ESerialError("baud rate " + std::to_string(baud) + " is not supported");
  if (GetBaudRate() != baud)
    throw ESerialError("the line did not take baud rate " + std::to_string(baud));
  if (GetStopBits() != stopBits)
    throw ESerialError("the line did not take " + std::to_string(stopBits) + " stop bits");
  if (GetParity() != parity) throw ESerialError("the line did not take the parity");
}

void TSerialPort::SetFlow(const TSerialFlow& flow) {
  termios settings{};
  if (::tcgetattr(Fd, &settings) != 0) throw ESerialError(SystemReason());
  settings.c_iflag &= ~(IXON | IXOFF | IXANY);
  settings.c_cflag &= ~CRTSCTS;
  if (flow.XOnXOffIn) settings.c_iflag |= IXOFF;
  if (flow.XOnXOffOut) settings.c_iflag |= IXON;
  if (flow.Hardware) settings.c_cflag |= CRTSCTS;
  if (SetSettings(Fd, settings) != 0) throw ESerialError(SystemReason());
  const TSerialFlow now = GetFlow();
  if (now.XOnXOffIn != flow.XOnXOffIn || now.XOnXOffOut != flow.XOnXOffOut ||
      now.Hardware != flow.Hardware)
    throw ESerialError("the line did not take the handshake");
}

int TSerialPort::GetBaudRate() const {
  termios settings{};
  if (::tcgetattr(Fd, &settings) != 0) throw ESerialError(SystemReason());
  const TBaud* rate = FindCode(::cfgetospeed(&settings));
  return rate ? rate->Rate : GetFreeBaudRate(Fd);
}

int TSerialPort::GetStopBits() const {
  termios settings{};
  if (::tcgetattr(Fd, &settings) != 0) throw ESerialError(SystemReason());
  return (settings.c_cflag & CSTOPB) ? 2 : 1;
}

TSerialParity TSerialPort::GetParity() const {
  termios settings{};
  if (::tcgetattr(Fd, &settings) != 0) throw ESerialError(SystemReason());
  if (!(settings.c_cflag & PARENB)) return TSerialParity::None;
  const bool odd = settings.c_cflag & PARODD;
#ifdef CMSPAR
  if (settings.c_cflag & CMSPAR) return odd ? TSerialParity::Mark : TSerialParity::Space;
#endif
  return odd ? TSerialParity::Odd : TSerialParity::Even;
}

TSerialFlow TSerialPort::GetFlow() const {
  termios settings{};
  if (::tcgetattr(Fd, &settings) != 0) throw ESerialError(SystemReason());
  TSerialFlow flow;
  flow.XOnXOffIn = settings.c_iflag & IXOFF;
  flow.XOnXOffOut = settings.c_iflag & IXON;
  flow.Hardware = settings.c_cflag & CRTSCTS;
  return flow;
}

void TSerialPort::ClearTransmit() {
  // With nothing queued there is nothing to discard. Flushing anyway would, on a
  // pseudo-terminal, throw away what the far end has been given but not read yet.
  int queued = 0;
  if (::ioctl(Fd, TIOCOUTQ, &queued) == 0 && queued == 0) return;
  if (::tcflush(Fd, TCOFLUSH) != 0) throw ESerialError(SystemReason());
}

std::size_t TSerialPort::ClearReceive() {
  const std::size_t discarded = Pending();
  Kept.clear();
  if (::tcflush(Fd, TCIFLUSH) != 0) throw ESerialError(SystemReason());
  return discarded;
}

bool TSerialPort::DrainReceive(int limitMs, int quietMs) {
  const auto deadline = TClock::now() + std::chrono::milliseconds(limitMs);
  Kept.clear();
  for (;;) {
    int got;
    while ((got = ReadChunk()) > 0) {
      Kept.clear();
      if (TClock::now() >= deadline) return false;
    }
    if (got < 0) return true;  // hung up: nothing more will come
    const int left = MillisecondsLeft(&deadline);
    if (left == 0) return false;
    short revents = 0;
    const int window = std::min(left, quietMs);
    const int ready = PollFor(Fd, POLLIN, window, revents);
    if (ready == 0) return window == quietMs;  // quiet, unless the limit cut the wait short
    if (ready < 0 || !(revents & POLLIN)) return true;
  }
}

std::size_t TSerialPort::Write(const void* data, std::size_t length, int timeoutMs) {
  // The time-out bounds how long the line may hold the bytes off; their own time on the
  // line (12 bit times a byte, twice over for slack) comes on top, so that a long command
  // at a slow rate is never cut short.
  const int baud = std::max(GetBaudRate(), 50);
  const std::int64_t lineMs = static_cast<std::int64_t>(length) * 12 * 2 * 1000 / baud;
  const std::int64_t limitMs = (timeoutMs > 0 ? timeoutMs : 1000) + lineMs;
  const auto deadline = TClock::now() + std::chrono::milliseconds(limitMs);
  const auto* bytes = static_cast<const char*>(data);
  std::size_t written = 0;
  while (written < length) {
    const ssize_t put = ::write(Fd, bytes + written, length - written);
    if (put > 0) {
      written += static_cast<std::size_t>(put);
      continue;
    }
    if (put < 0 && errno == EINTR) continue;
    if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) throw ESerialError(SystemReason());
    const int left = MillisecondsLeft(&deadline);
    if (left == 0) break;
    short revents = 0;
    if (PollFor(Fd, POLLOUT, left, revents) <= 0) break;
    if (revents & (POLLERR | POLLHUP | POLLNVAL)) break;
    // A line held off by XOFF still polls writable: wait a little before trying again.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // Wait until the driver has sent what it accepted.
  for (;;) {
    int queued = 0;
    if (::ioctl(Fd, TIOCOUTQ, &queued) != 0 || queued <= 0) return written;
    if (TClock::now() >= deadline)
      return written - std::min(written, static_cast<std::size_t>(queued));
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::size_t TSerialPort::Read(char* buffer, std::size_t maxBytes, int terminator,
                              int timeoutMs) {
  const bool useTerminator = terminator >= 1 && terminator <= 255;
  const char stop = static_cast<char>(terminator);
  const auto limit = TClock::now() + std::chrono::milliseconds(timeoutMs);
  const TClock::time_point* deadline = timeoutMs > 0 ? &limit : nullptr;
  std::size_t count = 0;
  for (;;) {
    // Hand out what is kept, up to and including a terminator.
    std::size_t take = std::min(Kept.size(), maxBytes - count);
    bool ended = false;
    if (useTerminator) {
      const auto at = std::find(Kept.begin(), Kept.begin() + static_cast<std::ptrdiff_t>(take),
                                stop);
      if (at != Kept.begin() + static_cast<std::ptrdiff_t>(take)) {
        take = static_cast<std::size_t>(at - Kept.begin()) + 1;
        ended = true;
      }
    }
    std::memcpy(buffer + count, Kept.data(), take);
    Kept.erase(0, take);
    count += take;
    if (ended || count == maxBytes) return count;

    const int left = MillisecondsLeft(deadline);
    if (left == 0) return count;
    short revents = 0;
    const int ready = PollFor(Fd, POLLIN, left, revents);
    if (ready < 0) throw ESerialError(SystemReason());
    if (ready == 0) return count;
    if (!(revents & POLLIN) || ReadChunk() < 0) return count;  // hung up
  }
}

int TSerialPort::ReadChunk() {
  char chunk[4096];
  for (;;) {
    const ssize_t got = ::read(Fd, chunk, sizeof chunk);
    if (got > 0) {
      Kept.append(chunk, static_cast<std::size_t>(got));
      return static_cast<int>(got);
    }
    if (got == 0 || errno == EIO) return -1;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    if (errno != EINTR) throw ESerialError(SystemReason());
  }
}

std::size_t TSerialPort::Pending() const {
  int waiting = 0;
  if (::ioctl(Fd, FIONREAD, &waiting) != 0 || waiting < 0) waiting = 0;
  return Kept.size() + static_cast<std::size_t>(waiting);
}
