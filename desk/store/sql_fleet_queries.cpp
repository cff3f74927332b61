#include "store/sql_fleet_queries.h"

#include <QStringList>
#include <QVariant>
#include <utility>

#include "store/fleet_filter_sql.h"

namespace pralix::desk {
namespace {

// Matches the sentinel in the sort indexes (fleet_sort_indexes.cpp): below any
// 32-bit number a value can be read as.
constexpr char kNullLast[] = "-2147483649";

QString ValueColumns() {
  QStringList names;
  for (const char* name : kDiagDataFieldNames) names += QString::fromLatin1(name);
  return names.join(QStringLiteral(", "));
}

void BindAll(QSqlQuery& query, const QVariantList& values) {
  for (const QVariant& value : values) query.addBindValue(value);
}

}  // namespace

bool SortsAsText(FleetColumn column) {
  switch (column) {
    case FleetColumn::Ibfm:
    case FleetColumn::Pib:
    case FleetColumn::Firmware:
    case FleetColumn::Jx:
    case FleetColumn::TaxGroups:
    case FleetColumn::Port: return true;
    default: return false;
  }
}

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
// either order, read forwards or backwards.  To sort the few rows a filter
// found, each key is written as an expression with the same order that no
// index holds.
QString FleetOrderBy(const FleetFilter& filter, FleetPlan plan) {
  const bool walk = plan == FleetPlan::WalkSortIndex;
  const QString order = filter.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
  const QString ibfm = walk ? QStringLiteral("ibfm") : QStringLiteral("(ibfm || '')");
  if (filter.sort == FleetColumn::Ibfm) return ibfm + order;
  const QString column = SortExpression(filter.sort);
  const bool text = SortsAsText(filter.sort);
  const QString key = walk ? column : text ? QStringLiteral("(%1 || '')").arg(column) : QStringLiteral("(%1 + 0)").arg(column);
  return key + order + QStringLiteral(", ") + ibfm + order;
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

SqlFleetQueries::SqlFleetQueries(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection,
                                 qint64 fewMatches)
    : dialect_(std::move(dialect)), connection_(std::move(connection)), fewMatches_(fewMatches) {}

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

// A search looks at every row once: it collects the serials it finds, up
// to fewMatches_, so that the page reads those rows by key instead of
// scanning again; only a search that finds more is counted by a second scan.
SqlFleetQueries::Matches SqlFleetQueries::findMatches(const FleetFilter& filter, qint64 nowMs) {
  const FilterSql condition = FilterTerms(filter, nowMs, *dialect_);
  Matches matches{filter, nowMs, 0, std::nullopt};
  matches.filter.page = 1;
  if (!filter.search.isEmpty()) {
    QSqlQuery query(connection_->database());
    query.setForwardOnly(true);
    Prepare(query, QStringLiteral("SELECT ibfm FROM printers%1 LIMIT ?").arg(condition.where()));
    BindAll(query, condition.values);
    query.addBindValue(qlonglong(fewMatches_ + 1));
    Execute(query);
    QStringList ibfms;
    while (query.next()) ibfms += query.value(0).toString();
    if (ibfms.size() <= fewMatches_) {
      matches.count = ibfms.size();
      matches.ibfms = std::move(ibfms);
      return matches;
    }
  }
  matches.count = count(condition.where(), condition.values);
  return matches;
}

qint64 SqlFleetQueries::countMatching(const FleetFilter& filter, qint64 nowMs) {
  lastMatches_ = findMatches(filter, nowMs);
  return lastMatches_->count;
}

std::vector<PrinterSummary> SqlFleetQueries::printers(const FleetFilter& filter, qint64 nowMs, qint64 offset, int limit) {
  // A page is read right after its count ("rows x-y of N"): what that count
  // found is used once, here, rather than found again.
  FleetFilter key = filter;
  key.page = 1;
  std::optional<Matches> last = std::exchange(lastMatches_, std::nullopt);
  const Matches matches = last && last->filter == key && last->nowMs == nowMs ? std::move(*last) : findMatches(filter, nowMs);

  QString where;
  QVariantList values;
  FleetPlan plan = FleetPlan::NarrowThenSort;
  if (matches.ibfms) {
    if (offset >= matches.ibfms->size()) return {};
    QStringList marks;
    for (const QString& ibfm : *matches.ibfms) marks += QStringLiteral("?"), values << ibfm;
    where = QStringLiteral(" WHERE ibfm IN (%1)").arg(marks.join(QLatin1Char(',')));
  } else {
    // Many match: the sort's index is walked; few: the filter's index finds them.
    if (filter.search.isEmpty() && (filter.finding || filter.notSeenDays) && matches.count <= fewMatches_) {
      plan = FleetPlan::NarrowThenSort;
    } else {
      plan = FleetPlan::WalkSortIndex;
    }
    const FilterSql condition = FilterTerms(filter, nowMs, *dialect_, plan == FleetPlan::NarrowThenSort);
    where = condition.where();
    values = condition.values;
  }
  QSqlQuery query(connection_->database());
  query.setForwardOnly(true);
  Prepare(query, QStringLiteral("SELECT %1 FROM printers%2 ORDER BY %3 LIMIT ? OFFSET ?")
                     .arg(PrinterColumns(), where, FleetOrderBy(filter, plan)));
  BindAll(query, values);
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
