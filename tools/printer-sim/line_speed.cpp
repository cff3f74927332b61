#include "line_speed.h"

#include <termios.h>

namespace pralix::sim {

int BaudOfSpeed(unsigned speed) {
  switch (speed) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
  }
}

int LineBaud(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return 0;
  return BaudOfSpeed(unsigned(cfgetospeed(&t)));
}

QByteArray LineSpeedGate::Garble(int count) {
  QByteArray bytes;
  while (bytes.size() < count) {
    state_ ^= state_ << 13;  // xorshift: repeatable from run to run
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    const char b = char(state_ & 0xFF);
    if (b == 0x11 || b == 0x13) continue;
    bytes.append(b);
  }
  return bytes;
}

}  // namespace pralix::sim
