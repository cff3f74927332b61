#pragma once
// The PC's own serial port objects and its steady clock.

#include <QElapsedTimer>

#include "interfaces/serial_port_source.h"

namespace pralix {

class SystemSerialPortSource final : public SerialPortSource {
 public:
  SystemSerialPortSource() { sinceStart_.start(); }
  std::unique_ptr<SerialPort> makePort() override;
  qint64 nowMs() const override { return sinceStart_.elapsed(); }

 private:
  QElapsedTimer sinceStart_;
};

}  // namespace pralix
