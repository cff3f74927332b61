// The fleet's reads on real SQLite files and the real PostgreSQL cluster:
// each filter, each sort both ways, paging, counts, hostile search texts,
// and a printer's records.

#include <QSqlQuery>
#include <algorithm>
#include <functional>
#include <iterator>
#include <limits>
#include <variant>
#include <gtest/gtest.h>

#include "store/database_url.h"
#include "store/sql_connection.h"
#include "store/sql_fleet_queries.h"
#include "support/fresh_database.h"
#include "support/sample_records.h"

namespace pralix::desk::test {
namespace {

constexpr qint64 kDay = 24LL * 60 * 60 * 1000;
constexpr qint64 kT0 = 1796803200000;  // 2026-12-09T08:00:00Z

using Change = std::function<void(DiagValues&)>;

class FleetQueriesTest : public ::testing::TestWithParam<DatabaseKind> {
 protected:
  void SetUp() override {
    if (!database_.available()) return;
    QString error;
    url_ = *ParseDatabaseUrl(database_.url(), &error);
    store_ = database_.open();  // migrates
    queries_ = std::make_unique<SqlFleetQueries>(DialectFor(url_.kind), std::make_unique<SqlConnection>(url_, *DialectFor(url_.kind)));
    // Reads every filtered page down the sort's index (a threshold of 0 matches).
    walking_ = std::make_unique<SqlFleetQueries>(DialectFor(url_.kind), std::make_unique<SqlConnection>(url_, *DialectFor(url_.kind)), 0);
  }

  DiagRecord Record(const QString& ibfm, qint64 at, const Change& change = {}) {
    DiagRecord record = SampleRecord(ibfm, ++n_, QString(), at, at);
    if (change) change(record.values);
    record.rawBody = BodyOf(record.values);
    return record;
  }

  std::vector<QString> Ibfms(const FleetFilter& filter, qint64 offset = 0, int limit = 1000, FleetQueries* queries = nullptr) {
    std::vector<QString> ibfms;
    for (const PrinterSummary& printer : (queries ? queries : queries_.get())->printers(filter, kT0, offset, limit))
      ibfms.push_back(printer.values[kIbfm]);
    return ibfms;
  }

  FreshDatabase database_{GetParam()};
  DatabaseUrl url_;
  std::unique_ptr<DeskStore> store_;
  std::unique_ptr<SqlFleetQueries> queries_;
  std::unique_ptr<SqlFleetQueries> walking_;
  int n_ = 0;
};

FleetFilter Search(const char* text) {
  FleetFilter filter;
  filter.search = QString::fromUtf8(text);
  return filter;
}

TEST_P(FleetQueriesTest, FiltersBySearchFindingAndDaysNotSeenAndCounts) {
  SKIP_WITHOUT(database_);
  const QString hostile = QStringLiteral("AB%_7'");
  store_->store({
      Record(QStringLiteral("AG0001"), kT0),
      Record(QStringLiteral("AG0002"), kT0 - 100 * kDay, [](DiagValues& v) { v[kBpdi] = QStringLiteral("12"); }),
      Record(QStringLiteral("AG0003"), kT0 - 90 * kDay, [](DiagValues& v) { v[kPlu] = QStringLiteral("5000"); }),
      Record(QStringLiteral("AGE004"), kT0),
      Record(QStringLiteral("AG0005"), kT0, [](DiagValues& v) { v[kDiff] = QStringLiteral("01:00"); }),
      Record(QStringLiteral("AG0006"), kT0, [](DiagValues& v) { v[kFw] = QStringLiteral("x"); }),
      Record(hostile, kT0, [](DiagValues& v) { v[kPib] = QStringLiteral("\"; DROP TABLE records; --"); }),
      Record(QStringLiteral("AGX%0"), kT0),
      Record(QString::fromUtf8("AGŠ9"), kT0),
  });
  const auto only = [](Finding finding) {
    FleetFilter filter;
    filter.finding = finding;
    return filter;
  };
  const auto notSeen = [](int days) {
    FleetFilter filter;
    filter.notSeenDays = days;
    return filter;
  };
  FleetFilter combined = Search("ag00");
  combined.notSeenDays = 30;
  const struct {
    const char* what;
    FleetFilter filter;
    std::vector<const char*> ibfms;
  } cases[] = {
      {"everything", FleetFilter(), {"AB%_7'", "AG0001", "AG0002", "AG0003", "AG0005", "AG0006", "AGE004", "AGX%0", "AGŠ9"}},
      {"a substring in any case", Search("g00"), {"AG0001", "AG0002", "AG0003", "AG0005", "AG0006"}},
      {"a prefix of the PIB", Search("1234"), {"AG0001", "AG0002", "AG0003", "AG0005", "AG0006", "AGE004", "AGX%0", "AGŠ9"}},
      // Only ASCII letters fold, on both databases alike.
      {"a letter beyond ASCII as stored", Search("gŠ"), {"AGŠ9"}},
      {"a letter beyond ASCII in the other case", Search("gš"), {}},
      {"a percent sign", Search("%"), {"AB%_7'", "AGX%0"}},
      {"an underscore", Search("_"), {"AB%_7'"}},
      {"a quote", Search("'"), {"AB%_7'"}},
      {"SQL in the PIB", Search("\"; DROP TABLE records; --"), {"AB%_7'"}},
      {"an exclamation mark (the escape)", Search("!"), {}},
      {"nothing like it", Search("ZZ"), {}},
      {"free Z", only(Finding::FreeZLow), {"AG0002"}},
      {"articles", only(Finding::ArticlesHigh), {"AG0003"}},
      {"serial", only(Finding::SerialUnknown), {"AGE004"}},
      {"clock", only(Finding::ClockOff), {"AG0005"}},
      {"firmware", only(Finding::FirmwareUnknown), {"AG0006"}},
      // Exactly 90 days ago is not "more than 90 days".
      {"not seen for 90 days", notSeen(90), {"AG0002"}},
      {"not seen for 89 days", notSeen(89), {"AG0002", "AG0003"}},
      {"search and days together", combined, {"AG0002", "AG0003"}},
  };
  for (const auto& c : cases) {
    std::vector<QString> expected;
    for (const char* ibfm : c.ibfms) expected.push_back(QString::fromUtf8(ibfm));
    EXPECT_EQ(queries_->countMatching(c.filter, kT0), qint64(c.ibfms.size())) << c.what;
    EXPECT_EQ(Ibfms(c.filter), expected) << c.what;
    EXPECT_EQ(walking_->countMatching(c.filter, kT0), qint64(c.ibfms.size())) << c.what;
    EXPECT_EQ(Ibfms(c.filter, 0, 1000, walking_.get()), expected) << c.what << ", walking the sort index";
  }
  const FleetCounts counts = queries_->counts(kT0 - 90 * kDay);
  EXPECT_EQ(counts.printers, 9);
  for (const Finding finding : kAllFindings) EXPECT_EQ(counts.of(finding), 1) << FindingName(finding).constData();
  EXPECT_EQ(counts.notSeen, 1);
  EXPECT_EQ(store_->recordCount(), 9);  // nothing was dropped
}

// Each column holds ties, an unreadable number or two, and printers seen
// more than once; the expected order is worked out here from the values.
TEST_P(FleetQueriesTest, SortsByEveryColumnBothWaysWithTheSerialBreakingTies) {
  SKIP_WITHOUT(database_);
  const char* const texts[] = {"A1", "B2", "C3"};
  const char* const numbers[] = {"7", "x", "120"};
  const char* const clocks[] = {"00:05", "Dana: 3", "??"};
  std::vector<DiagRecord> records;
  for (int i = 0; i < 9; ++i) {
    const QString ibfm = QStringLiteral("AG%1").arg(8 - i);  // stored in the opposite order
    for (int repeat = 0; repeat <= i % 2; ++repeat)
      records.push_back(Record(ibfm, kT0 - (i % 3) * kDay - repeat * kDay, [&](DiagValues& v) {
        v[kPib] = QString::fromLatin1(texts[i % 3]);
        v[kFw] = QString::fromLatin1(texts[(i + 1) % 3]);
        v[kJx] = QString::fromLatin1(texts[i / 3]);
        v[kTg] = QString::fromLatin1(texts[(i * 2) % 3]);
        v[kCp] = QString::fromLatin1(texts[(i + 2) % 3]);
        v[kBpdi] = QString::fromLatin1(numbers[i % 3]);
        v[kPlu] = QString::fromLatin1(numbers[(i + 1) % 3]);
        v[kDiff] = QString::fromLatin1(clocks[i / 3]);
      }));
  }
  store_->store(records);
  const std::vector<PrinterSummary> all = queries_->printers(FleetFilter(), kT0, 0, 100);
  ASSERT_EQ(all.size(), 9u);
  // The nullable numbers: no value sorts below every number.
  const auto number = [](const std::optional<int>& n) { return n ? qint64(*n) : std::numeric_limits<qint64>::min(); };
  const auto key = [&](const PrinterSummary& p, FleetColumn column) -> std::variant<QString, qint64> {
    switch (column) {
      case FleetColumn::Ibfm: return p.values[kIbfm];
      case FleetColumn::Pib: return p.values[kPib];
      case FleetColumn::Firmware: return p.values[kFw];
      case FleetColumn::Jx: return p.values[kJx];
      case FleetColumn::TaxGroups: return p.values[kTg];
      case FleetColumn::Port: return p.values[kCp];
      case FleetColumn::FreeZ: return number(p.findings.freeDailyReports);
      case FleetColumn::Articles: return number(p.findings.articles);
      case FleetColumn::ClockDifference: return number(p.findings.clockMinutes);
      case FleetColumn::LastTest: return p.lastSeenMs;
      case FleetColumn::Records: return p.recordCount;
    }
    return qint64(0);
  };
  // Filtered by a finding, the page is read either way: the few matches
  // sorted, or the sort's index walked.
  for (const FleetColumn column : kAllFleetColumns)
    for (const bool descending : {false, true})
      for (const bool lowFreeZ : {false, true}) {
        std::vector<PrinterSummary> expected;
        std::copy_if(all.begin(), all.end(), std::back_inserter(expected),
                     [&](const PrinterSummary& p) { return !lowFreeZ || p.findings.freeDailyReportsLow; });
        std::sort(expected.begin(), expected.end(), [&](const PrinterSummary& a, const PrinterSummary& b) {
          const auto ka = std::make_pair(key(a, column), a.values[kIbfm]);
          const auto kb = std::make_pair(key(b, column), b.values[kIbfm]);
          return descending ? kb < ka : ka < kb;
        });
        std::vector<QString> ibfms;
        for (const PrinterSummary& p : expected) ibfms.push_back(p.values[kIbfm]);
        FleetFilter filter;
        filter.sort = column;
        filter.descending = descending;
        if (lowFreeZ) filter.finding = Finding::FreeZLow;
        const std::string what = ColumnName(column).toStdString() + (descending ? " desc" : " asc") + (lowFreeZ ? ", low free Z" : "");
        EXPECT_EQ(Ibfms(filter), ibfms) << what;
        std::vector<QString> walked;
        for (const PrinterSummary& p : walking_->printers(filter, kT0, 0, 100)) walked.push_back(p.values[kIbfm]);
        EXPECT_EQ(walked, ibfms) << what << ", walking the sort index";
      }
}

// With sorting switched off where the database can, each sort still runs:
// an index hands the rows out in order (SQLite says when it would sort).
TEST_P(FleetQueriesTest, EverySortRunsDownAnIndex) {
  SKIP_WITHOUT(database_);
  const SqlConnection connection(url_, *DialectFor(url_.kind));
  const bool postgres = url_.kind == DatabaseUrl::Kind::Postgresql;
  if (postgres) connection.execute(QStringLiteral("SET enable_sort = off"));
  for (const FleetColumn column : kAllFleetColumns)
    for (const bool descending : {false, true}) {
      FleetFilter filter;
      filter.sort = column;
      filter.descending = descending;
      QSqlQuery plan(connection.database());
      const QString select = QStringLiteral("SELECT ibfm FROM printers ORDER BY %1 LIMIT 100 OFFSET 0").arg(FleetOrderBy(filter));
      ASSERT_TRUE(plan.exec((postgres ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN ")) + select));
      QString text;
      while (plan.next()) text += plan.value(postgres ? 0 : 3).toString() + QLatin1Char('\n');
      EXPECT_FALSE(text.contains(QStringLiteral("TEMP B-TREE")) || text.contains(QStringLiteral("Sort")))
          << select.toStdString() << "\n" << text.toStdString();
    }
}

TEST_P(FleetQueriesTest, PagesOfAHundredEndWhereThePrintersDo) {
  SKIP_WITHOUT(database_);
  std::vector<DiagRecord> records;
  for (int i = 0; i < 101; ++i) records.push_back(Record(QStringLiteral("AG%1").arg(i, 3, 10, QLatin1Char('0')), kT0));
  store_->store(records);
  FleetFilter filter;
  const std::vector<QString> first = Ibfms(filter, 0, kFleetPageSize);
  ASSERT_EQ(first.size(), 100u);
  EXPECT_EQ(first.front(), QStringLiteral("AG000"));
  EXPECT_EQ(first.back(), QStringLiteral("AG099"));
  EXPECT_EQ(Ibfms(filter, 100, kFleetPageSize), std::vector<QString>{QStringLiteral("AG100")});
  EXPECT_TRUE(Ibfms(filter, 101, kFleetPageSize).empty());
  filter.descending = true;
  EXPECT_EQ(Ibfms(filter, 100, kFleetPageSize), std::vector<QString>{QStringLiteral("AG000")});
  EXPECT_EQ(queries_->countMatching(filter, kT0), 101);
}

TEST_P(FleetQueriesTest, APrintersRecordsNewestFirstBoundedAndItsRawBodiesOnly) {
  SKIP_WITHOUT(database_);
  const QString ibfm = QStringLiteral("A/B %Š");
  std::vector<DiagRecord> records;
  for (int day : {3, 1, 4, 2}) records.push_back(Record(ibfm, kT0 - day * kDay));
  DiagRecord untimed = Record(ibfm, kT0);  // stands at its arrival: the newest
  untimed.testedAtMs.reset();
  untimed.toolVersion = QString();
  records.push_back(untimed);
  records.push_back(Record(QStringLiteral("AG2"), kT0));
  store_->store(records);

  const std::vector<ListedRecord> newest = queries_->recentRecords(ibfm, 0, 3);
  ASSERT_EQ(newest.size(), 3u);
  EXPECT_EQ(newest[0].values, untimed.values);
  EXPECT_FALSE(newest[0].testedAtMs);
  EXPECT_TRUE(newest[0].toolVersion.isEmpty());
  EXPECT_EQ(newest[1].shownAtMs(), kT0 - 1 * kDay);
  EXPECT_EQ(newest[2].shownAtMs(), kT0 - 2 * kDay);
  const std::vector<ListedRecord> older = queries_->recentRecords(ibfm, 3, 3);
  ASSERT_EQ(older.size(), 2u);
  EXPECT_EQ(older[1].shownAtMs(), kT0 - 4 * kDay);

  EXPECT_EQ(queries_->rawBody(ibfm, newest[0].id), untimed.rawBody);
  EXPECT_FALSE(queries_->rawBody(QStringLiteral("AG2"), newest[0].id));
  EXPECT_FALSE(queries_->rawBody(ibfm, 999999));
  const std::optional<PrinterSummary> printer = queries_->printer(ibfm);
  ASSERT_TRUE(printer);
  EXPECT_EQ(printer->recordCount, 5);
  EXPECT_EQ(printer->firstSeenMs, kT0 - 4 * kDay);
  EXPECT_FALSE(queries_->printer(QStringLiteral("A/B")));
}

INSTANTIATE_TEST_SUITE_P(BothDatabases, FleetQueriesTest,
                         ::testing::Values(DatabaseKind::Sqlite, DatabaseKind::Postgresql), KindName);

}  // namespace
}  // namespace pralix::desk::test
