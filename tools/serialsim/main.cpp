// qorv_serialsim: a simulated serial instrument at the far end of a pseudo-terminal.
//
//   qorv_serialsim [--path-file FILE] [--verbose] RULES
//
// Serves the rules file (README.md) and prints the slave's device path on standard
// output; with --path-file the path is also written to FILE (whole, by a rename), which
// is removed again at the end. Ends cleanly on SIGTERM, SIGINT or SIGHUP, and when the
// parent process is gone. --verbose logs every message and its reply on standard error.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>

#include "server.h"

namespace {

int StopPipe[2] = {-1, -1};

void RequestStop(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(StopPipe[1], &byte, 1);
  errno = saved;
}

int Usage() {
  std::fprintf(stderr, "usage: qorv_serialsim [--path-file FILE] [--verbose] RULES\n");
  return 2;
}

// Writes the text to the file whole: a reader never sees half of it.
bool WriteWhole(const std::string& path, const std::string& text) {
  const std::string partial = path + ".partial";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    if (!(file << text << '\n') || !file.flush()) return false;
  }
  return std::rename(partial.c_str(), path.c_str()) == 0;
}

// A printable form of a message or reply for the log.
std::string Shown(const std::string& text) {
  std::string shown;
  for (const unsigned char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else if (c < 32 || c > 126) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      shown += hex;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

}  // namespace

int main(int argc, char** argv) {
  std::string pathFile;
  std::string rulesFile;
  bool verbose = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--path-file" && i + 1 < argc) {
      pathFile = argv[++i];
    } else if (argument == "--verbose") {
      verbose = true;
    } else if (argument.starts_with("-") || !rulesFile.empty()) {
      return Usage();
    } else {
      rulesFile = argument;
    }
  }
  if (rulesFile.empty()) return Usage();

  // The instrument goes with the program that started it, however that one ends.
  const pid_t parent = ::getppid();
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != parent) return 0;

  serialsim::TRules rules;
  std::string error;
  if (!serialsim::LoadRulesFile(rulesFile, rules, error)) {
    std::fprintf(stderr, "serialsim: %s\n", error.c_str());
    return 2;
  }
  if (::pipe2(StopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    std::fprintf(stderr, "serialsim: pipe: %s\n", std::strerror(errno));
    return 1;
  }
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);

  try {
    serialsim::TSerialServer server(std::move(rules));
    if (verbose)
      server.SetListener([](const std::string& message, const std::string& reply) {
        std::fprintf(stderr, "serialsim: %s -> %s\n", Shown(message).c_str(),
                     reply.empty() ? "(no reply)" : Shown(reply).c_str());
      });
    std::printf("%s\n", server.SlavePath().c_str());
    std::fflush(stdout);
    if (!pathFile.empty() && !WriteWhole(pathFile, server.SlavePath())) {
      std::fprintf(stderr, "serialsim: cannot write %s\n", pathFile.c_str());
      return 1;
    }
    const int failure = server.Serve(StopPipe[0]);
    if (!pathFile.empty()) std::remove(pathFile.c_str());
    if (failure != 0) {
      std::fprintf(stderr, "serialsim: %s\n", std::strerror(failure));
      return 1;
    }
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "serialsim: %s\n", failure.what());
    return 1;
  }
  return 0;
}
