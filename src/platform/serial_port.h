// A serial port on POSIX termios: a character device (a real port or the slave side of a
// pseudo-terminal) opened in raw mode, with line settings, flow control, buffer clearing
// and reads and writes bounded by time-outs. The descriptor is non-blocking; every wait
// goes through poll, so no operation blocks without limit unless asked to.
//
// Errors: operations that fail throw ESerialError with a readable reason (the system's
// text for a failed call). Reads and writes that run out of time do not throw; they
// answer what they managed.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

struct termios;

class ESerialError : public std::runtime_error {
public:
  explicit ESerialError(const std::string& message) : std::runtime_error(message) {}
};

enum class TSerialParity { None, Odd, Even, Space, Mark };

// Flow control as termios offers it.
struct TSerialFlow {
  bool XOnXOffIn = false;   // IXOFF: send XOFF/XON to hold the far end off
  bool XOnXOffOut = false;  // IXON: stop transmitting on a received XOFF until XON
  bool Hardware = false;    // CRTSCTS: RTS/CTS in both directions
};

class TSerialPort {
public:
  // Opens the device (O_NOCTTY, non-blocking) and puts it in raw mode: 8 data bits,
  // receiver on, modem lines ignored (CLOCAL), no flow control. The current line
  // rate is kept. ESerialError with the system's reason when it cannot be opened or is
  // no terminal.
  explicit TSerialPort(const std::string& path);
  // Closes the descriptor (without draining; see DrainReceive).
  ~TSerialPort();
  TSerialPort(const TSerialPort&) = delete;
  TSerialPort& operator=(const TSerialPort&) = delete;

  const std::string& Path() const { return DevicePath; }
  int Handle() const { return Fd; }

  // Sets rate, stop bits (1 or 2) and parity in one go and reads them back; ESerialError
  // when a value is not supported or does not read back as set. Space and mark parity
  // need CMSPAR.
  void SetLine(int baud, int stopBits, TSerialParity parity);
  void SetFlow(const TSerialFlow& flow);
  // The settings as the device reports them now.
  int GetBaudRate() const;
  int GetStopBits() const;
  TSerialParity GetParity() const;
  TSerialFlow GetFlow() const;

  // Discards what is queued for transmission and not yet sent (bytes a pseudo-terminal
  // has handed to its far end count as sent).
  void ClearTransmit();
  // Discards what was received and not yet read; answers how many bytes were discarded
  // (as far as the driver tells).
  std::size_t ClearReceive();
  // Reads and discards whatever arrives until the line stays quiet for quietMs or limitMs
  // have passed; answers true when it ended quiet.
  bool DrainReceive(int limitMs = 1000, int quietMs = 10);

  // Writes the bytes and waits until the driver has sent them: within timeoutMs (0: one
  // second) plus the bytes' own time on the line at its rate, so a held-off line cannot
  // block for ever and a slow rate never cuts a command short. Answers the bytes that
  // left the port: less than length when time ran out. ESerialError when the device fails.
  std::size_t Write(const void* data, std::size_t length, int timeoutMs);

  // Reads up to maxBytes, ending after the terminator byte (a terminator outside 1..255
  // means none) or when timeoutMs have passed since the call (0: no time limit). Bytes
  // that arrived after a terminator stay for the next read. Answers the bytes stored.
  // A hang-up of the far end ends the read with what came. ESerialError when the
  // device fails.
  std::size_t Read(char* buffer, std::size_t maxBytes, int terminator, int timeoutMs);

  // Bytes waiting to be read (received by the driver or kept after a terminator).
  std::size_t Pending() const;

  // Test seam: may alter or refuse (false: EINVAL) each settings change; answers the old hook.
  using TSettingsHook = std::function<bool(termios& settings)>;
  static TSettingsHook SetSettingsHook(TSettingsHook hook);

private:
  // One read of what has arrived into Kept: the bytes read, 0 when nothing was there,
  // -1 when the far end has hung up.
  int ReadChunk();

  std::string DevicePath;
  int Fd = -1;
  std::string Kept;  // received after a terminator, handed out by the next read
};
