#pragma once
// A serial port that writes every frame sent and every run of bytes received
// to a trace, with a timestamp and the direction, in hexadecimal: what a
// support engineer asks for first when a printer misbehaves.
//
//   2026-12-08 21:30:00.125 TX 01 24 20 3E 05 30 30 38 37 03
//   2026-12-08 21:30:00.131 RX 01 2B 20 3E 04 80 80 80 80 80 80 05 30 33 39 32 03
//
// Received bytes are gathered until the next write, buffer clearing or close,
// or until a read comes back short or empty (the line went quiet).

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <memory>

#include "interfaces/serial_port.h"
#include "interfaces/clock.h"

namespace pralix {

class TracingSerialPort final : public SerialPort {
 public:
  // Neither the port nor the trace device is owned.
  TracingSerialPort(SerialPort& port, QIODevice& trace, const Clock& clock);
  // The same around a port object it keeps; the trace device is not owned.
  TracingSerialPort(std::unique_ptr<SerialPort> port, QIODevice& trace, const Clock& clock);
  ~TracingSerialPort() override;

  QString portName() const override { return port_.portName(); }
  void setPortName(const QString& name) override { port_.setPortName(name); }
  qint32 baudRate() const override { return port_.baudRate(); }
  void setBaudRate(qint32 baud) override { port_.setBaudRate(baud); }
  bool isOpen() const override { return port_.isOpen(); }
  void open() override;
  void close() override;
  void clearBuffers() override;
  int write(const quint8* data, int count) override;
  int read(quint8* buffer, int count) override;
  int readWithin(quint8* buffer, int count, int timeoutMs) override;

 private:
  // Received bytes wait for the line to go quiet, stamped with the first.
  void gather(const quint8* bytes, int count);
  void flushReceived();
  void line(const QDateTime& at, const char* tag, const QByteArray& text);

  std::unique_ptr<SerialPort> owned_;  // declared first: port_ may refer to it
  SerialPort& port_;
  QIODevice& trace_;
  const Clock& clock_;
  QByteArray received_;
  QDateTime receivedAt_;
};

}  // namespace pralix
