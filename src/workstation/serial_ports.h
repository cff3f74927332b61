#pragma once
// The PC's serial ports as the main window lists them, and the short driver
// tag shown after the port where the printer was found.

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "interfaces/serial_device_map.h"

namespace pralix {

// Port names of the map, sorted ascending ignoring case (COM10 before COM2).
QStringList ListSerialPorts(const SerialDeviceMap& map);

// Characters 9 to 11 of the device name of the first entry whose port name is
// exactly `port` (\Device\Serial0 gives "Ser"); empty when there is none.
QString PortDeviceTag(const SerialDeviceMap& map, const QString& port);

// The port list as the window fills MemoPorts, each port followed by a blank
// and its device tag (just the port when it has no tag): "COM3 Ser".
QStringList PortListingLines(const SerialDeviceMap& map);

// Shown when the PC has no serial port; the program then ends.
QString NoPortMessage();

// Exit status of "pralix ports" when the PC has no serial port.
inline constexpr int kNoPortExitStatus = 3;

// Writes the listing lines to `out`, or the no-port message to `err`;
// returns 0 or kNoPortExitStatus.
int PrintPortListing(const SerialDeviceMap& map, QTextStream& out, QTextStream& err);

}  // namespace pralix
