#include "store/sql_fleet_queries.h"

#include <QStringList>
#include <QVariant>

namespace pralix::desk {
namespace {

// Matches the sentinel in the sort indexes of migrations.cpp: below any
// 32-bit number a value can be read as.
constexpr char kNullLast[] = "-2147483649";

QString ValueColumns() {
  QStringList names;
  for (const char* name : kDiagDataFieldNames) names += QString::fromLatin1(name);
  return names.join(QStringLiteral(", "));
}

QString PrinterColumns() {
  return ValueColumns() + QStringLiteral(", tool_version, first_seen, last_seen, record_count, free_daily_reports, articles,"
                                         " clock_minutes, free_daily_reports_low, articles_high, serial_unknown, clock_off,"
                                         " firmware_unknown");
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

// The WHERE clause of a filter and its values in bind order.
struct Condition {
  QString where;
  QVariantList values;
};

Condition ConditionOf(const FleetFilter& filter, qint64 nowMs, const SqlDialect& dialect) {
  QStringList terms;
  Condition condition;
  if (!filter.search.isEmpty()) {
    // UPPER under the bytewise collation changes ASCII letters only, on both databases.
    terms += dialect.expand(QStringLiteral("(UPPER(ibfm {bytewise}) LIKE ? ESCAPE '!' OR UPPER(pib {bytewise}) LIKE ? ESCAPE '!')"));
    condition.values << ContainsPattern(filter.search) << ContainsPattern(filter.search);
  }
  if (filter.finding) terms += FindingColumn(*filter.finding) + QStringLiteral(" = 1");
  if (filter.notSeenDays) {
    terms += QStringLiteral("last_seen < ?");
    condition.values << qlonglong(NotSeenBeforeMs(nowMs, *filter.notSeenDays));
  }
  if (!terms.isEmpty()) condition.where = QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
  return condition;
}

void BindAll(QSqlQuery& query, const QVariantList& values) {
  for (const QVariant& value : values) query.addBindValue(value);
}

}  // namespace

QString SortExpression(FleetColumn column) {
  const auto nullsLow = [](const char* name) {
    return QStringLiteral("COALESCE(%1, %2)").arg(QLatin1String(name), QLatin1String(kNullLast));
  };
  switch (column) {
    case FleetColumn::Ibfm: return QStringLiteral("ibfm");
    case FleetColumn::Pib: return QStringLiteral("pib");
    case FleetColumn::Firmware: return QStringLiteral("fw");
    case FleetColumn::Jx: return QStringLiteral("jx");
    case FleetColumn::FreeZ: return nullsLow("free_daily_reports");
    case FleetColumn::Articles: return nullsLow("articles");
    case FleetColumn::TaxGroups: return QStringLiteral("tg");
    case FleetColumn::ClockDifference: return nullsLow("clock_minutes");
    case FleetColumn::Port: return QStringLiteral("cp");
    case FleetColumn::LastTest: return QStringLiteral("last_seen");
    case FleetColumn::Records: return QStringLiteral("record_count");
  }
  return QStringLiteral("ibfm");
}

// Both keys the same way, so that one index of (column, ibfm) serves
// either order, read forwards or backwards.
QString FleetOrderBy(const FleetFilter& filter) {
  const QString order = filter.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
  if (filter.sort == FleetColumn::Ibfm) return QStringLiteral("ibfm") + order;
  return SortExpression(filter.sort) + order + QStringLiteral(", ibfm") + order;
}

QString ContainsPattern(const QString& text) {
  QString pattern = QStringLiteral("%");
  for (const QChar c : text) {
    if (c == u'%' || c == u'_' || c == u'!') pattern += QLatin1Char('!');
    pattern += (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 'a' + 'A') : c;
  }
  return pattern + QLatin1Char('%');
}

qint64 NotSeenBeforeMs(qint64 nowMs, int days) { return nowMs - qint64(days) * 24 * 60 * 60 * 1000; }

qint64 FleetCounts::of(Finding finding) const {
  switch (finding) {
    case Finding::FreeZLow: return freeZLow;
    case Finding::ArticlesHigh: return articlesHigh;
    case Finding::SerialUnknown: return serialUnknown;
    case Finding::ClockOff: return clockOff;
    case Finding::FirmwareUnknown: return firmwareUnknown;
  }
  return 0;
}

SqlFleetQueries::SqlFleetQueries(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection)
    : dialect_(std::move(dialect)), connection_(std::move(connection)) {}

qint64 SqlFleetQueries::count(const QString& where, const QVariantList& values) {
  QSqlQuery query(connection_->database());
  Prepare(query, QStringLiteral("SELECT COUNT(*) FROM printers") + where);
  BindAll(query, values);
  Execute(query);
  return query.next() ? query.value(0).toLongLong() : 0;
}

// One count per finding, each over its own flag index, rather than one
// scan of the whole table.
FleetCounts SqlFleetQueries::counts(qint64 notSeenBeforeMs) {
  FleetCounts counts;
  counts.printers = count(QString(), {});
  qint64* const ofFinding[] = {&counts.freeZLow, &counts.articlesHigh, &counts.serialUnknown, &counts.clockOff,
                               &counts.firmwareUnknown};
  for (std::size_t i = 0; i < std::size(kAllFindings); ++i)
    *ofFinding[i] = count(QStringLiteral(" WHERE ") + FindingColumn(kAllFindings[i]) + QStringLiteral(" = 1"), {});
  counts.notSeen = count(QStringLiteral(" WHERE last_seen < ?"), {qlonglong(notSeenBeforeMs)});
  return counts;
}

qint64 SqlFleetQueries::countMatching(const FleetFilter& filter, qint64 nowMs) {
  const Condition condition = ConditionOf(filter, nowMs, *dialect_);
  return count(condition.where, condition.values);
}

std::vector<PrinterSummary> SqlFleetQueries::printers(const FleetFilter& filter, qint64 nowMs, qint64 offset, int limit) {
  const Condition condition = ConditionOf(filter, nowMs, *dialect_);
  QSqlQuery query(connection_->database());
  query.setForwardOnly(true);
  Prepare(query, QStringLiteral("SELECT %1 FROM printers%2 ORDER BY %3 LIMIT ? OFFSET ?")
                     .arg(PrinterColumns(), condition.where, FleetOrderBy(filter)));
  BindAll(query, condition.values);
  query.addBindValue(limit);
  query.addBindValue(qlonglong(offset));
  Execute(query);
  std::vector<PrinterSummary> printers;
  while (query.next()) printers.push_back(PrinterAt(query));
  return printers;
}

std::optional<PrinterSummary> SqlFleetQueries::printer(const QString& ibfm) {
  QSqlQuery query(connection_->database());
  Prepare(query, QStringLiteral("SELECT %1 FROM printers WHERE ibfm = ?").arg(PrinterColumns()));
  query.addBindValue(Text(ibfm));
  Execute(query);
  if (!query.next()) return std::nullopt;
  return PrinterAt(query);
}

std::vector<ListedRecord> SqlFleetQueries::recentRecords(const QString& ibfm, qint64 offset, int limit) {
  QSqlQuery query(connection_->database());
  query.setForwardOnly(true);
  // Down the (ibfm, seen_at, id) index from its end: never more rows than asked for.
  Prepare(query, QStringLiteral("SELECT id, received_at, tested_at, tool_version, %1 FROM records WHERE ibfm = ?"
                                " ORDER BY seen_at DESC, id DESC LIMIT ? OFFSET ?")
                     .arg(ValueColumns()));
  query.addBindValue(Text(ibfm));
  query.addBindValue(limit);
  query.addBindValue(qlonglong(offset));
  Execute(query);
  std::vector<ListedRecord> records;
  while (query.next()) {
    ListedRecord record;
    record.id = query.value(0).toLongLong();
    record.receivedAtMs = query.value(1).toLongLong();
    if (!query.value(2).isNull()) record.testedAtMs = query.value(2).toLongLong();
    record.toolVersion = query.value(3).toString();
    for (int i = 0; i < kDiagDataFieldCount; ++i) record.values[i] = query.value(4 + i).toString();
    records.push_back(std::move(record));
  }
  return records;
}

std::optional<QByteArray> SqlFleetQueries::rawBody(const QString& ibfm, qint64 recordId) {
  QSqlQuery query(connection_->database());
  Prepare(query, QStringLiteral("SELECT raw_body FROM records WHERE id = ? AND ibfm = ?"));
  query.addBindValue(qlonglong(recordId));
  query.addBindValue(Text(ibfm));
  Execute(query);
  if (!query.next()) return std::nullopt;
  return query.value(0).toByteArray();
}

}  // namespace pralix::desk
