#include "pty_port.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace pralix::sim {

std::unique_ptr<PtyPort> PtyPort::Open(QString* error) {
  int master = -1;
  int slave = -1;
  char name[256] = {};
  termios raw{};
  cfmakeraw(&raw);  // no echo, no line editing, 8 bits: the PC side sets its own mode on top
  if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
    *error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    return nullptr;
  }
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  fcntl(master, F_SETFD, FD_CLOEXEC);
  fcntl(slave, F_SETFD, FD_CLOEXEC);
  return std::unique_ptr<PtyPort>(new PtyPort(master, slave, QString::fromLocal8Bit(name)));
}

PtyPort::PtyPort(int master, int slave, QString slavePath)
    : master_(master), slave_(slave), slavePath_(std::move(slavePath)) {}

PtyPort::~PtyPort() {
  if (!linkPath_.isEmpty() && QFileInfo(linkPath_).symLinkTarget() == slavePath_) QFile::remove(linkPath_);
  close(master_);
  close(slave_);
}

bool PtyPort::MakeLink(const QString& path, QString* error) {
  const QFileInfo existing(path);
  if (existing.exists() || existing.isSymLink()) {
    if (!existing.isSymLink()) {
      *error = QStringLiteral("%1 exists and is not a symbolic link; not replaced").arg(path);
      return false;
    }
    QFile::remove(path);
  }
  if (symlink(slavePath_.toLocal8Bit().constData(), path.toLocal8Bit().constData()) != 0) {
    *error = QStringLiteral("cannot link %1 to %2: %3")
                 .arg(path, slavePath_, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
  }
  linkPath_ = path;
  return true;
}

}  // namespace pralix::sim
