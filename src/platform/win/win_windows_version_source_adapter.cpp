// Windows build only (uses Qt): the version values straight from the
// registry, through the reader of this folder.  Never compiled on Linux.

#include <QString>

#include "platform/win/win_version_registry.h"
#include "interfaces/windows_version_source.h"

namespace pralix {

namespace {

class WinWindowsVersionSource final : public WindowsVersionSource {
 public:
  std::optional<quint32> integerValue(const QString& name) const override {
    const std::optional<std::uint32_t> value =
        win::ReadVersionDword(HKEY_LOCAL_MACHINE, win::kCurrentVersionKeyPath, name.toStdWString());
    return value ? std::optional<quint32>(*value) : std::nullopt;
  }
  std::optional<QString> stringValue(const QString& name) const override {
    const std::optional<std::wstring> value =
        win::ReadVersionString(HKEY_LOCAL_MACHINE, win::kCurrentVersionKeyPath, name.toStdWString());
    return value ? std::optional<QString>(QString::fromStdWString(*value)) : std::nullopt;
  }
};

}  // namespace

std::unique_ptr<WindowsVersionSource> MakeSystemWindowsVersionSource() {
  return std::make_unique<WinWindowsVersionSource>();
}

}  // namespace pralix
