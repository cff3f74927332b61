// pralix-desk's ingest: DiagData records per second and their latency, over
// real HTTP on loopback against the real pralix-desk, on an SQLite file on
// the disk (WAL, synchronous=FULL) and on a PostgreSQL cluster of its own
// with fsync on, beside the floor measured in the same run: the desk's own
// store in this process, one record per transaction, no HTTP and no thread.
//
// BM_DeskIngest/db: rounds of [floor, 1, 8, 64 clients], each on a fresh
// database, interleaved so that the machine's load hits all alike.  The
// counters are medians over the rounds; a ratio is the median of each
// round's own ratio (the two measured a few seconds apart):
//   floor_rps                  records per second of the bare store loop
//   cN_rps                     records per second, N keep-alive clients in a closed loop
//   cN_x_floor                 cN_rps / floor_rps (targets: c1 >= 0.8, c64 > 1)
//   cN_p50_ms, cN_p99_ms       latency of one POST, sent to answered
//   floor_p50_ms, floor_p99_ms one store() call; *_max_ms the slowest
// BM_DeskOpenLoop200/db: 200 records a second on a schedule for 10 s (after
// 1 s of warm-up), latency from the time each was due (target p99 <= 50 ms);
// beside it the bare store on the same schedule in this process (floor_*),
// which shows what the disk alone does to a schedule: a commit that stalls
// holds up every record due behind it, in both.

#include <benchmark/benchmark.h>
#include <sys/statfs.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "desk_load/http_load.h"
#include "records/utc_time.h"
#include "store/database_url.h"
#include "store/open_desk_store.h"
#include "support/desk_process.h"
#include "support/postgres_cluster.h"
#include "support/raw_http.h"
#include "support/sample_records.h"

namespace pralix::bench {
namespace {

using desk::test::PostgresCluster;
using Clock = std::chrono::steady_clock;

constexpr double kWarmupSeconds = 0.3;
constexpr double kWindowSeconds = 2.0;
constexpr int kRounds = 5;
constexpr double kOfferedPerSecond = 200;
constexpr double kOpenWarmupSeconds = 1.0;
constexpr double kOpenSeconds = 10.0;
constexpr int kPrinters = 1000;  // records spread over this many printers
constexpr int kClientCounts[] = {1, 8, 64};

enum class Database { Sqlite, Postgresql };

const char* FileSystemOf(const QString& folder) {
  struct statfs info {};
  if (statfs(QFile::encodeName(folder).constData(), &info) != 0) return "unknown";
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53: return "ext4";
    case 0x01021994: return "tmpfs";
    case 0x58465342: return "xfs";
    case 0x9123683E: return "btrfs";
    case 0x794C7630: return "overlayfs";
    default: return "other";
  }
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// What the benchmarks share: the places databases are made and the
// numbering of records, so that every key is new.
class IngestRig {
 public:
  IngestRig() : sqliteFolder_(QCoreApplication::applicationDirPath() + QStringLiteral("/desk-ingest-XXXXXX")) {
    cluster_.SetUp();
  }
  ~IngestRig() { cluster_.TearDown(); }

  bool has(Database db) const { return db == Database::Sqlite || cluster_.running(); }
  QString whyNot() const { return cluster_.whyNot(); }
  QString where(Database db) const {
    if (db == Database::Sqlite) return QStringLiteral("SQLite file on ") + QLatin1String(FileSystemOf(sqliteFolder_.path()));
    return QStringLiteral("PostgreSQL, fsync on, data on ") + QLatin1String(FileSystemOf(cluster_.folder()));
  }

  QString freshDatabase(Database db) {
    if (db == Database::Postgresql) return cluster_.createDatabase();
    return QStringLiteral("sqlite:%1/desk-%2.sqlite").arg(sqliteFolder_.path()).arg(++files_);
  }

  desk::DiagRecord nextRecord() {
    const int n = ++records_;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    return desk::test::SampleRecord(Ibfm(n), n, Key(n), now, now);
  }
  QByteArray nextRequest() {
    const int n = ++records_;
    const QByteArray testedAt = desk::FormatRfc3339(QDateTime::currentMSecsSinceEpoch()).toLatin1();
    return desk::test::DiagDataPost(desk::test::SampleBody(Ibfm(n), n),
                                    {{"Idempotency-Key", Key(n).toLatin1()}, {"Pralix-Tested-At", testedAt},
                                     {"Pralix-Version", "10.2.350"}});
  }

 private:
  static QString Ibfm(int n) { return QStringLiteral("AG%1").arg(100000 + n % kPrinters); }
  static QString Key(int n) { return QStringLiteral("bench-%1").arg(n); }

  QTemporaryDir sqliteFolder_;  // on the disk the build is on: durability is the point
  PostgresCluster cluster_{PostgresCluster::Durability::FsyncOn};
  int files_ = 0;
  int records_ = 0;
};

// The floor: the desk's store, one record per transaction, in this process.
LoadOutcome MeasureFloor(IngestRig& rig, const QString& url) {
  QString error;
  const std::optional<desk::DatabaseUrl> parsed = desk::ParseDatabaseUrl(url, &error);
  const std::unique_ptr<desk::DeskStore> store = desk::OpenDeskStore(*parsed, QDateTime::currentMSecsSinceEpoch());
  const Clock::time_point from = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kWarmupSeconds));
  const Clock::time_point to = from + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kWindowSeconds));
  LoadOutcome outcome;
  outcome.seconds = kWindowSeconds;
  for (Clock::time_point now = Clock::now(); now < to;) {
    const desk::DiagRecord record = rig.nextRecord();
    const Clock::time_point start = now;
    store->store({record});
    now = Clock::now();
    if (start >= from && now <= to) {
      ++outcome.answered;
      outcome.latencyMs.push_back(std::chrono::duration<double, std::milli>(now - start).count());
    }
  }
  return outcome;
}

// The floor on a schedule: one record due every 1/perSecond s, stored as
// soon as the one before is done; latency from the time it was due.
LoadOutcome MeasureFloorOnSchedule(IngestRig& rig, const QString& url, double perSecond) {
  QString error;
  const std::optional<desk::DatabaseUrl> parsed = desk::ParseDatabaseUrl(url, &error);
  const std::unique_ptr<desk::DeskStore> store = desk::OpenDeskStore(*parsed, QDateTime::currentMSecsSinceEpoch());
  const Clock::time_point start = Clock::now();
  const long first = long(kOpenWarmupSeconds * perSecond), total = long((kOpenWarmupSeconds + kOpenSeconds) * perSecond);
  LoadOutcome outcome;
  outcome.seconds = kOpenSeconds;
  for (long k = 0; k < total; ++k) {
    const Clock::time_point due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(k / perSecond));
    std::this_thread::sleep_until(due);
    store->store({rig.nextRecord()});
    if (k < first) continue;
    ++outcome.answered;
    outcome.latencyMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - due).count());
  }
  return outcome;
}

struct Series {
  std::vector<double> rps, p50, p99, max;
  int failed = 0;
  void add(const LoadOutcome& o) {
    rps.push_back(o.perSecond());
    p50.push_back(o.quantileMs(0.5));
    p99.push_back(o.quantileMs(0.99));
    max.push_back(o.quantileMs(1.0));
    failed += o.failed;
  }
};

void BM_DeskIngest(benchmark::State& state, IngestRig& rig, Database db) {
  if (!rig.has(db)) return state.SkipWithError(qPrintable(rig.whyNot()));
  Series floor;
  std::vector<Series> ingest(std::size(kClientCounts));
  for (auto _ : state) {
    for (int round = 0; round < kRounds; ++round) {
      floor.add(MeasureFloor(rig, rig.freshDatabase(db)));
      for (size_t c = 0; c < std::size(kClientCounts); ++c) {
        desk::test::DeskServer server(rig.freshDatabase(db));
        if (!server.ok()) return state.SkipWithError(server.error().constData());
        ingest[c].add(RunClosedLoop(server.port(), kClientCounts[c], [&rig] { return rig.nextRequest(); }, kWarmupSeconds,
                                    kWindowSeconds));
      }
      std::printf("  round %d: floor %.0f/s", round + 1, floor.rps.back());
      for (size_t c = 0; c < std::size(kClientCounts); ++c)
        std::printf(", %d client(s) %.0f/s", kClientCounts[c], ingest[c].rps.back());
      std::printf("\n");
    }
  }
  state.counters["floor_rps"] = Median(floor.rps);
  state.counters["floor_p50_ms"] = Median(floor.p50);
  state.counters["floor_p99_ms"] = Median(floor.p99);
  state.counters["floor_max_ms"] = Median(floor.max);
  int failed = 0;
  for (size_t c = 0; c < std::size(kClientCounts); ++c) {
    const std::string name = "c" + std::to_string(kClientCounts[c]);
    std::vector<double> ratios;
    for (size_t r = 0; r < floor.rps.size(); ++r) ratios.push_back(ingest[c].rps[r] / floor.rps[r]);
    state.counters[name + "_rps"] = Median(ingest[c].rps);
    state.counters[name + "_x_floor"] = Median(ratios);
    state.counters[name + "_p50_ms"] = Median(ingest[c].p50);
    state.counters[name + "_p99_ms"] = Median(ingest[c].p99);
    state.counters[name + "_max_ms"] = Median(ingest[c].max);
    failed += ingest[c].failed;
  }
  state.counters["failed"] = failed;
  state.SetLabel(rig.where(db).toStdString());
}

void BM_DeskOpenLoop200(benchmark::State& state, IngestRig& rig, Database db) {
  if (!rig.has(db)) return state.SkipWithError(qPrintable(rig.whyNot()));
  for (auto _ : state) {
    const LoadOutcome floor = MeasureFloorOnSchedule(rig, rig.freshDatabase(db), kOfferedPerSecond);
    desk::test::DeskServer server(rig.freshDatabase(db));
    if (!server.ok()) return state.SkipWithError(server.error().constData());
    const LoadOutcome o = RunOpenLoop(server.port(), kOfferedPerSecond, 64, [&rig] { return rig.nextRequest(); },
                                      kOpenWarmupSeconds, kOpenSeconds);
    state.counters["rps"] = o.perSecond();
    state.counters["p50_ms"] = o.quantileMs(0.5);
    state.counters["p99_ms"] = o.quantileMs(0.99);
    state.counters["max_ms"] = o.quantileMs(1.0);
    state.counters["failed"] = o.failed;
    state.counters["floor_p50_ms"] = floor.quantileMs(0.5);
    state.counters["floor_p99_ms"] = floor.quantileMs(0.99);
    state.counters["floor_max_ms"] = floor.quantileMs(1.0);
  }
  state.SetLabel(rig.where(db).toStdString());
}

}  // namespace
}  // namespace pralix::bench

int main(int argc, char** argv) {
  using namespace pralix::bench;
  QCoreApplication application(argc, argv);  // Qt SQL loads its drivers through it
  benchmark::Initialize(&argc, argv);
  IngestRig rig;
  for (const auto& [name, db] : {std::pair{"sqlite", Database::Sqlite}, std::pair{"postgresql", Database::Postgresql}}) {
    benchmark::RegisterBenchmark((std::string("BM_DeskIngest/") + name).c_str(), BM_DeskIngest, std::ref(rig), db)
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    benchmark::RegisterBenchmark((std::string("BM_DeskOpenLoop200/") + name).c_str(), BM_DeskOpenLoop200, std::ref(rig), db)
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
