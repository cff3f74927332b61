// pralix ports: the serial ports as the main window lists them, each with its
// device tag.

#include <QTextStream>

#include "app/commands.h"
#include "interfaces/serial_device_map.h"
#include "workstation/serial_ports.h"
#include "qtcompat/qt_version_compat.h"

namespace pralix {

int RunPortsCommand(const QStringList& args) {
  Utf8TextStream out(stdout);
  Utf8TextStream err(stderr);
  if (args == QStringList{"--help"} || args == QStringList{"-h"}) {
    out << "usage: pralix ports\n\nLists the serial ports as the main window does, each with its device tag.\n";
    return 0;
  }
  if (!args.isEmpty()) {
    err << "usage: pralix ports\n";
    return 2;
  }
  return PrintPortListing(*MakeSystemSerialDeviceMap(), out, err);
}

}  // namespace pralix
