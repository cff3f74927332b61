#pragma once
// The values under HKLM\Software\Microsoft\Windows NT\CurrentVersion that
// tell the Windows version.

#include <QString>
#include <memory>
#include <optional>

namespace pralix {

class WindowsVersionSource {
 public:
  virtual ~WindowsVersionSource() = default;
  // A 32-bit integer value ("CurrentMajorVersionNumber"); nothing when the
  // value is missing or is not an integer.
  virtual std::optional<quint32> integerValue(const QString& name) const = 0;
  // A string value ("CurrentVersion"); nothing when missing or not a string.
  virtual std::optional<QString> stringValue(const QString& name) const = 0;
};

// On Linux the kernel's release stands in: its major and minor numbers are
// given as the two integer values.
std::unique_ptr<WindowsVersionSource> MakeSystemWindowsVersionSource();

}  // namespace pralix
