// pralix-desk's pages on a large fleet: by default 100 000 printers and
// 2 000 000 records made up by pralix-desk-fill, on an SQLite file and on a
// PostgreSQL cluster of its own (fsync on), each filled once and kept in
// the build (desk-fleet/<shape>/) for later runs.  The real pralix-desk
// serves them over loopback to one signed-in person clicking through, one
// request at a time on a keep-alive connection:
//   fleet first page        target p95 <= 100 ms
//   a finding's page, a search by serial, a sort by another column
//                           the first page's target, as a guide: (100 ms)
//   printer pages of the printers with the longest histories, in turn
//                           target p95 <= 50 ms
// and then the whole fleet's CSV, streamed: its size and time, and the
// desk's peak memory (VmHWM) after starting, after the pages, and over the
// CSV alone (the peak set back to the resident set just before it), which
// shows whether the file is held in memory.  The peak is set back before
// the pages too: starting and signing in hash a password with 64 MiB.
//
// Smaller fleets for a quick run: --printers N --records M (or the
// environment's PRALIX_BENCH_PRINTERS and PRALIX_BENCH_RECORDS, which reach
// it through scripts/bench); PRALIX_BENCH_PAGE_REQUESTS sets how many
// requests each page is timed over (default 200, after 20 not counted);
// PRALIX_DESK_FLEET_CACHE moves the kept databases.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "desk_load/filled_fleet.h"
#include "desk_load/kept_postgres_cluster.h"
#include "desk_load/page_timing.h"
#include "desk_load/process_memory.h"
#include "support/desk_process.h"
#include "support/desk_session.h"
#include "support/raw_http.h"

namespace pralix::bench {
namespace {

using desk::test::Headers;

constexpr int kWarmup = 20;
constexpr int kPrintersTimed = 100;  // printer pages, the longest histories first
constexpr double kFleetTargetMs = 100;
constexpr double kPrinterTargetMs = 50;

enum class Database { Sqlite, Postgresql };

struct BenchOptions {
  FleetSize size;
  int requests = 200;
  QString cacheFolder;
};

QString LoadAverage() {
  QFile file(QStringLiteral("/proc/loadavg"));
  if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("?");
  return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

double Mib(qint64 bytes) { return double(bytes) / (1024.0 * 1024.0); }

// The printers a page links to, in its order, each once.
std::vector<QByteArray> PrinterLinks(const QByteArray& html) {
  static const QRegularExpression link(QStringLiteral("href=\"/printers/([A-Za-z0-9%-]+)\""));
  std::vector<QByteArray> ibfms;
  QSet<QString> seen;
  for (auto it = link.globalMatch(QString::fromUtf8(html)); it.hasNext();) {
    const QString ibfm = it.next().captured(1);
    if (!seen.contains(ibfm)) seen.insert(ibfm), ibfms.push_back(ibfm.toUtf8());
  }
  return ibfms;
}

// The pages timed: their paths (taken in turn) and the target for p95,
// the issue's own or (guide) the first page's borrowed.
struct PageCase {
  const char* name;
  std::vector<QByteArray> paths;
  double targetMs;
  bool guide = false;
};

std::vector<PageCase> PageCases(quint16 port, const Headers& session) {
  const auto get = [&](const QByteArray& path) {
    return desk::test::Exchange(port, desk::test::BuildRequest("GET", path, session, "")).body;
  };
  std::vector<QByteArray> longest = PrinterLinks(get("/?sort=records&order=desc"));
  if (longest.size() > size_t(kPrintersTimed)) longest.resize(size_t(kPrintersTimed));
  std::vector<QByteArray> printerPages, searches;
  for (const QByteArray& ibfm : longest) printerPages.push_back("/printers/" + ibfm), searches.push_back("/?q=" + ibfm);
  return {
      {"fleet, first page", {"/"}, kFleetTargetMs},
      {"fleet, fewer than 45 free Z", {"/?finding=free_z_low"}, kFleetTargetMs, true},
      {"fleet, search by serial", searches, kFleetTargetMs, true},
      {"fleet, sorted by last test", {"/?sort=last_seen&order=desc"}, kFleetTargetMs, true},
      {"fleet, sorted by free Z", {"/?sort=bpdi"}, kFleetTargetMs, true},
      {"printer page (longest histories)", printerPages, kPrinterTargetMs},
  };
}

void PrintMemory(const char* when, const std::optional<ProcessMemory>& memory) {
  if (!memory) return (void)std::printf("  desk memory %-36s unreadable\n", when);
  std::printf("  desk memory %-36s VmRSS %7.1f MiB  VmHWM %7.1f MiB\n", when, memory->residentKiB / 1024.0,
              memory->peakKiB / 1024.0);
}

void BM_DeskPages(benchmark::State& state, const BenchOptions& options, Database db) {
  const QString name = db == Database::Sqlite ? QStringLiteral("sqlite") : QStringLiteral("postgresql");
  const QString folder = options.cacheFolder + QLatin1Char('/') + options.size.key() + QLatin1Char('/') + name;
  std::unique_ptr<KeptPostgresCluster> cluster;
  if (db == Database::Postgresql) {
    cluster = std::make_unique<KeptPostgresCluster>(folder);
    if (!cluster->running()) return state.SkipWithError(qPrintable(cluster->whyNot()));
  }
  for (auto _ : state) {
    std::printf("== %s: %d printers, %lld records (load %s)\n", qPrintable(name), options.size.printers,
                static_cast<long long>(options.size.records), qPrintable(LoadAverage()));
    std::fflush(stdout);
    const FilledFleet fleet = cluster ? FilledPostgresFleet(*cluster, folder, options.size) : FilledSqliteFleet(folder, options.size);
    if (fleet.url.isEmpty()) return state.SkipWithError(qPrintable(fleet.error));
    std::printf("  fill: %s%s\n", qPrintable(fleet.fillReport),
                fleet.reused ? " [kept from an earlier run]" : qPrintable(QStringLiteral(" [this run: %1 s wall]").arg(fleet.fillSeconds, 0, 'f', 0)));
    std::printf("  disk: %.0f MiB (%s)%s\n", Mib(fleet.diskBytes), qPrintable(fleet.url),
                cluster ? qPrintable(QStringLiteral("; the cluster's data folder %1 MiB").arg(Mib(cluster->diskBytes()), 0, 'f', 0)) : "");

    desk::test::DeskServer server(fleet.url);
    if (!server.ok()) return state.SkipWithError(server.error().constData());
    const qint64 pid = server.processId();
    PrintMemory("after starting", ReadProcessMemory(pid));
    // A name of this run's own: the kept database has the earlier runs' users.
    const QByteArray user = "bench-" + QByteArray::number(QDateTime::currentMSecsSinceEpoch());
    const QByteArray session = desk::test::SignIn(server.port(), fleet.url, user);
    if (session.isEmpty()) return state.SkipWithError("could not sign in");
    const Headers cookie = desk::test::SessionCookie(session);
    // Starting and signing in hash a password (Argon2id, 64 MiB): that
    // peak is theirs, not the pages'.
    PrintMemory("after signing in", ReadProcessMemory(pid));
    const bool pagesPeakReset = ResetPeakMemory(pid);

    std::printf("  %-34s %9s %9s %11s %6s %7s\n", "page", "p50 ms", "p95 ms", "target p95", "", "failed");
    for (const PageCase& page : PageCases(server.port(), cookie)) {
      if (page.paths.empty()) return state.SkipWithError("the fleet page listed no printers");
      const PageSeries series = TimeGets(server.port(), cookie, page.paths, kWarmup, options.requests);
      const double p50 = series.quantileMs(0.5), p95 = series.quantileMs(0.95);
      const QString target = (page.guide ? QStringLiteral("(%1 ms)") : QStringLiteral("%1 ms")).arg(page.targetMs);
      std::printf("  %-34s %9.1f %9.1f %11s %6s %7d\n", page.name, p50, p95, qPrintable(target),
                  series.failed ? "FAILED" : p95 <= page.targetMs ? "ok" : "MISSED", series.failed);
      if (!series.firstFailure.isEmpty()) std::printf("    first failure: %s\n", series.firstFailure.constData());
      std::fflush(stdout);
      state.counters[std::string(page.name) + " p95_ms"] = p95;
    }
    const std::optional<ProcessMemory> afterPages = ReadProcessMemory(pid);
    PrintMemory(pagesPeakReset ? "after the pages (peak reset before)" : "after the pages (no peak reset)", afterPages);

    const bool reset = ResetPeakMemory(pid);
    const std::optional<ProcessMemory> beforeCsv = ReadProcessMemory(pid);
    const StreamedAnswer csv = StreamGet(server.port(), cookie, "/printers.csv");
    const std::optional<ProcessMemory> afterCsv = ReadProcessMemory(pid);
    if (csv.status != 200) std::printf("  CSV FAILED: status %d, %s\n", csv.status, csv.error.constData());
    std::printf("  CSV of the whole fleet: %.1f MiB, %lld newlines, %d chunks; first byte %.0f ms, whole %.2f s (%.1f MiB/s)\n",
                Mib(csv.bodyBytes), static_cast<long long>(csv.lines), csv.chunks, csv.firstByteMs, csv.totalMs / 1000,
                csv.totalMs > 0 ? Mib(csv.bodyBytes) / (csv.totalMs / 1000) : 0);
    PrintMemory(reset ? "just before the CSV (peak reset)" : "before the CSV (no peak reset)", beforeCsv);
    PrintMemory("after the CSV", afterCsv);
    if (beforeCsv && afterCsv)
      std::printf("  the CSV's own peak: %+.1f MiB over the resident set before it (the file is %.1f MiB)\n",
                  (afterCsv->peakKiB - beforeCsv->residentKiB) / 1024.0, Mib(csv.bodyBytes));
    std::printf("  load after: %s\n", qPrintable(LoadAverage()));
    std::fflush(stdout);
    state.counters["csv_mib"] = Mib(csv.bodyBytes);
    state.counters["csv_s"] = csv.totalMs / 1000;
    if (afterPages) state.counters["hwm_pages_mib"] = afterPages->peakKiB / 1024.0;
    if (afterCsv) state.counters["hwm_csv_mib"] = afterCsv->peakKiB / 1024.0;
  }
  state.SetLabel(options.size.key().toStdString());
}

std::optional<qint64> NumberFrom(const QString& text) {
  bool ok = false;
  const qint64 n = text.toLongLong(&ok);
  return ok && n > 0 ? std::optional<qint64>(n) : std::nullopt;
}

// The options after Google Benchmark took its own; nothing (with the
// reason printed) when one is wrong.
std::optional<BenchOptions> ParseOptions(const QStringList& arguments) {
  BenchOptions options;
  options.cacheFolder = qEnvironmentVariable("PRALIX_DESK_FLEET_CACHE", QStringLiteral(PRALIX_DESK_FLEET_DIR));
  const auto set = [](const QString& what, const QString& text, auto& into) {
    const std::optional<qint64> n = NumberFrom(text);
    if (!n) std::fprintf(stderr, "bench_desk_pages: %s wants a positive number, not \"%s\"\n", qPrintable(what), qPrintable(text));
    if (n) into = std::remove_reference_t<decltype(into)>(*n);
    return n.has_value();
  };
  bool ok = true;
  if (qEnvironmentVariableIsSet("PRALIX_BENCH_PRINTERS"))
    ok &= set(QStringLiteral("PRALIX_BENCH_PRINTERS"), qEnvironmentVariable("PRALIX_BENCH_PRINTERS"), options.size.printers);
  if (qEnvironmentVariableIsSet("PRALIX_BENCH_RECORDS"))
    ok &= set(QStringLiteral("PRALIX_BENCH_RECORDS"), qEnvironmentVariable("PRALIX_BENCH_RECORDS"), options.size.records);
  if (qEnvironmentVariableIsSet("PRALIX_BENCH_PAGE_REQUESTS"))
    ok &= set(QStringLiteral("PRALIX_BENCH_PAGE_REQUESTS"), qEnvironmentVariable("PRALIX_BENCH_PAGE_REQUESTS"), options.requests);
  for (qsizetype i = 0; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("--printers")) ok &= set(arguments[i], arguments[i + 1], options.size.printers);
    if (arguments[i] == QLatin1String("--records")) ok &= set(arguments[i], arguments[i + 1], options.size.records);
    if (arguments[i] == QLatin1String("--requests")) ok &= set(arguments[i], arguments[i + 1], options.requests);
  }
  if (options.size.records < options.size.printers) {
    std::fprintf(stderr, "bench_desk_pages: every printer needs a record: --records must be at least --printers\n");
    ok = false;
  }
  return ok ? std::optional<BenchOptions>(options) : std::nullopt;
}

}  // namespace
}  // namespace pralix::bench

int main(int argc, char** argv) {
  using namespace pralix::bench;
  QCoreApplication application(argc, argv);  // Qt SQL loads its drivers through it
  benchmark::Initialize(&argc, argv);
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments += QString::fromLocal8Bit(argv[i]);
  const std::optional<BenchOptions> options = ParseOptions(arguments);
  if (!options) return 2;
  for (const auto& [name, db] : {std::pair{"sqlite", Database::Sqlite}, std::pair{"postgresql", Database::Postgresql}}) {
    benchmark::RegisterBenchmark((std::string("BM_DeskPages/") + name).c_str(), BM_DeskPages, std::cref(*options), db)
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
