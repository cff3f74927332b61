// One exchange over a paced pseudo-terminal against the printer simulator,
// measured against the wire time of its bytes, and the CPU a silent
// printer costs while the link waits.
//
// Counters: floor_ms = (request + reply bytes) x 10 / baud; turnaround_ms =
// the simulator's think time; ratio = median exchange time / (floor +
// turnaround), the target being 1.10 or less (ratio_mean uses the mean,
// which a busy machine's scheduling delays pull up).  For the silent exchange: tool_cpu and sim_cpu
// are CPU seconds over wall seconds, which should stay near zero.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <algorithm>
#include <chrono>
#include <vector>

#include "link/P00_fpcommand.h"
#include "link/P00_fpsend.h"
#include "platform/qt/qt_serial_port.h"
#include "support/sim_process.h"

namespace pralix {
namespace {

using Clock = std::chrono::steady_clock;
using test::SimProcess;

constexpr double kTurnaroundMs = 1.0;
constexpr int kRequestOverhead = 10;  // frame bytes around the request data
constexpr int kReplyOverhead = 17;    // frame bytes around the reply data

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double OwnCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// utime + stime of another process, from /proc/PID/stat.
double ProcessCpuSeconds(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return 0;
  const QByteArray text = stat.readAll();
  // Fields after the parenthesised name: state is field 3, utime 14, stime 15.
  const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
  if (fields.size() < 13) return 0;
  return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

// A link pointed at a fresh simulator.
struct Bench {
  explicit Bench(const QStringList& args, int baud) : sim(args) {
    port.setPortName(sim.slavePath());
    port.setBaudRate(baud);
    LinkPort = &port;
  }
  ~Bench() {
    port.close();
    LinkPort = nullptr;
  }
  SimProcess sim;
  QtSerialPort port;
  FPCommand00 cmd;
};

void BM_Exchange(benchmark::State& state) {
  const int baud = int(state.range(0));
  const int command = int(state.range(1));
  const QByteArray data = command == 90 ? QByteArray("1") : QByteArray();
  Bench b({"--baud", QString::number(baud), "--turnaround-ms", QString::number(kTurnaroundMs)}, baud);
  if (!b.sim.ok()) return state.SkipWithError(qPrintable(b.sim.error()));
  b.cmd.Execute(command, data);  // opens the port
  std::vector<double> times;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    b.cmd.Execute(command, data);
    const double took = Seconds(Clock::now() - start);
    if (b.cmd.ErrorCode != kOk) return state.SkipWithError("the exchange failed");
    state.SetIterationTime(took);
    times.push_back(took);
  }
  if (times.empty()) return;
  double total = 0;
  for (double t : times) total += t;
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  const double medianMs = times[times.size() / 2] * 1000.0;
  const int bytes = kRequestOverhead + int(data.size()) + kReplyOverhead + int(b.cmd.ReplyData.size());
  const double floorMs = bytes * 10.0 * 1000.0 / baud;
  const double meanMs = total * 1000.0 / double(times.size());
  state.counters["bytes"] = bytes;
  state.counters["floor_ms"] = floorMs;
  state.counters["turnaround_ms"] = kTurnaroundMs;
  state.counters["median_ms"] = medianMs;
  state.counters["ratio"] = medianMs / (floorMs + kTurnaroundMs);
  state.counters["ratio_mean"] = meanMs / (floorMs + kTurnaroundMs);
}
BENCHMARK(BM_Exchange)
    ->ArgNames({"baud", "cmd"})
    ->Args({19200, 62})
    ->Args({19200, 90})
    ->Args({115200, 62})
    ->Args({115200, 90})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Four silent attempts (about 5.6 s): both processes should sleep throughout.
void BM_SilentExchangeCpu(benchmark::State& state) {
  Bench b({"--fault", "silent"}, 19200);
  if (!b.sim.ok()) return state.SkipWithError(qPrintable(b.sim.error()));
  b.port.open();
  for (auto _ : state) {
    const double toolCpu = OwnCpuSeconds();
    const double simCpu = ProcessCpuSeconds(b.sim.pid());
    const Clock::time_point start = Clock::now();
    b.cmd.Execute(62, {});
    const double wall = Seconds(Clock::now() - start);
    state.SetIterationTime(wall);
    if (b.cmd.ErrorCode != kNoAnswer) return state.SkipWithError("expected code 3");
    state.counters["wall_s"] = wall;
    state.counters["tool_cpu"] = (OwnCpuSeconds() - toolCpu) / wall;
    state.counters["sim_cpu"] = (ProcessCpuSeconds(b.sim.pid()) - simCpu) / wall;
  }
}
BENCHMARK(BM_SilentExchangeCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace pralix

BENCHMARK_MAIN();
