// Windows build only (uses Qt): the serial device map over the registry
// reader of this folder.  Never compiled on Linux.

#include <QString>

#include "interfaces/serial_device_map.h"
#include "platform/win/win_serial_comm.h"

namespace pralix {

namespace {

class WinSerialDeviceMap final : public SerialDeviceMap {
 public:
  QList<SerialDevice> devices() const override {
    QList<SerialDevice> devices;
    for (const win::SerialCommValue& value : win::ReadSerialCommValues(HKEY_LOCAL_MACHINE, win::kSerialCommKeyPath))
      devices.append({QString::fromStdWString(value.name), QString::fromStdWString(value.data)});
    return devices;
  }
};

}  // namespace

std::unique_ptr<SerialDeviceMap> MakeSystemSerialDeviceMap() { return std::make_unique<WinSerialDeviceMap>(); }

}  // namespace pralix
