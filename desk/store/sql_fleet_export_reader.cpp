#include "store/sql_fleet_export_reader.h"

#include <QSqlQuery>
#include <QStringList>

#include "store/fleet_queries.h"
#include "store/sql_fleet_queries.h"

namespace pralix::desk {
namespace {

// The conditions and the row reading repeat those of SqlFleetQueries, whose
// pages go by offset; both may share them once its reads take a cursor.
QString FindingColumn(Finding finding) {
  switch (finding) {
    case Finding::FreeZLow: return QStringLiteral("free_daily_reports_low");
    case Finding::ArticlesHigh: return QStringLiteral("articles_high");
    case Finding::SerialUnknown: return QStringLiteral("serial_unknown");
    case Finding::ClockOff: return QStringLiteral("clock_off");
    case Finding::FirmwareUnknown: return QStringLiteral("firmware_unknown");
  }
  return {};
}

// The nullable numbers sort through COALESCE (SortExpression).
bool SortsByExpression(FleetColumn column) {
  return column == FleetColumn::FreeZ || column == FleetColumn::Articles || column == FleetColumn::ClockDifference;
}

QString PrinterColumns() {
  QStringList names;
  for (const char* name : kDiagDataFieldNames) names += QString::fromLatin1(name);
  return names.join(QStringLiteral(", ")) +
         QStringLiteral(", tool_version, first_seen, last_seen, record_count, free_daily_reports, articles,"
                        " clock_minutes, free_daily_reports_low, articles_high, serial_unknown, clock_off, firmware_unknown");
}

std::optional<int> IntAt(const QSqlQuery& query, int column) {
  const QVariant value = query.value(column);
  if (value.isNull()) return std::nullopt;
  return value.toInt();
}

PrinterSummary PrinterAt(const QSqlQuery& query) {
  PrinterSummary printer;
  for (int i = 0; i < kDiagDataFieldCount; ++i) printer.values[i] = query.value(i).toString();
  int column = kDiagDataFieldCount;
  printer.toolVersion = query.value(column++).toString();
  printer.firstSeenMs = query.value(column++).toLongLong();
  printer.lastSeenMs = query.value(column++).toLongLong();
  printer.recordCount = query.value(column++).toLongLong();
  printer.findings.freeDailyReports = IntAt(query, column++);
  printer.findings.articles = IntAt(query, column++);
  printer.findings.clockMinutes = IntAt(query, column++);
  printer.findings.freeDailyReportsLow = query.value(column++).toInt() != 0;
  printer.findings.articlesHigh = query.value(column++).toInt() != 0;
  printer.findings.serialUnknown = query.value(column++).toInt() != 0;
  printer.findings.clockOff = query.value(column++).toInt() != 0;
  printer.findings.firmwareUnknown = query.value(column++).toInt() != 0;
  return printer;
}

}  // namespace

SqlFleetExportReader::SqlFleetExportReader(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection)
    : dialect_(std::move(dialect)), connection_(std::move(connection)) {}

FleetBatch SqlFleetExportReader::batchAfter(const FleetFilter& filter, qint64 nowMs,
                                            const std::optional<FleetCursor>& after, int limit) {
  const QString sortKey = SortExpression(filter.sort);
  const bool byIbfm = filter.sort == FleetColumn::Ibfm;
  QStringList terms;
  QVariantList values;
  if (!filter.search.isEmpty()) {
    terms += QStringLiteral("(%1 OR %2)").arg(dialect_->likeIgnoringAsciiCase(QStringLiteral("ibfm")),
                                              dialect_->likeIgnoringAsciiCase(QStringLiteral("pib")));
    values << ContainsPattern(filter.search) << ContainsPattern(filter.search);
  }
  if (filter.finding) terms += FindingColumn(*filter.finding) + QStringLiteral(" = 1");
  if (filter.notSeenDays) {
    terms += QStringLiteral("last_seen < ?");
    values << qlonglong(NotSeenBeforeMs(nowMs, *filter.notSeenDays));
  }
  const QString beyond = filter.descending ? QStringLiteral("<") : QStringLiteral(">");
  if (after) {
    if (byIbfm) {
      terms += QStringLiteral("ibfm %1 ?").arg(beyond);
    } else if (SortsByExpression(filter.sort)) {
      // SQLite seeks an index on an expression by a plain comparison only,
      // not by a row value: the first term finds the start, the second
      // skips the rows of equal value already sent.
      terms += QStringLiteral("%1 %2= ? AND (%1, ibfm) %2 (?, ?)").arg(sortKey, beyond);
      values << after->sortKey << after->sortKey;
    } else {
      terms += QStringLiteral("(%1, ibfm) %2 (?, ?)").arg(sortKey, beyond);
      values << after->sortKey;
    }
    values << after->ibfm;
  }
  const QString order = filter.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
  const QString orderBy = byIbfm ? QStringLiteral("ibfm") + order : sortKey + order + QStringLiteral(", ibfm") + order;
  const QString where = terms.isEmpty() ? QString() : QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));

  QSqlQuery query(connection_->database());
  query.setForwardOnly(true);
  Prepare(query, QStringLiteral("SELECT %1, %2 FROM printers%3 ORDER BY %4 LIMIT ?")
                     .arg(PrinterColumns(), sortKey, where, orderBy));
  for (const QVariant& value : values) query.addBindValue(value);
  query.addBindValue(limit);
  Execute(query);
  FleetBatch batch;
  const int keyColumn = kDiagDataFieldCount + 12;
  while (query.next()) {
    batch.printers.push_back(PrinterAt(query));
    batch.last = FleetCursor{query.value(keyColumn), batch.printers.back().values[kIbfm]};
  }
  return batch;
}

std::unique_ptr<FleetExportReader> OpenFleetExportReader(const DatabaseUrl& url) {
  std::unique_ptr<SqlDialect> dialect = DialectFor(url.kind);
  auto connection = std::make_unique<SqlConnection>(url, *dialect);
  return std::make_unique<SqlFleetExportReader>(std::move(dialect), std::move(connection));
}

}  // namespace pralix::desk
