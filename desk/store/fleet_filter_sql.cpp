#include "store/fleet_filter_sql.h"

#include <QVariant>

#include "store/sql_fleet_queries.h"

namespace pralix::desk {
namespace {

std::optional<int> IntAt(const QSqlQuery& query, int column) {
  const QVariant value = query.value(column);
  if (value.isNull()) return std::nullopt;
  return value.toInt();
}

}  // namespace

QString PrinterColumns() {
  QStringList names;
  for (const char* name : kDiagDataFieldNames) names += QString::fromLatin1(name);
  return names.join(QStringLiteral(", ")) +
         QStringLiteral(", tool_version, first_seen, last_seen, record_count, free_daily_reports, articles,"
                        " clock_minutes, free_daily_reports_low, articles_high, serial_unknown, clock_off, firmware_unknown");
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

QString FilterSql::where() const {
  return terms.isEmpty() ? QString() : QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
}

FilterSql FilterTerms(const FleetFilter& filter, qint64 nowMs, const SqlDialect& dialect, bool indexed) {
  FilterSql sql;
  const QString plain = indexed ? QString() : QStringLiteral("+");
  if (!filter.search.isEmpty()) {
    sql.terms += QStringLiteral("(%1 OR %2)").arg(dialect.likeIgnoringAsciiCase(QStringLiteral("ibfm")),
                                                  dialect.likeIgnoringAsciiCase(QStringLiteral("pib")));
    sql.values << ContainsPattern(filter.search) << ContainsPattern(filter.search);
  }
  if (filter.finding) sql.terms += plain + FindingColumn(*filter.finding) + QStringLiteral(" = 1");
  if (filter.notSeenDays) {
    sql.terms += plain + QStringLiteral("last_seen < ?");
    sql.values << qlonglong(NotSeenBeforeMs(nowMs, *filter.notSeenDays));
  }
  return sql;
}

}  // namespace pralix::desk
