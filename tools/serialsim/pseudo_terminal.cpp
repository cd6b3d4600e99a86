#include "pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace serialsim {

TPseudoTerminal::TPseudoTerminal() {
  termios raw{};
  ::cfmakeraw(&raw);
  raw.c_cflag |= CLOCAL | CREAD;
  char name[128] = {};
  if (::openpty(&MasterHandle, &SlaveHandle, name, &raw, nullptr) != 0)
    throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
  Slave = name;
  ::fcntl(MasterHandle, F_SETFL, ::fcntl(MasterHandle, F_GETFL) | O_NONBLOCK);
  ::fcntl(MasterHandle, F_SETFD, FD_CLOEXEC);
  ::fcntl(SlaveHandle, F_SETFD, FD_CLOEXEC);
}

TPseudoTerminal::~TPseudoTerminal() {
  ::close(MasterHandle);
  ::close(SlaveHandle);
}

bool TPseudoTerminal::WriteAll(const std::string& bytes, std::chrono::milliseconds limit,
                               const std::function<bool()>& stopped) const {
  using TClock = std::chrono::steady_clock;
  std::size_t done = 0;
  const auto giveUp = TClock::now() + limit;
  while (done < bytes.size()) {
    if ((stopped && stopped()) || TClock::now() >= giveUp) return false;
    const ssize_t put = ::write(MasterHandle, bytes.data() + done, bytes.size() - done);
    if (put > 0) {
      done += static_cast<std::size_t>(put);
      continue;
    }
    if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    pollfd handle{MasterHandle, POLLOUT, 0};
    ::poll(&handle, 1, 10);
  }
  return true;
}

}  // namespace serialsim
