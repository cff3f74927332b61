// What finding the printer costs: "1. Test" with silent ports listed before
// the printer's against the printer's port alone, and `pralix detect` over
// four ports and five speeds, reported as the median of seven runs (and the
// slowest).  Wall time of the whole tool run.
//
// Counters:
//   run_ms            the tool's whole run (start-up and upload included)
//   per_empty_port_ms (run with three silent ports - run alone) / 3
//   ratio             run with three silent ports / run alone (target 1.2)

#include <benchmark/benchmark.h>
#include <pty.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>

#include "support/recording_http_server.h"
#include "support/sim_process.h"

namespace pralix {
namespace {

// A pty nobody answers on.
struct SilentPty {
  SilentPty() {
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) == 0) path = QString::fromLocal8Bit(name);
  }
  ~SilentPty() {
    close(master);
    close(slave);
  }
  int master = -1, slave = -1;
  QString path;
};

// Runs the tool to its end; milliseconds, or -1 when it failed.
double RunTool(const QStringList& args, const QTemporaryDir& dir, const QString& diagUrl) {
  QProcess tool;
  tool.setWorkingDirectory(dir.path());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PRALIX_DRIVE_C", dir.filePath("c"));
  env.insert("PRALIX_DIAG_URL", diagUrl);
  env.insert("XDG_RUNTIME_DIR", dir.path());
  tool.setProcessEnvironment(env);
  tool.setStandardOutputFile(QProcess::nullDevice());
  tool.setStandardErrorFile(QProcess::nullDevice());
  QElapsedTimer timer;
  timer.start();
  tool.start(PRALIX_BIN, args);
  if (!tool.waitForFinished(120000) || tool.exitCode() != 0) return -1;
  return double(timer.nsecsElapsed()) / 1e6;
}

QStringList PortArgs(const QStringList& ports) {
  QStringList args;
  for (const QString& p : ports) args << "--port" << p;
  return args;
}

void BM_TestWithSilentPortsFirst(benchmark::State& state) {
  test::SimProcess sim({"--model", "0"});
  if (!sim.ok()) return state.SkipWithError(qPrintable(sim.error()));
  std::vector<std::unique_ptr<SilentPty>> silent;
  QStringList ports;
  for (int i = 0; i < 3; ++i) ports << silent.emplace_back(std::make_unique<SilentPty>())->path;
  test::RecordingHttpServer server(200);
  QTemporaryDir dir;
  const QString url = server.url().toString();
  for (auto _ : state) {
    const double alone = RunTool(QStringList{"test", "--model", "0"} + PortArgs({sim.slavePath()}), dir, url);
    const double behind = RunTool(QStringList{"test", "--model", "0"} + PortArgs(ports + QStringList{sim.slavePath()}), dir, url);
    if (alone < 0 || behind < 0) return state.SkipWithError("the test did not find the printer");
    state.SetIterationTime(behind / 1000.0);
    state.counters["alone_ms"] = alone;
    state.counters["run_ms"] = behind;
    state.counters["per_empty_port_ms"] = (behind - alone) / 3.0;
    state.counters["ratio"] = behind / alone;
  }
}
BENCHMARK(BM_TestWithSilentPortsFirst)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Printer model 6 (38400, the last speed tried) on the last of four ports,
// or model 0 (19200, the first) on the first.
void BM_Detect(benchmark::State& state) {
  const bool worst = state.range(0) == 1;
  test::SimProcess sim({"--model", worst ? "6" : "0"});
  if (!sim.ok()) return state.SkipWithError(qPrintable(sim.error()));
  std::vector<std::unique_ptr<SilentPty>> silent;
  QStringList ports;
  for (int i = 0; i < 3; ++i) ports << silent.emplace_back(std::make_unique<SilentPty>())->path;
  if (worst) ports.append(sim.slavePath());
  else ports.prepend(sim.slavePath());
  QTemporaryDir dir;
  for (auto _ : state) {
    const double ms = RunTool(QStringList{"detect"} + PortArgs(ports), dir, "http://127.0.0.1:9/");
    if (ms < 0) return state.SkipWithError("detect did not find the printer");
    state.SetIterationTime(ms / 1000.0);
    state.counters["run_ms"] = ms;
  }
}
// Targets: the worst case within 3 s, the best within 0.5 s (medians).
BENCHMARK(BM_Detect)
    ->ArgNames({"worst"})
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Repetitions(7)
    ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pralix

BENCHMARK_MAIN();
