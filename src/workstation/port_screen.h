#pragma once
// Before the probes at one speed, a look at every port at once: a printer
// at that speed answers command 62 with some bytes within one read
// time-out, so the ports where nothing at all arrived need no probe.  One
// common wait for all the ports instead of one wait per port.

#include <QStringList>

#include "link/serial_port_source.h"

namespace pralix {

// One read time-out of one byte: 100 ms per byte plus 100 ms.
inline constexpr int kScreenWaitMs = 200;

// Opens each port at baud on a port object of its own, writes the command-62
// request on each, then waits until kScreenWaitMs after the last write for
// any byte on each port.  Returns, in their order, the ports where a byte
// arrived; ports that cannot be opened or take no frame are left out.  Every
// port object is closed again.  The request carries the sequence number the
// next exchange will carry, without using it up: to a printer that heard it,
// the probe that follows is a repeat.
QStringList PortsThatAnswer(SerialPortSource& source, const QStringList& ports, qint32 baud);

}  // namespace pralix
