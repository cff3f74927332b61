#pragma once
// Finding the printer without knowing its model or speed: command 62 on
// every port at every speed of the catalogue, then the read-only command 90
// "1" to tell the models at that speed apart.  Nothing is printed, written
// or uploaded.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "link/P00_fpcommand.h"
#include "interfaces/serial_port.h"
#include "interfaces/serial_port_source.h"

namespace pralix {

// Most common first.
inline constexpr std::array<qint32, 5> kDetectionSpeeds = {19200, 115200, 57600, 9600, 38400};

struct DetectionResult {
  QString port;                 // empty: no printer answered
  qint32 baud = 0;
  std::vector<int> candidates;  // model indices, best first
  bool found() const { return !port.isEmpty(); }
};

// At each speed, screens all the ports at once on port objects from source
// (FirstPortThatAnswers) and tries the first port where bytes arrived on
// port, with a probe that gives up on a silent port after one read time-out
// and counts only a valid reply frame; when that port gives none, the ports
// after it are screened again.  Ports that cannot be opened are skipped.
// Leaves the port closed.
DetectionResult DetectPrinter(SerialPort& port, FPCommand00& cmd, const QStringList& ports,
                              SerialPortSource& source);

// A code left by an exchange in which a valid reply frame arrived (the
// printer-side conditions 97 to 100 included).
bool IsValidReplyCode(qint32 code);

}  // namespace pralix
