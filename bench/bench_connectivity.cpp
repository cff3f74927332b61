// The whole "1. Test" as the technician runs it: `pralix test` against the
// paced printer simulator, measured against the wire time of every frame of
// the test plus the simulator's turnaround per exchange.
//
// Counters:
//   test_ms      first byte sent to last byte received, from the tool's trace
//   floor_ms     bytes on the wire x 10 / baud + turnaround x exchanges
//   ratio        test_ms / floor_ms
//   sim_ratio    the same span from the simulator's microsecond log / floor_ms
//   sim_late_ms  summed lateness of each reply's last byte in the simulator
//   pc_gap_ms    summed time from a reply's last byte to the next request
//                (pc_gap_us_each: per exchange)
//   process_ms   the tool's whole run, start-up and upload included
//   cpu          the tool's CPU seconds over process_ms (target under 0.05)
//   peak_rss_mb  the tool's peak resident memory
//
// Also the time from launch to the main window shown (offscreen), which
// includes quitting again, and the window's peak memory.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <vector>

#include "support/recording_http_server.h"
#include "support/sim_process.h"

extern char** environ;

namespace pralix {
namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr double kTurnaroundMs = 1.0;

struct ChildRun {
  int status = -1;
  double wallSeconds = 0;
  double cpuSeconds = 0;
  long peakRssKb = 0;
};

// Runs a program to its end in workDir (where its logs go) and measures it
// with wait4's resource usage.
ChildRun RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                  const std::string& workDir) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
  ChildRun run;
  const SteadyClock::time_point start = SteadyClock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) return run;
  rusage usage{};
  wait4(pid, &run.status, 0, &usage);
  run.wallSeconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.peakRssKb = usage.ru_maxrss;
  return run;
}

struct TraceSummary {
  int bytes = 0;
  int exchanges = 0;
  double spanMs = 0;  // first TX to the end of the last RX
};

// Reads the tool's trace: "yyyy-MM-dd hh:mm:ss.zzz TX|RX hex bytes".
TraceSummary SummariseTrace(const QString& path, int baud) {
  TraceSummary summary;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return summary;
  QDateTime first, lastRx;
  int lastRxBytes = 0;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() < 4 || (parts[2] != "TX" && parts[2] != "RX")) continue;
    const QDateTime at = QDateTime::fromString(QString::fromLatin1(parts[0] + ' ' + parts[1]), "yyyy-MM-dd hh:mm:ss.zzz");
    const int bytes = int(parts.size()) - 3;
    summary.bytes += bytes;
    if (parts[2] == "TX") {
      ++summary.exchanges;
      if (!first.isValid()) first = at;
    } else {
      lastRx = at;
      lastRxBytes = bytes;
    }
  }
  if (first.isValid() && lastRx.isValid())
    summary.spanMs = double(first.msecsTo(lastRx)) + lastRxBytes * 10.0 * 1000.0 / baud;
  return summary;
}

// The same span seen from the simulator's log, to the microsecond, split
// into its parts: from the first request read to the moment the line fell
// quiet after the last reply is the wire floor, plus how late the simulator
// put each reply's last byte out ("SENT ... us after its time"), plus the
// PC's gaps (last reply byte written to the next request read: the tool
// noticing the end of the frame, its work between two commands, and the
// simulator noticing the request).
struct SimTimeline {
  double spanMs = 0;
  double lateMs = 0;
  double pcGapMs = 0;
  int exchanges = 0;
};

SimTimeline SummariseSimLog(const QStringList& lines, qsizetype from) {
  SimTimeline t;
  double firstRead = -1, lastSent = -1;
  for (qsizetype i = from; i < lines.size(); ++i) {
    const QStringList words = lines[i].split(' ', Qt::SkipEmptyParts);
    if (words.size() < 2) continue;
    const double at = words[0].toDouble();
    if (words[1] == QLatin1String("RX")) {
      ++t.exchanges;
      if (firstRead < 0) firstRead = at;
      if (lastSent >= 0) t.pcGapMs += (at - lastSent) * 1000.0;
      lastSent = -1;
    } else if (words[1] == QLatin1String("SENT")) {
      lastSent = at;
      const qsizetype late = words.indexOf(QLatin1String("byte"));
      if (late > 0 && late + 1 < words.size()) t.lateMs += words[late + 1].toDouble() / 1000.0;
      t.spanMs = (at - firstRead) * 1000.0;
    }
  }
  return t;
}

void BM_ConnectivityTest(benchmark::State& state) {
  const int model = int(state.range(0));
  const int baud = int(state.range(1));
  test::SimProcess sim({"--model", QString::number(model), "--baud", QString::number(baud), "--turnaround-ms",
                           QString::number(kTurnaroundMs)});
  if (!sim.ok()) return state.SkipWithError(qPrintable(sim.error()));
  test::RecordingHttpServer server(200);
  QTemporaryDir dir;
  const std::string trace = dir.filePath("trace.txt").toStdString();
  const std::vector<std::string> env = {"PRALIX_DRIVE_C=" + dir.filePath("c").toStdString(),
                                        "PRALIX_DIAG_URL=" + server.url().toString().toStdString(),
                                        "XDG_RUNTIME_DIR=" + dir.path().toStdString()};
  std::vector<double> ratios;
  for (auto _ : state) {
    QFile::remove(QString::fromStdString(trace));
    const qsizetype logFrom = sim.logLines().size();
    const ChildRun run = RunChild({PRALIX_BIN, "test", "--model", std::to_string(model), "--port",
                                   sim.slavePath().toStdString(), "--trace", trace},
                                  env, dir.path().toStdString());
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) return state.SkipWithError("the test did not find the printer");
    const TraceSummary t = SummariseTrace(QString::fromStdString(trace), baud);
    const double floorMs = t.bytes * 10.0 * 1000.0 / baud + kTurnaroundMs * t.exchanges;
    state.SetIterationTime(t.spanMs / 1000.0);
    state.counters["test_ms"] = t.spanMs;
    state.counters["floor_ms"] = floorMs;
    state.counters["ratio"] = t.spanMs / floorMs;
    state.counters["exchanges"] = t.exchanges;
    const SimTimeline line = SummariseSimLog(sim.logLines(), logFrom);
    state.counters["sim_ratio"] = line.spanMs / floorMs;
    state.counters["sim_late_ms"] = line.lateMs;
    state.counters["pc_gap_ms"] = line.pcGapMs;
    state.counters["pc_gap_us_each"] = line.exchanges > 1 ? line.pcGapMs * 1000.0 / (line.exchanges - 1) : 0;
    state.counters["process_ms"] = run.wallSeconds * 1000.0;
    state.counters["cpu"] = run.cpuSeconds / run.wallSeconds;
    state.counters["peak_rss_mb"] = double(run.peakRssKb) / 1024.0;
  }
}
BENCHMARK(BM_ConnectivityTest)
    ->ArgNames({"model", "baud"})
    ->Args({0, 19200})
    ->Args({14, 115200})
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// From launch to the main window shown, on the offscreen platform, with the
// simulator's port listed; and the window's peak memory.
void BM_LaunchToWindowShown(benchmark::State& state) {
  test::SimProcess sim({"--model", "0"});
  if (!sim.ok()) return state.SkipWithError(qPrintable(sim.error()));
  QTemporaryDir dir;
  const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen",
                                        "PRALIX_DRIVE_C=" + dir.filePath("c").toStdString(),
                                        "PRALIX_EXTRA_PORTS=" + sim.slavePath().toStdString(),
                                        "XDG_RUNTIME_DIR=" + dir.path().toStdString()};
  for (auto _ : state) {
    const ChildRun run = RunChild({PRALIX_BIN, "--exit-when-shown"}, env, dir.path().toStdString());
    if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) return state.SkipWithError("the window did not come up");
    state.SetIterationTime(run.wallSeconds);
    state.counters["launch_to_shown_ms"] = run.wallSeconds * 1000.0;
    state.counters["peak_rss_mb"] = double(run.peakRssKb) / 1024.0;
  }
}
BENCHMARK(BM_LaunchToWindowShown)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pralix

BENCHMARK_MAIN();
