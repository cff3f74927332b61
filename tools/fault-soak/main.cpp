// pralix-fault-soak: many exchanges through the link's real engine and a
// real serial port against the printer simulator committing random faults;
// every exchange is checked against the code its faults dictate.  Prints
// attempts per fault and exchanges per result code; exit 0 when every
// exchange was right and none outlasted its bound, 1 otherwise, 2 for a
// usage error.

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "soak_lane.h"

using namespace pralix::soak;

namespace {

const char kUsage[] =
    "Usage: pralix-fault-soak [--exchanges N] [--seed S] [--lanes L] [--busy-ms MS] [--simulator PATH]\n"
    "  N exchanges (default 500) split over L lanes (default 4), each lane a simulator\n"
    "  on its own pty seeded from S (default 1); busy faults last MS (default 250).\n";

bool ReadNumber(const char* text, long low, long high, long* out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 0);
  if (!end || *end || v < low || v > high) return false;
  *out = v;
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  long exchanges = 500, seed = 1, lanes = 4, busyMs = 250;
  QString simulator = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath() + "/../printer-sim/pralix-printer-sim";
  for (int i = 1; i < argc; ++i) {
    const QByteArray a = argv[i];
    const bool hasValue = i + 1 < argc;
    bool ok = hasValue;
    if (a == "--exchanges" && hasValue) ok = ReadNumber(argv[++i], 1, 10'000'000, &exchanges);
    else if (a == "--seed" && hasValue) ok = ReadNumber(argv[++i], 0, 0xFFFFFFFFL, &seed);
    else if (a == "--lanes" && hasValue) ok = ReadNumber(argv[++i], 1, 64, &lanes);
    else if (a == "--busy-ms" && hasValue) ok = ReadNumber(argv[++i], 0, 60'000, &busyMs);
    else if (a == "--simulator" && hasValue) simulator = QString::fromLocal8Bit(argv[++i]);
    else ok = false;
    if (!ok) {
      std::fprintf(stderr, "pralix-fault-soak: bad argument %s\n%s", a.constData(), kUsage);
      return 2;
    }
  }
  if (!QFileInfo(simulator).isExecutable()) {
    std::fprintf(stderr, "pralix-fault-soak: no simulator at %s (use --simulator)\n", qPrintable(simulator));
    return 2;
  }
  lanes = std::min(lanes, exchanges);

  // Each lane in a process of its own: the link's sequence counter and port
  // are program-wide.  The lanes wait on their ptys most of the time, so
  // they share two cores well.
  struct Child {
    pid_t pid;
    int readEnd;
  };
  std::vector<Child> children;
  for (long lane = 0; lane < lanes; ++lane) {
    int fds[2];
    if (pipe(fds) != 0) return 2;
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return 2;
    if (pid == 0) {
      close(fds[0]);
      QCoreApplication app(argc, argv);
      LaneConfig config;
      config.simulator = simulator;
      config.seed = uint32_t(seed) + uint32_t(lane) * 0x9E3779B9u;
      config.exchanges = int(exchanges / lanes + (lane < exchanges % lanes ? 1 : 0));
      config.busyMs = int(busyMs);
      config.lane = int(lane);
      const QByteArray out = RunLane(config).Serialize();
      for (qsizetype done = 0; done < out.size();) {
        const ssize_t n = write(fds[1], out.constData() + done, size_t(out.size() - done));
        if (n <= 0) _exit(3);
        done += n;
      }
      close(fds[1]);
      _exit(0);
    }
    close(fds[1]);
    children.push_back({pid, fds[0]});
  }

  SoakTally total;
  bool laneLost = false;
  for (const Child& c : children) {
    QByteArray text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(c.readEnd, buffer, sizeof buffer)) > 0) text.append(buffer, n);
    close(c.readEnd);
    int status = 0;
    waitpid(c.pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) laneLost = true;
    total.Merge(SoakTally::Parse(text));
  }
  std::printf("seed %ld, %ld lanes\n%s", seed, lanes, total.Report().constData());
  if (laneLost) std::printf("FAILED a lane ended abnormally\n");
  const bool good = !laneLost && total.wrongOutcomes == 0 && total.overlong == 0 && total.exchanges == exchanges;
  return good ? 0 : 1;
}
