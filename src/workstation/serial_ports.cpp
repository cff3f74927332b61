#include "workstation/serial_ports.h"

#include <algorithm>

namespace pralix {

QStringList ListSerialPorts(const SerialDeviceMap& map) {
  QStringList ports;
  for (const SerialDevice& device : map.devices()) ports << device.portName;
  std::stable_sort(ports.begin(), ports.end(), [](const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  return ports;
}

QString PortDeviceTag(const SerialDeviceMap& map, const QString& port) {
  for (const SerialDevice& device : map.devices())
    if (device.portName == port) return device.deviceName.mid(8, 3);
  return QString();
}

QStringList PortListingLines(const SerialDeviceMap& map) {
  QStringList lines;
  for (const QString& port : ListSerialPorts(map)) {
    const QString tag = PortDeviceTag(map, port);
    lines << (tag.isEmpty() ? port : port + u' ' + tag);
  }
  return lines;
}

QString NoPortMessage() {
  return QStringLiteral("Ne postoji ComPort na računaru!\n\n----------\n\nThere is no ComPort installed on this computer!");
}

int PrintPortListing(const SerialDeviceMap& map, QTextStream& out, QTextStream& err) {
  const QStringList lines = PortListingLines(map);
  if (lines.isEmpty()) {
    err << NoPortMessage() << "\n";
    return kNoPortExitStatus;
  }
  for (const QString& line : lines) out << line << "\n";
  return 0;
}

}  // namespace pralix
