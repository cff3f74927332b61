// pralix-desk-fill: its printers' rows are what the desk's own store makes
// of the same records, one seed gives one fleet, the histories are
// plausible, and the desk goes on storing in a filled database.

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTimeZone>
#include <algorithm>
#include <gtest/gtest.h>

#include "diagdata/diagdata_form_decode.h"
#include "fleet_fill.h"
#include "records/printer_findings.h"
#include "sql_fleet_sink.h"
#include "store/sql_connection.h"
#include "support/fresh_database.h"
#include "support/sample_records.h"
#include "workstation/model_catalogue.h"

namespace pralix::desk::test {
namespace {

constexpr int kPrinters = 30;
constexpr int kRecords = 450;

fill::FleetShape SmallFleet(quint64 seed) {
  fill::FleetShape shape;
  shape.seed = seed;
  shape.printers = kPrinters;
  shape.records = kRecords;
  shape.endMs = QDateTime(QDate(2026, 12, 1), QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
  return shape;
}

void Fill(const FreshDatabase& database, const fill::FleetShape& shape) {
  QString error;
  fill::SqlFleetSink sink(*ParseDatabaseUrl(database.url(), &error));
  fill::FillFleet(shape, sink, [](double) {});
}

// Every record, in the order they arrived.
std::vector<DiagRecord> AllRecords(DeskStore& store) {
  std::vector<DiagRecord> records;
  for (const PrinterSummary& printer : store.printers())
    for (DiagRecord& record : store.recordsOf(printer.values[kIbfm])) records.push_back(std::move(record));
  std::stable_sort(records.begin(), records.end(),
                   [](const DiagRecord& a, const DiagRecord& b) { return a.receivedAtMs < b.receivedAtMs; });
  return records;
}

bool SamePrinter(const PrinterSummary& a, const PrinterSummary& b) {
  const PrinterFindings& f = a.findings;
  const PrinterFindings& g = b.findings;
  return a.values == b.values && a.toolVersion == b.toolVersion && a.firstSeenMs == b.firstSeenMs &&
         a.lastSeenMs == b.lastSeenMs && a.recordCount == b.recordCount && f.freeDailyReports == g.freeDailyReports &&
         f.articles == g.articles && f.clockMinutes == g.clockMinutes && f.count() == g.count() &&
         f.freeDailyReportsLow == g.freeDailyReportsLow && f.articlesHigh == g.articlesHigh &&
         f.serialUnknown == g.serialUnknown && f.clockOff == g.clockOff && f.firmwareUnknown == g.firmwareUnknown;
}

class DeskFill : public ::testing::TestWithParam<DatabaseKind> {};

TEST_P(DeskFill, PrintersAreWhatTheDesksStoreMakesOfTheSameRecords) {
  FreshDatabase filled(GetParam());
  SKIP_WITHOUT(filled);
  Fill(filled, SmallFleet(5));
  const std::unique_ptr<DeskStore> store = filled.open();
  const std::vector<DiagRecord> records = AllRecords(*store);
  ASSERT_EQ(records.size(), size_t(kRecords));
  ASSERT_EQ(store->recordCount(), kRecords);

  FreshDatabase replayed(GetParam());
  const std::unique_ptr<DeskStore> desk = replayed.open();
  desk->store(records);
  const std::vector<PrinterSummary> expected = desk->printers();
  const std::vector<PrinterSummary> actual = store->printers();
  ASSERT_EQ(actual.size(), size_t(kPrinters));
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) EXPECT_TRUE(SamePrinter(actual[i], expected[i])) << actual[i].values[kIbfm].toStdString();

  // The desk's next record takes the id after the filled ones, and the fill
  // refuses a database that holds records.
  EXPECT_EQ(store->store({SampleRecord(QStringLiteral("AG123456"), 1, QStringLiteral("after-the-fill"), 1)}).front(),
            StoreOutcome::Stored);
  EXPECT_THROW(Fill(filled, SmallFleet(6)), StoreFailure);
  EXPECT_EQ(store->recordCount(), kRecords + 1);
}

INSTANTIATE_TEST_SUITE_P(Databases, DeskFill, ::testing::Values(DatabaseKind::Sqlite, DatabaseKind::Postgresql), KindName);

// A filled PostgreSQL database is as a desk's after months of autovacuum:
// vacuumed and analysed, so its reads plan as they will in use.
TEST(DeskFillPostgresql, LeavesItsTablesVacuumedAndAnalysed) {
  FreshDatabase filled(DatabaseKind::Postgresql);
  SKIP_WITHOUT(filled);
  Fill(filled, SmallFleet(5));
  QString error;
  const DatabaseUrl url = *ParseDatabaseUrl(filled.url(), &error);
  const SqlConnection connection(url, *DialectFor(url.kind));
  QSqlQuery tables(connection.database());
  ASSERT_TRUE(tables.exec(QStringLiteral("SELECT relname FROM pg_stat_user_tables WHERE relname IN ('records', 'printers')"
                                         " AND last_vacuum IS NOT NULL AND last_analyze IS NOT NULL ORDER BY relname")));
  std::string names;
  while (tables.next()) names += tables.value(0).toString().toStdString() + ' ';
  EXPECT_EQ(names, "printers records ");
}

TEST(DeskFillFleet, OneSeedGivesOneFleetOfPlausibleHistories) {
  FreshDatabase first(DatabaseKind::Sqlite), again(DatabaseKind::Sqlite), other(DatabaseKind::Sqlite);
  Fill(first, SmallFleet(5));
  Fill(again, SmallFleet(5));
  Fill(other, SmallFleet(6));
  const std::vector<DiagRecord> a = AllRecords(*first.open()), b = AllRecords(*again.open()), c = AllRecords(*other.open());
  ASSERT_EQ(a.size(), b.size());
  bool same = true;
  for (size_t i = 0; i < a.size(); ++i)
    same = same && a[i].idempotencyKey == b[i].idempotencyKey && a[i].rawBody == b[i].rawBody &&
           a[i].receivedAtMs == b[i].receivedAtMs && a[i].testedAtMs == b[i].testedAtMs &&
           a[i].clientAddress == b[i].clientAddress && a[i].toolVersion == b[i].toolVersion;
  EXPECT_TRUE(same);
  EXPECT_NE(a.front().rawBody, c.front().rawBody);

  QStringList codes;
  for (const ModelEntry& model : ModelCatalogue) codes += QLatin1String(model.code);
  const QRegularExpression ibfm(QStringLiteral("^(%1)\\d{6}$").arg(codes.join(u'|')));
  const QRegularExpression pib(QStringLiteral("^\\d{9}$"));
  const QRegularExpression port(QStringLiteral("^COM[1-4]/(Ser|USB|VCP|Pro)$"));
  const QRegularExpression uuid(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"));
  const std::unique_ptr<DeskStore> store = first.open();
  for (const PrinterSummary& printer : store->printers()) {
    const std::vector<DiagRecord> history = store->recordsOf(printer.values[kIbfm]);
    int lastFree = 3000;
    for (const DiagRecord& record : history) {
      const DiagValues& v = record.values;
      const std::string at = (v[kIbfm] + u' ' + record.idempotencyKey).toStdString();
      EXPECT_TRUE(ibfm.match(v[kIbfm]).hasMatch() && pib.match(v[kPib]).hasMatch() && port.match(v[kCp]).hasMatch()) << at;
      EXPECT_TRUE(uuid.match(record.idempotencyKey).hasMatch()) << at;
      EXPECT_EQ(HeaderLines(v[kH6l]).size(), 6) << at;
      const DiagDataFormDecoding decoded = DecodeDiagDataForm(record.rawBody);
      EXPECT_TRUE(decoded.ok() && decoded.values == v) << at;
      const int free = v[kBpdi].toInt();
      EXPECT_TRUE(free >= 0 && free <= lastFree) << at << " free Z " << free << " after " << lastFree;
      lastFree = free;
    }
  }
}

}  // namespace
}  // namespace pralix::desk::test
