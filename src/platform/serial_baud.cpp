#include "platform/serial_baud.h"

#if defined(__linux__)
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

bool SetFreeBaudRate(int fd, int baud) {
  if (baud <= 0) return false;
  termios2 settings{};
  if (::ioctl(fd, TCGETS2, &settings) != 0) return false;
  settings.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  settings.c_ispeed = static_cast<speed_t>(baud);
  settings.c_ospeed = static_cast<speed_t>(baud);
  return ::ioctl(fd, TCSETS2, &settings) == 0;
}

int GetFreeBaudRate(int fd) {
  termios2 settings{};
  if (::ioctl(fd, TCGETS2, &settings) != 0) return 0;
  return static_cast<int>(settings.c_ospeed);
}
#else
bool SetFreeBaudRate(int, int) { return false; }
int GetFreeBaudRate(int) { return 0; }
#endif
