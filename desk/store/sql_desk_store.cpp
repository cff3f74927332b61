#include "store/sql_desk_store.h"

#include <QStringList>
#include <QVariant>

#include "store/fleet_filter_sql.h"

namespace pralix::desk {
namespace {

QString ValueColumns() {
  QStringList names;
  for (const char* name : kDiagDataFieldNames) names += QString::fromLatin1(name);
  return names.join(QStringLiteral(", "));
}

QString Placeholders(int count) {
  QStringList marks;
  for (int i = 0; i < count; ++i) marks += QStringLiteral("?");
  return marks.join(QStringLiteral(", "));
}

// The printer's columns that follow its latest record, in bind order after ibfm.
QStringList LatestRecordColumns() {
  QStringList columns;
  for (int i = kPib; i < kDiagDataFieldCount; ++i) columns += QString::fromLatin1(kDiagDataFieldNames[i]);
  columns << QStringLiteral("last_record_id") << QStringLiteral("last_tested_at") << QStringLiteral("last_received_at")
          << QStringLiteral("tool_version") << QStringLiteral("client_address") << QStringLiteral("free_daily_reports")
          << QStringLiteral("articles") << QStringLiteral("clock_minutes") << QStringLiteral("free_daily_reports_low")
          << QStringLiteral("articles_high") << QStringLiteral("serial_unknown") << QStringLiteral("clock_off")
          << QStringLiteral("firmware_unknown") << QStringLiteral("findings");
  return columns;
}

// One statement for both databases: a new printer is inserted; a known one
// counts the record, widens first/last seen, and takes the record's values
// only when the record is not older than the one it has (a late resend of
// an old test must not replace a newer one).
QString UpsertPrinterStatement() {
  const QStringList latest = LatestRecordColumns();
  QStringList updates = {
      QStringLiteral("record_count = printers.record_count + 1"),
      QStringLiteral("first_seen = CASE WHEN excluded.first_seen < printers.first_seen"
                     " THEN excluded.first_seen ELSE printers.first_seen END"),
      QStringLiteral("last_seen = CASE WHEN excluded.last_seen >= printers.last_seen"
                     " THEN excluded.last_seen ELSE printers.last_seen END"),
  };
  for (const QString& column : latest)
    updates += QStringLiteral("%1 = CASE WHEN excluded.last_seen >= printers.last_seen THEN excluded.%1 ELSE printers.%1 END")
                   .arg(column);
  return QStringLiteral("INSERT INTO printers (ibfm, %1, first_seen, last_seen, record_count) VALUES (?, %2, ?, ?, 1)"
                        " ON CONFLICT (ibfm) DO UPDATE SET %3")
      .arg(latest.join(QStringLiteral(", ")), Placeholders(int(latest.size())), updates.join(QStringLiteral(", ")));
}

DiagValues ValuesAt(const QSqlQuery& query, int first) {
  DiagValues values;
  for (int i = 0; i < kDiagDataFieldCount; ++i) values[i] = query.value(first + i).toString();
  return values;
}

}  // namespace

SqlDeskStore::SqlDeskStore(std::unique_ptr<SqlDialect> dialect, std::unique_ptr<SqlConnection> connection)
    : dialect_(std::move(dialect)), connection_(std::move(connection)) {}

SqlDeskStore::~SqlDeskStore() {
  insertRecord_.reset();
  bodyOfKey_.reset();
  upsertPrinter_.reset();
}

std::vector<StoreOutcome> SqlDeskStore::store(const std::vector<DiagRecord>& records) {
  if (!insertRecord_) {
    insertRecord_ = std::make_unique<QSqlQuery>(connection_->database());
    Prepare(*insertRecord_,
            QStringLiteral("INSERT INTO records (idempotency_key, received_at, tested_at, seen_at, client_address,"
                           " tool_version, raw_body, %1) VALUES (?, ?, ?, ?, ?, ?, ?, %2)"
                           " ON CONFLICT (idempotency_key) DO NOTHING RETURNING id")
                .arg(ValueColumns(), Placeholders(kDiagDataFieldCount)));
    bodyOfKey_ = std::make_unique<QSqlQuery>(connection_->database());
    Prepare(*bodyOfKey_, QStringLiteral("SELECT raw_body FROM records WHERE idempotency_key = ?"));
    upsertPrinter_ = std::make_unique<QSqlQuery>(connection_->database());
    Prepare(*upsertPrinter_, UpsertPrinterStatement());
  }
  std::vector<StoreOutcome> outcomes;
  outcomes.reserve(records.size());
  connection_->execute(dialect_->beginWrite());
  try {
    for (const DiagRecord& record : records) outcomes.push_back(storeOne(record));
    connection_->execute(QStringLiteral("COMMIT"));
  } catch (...) {
    insertRecord_->finish();
    bodyOfKey_->finish();
    upsertPrinter_->finish();
    QSqlQuery rollback(connection_->database());
    rollback.exec(QStringLiteral("ROLLBACK"));
    throw;
  }
  return outcomes;
}

StoreOutcome SqlDeskStore::storeOne(const DiagRecord& record) {
  QSqlQuery& insert = *insertRecord_;
  insert.addBindValue(TextOrNull(record.idempotencyKey));
  insert.addBindValue(qlonglong(record.receivedAtMs));
  insert.addBindValue(NumberOrNull(record.testedAtMs));
  insert.addBindValue(qlonglong(record.shownAtMs()));
  insert.addBindValue(Text(record.clientAddress));
  insert.addBindValue(TextOrNull(record.toolVersion));
  insert.addBindValue(record.rawBody);
  for (const QString& value : record.values) insert.addBindValue(Text(value));
  Execute(insert);
  const bool inserted = insert.next();
  const qint64 id = inserted ? insert.value(0).toLongLong() : 0;
  insert.finish();
  if (inserted) {
    updatePrinter(record, id);
    return StoreOutcome::Stored;
  }
  // The key is taken: by this very body (a resend) or by another record.
  QSqlQuery& earlier = *bodyOfKey_;
  earlier.addBindValue(record.idempotencyKey);
  Execute(earlier);
  const bool found = earlier.next();
  const QByteArray body = found ? earlier.value(0).toByteArray() : QByteArray();
  earlier.finish();
  if (!found) throw StoreFailure(QStringLiteral("a record was neither stored nor found by its key"));
  return body == record.rawBody ? StoreOutcome::AlreadyStored : StoreOutcome::KeyConflict;
}

void SqlDeskStore::updatePrinter(const DiagRecord& record, qint64 recordId) {
  const PrinterFindings findings = JudgeValues(record.values);
  const auto optionalInt = [](const std::optional<int>& n) {
    return n ? std::optional<qint64>(*n) : std::optional<qint64>();
  };
  QSqlQuery& upsert = *upsertPrinter_;
  upsert.addBindValue(Text(record.values[kIbfm]));
  for (int i = kPib; i < kDiagDataFieldCount; ++i) upsert.addBindValue(Text(record.values[i]));
  upsert.addBindValue(qlonglong(recordId));
  upsert.addBindValue(NumberOrNull(record.testedAtMs));
  upsert.addBindValue(qlonglong(record.receivedAtMs));
  upsert.addBindValue(TextOrNull(record.toolVersion));
  upsert.addBindValue(Text(record.clientAddress));
  upsert.addBindValue(NumberOrNull(optionalInt(findings.freeDailyReports)));
  upsert.addBindValue(NumberOrNull(optionalInt(findings.articles)));
  upsert.addBindValue(NumberOrNull(optionalInt(findings.clockMinutes)));
  upsert.addBindValue(int(findings.freeDailyReportsLow));
  upsert.addBindValue(int(findings.articlesHigh));
  upsert.addBindValue(int(findings.serialUnknown));
  upsert.addBindValue(int(findings.clockOff));
  upsert.addBindValue(int(findings.firmwareUnknown));
  upsert.addBindValue(findings.count());
  upsert.addBindValue(qlonglong(record.shownAtMs()));  // first_seen
  upsert.addBindValue(qlonglong(record.shownAtMs()));  // last_seen
  Execute(upsert);
  upsert.finish();
}

std::vector<PrinterSummary> SqlDeskStore::printers() {
  QSqlQuery query(connection_->database());
  query.setForwardOnly(true);
  Prepare(query, QStringLiteral("SELECT %1 FROM printers ORDER BY ibfm").arg(PrinterColumns()));
  Execute(query);
  std::vector<PrinterSummary> printers;
  while (query.next()) printers.push_back(PrinterAt(query));
  return printers;
}

std::vector<DiagRecord> SqlDeskStore::recordsOf(const QString& ibfm) {
  QSqlQuery query(connection_->database());
  query.setForwardOnly(true);
  Prepare(query, QStringLiteral("SELECT %1, raw_body, received_at, tested_at, client_address, idempotency_key,"
                                " tool_version FROM records WHERE ibfm = ? ORDER BY seen_at, id")
                     .arg(ValueColumns()));
  query.addBindValue(Text(ibfm));
  Execute(query);
  std::vector<DiagRecord> records;
  while (query.next()) {
    DiagRecord record;
    record.values = ValuesAt(query, 0);
    int column = kDiagDataFieldCount;
    record.rawBody = query.value(column++).toByteArray();
    record.receivedAtMs = query.value(column++).toLongLong();
    const QVariant testedAt = query.value(column++);
    if (!testedAt.isNull()) record.testedAtMs = testedAt.toLongLong();
    record.clientAddress = query.value(column++).toString();
    record.idempotencyKey = query.value(column++).toString();
    record.toolVersion = query.value(column++).toString();
    records.push_back(std::move(record));
  }
  return records;
}

qint64 SqlDeskStore::recordCount() {
  QSqlQuery query(connection_->database());
  Prepare(query, QStringLiteral("SELECT COUNT(*) FROM records"));
  Execute(query);
  return query.next() ? query.value(0).toLongLong() : 0;
}

}  // namespace pralix::desk
