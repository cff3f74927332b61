#include "records/printer_findings.h"

#include "diagdata/diagdata_fields.h"
#include "diagdata/value_judgement.h"

namespace pralix::desk {

PrinterFindings JudgeValues(const DiagValues& values) {
  PrinterFindings findings;
  findings.freeDailyReports = WholeInteger(values[kBpdi]);
  findings.articles = WholeInteger(values[kPlu]);
  findings.clockMinutes = ClockDifferenceMinutes(values[kDiff]);
  findings.freeDailyReportsLow = FreeDailyReportsImplausible(values[kBpdi]);
  findings.articlesHigh = ArticleCountImplausible(values[kPlu]);
  findings.serialUnknown = SerialMarkedUnknown(values[kIbfm]);
  findings.clockOff = ClockDifferenceImplausible(values[kDiff]);
  findings.firmwareUnknown = FirmwareUnknown(values[kFw]);
  return findings;
}

QStringList HeaderLines(const QString& h6l) {
  QString lines = h6l;
  const QString marker = QString::fromLatin1(kDiagDataEndMarker);
  if (lines.endsWith(marker)) lines.chop(marker.size());
  if (lines.isEmpty()) return {};
  QStringList split = lines.split(QStringLiteral("\r\n"));
  if (lines.endsWith(QStringLiteral("\r\n"))) split.removeLast();
  return split;
}

}  // namespace pralix::desk
