#include "server.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

namespace serialsim {

namespace {

constexpr std::size_t MaxMessage = 65536;

bool Readable(int handle) {
  pollfd probe{handle, POLLIN, 0};
  return ::poll(&probe, 1, 0) > 0 && (probe.revents & POLLIN);
}

}  // namespace

TSerialServer::TSerialServer(TRules rules) : Rules(std::move(rules)) {}

int TSerialServer::Serve(int stopHandle) {
  for (;;) {
    pollfd handles[2] = {{Terminal.Master(), POLLIN, 0}, {stopHandle, POLLIN, 0}};
    if (::poll(handles, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (handles[1].revents & (POLLIN | POLLHUP | POLLERR)) return 0;
    if (!(handles[0].revents & POLLIN)) {
      // The slave is held open here, so a hang-up cannot last; do not spin meanwhile.
      if (handles[0].revents & (POLLHUP | POLLERR)) ::poll(handles + 1, 1, 5);
      continue;
    }
    char chunk[4096];
    const ssize_t got = ::read(Terminal.Master(), chunk, sizeof chunk);
    if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != EIO)
      return errno;
    if (got > 0) Received(chunk, static_cast<std::size_t>(got), stopHandle);
  }
}

void TSerialServer::Received(const char* bytes, std::size_t count, int stopHandle) {
  for (std::size_t i = 0; i < count; ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      // No command is this long: the bytes of a runaway message are dropped.
      if (Partial.size() < MaxMessage) Partial += bytes[i];
      continue;
    }
    const std::string message = TrimMessage(Partial);
    Partial.clear();
    if (message.empty()) continue;
    const std::string reply = Rules.Reply(message).value_or("");
    // Told first, so that the listener knows of a reply before the port user has it.
    if (Listener) Listener(message, reply);
    // A port user that reads nothing cannot hold the instrument for longer than a second.
    if (!reply.empty())
      Terminal.WriteAll(reply, std::chrono::seconds(1),
                        [stopHandle] { return Readable(stopHandle); });
  }
}

}  // namespace serialsim
