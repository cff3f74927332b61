#pragma once
// Port objects of their own, for looking at several ports at once, and the
// steady time that bounds such a look: the PC's ports and clock, or in tests
// scripted ports and their virtual clock.

#include <QtGlobal>
#include <memory>

#include "interfaces/serial_port.h"

namespace pralix {

class SerialPortSource {
 public:
  virtual ~SerialPortSource() = default;
  // A new closed port object, "COM1" at 19200 baud until told otherwise.
  virtual std::unique_ptr<SerialPort> makePort() = 0;
  // Milliseconds from a fixed origin; never goes back.
  virtual qint64 nowMs() const = 0;
};

}  // namespace pralix
