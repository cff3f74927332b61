#pragma once
// The serial port as the printer link sees it: the main window owns the real
// port object, tests use a scripted one.

#include <QString>
#include <QtGlobal>
#include <stdexcept>

namespace pralix {

// Raised by SerialPort::open when the port is missing, busy or not accessible.
class PortOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual QString portName() const = 0;
  // Names the port to open next; the port must be closed.
  virtual void setPortName(const QString& name) = 0;
  virtual qint32 baudRate() const = 0;
  virtual void setBaudRate(qint32 baud) = 0;

  virtual bool isOpen() const = 0;
  // Opens the named port with the current settings; throws PortOpenError.
  virtual void open() = 0;
  virtual void close() = 0;
  // Discards every byte received and not yet read and every byte not yet sent.
  virtual void clearBuffers() = 0;
  // Blocks until the bytes are sent or the write time-out (100 ms per byte
  // plus 1000 ms) ends; returns the number of bytes sent.
  virtual int write(const quint8* data, int count) = 0;
  // Blocks until count bytes have arrived, 100 ms passed between two bytes,
  // or 100 ms per requested byte plus 100 ms passed in all; returns the
  // number of bytes stored, 0 to count.
  virtual int read(quint8* buffer, int count) = 0;
  // Waits at most timeoutMs for the first byte, then returns at once with the
  // bytes that have arrived, 1 to count; returns 0 when none came.  With
  // timeoutMs 0 it takes only what has already arrived.
  virtual int readWithin(quint8* buffer, int count, int timeoutMs) = 0;
};

}  // namespace pralix
