#pragma once
// The PC's serial device map: one entry per serial port, the kernel's device
// name and the port name programs open.  On Windows the registry key
// HARDWARE\DEVICEMAP\SERIALCOMM.

#include <QList>
#include <QString>
#include <memory>

namespace pralix {

struct SerialDevice {
  QString deviceName;  // e.g. \Device\Serial0 (the value's name)
  QString portName;    // e.g. COM1 (the value's data)
};

class SerialDeviceMap {
 public:
  virtual ~SerialDeviceMap() = default;
  // In enumeration order; empty when the map cannot be opened.  A read error
  // part-way keeps the entries read before it.
  virtual QList<SerialDevice> devices() const = 0;
};

// The platform's map.  On Linux: the serial devices the kernel has, plus the
// ports named in PRALIX_EXTRA_PORTS.
std::unique_ptr<SerialDeviceMap> MakeSystemSerialDeviceMap();

}  // namespace pralix
