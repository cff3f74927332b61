#include "api/fleet_csv.h"

#include <QStringList>

#include "records/fleet_filter.h"
#include "records/utc_time.h"

namespace pralix::desk {
namespace {

QStringList FindingNames(const PrinterFindings& findings) {
  const std::pair<bool, Finding> flags[] = {
      {findings.freeDailyReportsLow, Finding::FreeZLow}, {findings.articlesHigh, Finding::ArticlesHigh},
      {findings.serialUnknown, Finding::SerialUnknown},  {findings.clockOff, Finding::ClockOff},
      {findings.firmwareUnknown, Finding::FirmwareUnknown}};
  QStringList names;
  for (const auto& [set, finding] : flags)
    if (set) names += QString::fromLatin1(FindingName(finding));
  return names;
}

QByteArray Line(const QList<QByteArray>& cells) { return cells.join(';') + "\r\n"; }

}  // namespace

QByteArray CsvCell(const QString& value) {
  QString cell = value;
  static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
  if (!cell.isEmpty() && kFormulaStarts.contains(cell.front())) cell.prepend(QLatin1Char('\''));
  const bool quoted = cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"')) ||
                      cell.contains(QLatin1Char('\r')) || cell.contains(QLatin1Char('\n'));
  if (quoted) cell = QLatin1Char('"') + cell.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
  return cell.toUtf8();
}

// The fleet page's columns in its order, named as in the JSON, then the rest.
QByteArray FleetCsvStart() {
  QList<QByteArray> names;
  for (const FleetColumn column : kAllFleetColumns) names += ColumnName(column);
  names << "first_seen" << "version" << "findings" << "header";
  return "\xEF\xBB\xBF" + Line(names);
}

QByteArray FleetCsvRow(const PrinterSummary& printer) {
  const DiagValues& v = printer.values;
  QList<QByteArray> cells;
  for (const FleetColumn column : kAllFleetColumns) {
    switch (column) {
      case FleetColumn::Ibfm: cells += CsvCell(v[kIbfm]); break;
      case FleetColumn::Pib: cells += CsvCell(v[kPib]); break;
      case FleetColumn::Firmware: cells += CsvCell(v[kFw]); break;
      case FleetColumn::Jx: cells += CsvCell(v[kJx]); break;
      case FleetColumn::FreeZ: cells += CsvCell(v[kBpdi]); break;
      case FleetColumn::Articles: cells += CsvCell(v[kPlu]); break;
      case FleetColumn::TaxGroups: cells += CsvCell(v[kTg]); break;
      case FleetColumn::ClockDifference: cells += CsvCell(v[kDiff]); break;
      case FleetColumn::Port: cells += CsvCell(v[kCp]); break;
      case FleetColumn::LastTest: cells += CsvCell(FormatRfc3339(printer.lastSeenMs)); break;
      case FleetColumn::Records: cells += QByteArray::number(printer.recordCount); break;
    }
  }
  cells << CsvCell(FormatRfc3339(printer.firstSeenMs)) << CsvCell(printer.toolVersion)
        << CsvCell(FindingNames(printer.findings).join(QLatin1Char(' '))) << CsvCell(v[kH6l]);
  return Line(cells);
}

QByteArray FleetCsvFileName(qint64 nowMs) { return "pralix-printers-" + FormatDay(nowMs).toLatin1() + ".csv"; }

}  // namespace pralix::desk
