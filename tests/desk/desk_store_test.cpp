// The store on real SQLite files and a real PostgreSQL cluster alike.

#include <QSqlQuery>
#include <gtest/gtest.h>

#include "store/database_url.h"
#include "store/migrations.h"
#include "store/schema_migrator.h"
#include "store/sql_connection.h"
#include "support/fresh_database.h"
#include "support/sample_records.h"

namespace pralix::desk::test {
namespace {

constexpr qint64 kDay = 24 * 60 * 60 * 1000;
constexpr qint64 kT0 = 1796803200000;  // 2026-12-09T08:00:00Z

class DeskStoreTest : public ::testing::TestWithParam<DatabaseKind> {
 protected:
  FreshDatabase database_{GetParam()};
};

TEST_P(DeskStoreTest, KeepsTheBodyByteForByteAndEveryValue) {
  SKIP_WITHOUT(database_);
  DiagRecord record = SampleRecord(QStringLiteral("AG123456"), 1, QStringLiteral("key-1"), kT0, kT0 - kDay);
  record.values[kPib] = QString();
  record.values[kFw] = QString::fromUtf8("1.22SR+ š\r\n");
  record.rawBody = BodyOf(record.values);
  const auto store = database_.open();
  ASSERT_EQ(store->store({record}), std::vector<StoreOutcome>{StoreOutcome::Stored});

  const std::vector<DiagRecord> kept = database_.open()->recordsOf(QStringLiteral("AG123456"));
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].rawBody, record.rawBody);
  EXPECT_EQ(kept[0].values, record.values);
  EXPECT_TRUE(kept[0].values[kPib].isEmpty());
  EXPECT_EQ(kept[0].receivedAtMs, kT0);
  EXPECT_EQ(kept[0].testedAtMs, kT0 - kDay);
  EXPECT_EQ(kept[0].idempotencyKey, QStringLiteral("key-1"));
  EXPECT_EQ(kept[0].toolVersion, QStringLiteral("10.2.350"));
  EXPECT_EQ(kept[0].clientAddress, QStringLiteral("192.0.2.7"));
}

TEST_P(DeskStoreTest, StoresEachIdempotencyKeyOnce) {
  SKIP_WITHOUT(database_);
  const DiagRecord first = SampleRecord(QStringLiteral("AG1"), 1, QStringLiteral("k"), kT0);
  DiagRecord resent = first;
  resent.receivedAtMs = kT0 + 1000;
  const DiagRecord otherBody = SampleRecord(QStringLiteral("AG1"), 2, QStringLiteral("k"), kT0);
  const DiagRecord withoutKey = SampleRecord(QStringLiteral("AG1"), 3, QString(), kT0);
  const auto store = database_.open();
  EXPECT_EQ(store->store({first, resent, otherBody, withoutKey, withoutKey}),
            (std::vector<StoreOutcome>{StoreOutcome::Stored, StoreOutcome::AlreadyStored, StoreOutcome::KeyConflict,
                                       StoreOutcome::Stored, StoreOutcome::Stored}));
  EXPECT_EQ(store->store({resent}), std::vector<StoreOutcome>{StoreOutcome::AlreadyStored});
  EXPECT_EQ(store->store({otherBody}), std::vector<StoreOutcome>{StoreOutcome::KeyConflict});
  EXPECT_EQ(store->recordCount(), 3);
  EXPECT_EQ(store->printers().at(0).recordCount, 3);
}

TEST_P(DeskStoreTest, APrinterShowsItsLatestTestEvenWhenAnOlderOneArrivesLate) {
  SKIP_WITHOUT(database_);
  const auto store = database_.open();
  DiagRecord second = SampleRecord(QStringLiteral("AG1"), 2, QString(), kT0, kT0 - 1 * kDay);
  second.values[kBpdi] = QStringLiteral("12");  // a finding
  // No test time: it stands at its arrival, the newest of all.
  const DiagRecord untimed = SampleRecord(QStringLiteral("AG1"), 3, QString(), kT0 + kDay);
  const DiagRecord resentOld = SampleRecord(QStringLiteral("AG1"), 1, QString(), kT0 + 2 * kDay, kT0 - 3 * kDay);
  store->store({second});
  store->store({untimed});
  store->store({resentOld});
  store->store({SampleRecord(QStringLiteral("AG10"), 0, QString(), kT0), SampleRecord(QStringLiteral("Ab"), 0, QString(), kT0)});

  const std::vector<PrinterSummary> printers = store->printers();
  ASSERT_EQ(printers.size(), 3u);
  // Byte order on both databases: "AG1" < "AG10" < "Ab".
  EXPECT_EQ(printers[0].values[kIbfm], QStringLiteral("AG1"));
  EXPECT_EQ(printers[1].values[kIbfm], QStringLiteral("AG10"));
  EXPECT_EQ(printers[2].values[kIbfm], QStringLiteral("Ab"));
  const PrinterSummary& printer = printers[0];
  EXPECT_EQ(printer.values, untimed.values);
  EXPECT_EQ(printer.firstSeenMs, kT0 - 3 * kDay);
  EXPECT_EQ(printer.lastSeenMs, kT0 + kDay);
  EXPECT_EQ(printer.recordCount, 3);
  EXPECT_EQ(printer.findings.freeDailyReports, 897);
  EXPECT_EQ(printer.findings.count(), 0);

  std::vector<int> order;
  for (const DiagRecord& record : store->recordsOf(QStringLiteral("AG1"))) order.push_back(900 - record.values[kBpdi].toInt());
  EXPECT_EQ(order, (std::vector<int>{1, 888, 3}));  // oldest test first; bpdi "12" is 900 - 888
  EXPECT_TRUE(store->recordsOf(QStringLiteral("AG")).empty());
}

TEST_P(DeskStoreTest, MigratesFromEmptyOnceAndOnlyWhatIsNew) {
  SKIP_WITHOUT(database_);
  QString error;
  const DatabaseUrl url = *ParseDatabaseUrl(database_.url(), &error);
  const auto dialect = DialectFor(url.kind);
  const SqlConnection connection(url, *dialect);
  std::vector<Migration> migrations = DeskMigrations();
  EXPECT_EQ(MigrateSchema(connection, *dialect, migrations, kT0), 0);
  EXPECT_EQ(MigrateSchema(connection, *dialect, migrations, kT0), LatestSchemaVersion());

  // A later migration runs alone on a database at the current version, and
  // the records stored before it stay.
  database_.open()->store({SampleRecord(QStringLiteral("AG1"), 0, QStringLiteral("k"), kT0)});
  migrations.push_back({LatestSchemaVersion() + 1, "notes", {QStringLiteral("CREATE TABLE notes (id {id}, body {blob})")}});
  EXPECT_EQ(MigrateSchema(connection, *dialect, migrations, kT0), LatestSchemaVersion());
  connection.execute(QStringLiteral("INSERT INTO notes (body) VALUES (NULL)"));
  QSqlQuery count(connection.database());
  ASSERT_TRUE(count.exec(QStringLiteral("SELECT COUNT(*) FROM records")) && count.next());
  EXPECT_EQ(count.value(0).toInt(), 1);

  // Now the database is newer than this desk: it refuses to start.
  try {
    database_.open();
    ADD_FAILURE() << "a newer schema was taken";
  } catch (const StoreFailure& failure) {
    EXPECT_TRUE(failure.message().contains(QStringLiteral("newer"))) << failure.what();
  }
}

TEST_P(DeskStoreTest, AFailedTransactionStoresNothing) {
  SKIP_WITHOUT(database_);
  const auto store = database_.open();
  store->store({SampleRecord(QStringLiteral("AG1"), 0, QString(), kT0)});
  QString error;
  const DatabaseUrl url = *ParseDatabaseUrl(database_.url(), &error);
  const auto dialect = DialectFor(url.kind);
  // Another connection takes the printers table away: the record's insert
  // succeeds, the printer's update fails, and the insert is rolled back.
  SqlConnection(url, *dialect).execute(QStringLiteral("DROP TABLE printers"));
  EXPECT_THROW(store->store({SampleRecord(QStringLiteral("AG1"), 1, QString(), kT0)}), StoreFailure);
  EXPECT_EQ(store->recordCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(BothDatabases, DeskStoreTest, ::testing::Values(DatabaseKind::Sqlite, DatabaseKind::Postgresql),
                         KindName);

}  // namespace
}  // namespace pralix::desk::test
