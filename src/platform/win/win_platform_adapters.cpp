// The Windows implementations behind the platform interfaces: thin Qt
// adapters over the plain Win32 functions of this folder.

#include <QString>

#include "platform/drive_c.h"
#include "platform/process_control.h"
#include "platform/serial_device_map.h"
#include "platform/win/win_file_search.h"
#include "platform/win/win_processes.h"
#include "platform/win/win_serial_comm.h"
#include "platform/win/win_version_registry.h"
#include "platform/windows_version_source.h"

namespace pralix {

namespace {

class WinSerialDeviceMap final : public SerialDeviceMap {
 public:
  QList<SerialDevice> devices() const override {
    QList<SerialDevice> devices;
    for (const win::SerialCommValue& value : win::ReadSerialCommValues())
      devices.append({QString::fromStdWString(value.name), QString::fromStdWString(value.data)});
    return devices;
  }
};

class WinProcessControl final : public ProcessControl {
 public:
  void stopFiscalLink() override { win::StartTaskkillOfFiscalLink(); }
  void openUrl(const QString& url) override { win::ShellOpen(url.toStdWString()); }
};

// On Windows the fixed paths are the real ones.
class WinDriveC final : public DriveC {
 public:
  QString map(const QString& windowsPath) const override { return windowsPath; }
  QList<FolderEntry> findEntries(const QString& windowsFolder, const QString& pattern) const override {
    QList<FolderEntry> entries;
    for (const win::FoundEntry& e : win::FindEntries(windowsFolder.toStdWString(), pattern.toStdWString()))
      entries.append({QString::fromStdWString(e.name), e.directory, e.hidden, e.system});
    return entries;
  }
};

class WinWindowsVersionSource final : public WindowsVersionSource {
 public:
  std::optional<quint32> integerValue(const QString& name) const override {
    const std::optional<unsigned long> value = win::ReadCurrentVersionDword(name.toStdWString());
    return value ? std::optional<quint32>(quint32(*value)) : std::nullopt;
  }
  std::optional<QString> stringValue(const QString& name) const override {
    const std::optional<std::wstring> value = win::ReadCurrentVersionString(name.toStdWString());
    return value ? std::optional<QString>(QString::fromStdWString(*value)) : std::nullopt;
  }
};

}  // namespace

std::unique_ptr<SerialDeviceMap> MakeSystemSerialDeviceMap() { return std::make_unique<WinSerialDeviceMap>(); }
std::unique_ptr<ProcessControl> MakeSystemProcessControl() { return std::make_unique<WinProcessControl>(); }
std::unique_ptr<DriveC> MakeSystemDriveC() { return std::make_unique<WinDriveC>(); }
std::unique_ptr<WindowsVersionSource> MakeSystemWindowsVersionSource() { return std::make_unique<WinWindowsVersionSource>(); }

}  // namespace pralix
