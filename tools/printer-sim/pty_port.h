#pragma once
// The printer's end of a pseudo-terminal.  The PC side opens the slave path
// as its serial port; the simulator reads and writes the master.

#include <QString>
#include <memory>

namespace pralix::sim {

class PtyPort {
 public:
  // Opens a pty pair in raw mode; nothing and a reason on failure.
  static std::unique_ptr<PtyPort> Open(QString* error);
  ~PtyPort();
  PtyPort(const PtyPort&) = delete;
  PtyPort& operator=(const PtyPort&) = delete;

  int masterFd() const { return master_; }
  // The PC's end, held open here: its termios carry the line speed the PC set.
  int slaveFd() const { return slave_; }
  const QString& slavePath() const { return slavePath_; }

  // A symbolic link at path to the slave, replacing an older link there
  // (never a file that is not a link).  Removed again by the destructor.
  bool MakeLink(const QString& path, QString* error);

 private:
  PtyPort(int master, int slave, QString slavePath);

  int master_;
  // Held open so that the master never sees a hang-up while the PC side has
  // the port closed (poll would report it without pause).
  int slave_;
  QString slavePath_;
  QString linkPath_;
};

}  // namespace pralix::sim
