#pragma once
// Command line of pralix-printer-sim.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

#include "fault_injection.h"
#include "line_speed.h"
#include "printer_identity.h"
#include "printer_state.h"

namespace pralix::sim {

struct SimOptions {
  int model = 0;
  int baud = 0;                 // 0: the model's catalogue rate
  double turnaroundMs = 1.0;
  QString linkPath;
  QString logPath;
  qint64 clockOffsetMs = 0;
  std::optional<QByteArray> clockText;
  // Identity overrides, already in Windows-1251.
  std::optional<QByteArray> serial, pib, firmware, freeZ, plu, tax;
  std::map<int, QByteArray> headerLines;
  StatusConditions conditions;
  std::vector<FaultRule> faults;
  FaultSettings faultSettings;
  std::optional<uint32_t> randomFaultSeed;  // --random-faults: drawn faults instead of --fault
  QString faultLogPath;
  WrongSpeedAnswer wrongSpeed = WrongSpeedAnswer::Silent;  // --wrong-speed-noise

  int EffectiveBaud() const;
  PrinterIdentity Identity() const;
};

struct ParsedOptions {
  std::optional<SimOptions> options;  // set when the line was good
  bool help = false;
  QString error;
};

// args: the arguments after the program name.
ParsedOptions ParseOptions(const QStringList& args);
const char* HelpText();

}  // namespace pralix::sim
