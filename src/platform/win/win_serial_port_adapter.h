#pragma once
// Windows build only (uses Qt): the printer link's serial port on the Win32
// COM port of this folder.  Never compiled on Linux.

#include "interfaces/serial_port.h"
#include "platform/win/win_serial_port.h"

namespace pralix {

class WinSerialPortAdapter final : public SerialPort {
 public:
  // Port "COM1" at 19200 baud until told otherwise.
  WinSerialPortAdapter() = default;

  QString portName() const override { return name_; }
  void setPortName(const QString& name) override;
  qint32 baudRate() const override { return baud_; }
  void setBaudRate(qint32 baud) override;

  bool isOpen() const override { return port_.isOpen(); }
  void open() override;
  void close() override { port_.close(); }
  void clearBuffers() override;
  int write(const quint8* data, int count) override;
  int read(quint8* buffer, int count) override;
  int readWithin(quint8* buffer, int count, int timeoutMs) override;

 private:
  win::WinSerialPort port_;
  QString name_ = QStringLiteral("COM1");
  qint32 baud_ = 19200;
};

}  // namespace pralix
