#pragma once
// The real serial port: QSerialPort with the fiscal printer's settings
// (8N1, XON/XOFF both ways, DTR on, RTS off) and blocking reads and writes
// with the link's time-outs.

#include <QSerialPort>

#include "interfaces/serial_port.h"

namespace pralix {

class QtSerialPort final : public SerialPort {
 public:
  // Port "COM1" at 19200 baud until told otherwise.
  QtSerialPort();

  QString portName() const override { return name_; }
  void setPortName(const QString& name) override;
  qint32 baudRate() const override { return baud_; }
  void setBaudRate(qint32 baud) override;

  bool isOpen() const override { return port_.isOpen(); }
  void open() override;
  void close() override;
  void clearBuffers() override;
  int write(const quint8* data, int count) override;
  int read(quint8* buffer, int count) override;
  int readWithin(quint8* buffer, int count, int timeoutMs) override;

  static constexpr int kInterByteTimeoutMs = 100;
  static constexpr int kReadPerByteMs = 100;
  static constexpr int kReadConstantMs = 100;
  static constexpr int kWritePerByteMs = 100;
  static constexpr int kWriteConstantMs = 1000;
  // Longest nap while the rest of a frame is on the line; well under the
  // 100 ms allowed between two bytes.
  static constexpr qint64 kBatchSleepCapUs = 50000;

 private:
  QSerialPort port_;
  QString name_ = QStringLiteral("COM1");
  qint32 baud_ = 19200;
};

}  // namespace pralix
