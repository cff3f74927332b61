#pragma once
// The numbers and findings the fleet is sorted and filtered by, derived from
// a record's values with the same judgement the tool uses to mark fields red.

#include <QString>
#include <QStringList>
#include <optional>

#include "records/diag_record.h"

namespace pralix::desk {

struct PrinterFindings {
  std::optional<int> freeDailyReports;  // bpdi as a whole number
  std::optional<int> articles;          // plu as a whole number
  std::optional<int> clockMinutes;      // diff in minutes (a day count as whole days)
  bool freeDailyReportsLow = false;
  bool articlesHigh = false;
  bool serialUnknown = false;
  bool clockOff = false;
  bool firmwareUnknown = false;

  int count() const {
    return int(freeDailyReportsLow) + int(articlesHigh) + int(serialUnknown) + int(clockOff) + int(firmwareUnknown);
  }
};

PrinterFindings JudgeValues(const DiagValues& values);

// The receipt header lines of h6l: split at CR LF, without the "DIAG" end
// marker and without the empty piece after the last CR LF.
QStringList HeaderLines(const QString& h6l);

}  // namespace pralix::desk
