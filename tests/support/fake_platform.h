#pragma once
// Fakes of the small platform interfaces: a serial device map with chosen
// entries, a version source with chosen values, a process control that only
// counts, and a drive C over a temporary folder that can also report system
// files (which Linux has not).

#include <QHash>
#include <QSet>
#include <optional>

#include "interfaces/drive_c.h"
#include "platform/linux/linux_drive_c.h"
#include "interfaces/process_control.h"
#include "interfaces/serial_device_map.h"
#include "interfaces/windows_version_source.h"

namespace pralix::test {

class FakeSerialDeviceMap final : public SerialDeviceMap {
 public:
  FakeSerialDeviceMap() = default;
  explicit FakeSerialDeviceMap(QList<SerialDevice> entries) : entries(std::move(entries)) {}
  QList<SerialDevice> devices() const override { return entries; }

  QList<SerialDevice> entries;
};

class FakeWindowsVersionSource final : public WindowsVersionSource {
 public:
  std::optional<quint32> integerValue(const QString& name) const override {
    const auto it = integers.find(name);
    return it == integers.end() ? std::nullopt : std::optional<quint32>(*it);
  }
  std::optional<QString> stringValue(const QString& name) const override {
    const auto it = strings.find(name);
    return it == strings.end() ? std::nullopt : std::optional<QString>(*it);
  }

  QHash<QString, quint32> integers;
  QHash<QString, QString> strings;
};

class FakeProcessControl final : public ProcessControl {
 public:
  void stopFiscalLink() override { ++stopCalls; }
  void openUrl(const QString& url) override { openedUrls << url; }

  int stopCalls = 0;
  QStringList openedUrls;
};

// Drive C over a real folder; entries named in `systemNames` are reported
// with the system attribute, as Windows would for such files.
class FakeDriveC final : public DriveC {
 public:
  explicit FakeDriveC(const QString& root) : real_(root) {}
  QString map(const QString& windowsPath) const override { return real_.map(windowsPath); }
  QList<FolderEntry> findEntries(const QString& windowsFolder, const QString& pattern) const override {
    QList<FolderEntry> entries = real_.findEntries(windowsFolder, pattern);
    for (FolderEntry& entry : entries) entry.system = systemNames.contains(entry.name);
    return entries;
  }

  QSet<QString> systemNames;

 private:
  LinuxDriveC real_;
};

}  // namespace pralix::test
