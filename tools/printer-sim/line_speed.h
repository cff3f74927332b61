#pragma once
// A printer hears the PC only at its own line speed: at any other speed the
// request arrives as garbage, and so would the answer.  The pty moves bytes
// whatever its speed, so the simulator reads the speed the PC side has set
// (termios) before answering and stays silent, or sends noise, when it
// differs from the printer's.

#include <QByteArray>
#include <cstdint>

namespace pralix::sim {

enum class WrongSpeedAnswer { Silent, Noise };

// Baud rate of a termios speed constant (B9600 -> 9600); 0 for B0 and for
// constants it does not know.
int BaudOfSpeed(unsigned speed);

// The output speed set on the terminal fd, in baud; 0 when unset or unknown.
int LineBaud(int fd);

class LineSpeedGate {
 public:
  LineSpeedGate(int fd, int printerBaud, WrongSpeedAnswer answer) : fd_(fd), printerBaud_(printerBaud), answer_(answer) {}

  // The speed the PC side has set now (0 while nobody has set one).
  int lineBaud() const { return LineBaud(fd_); }
  // A request can be understood unless the PC has set another speed.  A line
  // nobody has set a speed on (B0, say a test's raw descriptor) counts as
  // right.
  static bool Hears(int lineBaud, int printerBaud) { return lineBaud == 0 || lineBaud == printerBaud; }
  bool HearsNow() const { return Hears(lineBaud(), printerBaud_); }

  WrongSpeedAnswer answer() const { return answer_; }
  int printerBaud() const { return printerBaud_; }
  // What the PC receives of an answer of count bytes sent at the wrong speed:
  // any byte but XON and XOFF (which the PC's flow control would swallow).
  QByteArray Garble(int count);

 private:
  int fd_;
  int printerBaud_;
  WrongSpeedAnswer answer_;
  uint32_t state_ = 0x0BAD5EEDu;
};

}  // namespace pralix::sim
