#pragma once
// Linux has no Windows version: the kernel's release (6.1.0-18-amd64) gives
// its major and minor numbers in place of the two integer values, and there
// is no "CurrentVersion" string.

#include <QString>

#include "interfaces/windows_version_source.h"

namespace pralix {

class LinuxWindowsVersionSource final : public WindowsVersionSource {
 public:
  explicit LinuxWindowsVersionSource(QString kernelRelease);

  std::optional<quint32> integerValue(const QString& name) const override;
  std::optional<QString> stringValue(const QString& name) const override;

  // The running kernel's release, as uname gives it.
  static QString RunningKernelRelease();

 private:
  std::optional<quint32> major_;
  std::optional<quint32> minor_;
};

}  // namespace pralix
