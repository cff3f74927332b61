#pragma once
// Before the probes at one speed, a look at every port at once: a printer
// at that speed answers command 62 with some bytes within one read
// time-out, so the ports where nothing at all arrived need no probe.  One
// common wait for all the ports instead of one wait per port, and no wait
// at all for the later ports once an earlier one has answered: the first
// valid reply in port order wins, so they matter only if that port's probe
// fails.

#include <QString>
#include <QStringList>

#include "interfaces/serial_port_source.h"

namespace pralix {

// One read time-out of one byte: 100 ms per byte plus 100 ms.
inline constexpr int kScreenWaitMs = 200;

struct ScreenOutcome {
  QString answered;        // the first port in order that gave a byte; empty: none did
  QStringList undecided;   // the ports after it that took the request, not waited for
};

// Opens each port at baud on a port object of its own and writes the
// command-62 request on each, then looks at them in order: each gets the
// time left until kScreenWaitMs after the last write for a byte, and the
// first one where a byte arrived ends the look.  Ports that cannot be opened
// or take no frame are left out.  Every port object is closed again.  The
// request carries the sequence number the next exchange will carry, without
// using it up: to a printer that heard it, the probe that follows is a
// repeat.
ScreenOutcome FirstPortThatAnswers(SerialPortSource& source, const QStringList& ports, qint32 baud);

}  // namespace pralix
