#include "platform/linux/linux_serial_device_map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace pralix {

namespace {

const QRegularExpression kKernelSerialName(QStringLiteral("^tty(S|USB|ACM)(\\d+)$"));

}  // namespace

QString LinuxSerialDeviceName(const QString& portPath) {
  const QString base = QFileInfo(portPath).fileName();
  const QRegularExpressionMatch m = kKernelSerialName.match(base);
  if (m.hasMatch()) {
    const QString kind = m.captured(1);
    const QString prefix = kind == u"S" ? QStringLiteral("Serial") : kind == u"USB" ? QStringLiteral("USBSER") : QStringLiteral("ACM");
    return QStringLiteral("\\Device\\") + prefix + m.captured(2);
  }
  if (portPath.startsWith(u"/dev/pts/")) return QStringLiteral("\\Device\\Pty") + base;
  return QStringLiteral("\\Device\\Extra:") + portPath;
}

LinuxSerialDeviceMap::LinuxSerialDeviceMap(QString sysClassTty, QString devDir, QStringList extraPorts)
    : sysClassTty_(std::move(sysClassTty)), devDir_(std::move(devDir)), extraPorts_(std::move(extraPorts)) {}

// The 8250 driver registers ttyS0..ttyS3 (or more) whether or not a UART is
// there; only a port with a device behind it and a known UART type is real.
bool LinuxSerialDeviceMap::hasHardwareBehind(const QString& ttyName) const {
  const QDir tty(sysClassTty_ + u'/' + ttyName);
  if (!QFileInfo::exists(tty.filePath(QStringLiteral("device")))) return false;
  QFile type(tty.filePath(QStringLiteral("type")));
  if (!type.open(QIODevice::ReadOnly)) return true;  // older kernels: the device link is all there is
  return type.readAll().trimmed() != "0";            // 0: PORT_UNKNOWN, no UART found
}

QList<SerialDevice> LinuxSerialDeviceMap::devices() const {
  QList<SerialDevice> devices;
  QStringList listed;
  const QStringList names = QDir(sysClassTty_).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& name : names) {
    const QRegularExpressionMatch m = kKernelSerialName.match(name);
    if (!m.hasMatch()) continue;
    const QString node = devDir_ + u'/' + name;
    if (!QFileInfo::exists(node)) continue;
    if (m.captured(1) == u"S" && !hasHardwareBehind(name)) continue;
    devices.append({LinuxSerialDeviceName(node), node});
    listed << node;
  }
  for (const QString& port : extraPorts_) {
    if (port.isEmpty() || listed.contains(port)) continue;
    devices.append({LinuxSerialDeviceName(port), port});
    listed << port;
  }
  return devices;
}

QStringList LinuxSerialDeviceMap::ExtraPortsFromEnvironment() {
  const QString value = qEnvironmentVariable("PRALIX_EXTRA_PORTS");
  QStringList ports;
  for (const QString& part : value.split(QRegularExpression(QStringLiteral("[:,]")), Qt::SkipEmptyParts))
    if (!part.trimmed().isEmpty()) ports << part.trimmed();
  return ports;
}

}  // namespace pralix
