#include "store/sql_fleet_export_reader.h"

#include <QSqlQuery>
#include <QStringList>

#include "store/fleet_filter_sql.h"
#include "store/fleet_queries.h"
#include "store/sql_fleet_queries.h"

namespace pralix::desk {
namespace {

// The nullable numbers sort through COALESCE (SortExpression).
bool SortsByExpression(FleetColumn column) {
  return column == FleetColumn::FreeZ || column == FleetColumn::Articles || column == FleetColumn::ClockDifference;
}

}  // namespace

SqlFleetExportReader::SqlFleetExportReader(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection)
    : dialect_(std::move(dialect)), connection_(std::move(connection)) {}

FleetBatch SqlFleetExportReader::batchAfter(const FleetFilter& filter, qint64 nowMs,
                                            const std::optional<FleetCursor>& after, int limit) {
  const QString sortKey = SortExpression(filter.sort);
  const bool byIbfm = filter.sort == FleetColumn::Ibfm;
  // The fleet page's own filter terms, then the batch's start after the cursor.
  FilterSql filterSql = FilterTerms(filter, nowMs, *dialect_);
  QStringList& terms = filterSql.terms;
  QVariantList& values = filterSql.values;
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
  const QString where = filterSql.where();

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
