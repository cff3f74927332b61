#include "sql_fleet_sink.h"

#include <QDateTime>
#include <QStringList>

#include "records/printer_findings.h"
#include "store/desk_store.h"
#include "store/migrations.h"
#include "store/schema_migrator.h"

namespace pralix::desk::fill {
namespace {

constexpr size_t kRowsPerStatement = 500;

QStringList ValueColumns() {
  QStringList names;
  for (const char* name : kDiagDataFieldNames) names += QString::fromLatin1(name);
  return names;
}

QStringList RecordColumns() {
  return QStringList{QStringLiteral("id"), QStringLiteral("idempotency_key"), QStringLiteral("received_at"),
                     QStringLiteral("tested_at"), QStringLiteral("seen_at"), QStringLiteral("client_address"),
                     QStringLiteral("tool_version"), QStringLiteral("raw_body")} +
         ValueColumns();
}

QStringList PrinterColumns() {
  return ValueColumns() + QStringList{QStringLiteral("last_record_id"), QStringLiteral("last_tested_at"),
                                      QStringLiteral("last_received_at"), QStringLiteral("tool_version"),
                                      QStringLiteral("client_address"), QStringLiteral("free_daily_reports"),
                                      QStringLiteral("articles"), QStringLiteral("clock_minutes"),
                                      QStringLiteral("free_daily_reports_low"), QStringLiteral("articles_high"),
                                      QStringLiteral("serial_unknown"), QStringLiteral("clock_off"),
                                      QStringLiteral("firmware_unknown"), QStringLiteral("findings"),
                                      QStringLiteral("first_seen"), QStringLiteral("last_seen"),
                                      QStringLiteral("record_count")};
}

QString InsertStatement(const QString& table, const QStringList& columns, size_t rows) {
  QStringList marks;
  for (qsizetype i = 0; i < columns.size(); ++i) marks += QStringLiteral("?");
  const QString row = QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
  QStringList values;
  for (size_t i = 0; i < rows; ++i) values += row;
  return QStringLiteral("INSERT INTO %1 (%2) VALUES %3").arg(table, columns.join(QLatin1Char(',')), values.join(QLatin1Char(',')));
}

std::optional<qint64> Wide(const std::optional<int>& n) { return n ? std::optional<qint64>(*n) : std::nullopt; }

void BindRecord(QSqlQuery& query, const NumberedRecord& numbered) {
  const DiagRecord& record = numbered.record;
  query.addBindValue(qlonglong(numbered.id));
  query.addBindValue(TextOrNull(record.idempotencyKey));
  query.addBindValue(qlonglong(record.receivedAtMs));
  query.addBindValue(NumberOrNull(record.testedAtMs));
  query.addBindValue(qlonglong(record.shownAtMs()));
  query.addBindValue(Text(record.clientAddress));
  query.addBindValue(TextOrNull(record.toolVersion));
  query.addBindValue(record.rawBody);
  for (const QString& value : record.values) query.addBindValue(Text(value));
}

void BindPrinter(QSqlQuery& query, const FleetPrinter& printer) {
  const DiagRecord& record = printer.latest;
  const PrinterFindings findings = JudgeValues(record.values);
  for (const QString& value : record.values) query.addBindValue(Text(value));
  query.addBindValue(qlonglong(printer.latestId));
  query.addBindValue(NumberOrNull(record.testedAtMs));
  query.addBindValue(qlonglong(record.receivedAtMs));
  query.addBindValue(TextOrNull(record.toolVersion));
  query.addBindValue(Text(record.clientAddress));
  query.addBindValue(NumberOrNull(Wide(findings.freeDailyReports)));
  query.addBindValue(NumberOrNull(Wide(findings.articles)));
  query.addBindValue(NumberOrNull(Wide(findings.clockMinutes)));
  query.addBindValue(int(findings.freeDailyReportsLow));
  query.addBindValue(int(findings.articlesHigh));
  query.addBindValue(int(findings.serialUnknown));
  query.addBindValue(int(findings.clockOff));
  query.addBindValue(int(findings.firmwareUnknown));
  query.addBindValue(findings.count());
  query.addBindValue(qlonglong(printer.firstSeenMs));
  query.addBindValue(qlonglong(printer.lastSeenMs));
  query.addBindValue(qlonglong(printer.recordCount));
}

}  // namespace

SqlFleetSink::SqlFleetSink(const DatabaseUrl& url) : kind_(url.kind), dialect_(DialectFor(url.kind)) {
  connection_ = std::make_unique<SqlConnection>(url, *dialect_);
  MigrateSchema(*connection_, *dialect_, DeskMigrations(), QDateTime::currentMSecsSinceEpoch());
  QSqlQuery count(connection_->database());
  Prepare(count, QStringLiteral("SELECT COUNT(*) FROM records"));
  Execute(count);
  if (count.next() && count.value(0).toLongLong() > 0)
    throw StoreFailure(QStringLiteral("the database %1 holds records already: fill a new one").arg(url.display()));
  if (kind_ == DatabaseUrl::Kind::Sqlite) {
    connection_->execute(QStringLiteral("PRAGMA synchronous=OFF"));
    connection_->execute(QStringLiteral("PRAGMA cache_size=-262144"));  // 256 MiB: the indexes stay in memory
  } else {
    connection_->execute(QStringLiteral("SET synchronous_commit TO off"));
  }
}

SqlFleetSink::~SqlFleetSink() {
  fullRecords_.reset();
  fullPrinters_.reset();
}

void SqlFleetSink::insert(std::unique_ptr<QSqlQuery>& full, const QString& table, const QStringList& columns, size_t rows,
                          const BindRow& bindRow) {
  if (!full) {
    full = std::make_unique<QSqlQuery>(connection_->database());
    Prepare(*full, InsertStatement(table, columns, kRowsPerStatement));
  }
  connection_->execute(dialect_->beginWrite());
  size_t row = 0;
  for (; row + kRowsPerStatement <= rows; row += kRowsPerStatement) {
    for (size_t i = row; i < row + kRowsPerStatement; ++i) bindRow(*full, i);
    Execute(*full);
    full->finish();
  }
  if (row < rows) {
    QSqlQuery rest(connection_->database());
    Prepare(rest, InsertStatement(table, columns, rows - row));
    for (; row < rows; ++row) bindRow(rest, row);
    Execute(rest);
  }
  connection_->execute(QStringLiteral("COMMIT"));
}

void SqlFleetSink::addRecords(const std::vector<NumberedRecord>& records) {
  insert(fullRecords_, QStringLiteral("records"), RecordColumns(), records.size(),
         [&records](QSqlQuery& query, size_t i) { BindRecord(query, records[i]); });
}

void SqlFleetSink::addPrinters(const std::vector<FleetPrinter>& printers) {
  insert(fullPrinters_, QStringLiteral("printers"), PrinterColumns(), printers.size(), [&printers](QSqlQuery& query, size_t i) { BindPrinter(query, printers[i]); });
}

void SqlFleetSink::finish() {
  if (kind_ == DatabaseUrl::Kind::Postgresql) {
    // The desk's next record takes the id after the last one given here.
    connection_->execute(QStringLiteral("SELECT setval(pg_get_serial_sequence('records', 'id'), (SELECT MAX(id) FROM records))"));
    // Vacuumed as well as analysed: the visibility map a desk's tables have
    // after months of autovacuum, so the counts are index-only from the
    // first page on, not only once autovacuum gets round to a new fill.
    connection_->execute(QStringLiteral("VACUUM (ANALYZE)"));
  } else {
    connection_->execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
  }
}

}  // namespace pralix::desk::fill
