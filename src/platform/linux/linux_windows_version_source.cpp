#include "platform/linux/linux_windows_version_source.h"

#include <QRegularExpression>
#include <sys/utsname.h>

namespace pralix {

LinuxWindowsVersionSource::LinuxWindowsVersionSource(QString kernelRelease) {
  static const QRegularExpression majorMinor(QStringLiteral("^(\\d+)\\.(\\d+)"));
  const QRegularExpressionMatch m = majorMinor.match(kernelRelease);
  if (!m.hasMatch()) return;
  bool majorOk = false;
  bool minorOk = false;
  const quint32 major = m.captured(1).toUInt(&majorOk);
  const quint32 minor = m.captured(2).toUInt(&minorOk);
  if (!majorOk || !minorOk) return;
  major_ = major;
  minor_ = minor;
}

std::optional<quint32> LinuxWindowsVersionSource::integerValue(const QString& name) const {
  if (name == u"CurrentMajorVersionNumber") return major_;
  if (name == u"CurrentMinorVersionNumber") return minor_;
  return std::nullopt;
}

std::optional<QString> LinuxWindowsVersionSource::stringValue(const QString&) const { return std::nullopt; }

QString LinuxWindowsVersionSource::RunningKernelRelease() {
  struct utsname names {};
  if (::uname(&names) != 0) return QString();
  return QString::fromLocal8Bit(names.release);
}

}  // namespace pralix
