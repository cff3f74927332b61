#include "platform/qt/qt_serial_port.h"

#include <QElapsedTimer>
#include <QThread>

namespace pralix {

QtSerialPort::QtSerialPort() = default;

void QtSerialPort::setPortName(const QString& name) {
  const bool wasOpen = port_.isOpen();
  if (wasOpen) close();
  name_ = name;
  if (wasOpen) open();
}

void QtSerialPort::setBaudRate(qint32 baud) {
  baud_ = baud;
  if (port_.isOpen()) port_.setBaudRate(baud);
}

void QtSerialPort::open() {
  if (port_.isOpen()) return;
  port_.setPortName(name_);
  port_.setBaudRate(baud_);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::SoftwareControl);
  if (!port_.open(QIODevice::ReadWrite))
    throw PortOpenError(QStringLiteral("%1: %2").arg(name_, port_.errorString()).toStdString());
  // A pseudo-terminal or an adapter without modem lines refuses these; the
  // port works all the same, so a refusal is not an error.
  port_.setDataTerminalReady(true);
  port_.setRequestToSend(false);
  port_.clearError();
}

void QtSerialPort::close() {
  if (port_.isOpen()) port_.close();
}

void QtSerialPort::clearBuffers() {
  // Bytes already taken into Qt's buffer are dropped as well.
  if (port_.isOpen()) {
    port_.clear(QSerialPort::AllDirections);
    port_.readAll();
  }
}

int QtSerialPort::write(const quint8* data, int count) {
  if (!port_.isOpen()) return 0;
  const qint64 queued = port_.write(reinterpret_cast<const char*>(data), count);
  if (queued <= 0) return 0;
  const int timeout = kWritePerByteMs * count + kWriteConstantMs;
  QElapsedTimer timer;
  timer.start();
  while (port_.bytesToWrite() > 0 && timer.elapsed() < timeout) {
    if (!port_.waitForBytesWritten(int(timeout - timer.elapsed()))) break;
  }
  return int(queued - port_.bytesToWrite());
}

int QtSerialPort::read(quint8* buffer, int count) {
  if (!port_.isOpen() || count <= 0) return 0;
  const qint64 total = qint64(kReadPerByteMs) * count + kReadConstantMs;
  QElapsedTimer sinceStart;
  sinceStart.start();
  QElapsedTimer sinceLastByte;
  int got = 0;
  for (;;) {
    const qint64 n = port_.read(reinterpret_cast<char*>(buffer) + got, count - got);
    if (n > 0) {
      got += int(n);
      sinceLastByte.start();
      if (got == count) return got;
      // The rest of a frame cannot come faster than the line carries it:
      // sleep through most of its wire time instead of waking for every byte.
      // The last byte is left to the wait below, which returns as it lands: a
      // nap that covered it would end up to a byte time after it.
      const qint64 restUs = qint64(count - got - 1) * 10 * 1000000 / qMax(baud_, 1) * 9 / 10;
      if (restUs > 200) QThread::usleep(quint64(qMin<qint64>(restUs, kBatchSleepCapUs)));
      continue;
    }
    qint64 wait = total - sinceStart.elapsed();
    if (got > 0) wait = qMin(wait, kInterByteTimeoutMs - sinceLastByte.elapsed());
    if (wait <= 0) return got;
    if (!port_.waitForReadyRead(int(wait)) && port_.error() != QSerialPort::TimeoutError &&
        port_.error() != QSerialPort::NoError) {
      // The device went away (adapter unplugged, peer closed): nothing more comes.
      port_.clearError();
      return got;
    }
    port_.clearError();
  }
}

int QtSerialPort::readWithin(quint8* buffer, int count, int timeoutMs) {
  if (!port_.isOpen() || count <= 0) return 0;
  QElapsedTimer sinceStart;
  sinceStart.start();
  for (;;) {
    const qint64 n = port_.read(reinterpret_cast<char*>(buffer), count);
    if (n > 0) return int(n);
    // Bytes the system holds reach Qt's buffer only through a wait; a wait of
    // 0 ms takes them without blocking.
    const qint64 left = qMax<qint64>(0, timeoutMs - sinceStart.elapsed());
    const bool ready = port_.waitForReadyRead(int(left));
    const QSerialPort::SerialPortError error = port_.error();
    port_.clearError();
    if (ready) continue;
    // Time is up, or the device went away.
    if (left == 0 || (error != QSerialPort::TimeoutError && error != QSerialPort::NoError)) return 0;
  }
}

}  // namespace pralix
