#pragma once
// The serial device map on Linux: the serial devices the kernel really has,
// and extra port names (a simulator's pseudo-terminal, say) from the
// environment.  Device names are chosen so that characters 9 to 11 give a
// short tag: \Device\Serial0 (ttyS0) Ser, \Device\USBSER0 (ttyUSB0) USB,
// \Device\ACM0 (ttyACM0) ACM, \Device\Pty3 (/dev/pts/3) Pty, other extra
// ports Ext.

#include <QStringList>

#include "interfaces/serial_device_map.h"

namespace pralix {

class LinuxSerialDeviceMap final : public SerialDeviceMap {
 public:
  // sysClassTty: the kernel's tty class folder; devDir: where the device
  // nodes are; extraPorts: port names offered besides the kernel's.
  LinuxSerialDeviceMap(QString sysClassTty, QString devDir, QStringList extraPorts);

  QList<SerialDevice> devices() const override;

  // The list in PRALIX_EXTRA_PORTS: names separated by ":" or ",".
  static QStringList ExtraPortsFromEnvironment();

 private:
  bool hasHardwareBehind(const QString& ttyName) const;

  QString sysClassTty_;
  QString devDir_;
  QStringList extraPorts_;
};

// The device name given to a port path, as described above.
QString LinuxSerialDeviceName(const QString& portPath);

}  // namespace pralix
