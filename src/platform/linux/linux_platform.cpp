// The Linux implementations behind the platform interfaces.

#include "platform/linux/linux_drive_c.h"
#include "platform/linux/linux_process_control.h"
#include "platform/linux/linux_serial_device_map.h"
#include "platform/linux/linux_windows_version_source.h"

namespace pralix {

std::unique_ptr<SerialDeviceMap> MakeSystemSerialDeviceMap() {
  return std::make_unique<LinuxSerialDeviceMap>(QStringLiteral("/sys/class/tty"), QStringLiteral("/dev"),
                                                LinuxSerialDeviceMap::ExtraPortsFromEnvironment());
}

std::unique_ptr<ProcessControl> MakeSystemProcessControl() { return std::make_unique<LinuxProcessControl>(); }

std::unique_ptr<DriveC> MakeSystemDriveC() { return std::make_unique<LinuxDriveC>(LinuxDriveC::RootFromEnvironment()); }

std::unique_ptr<WindowsVersionSource> MakeSystemWindowsVersionSource() {
  return std::make_unique<LinuxWindowsVersionSource>(LinuxWindowsVersionSource::RunningKernelRelease());
}

}  // namespace pralix
