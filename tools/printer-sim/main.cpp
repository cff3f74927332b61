// pralix-printer-sim: a fiscal printer on a pseudo-terminal, for tests and
// for technicians without hardware.  See README.md and --help.

#include <QDateTime>
#include <cstdio>
#include <sys/prctl.h>

#include "event_loop.h"
#include "model_identity.h"
#include "sim_options.h"

using namespace pralix::sim;

int main(int argc, char* argv[]) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  const ParsedOptions parsed = ParseOptions(args);
  if (parsed.help) {
    std::fputs(HelpText(), stdout);
    return 0;
  }
  if (!parsed.options) {
    std::fprintf(stderr, "pralix-printer-sim: %s\nTry --help.\n", qPrintable(parsed.error));
    return 2;
  }
  const SimOptions& o = *parsed.options;
  PrepareStopSignals();
  // Wake-ups on time to the microsecond: at 115200 baud a byte is 87 us.
  prctl(PR_SET_TIMERSLACK, 1000UL);

  QString error;
  std::unique_ptr<PtyPort> port = PtyPort::Open(&error);
  if (!port) {
    std::fprintf(stderr, "pralix-printer-sim: %s\n", qPrintable(error));
    return 1;
  }
  if (!o.linkPath.isEmpty() && !port->MakeLink(o.linkPath, &error)) {
    std::fprintf(stderr, "pralix-printer-sim: %s\n", qPrintable(error));
    return 1;
  }
  RequestLog log(MonotonicNow());
  if (!o.logPath.isEmpty() && !log.Open(o.logPath, &error)) {
    std::fprintf(stderr, "pralix-printer-sim: %s\n", qPrintable(error));
    return 1;
  }

  FaultPlan faults;
  for (const FaultRule& rule : o.faults) faults.Add(rule);
  const Timing timing{ByteTime(o.EffectiveBaud()), Nanos(o.turnaroundMs * 1e6)};
  Simulator simulator(PrinterState(o.Identity(), o.conditions, o.clockOffsetMs, o.clockText), std::move(faults),
                      o.faultSettings, timing, [] { return QDateTime::currentDateTime(); });

  std::unique_ptr<RandomFaults> randomFaults;
  if (o.randomFaultSeed) {
    randomFaults = std::make_unique<RandomFaults>(*o.randomFaultSeed);
    if (!o.faultLogPath.isEmpty() && !randomFaults->OpenLog(o.faultLogPath, &error)) {
      std::fprintf(stderr, "pralix-printer-sim: %s\n", qPrintable(error));
      return 1;
    }
    simulator.UseRandomFaults(randomFaults.get());
  }

  // The slave path first, alone on its line: tests and scripts read it.
  std::printf("%s\n", qPrintable(port->slavePath()));
  std::fflush(stdout);
  std::fprintf(stderr, "pralix-printer-sim: model %d \"%s\" on %s%s%s, %d baud\n", o.model,
               kModelIdentities[o.model].catalogueLine, qPrintable(port->slavePath()),
               o.linkPath.isEmpty() ? "" : " = ", qPrintable(o.linkPath), o.EffectiveBaud());
  LineSpeedGate gate(port->slaveFd(), o.EffectiveBaud(), o.wrongSpeed);
  return RunEventLoop(*port, simulator, log, timing.byteTime, &gate);
}
