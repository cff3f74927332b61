// Windows build only (uses Qt): see win_serial_port_adapter.h.

#include "platform/win/win_serial_port_adapter.h"

#include "interfaces/system_serial_port.h"

namespace pralix {

void WinSerialPortAdapter::setPortName(const QString& name) {
  const bool wasOpen = port_.isOpen();
  if (wasOpen) close();
  name_ = name;
  if (wasOpen) open();
}

void WinSerialPortAdapter::setBaudRate(qint32 baud) {
  baud_ = baud;
  // A speed the driver refuses shows as a silent printer at the next exchange.
  if (port_.isOpen()) port_.setBaudRate(std::uint32_t(baud));
}

void WinSerialPortAdapter::open() {
  if (port_.isOpen()) return;
  const win::SerialResult result = port_.open(name_.toStdWString(), std::uint32_t(baud_));
  if (!result.ok())
    throw PortOpenError(QStringLiteral("%1: %2").arg(name_, QString::fromStdWString(result.text)).toStdString());
}

void WinSerialPortAdapter::clearBuffers() {
  if (port_.isOpen()) port_.purge();
}

int WinSerialPortAdapter::write(const quint8* data, int count) {
  if (count <= 0) return 0;
  return int(port_.write(data, std::size_t(count)).count);
}

int WinSerialPortAdapter::read(quint8* buffer, int count) {
  if (count <= 0) return 0;
  // A failed read (the adapter was unplugged) stores what came before it.
  return int(port_.read(buffer, std::size_t(count)).count);
}

int WinSerialPortAdapter::readWithin(quint8* buffer, int count, int timeoutMs) {
  if (count <= 0) return 0;
  return int(port_.readWithin(buffer, std::size_t(count), std::uint32_t(qMax(timeoutMs, 0))).count);
}

std::unique_ptr<SerialPort> MakeSystemSerialPort() { return std::make_unique<WinSerialPortAdapter>(); }

}  // namespace pralix
